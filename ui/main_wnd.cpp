#include "ui/main_wnd.h"

#include "app/app_state.h"
#include "media/open_media.h"
#include "res/resource.h"
#include "ui/layout.h"

static void OnCreate(HWND hwnd)
{
    CreatePlayer(hwnd, PLAYER_STYLE_FRAMED);
    PlacePlayerAudio();

    AppState.hwndOpenButton = CreateWindowExA(
        0, "BUTTON", OPEN_BUTTON_TEXT, OPEN_BUTTON_STYLE, BUTTON_X, BUTTON_Y,
        BUTTON_CX, BUTTON_CY, hwnd, reinterpret_cast<HMENU>(IDC_OPENMEDIA),
        AppState.hInstance, NULL);
    AppState.hbmOpenButton =
        LoadBitmapA(AppState.hInstance, MAKEINTRESOURCEA(IDB_OPENFOLDER));
    SendMessageA(AppState.hwndOpenButton, BM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(AppState.hbmOpenButton));

    AppState.hwndCaption = CreateWindowExA(
        CAPTION_EX_STYLE, "STATIC", CAPTION_START_TEXT, CAPTION_STYLE, CAPTION_X,
        CAPTION_Y, CAPTION_CX_AUDIO, CAPTION_CY, hwnd, NULL, AppState.hInstance,
        NULL);
    PlaceStartWindow(hwnd);
}

/* Re-entered while it runs (child creation, moves, the modal dialog, the
   command OnCommand sends to this window): handlers use only their own
   arguments and AppState. */
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        OnCreate(hwnd);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        OnCommand(hwnd, wParam, lParam);
        break;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}
