// Linked into a test build of the player only: its import slot for
// LoadLibraryA points here, so that loading the video library by name fails
// (see app_library_missing for why a real loader cannot show that).
#include <windows.h>

static HMODULE WINAPI FailingLoadLibraryA(LPCSTR)
{
    SetLastError(ERROR_MOD_NOT_FOUND);
    return NULL;
}

#ifdef _WIN64
extern "C" void *__imp_LoadLibraryA;
void *__imp_LoadLibraryA = reinterpret_cast<void *>(FailingLoadLibraryA);
#else
extern "C" void *imp_LoadLibraryA __asm__("__imp__LoadLibraryA@4");
void *imp_LoadLibraryA = reinterpret_cast<void *>(FailingLoadLibraryA);
#endif
