// Steps shared by the open-a-file scenarios: a started player, the two
// layouts as the user sees them, and the refusal box.
#pragma once

#include "driver/harness.h"

struct Snapshot {  // what the window shows, to compare before and after
    HWND player;
    std::string caption;
    RECT mainRect, captionRect, playerRect;
    int children;
};

Player StartPlayer();
HWND PlayerOf(Player &p);   // the one player child, checked to be one
HWND CaptionOf(Player &p);
Snapshot Snap(Player &p);
void ExpectSame(const Snapshot &a, const Snapshot &b);
// The play bar's height as the control draws it: the union of its child
// windows (26, the layout's, where it has none).
int PlayBarHeight(HWND player);
// The whole play bar inside the player's client area, the whole player
// inside the main window's.
void ExpectWholePlayer(Player &p);
// The start and sound layout, the strip: the table's numbers where the bar
// is 26 high and the frame leaves room, taller by what a taller bar needs
// and where the frame and caption take more.
void ExpectStripLayout(Player &p, const std::string &caption);
void ExpectSoundLayout(Player &p, const char *bareName);
// The movie layout of a W x H frame, with the bar's height read from the
// control (26 gives the table's numbers).
void ExpectMovieLayout(Player &p, const char *bareName, int w, int h);
// The whole W x H one-pixel checkerboard of the test movies (white where
// x + y is odd) at the top of the player, the whole bar below it, the whole
// player in the main window. Returns the pixels that are not as they should be.
int ExpectWholeFrame(Player &p, int w, int h, bool pixelsMustBeRight = true);
// Dismisses the player control's own error boxes; returns how many there were.
int DismissControlErrors(Player &p);
// Opens a file that must be refused: exactly one box of ours, owned by the
// main window, and nothing else changes.
void ExpectRefused(Player &p, const std::string &winPath);
