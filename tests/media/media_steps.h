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
void ExpectSoundLayout(Player &p, const char *bareName);
void ExpectMovieLayout(Player &p, const char *bareName, int w, int h);
// Dismisses the player control's own error boxes; returns how many there were.
int DismissControlErrors(Player &p);
// Opens a file that must be refused: exactly one box of ours, owned by the
// main window, and nothing else changes.
void ExpectRefused(Player &p, const std::string &winPath);
