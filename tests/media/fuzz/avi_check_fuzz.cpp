// libFuzzer target for the AVI structure check, built natively with
// AddressSanitizer and UndefinedBehaviorSanitizer. The check's own source
// is compiled in unchanged, over a file layer that serves the input as the
// one file it opens; the layer fails the run on any read past the end.
#include "media/avi_check.cpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct OpenFile {
    const uint8_t *data;
    DWORD size, pos;
    bool open;
    unsigned long reads, headerReads;  // all reads; 8-byte ones: chunk headers
} g_file;

[[noreturn]] void Fail(const char *why)
{
    fprintf(stderr, "avi_check_fuzz: %s\n", why);
    abort();
}

}  // namespace

HANDLE CreateFileA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)
{
    if (g_file.open)
        Fail("opened twice");
    g_file.open = true;
    g_file.pos = 0;
    return &g_file;
}

DWORD GetFileSize(HANDLE, LPDWORD pdwHigh)
{
    *pdwHigh = 0;
    return g_file.size;
}

DWORD SetFilePointer(HANDLE, LONG lDistance, PLONG plHigh, DWORD dwMethod)
{
    if (plHigh || dwMethod != FILE_BEGIN || static_cast<DWORD>(lDistance) > g_file.size)
        Fail("seek outside the file");
    return g_file.pos = static_cast<DWORD>(lDistance);
}

BOOL ReadFile(HANDLE, LPVOID pv, DWORD cb, LPDWORD pcbRead, LPOVERLAPPED)
{
    if (!g_file.open || cb > g_file.size - g_file.pos)
        Fail("read past the end of the file");
    memcpy(pv, g_file.data + g_file.pos, cb);
    g_file.pos += cb;
    *pcbRead = cb;
    ++g_file.reads;
    g_file.headerReads += (cb == 8);
    return TRUE;
}

BOOL CloseHandle(HANDLE)
{
    g_file.open = false;
    return TRUE;
}

DWORD GetLastError(void) { return NO_ERROR; }

// What the check promises: a bounded number of header chunks, one look at
// what ends the header part, and at most AVI_MAX_FRAMES frame headers; a
// chunk costs at most five reads (its header, a list type, a stream's type
// and handler, a format), a frame two (its header, a record list's type).
static const unsigned long MAX_HEADER_READS = AVI_MAX_CHUNKS + 1 + AVI_MAX_FRAMES;
static const unsigned long MAX_READS = 5 * (AVI_MAX_CHUNKS + 1) + 2ul * AVI_MAX_FRAMES;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > AVI_MAX_FILE)
        return 0;
    BOOL answers[2];
    for (BOOL &answer : answers) {
        g_file = OpenFile{data, static_cast<DWORD>(size), 0, false, 0, 0};
        answer = IsWellFormedAvi("fuzz.avi");
        if (g_file.open)
            Fail("the file was left open");
        if (g_file.headerReads > MAX_HEADER_READS)
            Fail("more chunk headers read than the check's bound");
        if (g_file.reads > MAX_READS)
            Fail("more reads than the check's bound");
    }
    if (answers[0] != answers[1])
        Fail("two answers for one file");
    return 0;
}
