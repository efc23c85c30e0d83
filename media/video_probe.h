#ifndef QV_MEDIA_VIDEO_PROBE_H
#define QV_MEDIA_VIDEO_PROBE_H

#include <windows.h>

#define AVI_REFUSED_TEXT "AVI file corrupted or Format not supported"

BOOL ProbeVideoFrameSize(HWND hwnd, LPCSTR pszName);

#endif
