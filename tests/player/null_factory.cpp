// Linked into a test build of the player only: its import slot for
// GetProcAddress, which the player uses for nothing but the player factory,
// hands back a factory that fails, as the real one does when the control
// cannot be created.
#include <windows.h>

static HWND __cdecl FailingFactory(HWND, HINSTANCE, DWORD, LPCSTR)
{
    return NULL;
}

static FARPROC WINAPI FactoryLookup(HMODULE, LPCSTR)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(FailingFactory));
}

#ifdef _WIN64
extern "C" void *__imp_GetProcAddress;
void *__imp_GetProcAddress = reinterpret_cast<void *>(FactoryLookup);
#else
extern "C" void *imp_GetProcAddress __asm__("__imp__GetProcAddress@8");
void *imp_GetProcAddress = reinterpret_cast<void *>(FactoryLookup);
#endif
