#include "player/player.h"

#include "app/app_state.h"

BOOL BindPlayerFactory(void)
{
    /* Through the generic function type: FARPROC's own signature is not the
       factory's, and the compiler rightly warns on a direct cast. */
    FARPROC pfn = GetProcAddress(AppState.hVfwLibrary, PLAYER_FACTORY_NAME);
    AppState.pfnMCIWndCreate = reinterpret_cast<PFNMCIWNDCREATE>(
        reinterpret_cast<void (*)(void)>(pfn));
    return AppState.pfnMCIWndCreate != NULL;
}

void CreatePlayer(HWND hwndParent, DWORD dwStyle)
{
    /* An empty name makes some implementations of the control try to open ""
       and report an error; null means "nothing open". */
    LPCSTR pszName = AppState.szMediaName[0] ? AppState.szMediaName : NULL;
    AppState.hwndPlayer =
        AppState.pfnMCIWndCreate(hwndParent, AppState.hInstance, dwStyle, pszName);
}

void DestroyPlayer(void)
{
    SendMessageA(AppState.hwndPlayer, WM_CLOSE, 0, 0);
}
