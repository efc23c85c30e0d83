#include "media/avi_reference.h"

#include <windows.h>
#include <vfw.h>

#include <cstdio>
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
        printf("opened %lu %lu\n", info.dwWidth, info.dwHeight);
        AVIFileRelease(file);
    }
    fflush(stdout);
    AVIFileExit();
    return 0;
}

AviReference ReadAviReference(const std::string &path)
{
    AviReference r{AviReference::Hung};
    SECURITY_ATTRIBUTES sa{sizeof sa, NULL, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        AbortScenario("no pipe");
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string cmd = std::string("\"") + self + "\" --avi-reference \"" + path + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(NULL, &cmd[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi))
        AbortScenario("cannot start the reference helper");
    CloseHandle(writeEnd);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    } else {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        r.exitCode = code;
        char buf[128] = "";
        DWORD got = 0;
        ReadFile(readEnd, buf, sizeof buf - 1, &got, NULL);
        buf[got] = 0;
        r.wellFormed = strncmp(buf, "wellformed", 10) == 0;
        const char *verdict = strchr(buf, ' ');
        verdict = verdict ? verdict + 1 : buf;
        if (code != 0)
            r.kind = AviReference::Crashed;
        else if (sscanf(verdict, "opened %lu %lu", &r.width, &r.height) == 2)
            r.kind = AviReference::Opened;
        else
            r.kind = AviReference::Refused;
    }
    CloseHandle(readEnd);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return r;
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
