// What the platform's AVI file services make of a file, read in a separate
// process: on some malformed files the services crash their caller.
#pragma once

#include <string>

struct AviReference {
    enum Kind { Opened, Refused, Crashed, Hung } kind;
    bool wellFormed = false;  // what the player's own structure check says
    unsigned long width = 0, height = 0;
    unsigned long exitCode = 0;
};

AviReference ReadAviReference(const std::string &winPath);
const char *KindName(AviReference::Kind k);
// The helper's side: prints the check's verdict, then "opened W H" or
// "refused"; returns its exit status.
int RunAviReferenceHelper(const char *winPath);
