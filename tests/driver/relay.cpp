#include "relay.h"

#include "harness.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <psapi.h>  // after windows.h


static std::string TraceFile()
{
    std::string unix = Env("QV_TRACE");
    if (unix.empty())
        AbortScenario("QV_TRACE is not set");
    return WinPath(unix);
}

ImageSpan ImageOf(const Player &p)
{
    // The first module is the executable. Its preferred base is only a
    // hint: the loader maps it elsewhere when that range is taken.
    ImageSpan span;
    HMODULE exe = NULL;
    DWORD needed = 0;
    MODULEINFO mi{};
    if (EnumProcessModules(p.pi.hProcess, &exe, sizeof exe, &needed) &&
        GetModuleInformation(p.pi.hProcess, exe, &mi, sizeof mi)) {
        span.lo = reinterpret_cast<ULONG_PTR>(mi.lpBaseOfDll);
        span.hi = span.lo + mi.SizeOfImage;
    }
    if (span.lo == 0)
        AbortScenario("the player's image is not listed in its process");
    return span;
}

std::vector<RelayEvent> ProductCalls(const ImageSpan &image)
{
    std::vector<RelayEvent> out;
    std::ifstream f(TraceFile());
    std::string line;
    int lines = 0;
    while (std::getline(f, line)) {
        ++lines;
        size_t at = line.find(":Call ");
        bool isReturn = false;
        if (at == std::string::npos) {
            at = line.find(":Ret  ");
            isReturn = true;
        }
        size_t retAt = line.rfind(" ret=");
        if (at == std::string::npos || retAt == std::string::npos)
            continue;
        unsigned long long ret = strtoull(line.c_str() + retAt + 5, NULL, 16);
        if (ret < image.lo || ret >= image.hi)
            continue;
        size_t nameStart = at + 6;
        size_t paren = line.find('(', nameStart);
        size_t dot = line.find('.', nameStart);
        if (paren == std::string::npos || dot == std::string::npos || dot > paren)
            continue;
        RelayEvent e;
        e.isReturn = isReturn;
        e.fn = line.substr(dot + 1, paren - dot - 1);
        if (isReturn) {
            size_t rv = line.find("retval=");
            e.args = rv == std::string::npos ? "" : line.substr(rv + 7, retAt - rv - 7);
        } else {
            e.args = line.substr(paren + 1, retAt - paren - 2);
        }
        out.push_back(e);
    }
    if (out.empty())
        Note("no call from the image at %#llx in %d trace lines",
             static_cast<unsigned long long>(image.lo), lines);
    return out;
}

int FindEvent(const std::vector<RelayEvent> &ev, const char *fn, bool isReturn, int from)
{
    for (int i = from < 0 ? 0 : from; i < static_cast<int>(ev.size()); ++i)
        if (ev[i].isReturn == isReturn && ev[i].fn == fn)
            return i;
    return -1;
}

int CountCalls(const std::vector<RelayEvent> &ev, const char *fn)
{
    int n = 0;
    for (const RelayEvent &e : ev)
        n += !e.isReturn && e.fn == fn;
    return n;
}


std::vector<std::string> StartTrace()
{
    // The file is open for appending in every Wine process of the test, so
    // emptying it in place is enough.
    HANDLE h = CreateFileA(TraceFile().c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           TRUNCATE_EXISTING, 0, NULL);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return {"WINEDEBUG=+relay"};
}
