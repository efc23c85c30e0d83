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
    BOOL fMendPlayButton;    /* the platform's Play button needs our help */
    WNDPROC pfnPlayerProc;   /* the control's own procedure, when mended */
    HWND hwndPlayer;
    int cyBarGrowth;         /* rows the control's play bar takes beyond 26 */
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
