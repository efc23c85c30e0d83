#include "media/avi_reference.h"

#include <windows.h>
#include <vfw.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/harness.h"
#include "media/avi_check.h"

int RunAviReferenceHelper(const char *path)
{
    printf("%s ", IsWellFormedAvi(path) ? "wellformed" : "malformed");
    fflush(stdout);
    AVIFileInit();
    PAVIFILE file = NULL;
    if (AVIFileOpenA(&file, path, OF_READ, NULL) != AVIERR_OK) {
        printf("refused\n");
    } else {
        AVIFILEINFOA info{};
        AVIFileInfoA(file, &info, sizeof info);
        // The picture as the video format declares it, read by the services.
        BITMAPINFOHEADER bih{};
        PAVISTREAM video = NULL;
        if (AVIFileGetStream(file, &video, streamtypeVIDEO, 0) == AVIERR_OK) {
            LONG size = sizeof bih;
            AVIStreamReadFormat(video, 0, &bih, &size);
            AVIStreamRelease(video);
        }
        printf("opened %lu %lu %ld %ld %u %lu\n", info.dwWidth, info.dwHeight, bih.biWidth,
               bih.biHeight, bih.biBitCount, bih.biCompression);
        AVIFileRelease(file);
    }
    fflush(stdout);
    AVIFileExit();
    return 0;
}

static LONG g_accessViolations;

// Sees each access violation first, even one that a window procedure's
// caller later swallows.
static LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS *info)
{
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        InterlockedIncrement(&g_accessViolations);
    return EXCEPTION_CONTINUE_SEARCH;
}

// The player control alone, outside our program: opens the file the way the
// player does (its first frame is drawn as it opens), then asks the heap
// whether it is still whole and whether any access violation happened.
int RunPlayerReferenceHelper(const char *path)
{
    AddVectoredExceptionHandler(1, CountAccessViolation);
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL,
                               NULL, GetModuleHandleA(NULL), NULL);
    HWND player = MCIWndCreateA(owner, GetModuleHandleA(NULL),
                                WS_CHILD | WS_VISIBLE | MCIWNDF_NOERRORDLG, path);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 200;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    printf("%s\n", HeapValidate(GetProcessHeap(), 0, NULL) && g_accessViolations == 0
                        ? "whole" : "damaged");
    fflush(stdout);
    if (player)
        DestroyWindow(player);
    return 0;
}

// The smallest (not empty) and largest of a movie's first frames as the
// services read them; reading frames crashes the services on some files that
// they open, so it is a helper of its own.
int RunFrameReferenceHelper(const char *path)
{
    AVIFileInit();
    PAVIFILE file = NULL;
    PAVISTREAM video = NULL;
    LONG largest = 0, smallest = 0;
    if (AVIFileOpenA(&file, path, OF_READ, NULL) == AVIERR_OK) {
        if (AVIFileGetStream(file, &video, streamtypeVIDEO, 0) == AVIERR_OK) {
            for (LONG i = 0; i < AVIStreamLength(video) && i < 64; ++i) {
                LONG bytes = 0;
                if (AVIStreamRead(video, i, 1, NULL, 0, &bytes, NULL) != AVIERR_OK || !bytes)
                    continue;
                largest = bytes > largest ? bytes : largest;
                smallest = (!smallest || bytes < smallest) ? bytes : smallest;
            }
            AVIStreamRelease(video);
        }
        AVIFileRelease(file);
    }
    printf("%ld %ld\n", smallest, largest);
    fflush(stdout);
    AVIFileExit();
    return 0;
}

// Runs this driver again as a helper on one file and collects what it prints.
static std::string RunHelper(const char *mode, const std::string &path, DWORD *exitCode)
{
    std::string out = "hung";
    *exitCode = STILL_ACTIVE;
    SECURITY_ATTRIBUTES sa{sizeof sa, NULL, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        AbortScenario("no pipe");
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string cmd = std::string("\"") + self + "\" " + mode + " \"" + path + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    // Wine's process creation failed once in a CI run, a few hundred helpers
    // in; a start that fails is the helper's problem, not the file's, so it
    // gets two more tries before the survey gives up.
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            Sleep(500);
        started = CreateProcessA(NULL, &cmd[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    }
    if (!started)
        AbortScenario("cannot start the reference helper, error " +
                      std::to_string(GetLastError()));
    CloseHandle(writeEnd);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    } else {
        GetExitCodeProcess(pi.hProcess, exitCode);
        char buf[128] = "";
        DWORD got = 0;
        ReadFile(readEnd, buf, sizeof buf - 1, &got, NULL);
        buf[got] = 0;
        out = buf;
    }
    CloseHandle(readEnd);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return out;
}

AviReference ReadAviReference(const std::string &path)
{
    AviReference r{AviReference::Hung};
    DWORD code;
    std::string out = RunHelper("--avi-reference", path, &code);
    if (code == STILL_ACTIVE)
        return r;
    r.exitCode = code;
    r.wellFormed = out.compare(0, 10, "wellformed") == 0;
    size_t space = out.find(' ');
    const char *verdict = out.c_str() + (space == std::string::npos ? 0 : space + 1);
    if (code != 0)
        r.kind = AviReference::Crashed;
    else if (sscanf(verdict, "opened %lu %lu %ld %ld %u %lu", &r.width, &r.height,
                    &r.formatWidth, &r.formatHeight, &r.formatBits, &r.formatCompression) >= 2)
        r.kind = AviReference::Opened;
    else
        r.kind = AviReference::Refused;
    return r;
}

bool FrameReference(const std::string &path, long *smallest, long *largest)
{
    DWORD code;
    std::string out = RunHelper("--frame-reference", path, &code);
    return code == 0 && sscanf(out.c_str(), "%ld %ld", smallest, largest) == 2;
}

std::string PlayerReference(const std::string &path)
{
    DWORD code;
    std::string out = RunHelper("--player-reference", path, &code);
    if (code == STILL_ACTIVE)
        return "hung";
    if (code != 0) {
        char buf[48];
        snprintf(buf, sizeof buf, "crashed (status %08lx)", code);
        return buf;
    }
    return out.substr(0, out.find_first_of("\r\n"));
}

const char *KindName(AviReference::Kind k)
{
    switch (k) {
    case AviReference::Opened: return "opened";
    case AviReference::Refused: return "refused";
    case AviReference::Crashed: return "crashed";
    default: return "hung";
    }
}

// Classifies every file of a folder by the services' own reading: how the
// crashing structures were found, and how to find new ones.
SCENARIO(media_survey_avi_services)
{
    std::string dir = WinPath(Env("QV_HOSTILE"));
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*.avi").c_str(), &fd);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    int counts[4] = {};
    do {
        AviReference r = ReadAviReference(dir + "\\" + fd.cFileName);
        ++counts[r.kind];
        printf("%-28s %-10s %s %lu %lu exit %08lx\n", fd.cFileName,
               r.wellFormed ? "wellformed" : "malformed", KindName(r.kind), r.width, r.height,
               r.exitCode);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    Note("opened %d, refused %d, crashed %d, hung %d", counts[0], counts[1], counts[2], counts[3]);
    CHECK(counts[0] > 0);
}
