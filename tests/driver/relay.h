// Reads Wine's relay trace (WINEDEBUG=+relay) of a player run and keeps the
// calls the player's own code made, in order: the honest way to see the order
// of platform calls from outside the program.
#pragma once

#include "harness.h"

#include <string>
#include <vector>

struct RelayEvent {
    bool isReturn;
    std::string fn;    // "FreeLibrary", "GetMessageA", ...
    std::string args;  // the call's argument text, or the return value
};

// Where a running player's executable lies in its address space.
struct ImageSpan {
    ULONG_PTR lo = 0, hi = 0;
};
ImageSpan ImageOf(const Player &p);
// The calls made from `image` in the trace written since the last StartTrace().
std::vector<RelayEvent> ProductCalls(const ImageSpan &image);
// Index of the first call (or return) of `fn` at or after `from`; -1 if none.
int FindEvent(const std::vector<RelayEvent> &ev, const char *fn, bool isReturn = false,
              int from = 0);
int CountCalls(const std::vector<RelayEvent> &ev, const char *fn);
// Empties the trace file and returns the environment a traced player needs.
std::vector<std::string> StartTrace();
