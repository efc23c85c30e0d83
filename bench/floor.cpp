// The benchmark's floor: what the platform must do for the player's window
// whatever the program, built with the player's own toolchain and flags.
// The same window, class styles and children (the video library loaded by
// name, the player control with the framed style, the bitmap button and the
// label), and nothing else. A WM_COPYDATA naming a movie opens it in a new
// movie-style player control, with no probe and no check: the floor of an
// open.
#include <windows.h>

#include "player/player.h"
#include "res/resource.h"
#include "ui/layout.h"
#include "ui/main_wnd.h"

#define FLOOR_CLASS_NAME "FloorClass"

static HINSTANCE hInstance;
static PFNMCIWNDCREATE pfnCreate;
static HWND hwndPlayer;

static void OnCreate(HWND hwnd)
{
    hwndPlayer = pfnCreate(hwnd, hInstance, PLAYER_STYLE_FRAMED, NULL);
    MoveWindow(hwndPlayer, PLAYER_X_AUDIO, PLAYER_Y, PLAYER_CX_AUDIO, PLAYER_CY_AUDIO, TRUE);
    HWND hwndButton = CreateWindowExA(0, "BUTTON", OPEN_BUTTON_TEXT, OPEN_BUTTON_STYLE, BUTTON_X,
                                      BUTTON_Y, BUTTON_CX, BUTTON_CY, hwnd,
                                      reinterpret_cast<HMENU>(IDC_OPENMEDIA), hInstance, NULL);
    SendMessageA(hwndButton, BM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(LoadBitmapA(hInstance, MAKEINTRESOURCEA(IDB_OPENFOLDER))));
    CreateWindowExA(CAPTION_EX_STYLE, "STATIC", CAPTION_START_TEXT, CAPTION_STYLE, CAPTION_X,
                    CAPTION_Y, CAPTION_CX_AUDIO, CAPTION_CY, hwnd, NULL, hInstance, NULL);
}

static LRESULT OnCopyData(HWND hwnd, const COPYDATASTRUCT *pcds)
{
    SendMessageA(hwndPlayer, WM_CLOSE, 0, 0);
    hwndPlayer = pfnCreate(hwnd, hInstance, PLAYER_STYLE_VIDEO, static_cast<LPCSTR>(pcds->lpData));
    return hwndPlayer != NULL;
}

static LRESULT CALLBACK FloorWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE:
        OnCreate(hwnd);
        break;
    case WM_COPYDATA:
        return OnCopyData(hwnd, reinterpret_cast<const COPYDATASTRUCT *>(lParam));
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

extern "C" void WINAPI AppMain(void)
{
    WNDCLASSEXA wc;
    MSG msg;

    hInstance = GetModuleHandleA(NULL);
    pfnCreate = reinterpret_cast<PFNMCIWNDCREATE>(reinterpret_cast<void (*)(void)>(
        GetProcAddress(LoadLibraryA(VFW_LIBRARY_NAME), PLAYER_FACTORY_NAME)));
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = FloorWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, QV_ICON_NAME);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = FLOOR_CLASS_NAME;
    wc.hIconSm = NULL;
    RegisterClassExA(&wc);
    HWND hwnd = CreateWindowExA(MAIN_EX_STYLE, FLOOR_CLASS_NAME, MAIN_TITLE, MAIN_STYLE, MAIN_X,
                                MAIN_Y, MAIN_CX_AUDIO, MAIN_CY_AUDIO, NULL, NULL, hInstance, NULL);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitProcess(static_cast<UINT>(msg.wParam));
}
