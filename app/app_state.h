#ifndef QV_APP_APP_STATE_H
#define QV_APP_APP_STATE_H

#include <windows.h>
#include <vfw.h>

#include "player/player.h"

/* The one process-wide record; static storage, so all zero at start. */
typedef struct tagAPPSTATE {
    HINSTANCE hInstance;
    HMODULE hVfwLibrary;
    PFNMCIWNDCREATE pfnMCIWndCreate;
    HWND hwndPlayer;
    HWND hwndCaption;
    HWND hwndOpenButton;
    HBITMAP hbmOpenButton;
    CHAR szFile[MAX_PATH];
    CHAR szSelectedName[MAX_PATH];
    CHAR szMediaName[MAX_PATH];
    OPENFILENAMEA ofn;
    AVIFILEINFOA aviInfo;
} APPSTATE;

extern APPSTATE AppState;

#endif
