#include "relay.h"

#include "harness.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

// The image's address range, read from its own PE header: Wine maps the
// executable at its preferred base.
bool ImageRange(const std::string &exe, unsigned long long &lo, unsigned long long &hi)
{
    std::ifstream f(exe, std::ios::binary);
    std::vector<char> head(4096);
    if (!f.read(head.data(), head.size()))
        return false;
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(head.data());
    const char *nt = head.data() + dos->e_lfanew;
    WORD magic = *reinterpret_cast<const WORD *>(nt + 4 + sizeof(IMAGE_FILE_HEADER));
    if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        auto *h = reinterpret_cast<const IMAGE_NT_HEADERS64 *>(nt);
        lo = h->OptionalHeader.ImageBase;
        hi = lo + h->OptionalHeader.SizeOfImage;
    } else {
        auto *h = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(nt);
        lo = h->OptionalHeader.ImageBase;
        hi = lo + h->OptionalHeader.SizeOfImage;
    }
    return true;
}

}  // namespace

static std::string TraceFile()
{
    std::string unix = Env("QV_TRACE");
    if (unix.empty())
        AbortScenario("QV_TRACE is not set");
    return WinPath(unix);
}

std::vector<RelayEvent> ProductCalls(const std::string &exe)
{
    std::string log = TraceFile();
    std::vector<RelayEvent> out;
    unsigned long long lo = 0, hi = 0;
    if (!ImageRange(exe, lo, hi))
        return out;
    std::ifstream f(log);
    std::string line;
    while (std::getline(f, line)) {
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
        if (ret < lo || ret >= hi)
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
