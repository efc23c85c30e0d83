#ifndef QV_PLAYER_PLAYER_H
#define QV_PLAYER_PLAYER_H

#include <windows.h>
#include <vfw.h>

#define VFW_LIBRARY_NAME    "msvfw32.dll"
#define PLAYER_FACTORY_NAME "MCIWndCreate"

/* The factory is __cdecl: take its type from the platform's own declaration
   so the 32-bit build cleans the stack the way the library expects. */
typedef decltype(&MCIWndCreateA) PFNMCIWNDCREATE;

#define PLAYER_STYLE_FRAMED \
    (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_DLGFRAME | MCIWNDF_NOMENU)
#define PLAYER_STYLE_VIDEO (WS_CHILD | WS_VISIBLE | MCIWNDF_NOMENU)

static_assert(PLAYER_STYLE_FRAMED == 0x54400008, "framed player style");
static_assert(PLAYER_STYLE_VIDEO == 0x50000008, "video player style");

BOOL BindPlayerFactory(void);
void CreatePlayer(HWND hwndParent, DWORD dwStyle);
void DestroyPlayer(void);

#endif
