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

void ApplyMovieLayout(HWND hwnd, DWORD dwWidth, DWORD dwHeight)
{
    MoveWindow(AppState.hwndCaption, CAPTION_X, CAPTION_Y,
               Wrap32(dwWidth - CAPTION_CX_LESS), CAPTION_CY, TRUE);
    MoveWindow(AppState.hwndPlayer, PLAYER_X_VIDEO, PLAYER_Y, Wrap32(dwWidth),
               Wrap32(dwHeight + PLAYER_CY_EXTRA), TRUE);
    MoveWindow(hwnd, MAIN_X, MAIN_Y, Wrap32(dwWidth + MAIN_CX_EXTRA),
               Wrap32(dwHeight + MAIN_CY_EXTRA), TRUE);
    UpdateWindow(hwnd);
}
