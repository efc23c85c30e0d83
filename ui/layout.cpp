#include "ui/layout.h"

#include "app/app_state.h"

void PlacePlayerAudio(void)
{
    MoveWindow(AppState.hwndPlayer, PLAYER_X_AUDIO, PLAYER_Y, PLAYER_CX_AUDIO,
               PLAYER_CY_AUDIO, TRUE);
}

void ApplyAudioLayout(HWND hwnd)
{
    PlacePlayerAudio();
    MoveWindow(AppState.hwndCaption, CAPTION_X, CAPTION_Y, CAPTION_CX_AUDIO,
               CAPTION_CY, TRUE);
    MoveWindow(hwnd, MAIN_X, MAIN_Y, MAIN_CX_AUDIO, MAIN_CY_AUDIO, TRUE);
    UpdateWindow(hwnd);
}

/* Frame sizes come from the file and may be anything: the sums wrap in
   32 bits and go to the window system as signed values, which clamps them. */
static int Wrap32(DWORD dwValue)
{
    return static_cast<int>(dwValue);
}

/* The play bar's height: what it leaves of the control's client below the
   picture, where the control has one to place; the layout's 26 where not.
   Wine's bar is 32 high, and the control squeezes the picture into what
   the bar leaves. */
static DWORD PlayBarHeight(void)
{
    RECT rcClient, rcPicture;

    if (!GetClientRect(AppState.hwndPlayer, &rcClient) ||
        MCIWndGetDest(AppState.hwndPlayer, &rcPicture) != 0)
        return PLAYER_CY_EXTRA;
    return static_cast<DWORD>(rcClient.bottom - rcPicture.bottom);
}

void ApplyMovieLayout(HWND hwnd, DWORD dwWidth, DWORD dwHeight)
{
    DWORD dwPlayerHeight = dwHeight + PlayBarHeight();

    MoveWindow(AppState.hwndCaption, CAPTION_X, CAPTION_Y,
               Wrap32(dwWidth - CAPTION_CX_LESS), CAPTION_CY, TRUE);
    MoveWindow(AppState.hwndPlayer, PLAYER_X_VIDEO, PLAYER_Y, Wrap32(dwWidth),
               Wrap32(dwPlayerHeight), TRUE);
    MoveWindow(hwnd, MAIN_X, MAIN_Y, Wrap32(dwWidth + MAIN_CX_EXTRA),
               Wrap32(dwPlayerHeight + MAIN_CY_EXTRA - PLAYER_CY_EXTRA), TRUE);
    UpdateWindow(hwnd);
}
