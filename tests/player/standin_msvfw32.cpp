// A stand-in for the video library that has the open dialog but no player
// factory, so that the player's start-up meets a library without
// "MCIWndCreate" on the real loader. The ICxxx exports exist only because
// the platform's AVI file library imports them from this library at load.
#include <windows.h>

#define FAIL_STUB(name) \
    extern "C" __declspec(dllexport) LRESULT WINAPI name(void) { return 0; }

extern "C" __declspec(dllexport) BOOL WINAPI GetOpenFileNamePreviewA(void *)
{
    return FALSE;
}

FAIL_STUB(ICClose)
FAIL_STUB(ICCompress)
FAIL_STUB(ICCompressorChoose)
FAIL_STUB(ICCompressorFree)
FAIL_STUB(ICDecompress)
FAIL_STUB(ICGetDisplayFormat)
FAIL_STUB(ICGetInfo)
FAIL_STUB(ICLocate)
FAIL_STUB(ICOpen)
FAIL_STUB(ICSendMessage)
