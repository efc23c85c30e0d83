// Linked into a test build of the player only: its import slot for
// GetProcAddress, which the player uses for nothing but the player factory,
// hands back a factory that fails, as the real one does when the control
// cannot be created.
#include <windows.h>

#include "../app/import_slot.h"

static HWND __cdecl FailingFactory(HWND, HINSTANCE, DWORD, LPCSTR)
{
    return NULL;
}

static FARPROC WINAPI FactoryLookup(HMODULE, LPCSTR)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FailingFactory));
}

REPLACE_IMPORT(GetProcAddress, "GetProcAddress@8", FactoryLookup);
