#include "media/open_media.h"

#include <stddef.h>

#include "app/app_state.h"
#include "media/video_probe.h"
#include "media/vfw_imports.h"
#include "ui/layout.h"
#include "ui/main_wnd.h"

static_assert(OPEN_DIALOG_FLAGS == 0x281804, "open dialog flags");
#ifndef _WIN64
/* OPENFILENAME_SIZE_VERSION_400A is not a constant expression in C++. */
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "dialog record size");
#endif

void OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0) {
        /* A click is re-sent as a source-less command to this window. */
        if (LOWORD(wParam) == IDC_OPENMEDIA && HIWORD(wParam) == BN_CLICKED)
            SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_OPENMEDIA, 0), 0);
        return;
    }
    if (LOWORD(wParam) == IDC_OPENMEDIA)
        OpenMediaFile(hwnd);
}

static void FillOpenRequest(HWND hwnd)
{
    OPENFILENAMEA *pOfn = &AppState.ofn;

    pOfn->lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    pOfn->hwndOwner = hwnd;
    pOfn->hInstance = AppState.hInstance;
    pOfn->lpstrFilter = OPEN_DIALOG_FILTER;
    pOfn->lpstrCustomFilter = NULL;
    pOfn->nMaxCustFilter = 0;
    pOfn->nFilterIndex = 0;
    pOfn->lpstrFile = AppState.szFile;
    pOfn->nMaxFile = MAX_PATH;
    pOfn->lpstrFileTitle = NULL;
    pOfn->nMaxFileTitle = 0;
    pOfn->lpstrInitialDir = NULL;
    pOfn->lpstrTitle = OPEN_DIALOG_TITLE;
    pOfn->Flags = OPEN_DIALOG_FLAGS;
    pOfn->nFileOffset = 0;
    pOfn->nFileExtension = 0;
    pOfn->lpstrDefExt = NULL;
    pOfn->lCustData = 0;
    pOfn->lpfnHook = NULL;
    pOfn->lpTemplateName = NULL;
}

/* The player and the probe open the bare name, so the current directory
   must be the chosen folder; not every dialog leaves it there (a typed
   full path, for one). The folder keeps its trailing backslash, which
   also keeps a drive root such as C:\ valid. */
static void EnterChosenFolder(void)
{
    CHAR szFolder[MAX_PATH];

    lstrcpynA(szFolder, AppState.szFile, AppState.ofn.nFileOffset + 1);
    SetCurrentDirectoryA(szFolder);
}

static void SetMediaCaption(void)
{
    lstrcpyA(AppState.szMediaName, AppState.szFile + AppState.ofn.nFileOffset);
    SendMessageA(AppState.hwndCaption, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(AppState.szMediaName));
}

static void ReplacePlayer(HWND hwnd, DWORD dwStyle)
{
    DestroyPlayer();
    SetMediaCaption();
    CreatePlayer(hwnd, dwStyle);
}

void OpenMediaFile(HWND hwnd)
{
    FillOpenRequest(hwnd);
    if (!GetOpenFileNamePreviewA(&AppState.ofn))
        return;

    EnterChosenFolder();
    lstrcpyA(AppState.szSelectedName, AppState.szFile + AppState.ofn.nFileOffset);

    if (lstrcmpiA(MOVIE_EXTENSION, AppState.szFile + AppState.ofn.nFileExtension) != 0) {
        ReplacePlayer(hwnd, PLAYER_STYLE_FRAMED);
        ApplyAudioLayout(hwnd);
        return;
    }

    if (!ProbeVideoFrameSize(hwnd, AppState.szSelectedName))
        return;
    ReplacePlayer(hwnd, PLAYER_STYLE_VIDEO);
    ApplyMovieLayout(hwnd, AppState.aviInfo.dwWidth, AppState.aviInfo.dwHeight);
}
