// Linked into a test build of the player only: its import slot for
// LoadLibraryA points here, so that loading the video library by name fails
// (see app_library_missing for why a real loader cannot show that).
#include <windows.h>

#include "import_slot.h"

static HMODULE WINAPI FailingLoadLibraryA(LPCSTR)
{
    SetLastError(ERROR_MOD_NOT_FOUND);
    return NULL;
}

REPLACE_IMPORT(LoadLibraryA, "LoadLibraryA@4", FailingLoadLibraryA);
