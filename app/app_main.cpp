#include "app/app_state.h"
#include "app/message_box.h"
#include "res/resource.h"
#include "ui/layout.h"
#include "ui/main_wnd.h"

#define LOAD_FAILED_TEXT    "can not load DLL: " VFW_LIBRARY_NAME
#define FACTORY_MISSING_TEXT "can not find Function: " PLAYER_FACTORY_NAME
#define EXIT_STARTUP_FAILED 1

#ifndef _WIN64
static_assert(sizeof(WNDCLASSEXA) == 48, "class record size");
#endif
static_assert(sizeof(AVIFILEINFOA) == 108, "AVI info record size");

APPSTATE AppState;

static void ShowStartupError(LPCSTR pszText)
{
    ShowMessage(NULL, pszText);
}

static void RegisterMainClass(void)
{
    WNDCLASSEXA wc;

    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = AppState.hInstance;
    wc.hIcon = LoadIconA(AppState.hInstance, QV_ICON_NAME);
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = MAIN_CLASS_NAME;
    wc.hIconSm = NULL;
    RegisterClassExA(&wc);
}

/* Runs the window until it is closed; the quit message's code is the
   process's exit status. */
static UINT RunMainWindow(void)
{
    HWND hwnd;
    MSG msg;

    RegisterMainClass();
    hwnd = CreateWindowExA(MAIN_EX_STYLE, MAIN_CLASS_NAME, MAIN_TITLE, MAIN_STYLE,
                           MAIN_X, MAIN_Y, MAIN_CX_AUDIO, MAIN_CY_AUDIO, NULL,
                           NULL, AppState.hInstance, NULL);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);

    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<UINT>(msg.wParam);
}

extern "C" void WINAPI AppMain(void)
{
    UINT uExitCode = EXIT_STARTUP_FAILED;

    AppState.hInstance = GetModuleHandleA(NULL);
    AppState.hVfwLibrary = LoadLibraryA(VFW_LIBRARY_NAME);
    if (AppState.hVfwLibrary == NULL) {
        ShowStartupError(LOAD_FAILED_TEXT);
        ExitProcess(uExitCode);
    }

    if (BindPlayerFactory())
        uExitCode = RunMainWindow();
    else
        ShowStartupError(FACTORY_MISSING_TEXT);

    FreeLibrary(AppState.hVfwLibrary);
    ExitProcess(uExitCode);
}
