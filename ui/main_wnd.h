#ifndef QV_UI_MAIN_WND_H
#define QV_UI_MAIN_WND_H

#include <windows.h>

#define MAIN_CLASS_NAME  "QVWinClass"
#define MAIN_TITLE       "Quorvane"
#define MAIN_EX_STYLE    (WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE)
#define MAIN_STYLE       (WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)

#define IDC_OPENMEDIA    0x500
#define OPEN_BUTTON_TEXT "Bitmap"
#define OPEN_BUTTON_STYLE (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_BITMAP)
#define CAPTION_START_TEXT "Midi, Wave and Avi Player, enjoy ..."
#define CAPTION_STYLE    (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT)
#define CAPTION_EX_STYLE (WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE)

static_assert(MAIN_EX_STYLE == 0x300, "main window extended style");
static_assert(MAIN_STYLE == 0x04CA0000, "main window style");
static_assert(OPEN_BUTTON_STYLE == 0x54000080, "open button style");
static_assert(CAPTION_STYLE == 0x54000000, "caption style");

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

#endif
