#ifndef QV_MEDIA_AVI_CHECK_H
#define QV_MEDIA_AVI_CHECK_H

#include <windows.h>

/* The platform's AVI reader trusts the header it reads and can crash on a
   lying one, so a file passes this bounded structural check first. */
BOOL IsWellFormedAvi(LPCSTR pszName);

#endif
