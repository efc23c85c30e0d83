#include "player/player.h"

#include "app/app_state.h"
#include "ui/layout.h"

#define PLAYBAR_PLAY_ID 0x3200 /* Wine's play/stop button in the play bar */

BOOL BindPlayerFactory(void)
{
    /* Through the generic function type: FARPROC's own signature is not the
       factory's, and the compiler rightly warns on a direct cast. */
    FARPROC pfn = GetProcAddress(AppState.hVfwLibrary, PLAYER_FACTORY_NAME);
    AppState.pfnMCIWndCreate = reinterpret_cast<PFNMCIWNDCREATE>(
        reinterpret_cast<void (*)(void)>(pfn));
    /* Only Wine's ntdll says what it is; see PlayerMendProc. */
    AppState.fMendPlayButton =
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL;
    return AppState.pfnMCIWndCreate != NULL;
}

/* Wine's control (8.0 and 10.0) answers its own Play button in the stopped
   mode with a stop, so nothing ever plays; this does what the button means,
   from the start once the media has played to its end (its movies stop one
   frame short of it). Drop it once Wine plays there itself. */
static LRESULT CALLBACK PlayerMendProc(HWND hwnd, UINT uMsg, WPARAM wParam,
                                       LPARAM lParam)
{
    if (uMsg == WM_COMMAND && LOWORD(wParam) == PLAYBAR_PLAY_ID &&
        SendMessageA(hwnd, MCIWNDM_GETMODEA, 0, 0) == MCI_MODE_STOP) {
        if (MCIWndGetPosition(hwnd) + 1 >= MCIWndGetEnd(hwnd))
            MCIWndHome(hwnd);
        MCIWndPlay(hwnd);
        return 0;
    }
    return CallWindowProcA(AppState.pfnPlayerProc, hwnd, uMsg, wParam, lParam);
}

/* The window bits are the player's, whatever the control adds: Wine's adds a
   border (with the framed style's dialog frame, a caption that hides the
   sound strip's play bar) and clipping bits. */
static void KeepWindowBits(HWND hwnd, DWORD dwStyle)
{
    DWORD dwNow = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    DWORD dwWant = (dwNow & 0xFFFF) | (dwStyle & 0xFFFF0000);

    if (dwNow == dwWant)
        return;
    SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(dwWant));
    SetWindowPos(hwnd, NULL, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     SWP_NOACTIVATE);
}

/* The play bar's height, read from the control as it made itself: it sizes
   itself around its picture, if it has one, and its bar, so what its client
   area holds below the picture is the bar. Read before the window bits are
   taken back, which changes the client area but not the picture. */
static int PlayBarHeight(HWND hwnd)
{
    RECT rcClient, rcPicture;

    GetClientRect(hwnd, &rcClient);
    if (MCIWndGetDest(hwnd, &rcPicture) != 0)
        rcPicture.bottom = 0; /* nothing to show: the control is its bar */
    return rcClient.bottom - rcPicture.bottom;
}

void CreatePlayer(HWND hwndParent, DWORD dwStyle)
{
    /* An empty name makes some implementations of the control try to open ""
       and report an error; null means "nothing open". */
    LPCSTR pszName = AppState.szMediaName[0] ? AppState.szMediaName : NULL;
    HWND hwnd = AppState.pfnMCIWndCreate(hwndParent, AppState.hInstance, dwStyle, pszName);

    AppState.hwndPlayer = hwnd;
    AppState.cyBarGrowth = 0;
    if (hwnd == NULL)
        return;
    AppState.cyBarGrowth = PlayBarHeight(hwnd) - PLAYER_CY_EXTRA;
    KeepWindowBits(hwnd, dwStyle);
    if (AppState.fMendPlayButton)
        AppState.pfnPlayerProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PlayerMendProc)));
}

void DestroyPlayer(void)
{
    SendMessageA(AppState.hwndPlayer, WM_CLOSE, 0, 0);
}
