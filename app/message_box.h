#ifndef QV_APP_MESSAGE_BOX_H
#define QV_APP_MESSAGE_BOX_H

#include <windows.h>

#define MESSAGE_BOX_CAPTION "Message Box"

/* Every report the program makes: modal, OK only. */
inline void ShowMessage(HWND hwndOwner, LPCSTR pszText)
{
    MessageBoxA(hwndOwner, pszText, MESSAGE_BOX_CAPTION, MB_OK);
}

#endif
