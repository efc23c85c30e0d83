// What the platform's AVI file services make of a file, read in a separate
// process: on some malformed files the services crash their caller.
#pragma once

#include <string>

struct AviReference {
    enum Kind { Opened, Refused, Crashed, Hung } kind;
    bool wellFormed = false;  // what the player's own structure check says
    unsigned long width = 0, height = 0;
    // The picture the video format declares.
    long formatWidth = 0, formatHeight = 0;
    unsigned formatBits = 0;
    unsigned long formatCompression = 0;
    unsigned long exitCode = 0;
};

AviReference ReadAviReference(const std::string &winPath);
const char *KindName(AviReference::Kind k);
// The helper's side: prints the check's verdict, then "opened W H" or
// "refused"; returns its exit status.
int RunAviReferenceHelper(const char *winPath);

// What the platform's player control alone does to its own process with a
// file: "whole", "damaged" (its heap, or an access violation however it was
// handled), "crashed (status ...)" or "hung".
std::string PlayerReference(const std::string &winPath);
int RunPlayerReferenceHelper(const char *winPath);

// The smallest (not empty) and largest of a movie's first frames as the
// services read them; false when reading frames crashes them.
bool FrameReference(const std::string &winPath, long *smallest, long *largest);
int RunFrameReferenceHelper(const char *winPath);
