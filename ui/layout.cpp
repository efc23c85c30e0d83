#include "ui/layout.h"

#include "app/app_state.h"

/* Frame sizes come from the file and may be anything: the sums wrap in
   32 bits and go to the window system as signed values, which clamps them. */
static int Wrap32(DWORD dwValue)
{
    return static_cast<int>(dwValue);
}

/* The main window at its place and its layout size, made taller where its
   client area would not hold the whole player (cyNeed rows from the top):
   the frame and caption take what this window system draws of them, which
   the layout cannot know. */
static void PlaceMainWindow(HWND hwnd, DWORD cx, DWORD cy, DWORD cyNeed)
{
    RECT rc;
    int cyLack;

    cy += AppState.cyBarGrowth;
    MoveWindow(hwnd, MAIN_X, MAIN_Y, Wrap32(cx), Wrap32(cy), TRUE);
    GetClientRect(hwnd, &rc);
    cyLack = Wrap32(cyNeed + AppState.cyBarGrowth - rc.bottom);
    if (cyLack > 0)
        MoveWindow(hwnd, MAIN_X, MAIN_Y, Wrap32(cx), Wrap32(cy + cyLack), TRUE);
}

void PlacePlayerAudio(void)
{
    MoveWindow(AppState.hwndPlayer, PLAYER_X_AUDIO, PLAYER_Y, PLAYER_CX_AUDIO,
               PLAYER_CY_AUDIO + AppState.cyBarGrowth, TRUE);
}

void PlaceStartWindow(HWND hwnd)
{
    PlaceMainWindow(hwnd, MAIN_CX_AUDIO, MAIN_CY_AUDIO, PLAYER_Y + PLAYER_CY_AUDIO);
}

void ApplyAudioLayout(HWND hwnd)
{
    PlacePlayerAudio();
    MoveWindow(AppState.hwndCaption, CAPTION_X, CAPTION_Y, CAPTION_CX_AUDIO,
               CAPTION_CY, TRUE);
    PlaceStartWindow(hwnd);
    UpdateWindow(hwnd);
}

void ApplyMovieLayout(HWND hwnd, DWORD dwWidth, DWORD dwHeight)
{
    DWORD dwPlayerHeight = dwHeight + PLAYER_CY_EXTRA;

    MoveWindow(AppState.hwndCaption, CAPTION_X, CAPTION_Y,
               Wrap32(dwWidth - CAPTION_CX_LESS), CAPTION_CY, TRUE);
    MoveWindow(AppState.hwndPlayer, PLAYER_X_VIDEO, PLAYER_Y, Wrap32(dwWidth),
               Wrap32(dwPlayerHeight + AppState.cyBarGrowth), TRUE);
    PlaceMainWindow(hwnd, dwWidth + MAIN_CX_EXTRA, dwHeight + MAIN_CY_EXTRA,
                    PLAYER_Y + dwPlayerHeight);
    UpdateWindow(hwnd);
}
