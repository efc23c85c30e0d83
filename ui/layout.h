#ifndef QV_UI_LAYOUT_H
#define QV_UI_LAYOUT_H

#include <windows.h>

/* Positions are (x, y, width, height): children in the main window's client
   area, the main window on the screen. */
#define MAIN_X 80
#define MAIN_Y 16
#define MAIN_CX_AUDIO 310
#define MAIN_CY_AUDIO 96
#define MAIN_CX_EXTRA 18 /* main window width  = frame width  + 18 */
#define MAIN_CY_EXTRA 92 /* main window height = frame height + 92 */

#define BUTTON_X 4
#define BUTTON_Y 4
#define BUTTON_CX 24
#define BUTTON_CY 24

#define CAPTION_X 32
#define CAPTION_Y 5
#define CAPTION_CX_AUDIO 264
#define CAPTION_CY 22
#define CAPTION_CX_LESS 26 /* caption width = frame width - 26 */

#define PLAYER_X_AUDIO 0
#define PLAYER_Y 32
#define PLAYER_CX_AUDIO 300
#define PLAYER_CY_AUDIO 32
#define PLAYER_X_VIDEO 4
#define PLAYER_CY_EXTRA 26 /* player height = frame height + 26, the play
                              bar's height; where the control reports a
                              taller bar, the player and the main window
                              grow by the difference */

void PlacePlayerAudio(void);
void PlaceStartWindow(HWND hwnd);
void ApplyAudioLayout(HWND hwnd);
void ApplyMovieLayout(HWND hwnd, DWORD dwWidth, DWORD dwHeight);

#endif
