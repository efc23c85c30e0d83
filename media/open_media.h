#ifndef QV_MEDIA_OPEN_MEDIA_H
#define QV_MEDIA_OPEN_MEDIA_H

#include <windows.h>

#define OPEN_DIALOG_TITLE  "Select a File"
#define OPEN_DIALOG_FILTER "*.mid, *.wav, *.avi\0*.mid;*.wav;*.avi\0"
#define OPEN_DIALOG_FLAGS \
    (OFN_LONGNAMES | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | \
     OFN_HIDEREADONLY)
#define MOVIE_EXTENSION    "avi"

void OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
void OpenMediaFile(HWND hwnd);

#endif
