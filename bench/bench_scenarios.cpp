// Start-up and open latency of the player against a bare window program
// and against the floor (the platform's share of the same window and open).
// Prints medians with min and max; asserts nothing of time.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "driver/harness.h"
#include "media/avi_check.h"
#include "media/media_steps.h"

#include <vfw.h>

namespace {

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * t.QuadPart / freq.QuadPart;
}

struct Figures {
    double median, min, max;
};

Figures Summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return Figures{v[v.size() / 2], v.front(), v.back()};
}

void PrintFigures(const char *what, const Figures &f)
{
    printf("  %-34s median %8.1f ms (min %8.1f, max %8.1f)\n", what, f.median, f.min, f.max);
}

int Runs()
{
    int n = atoi(Env("QV_BENCH_RUNS").c_str());
    return n > 0 ? n : 11;
}

// From process creation to its main window visible.
double TimeStartup(const std::string &exe, const char *cls)
{
    double t0 = Now();
    Player p = Launch(exe);
    double t1 = 0;
    while (Now() - t0 < 20000) {
        std::vector<HWND> w = TopLevelWindows(p.pi.dwProcessId, cls);
        if (!w.empty() && IsWindowVisible(w[0])) {
            t1 = Now();
            p.hwndMain = w[0];
            break;
        }
        Sleep(1);
    }
    CHECK_MSG(t1 > 0, std::string(cls) + " never showed its window");
    CloseAndWait(p);
    return t1 - t0;
}

// Whether the window shows the movie layout of a 320 by 240 benchmark movie
// named `name`, read as the suite reads it: the bar's height from the
// control, the main window at least tall enough to hold the whole player.
bool ShowsMovie(Player &p, const std::string &name)
{
    HWND player = ChildOfClass(p.hwndMain, "MCIWndClass");
    if (!player)
        return false;
    int bar = PlayBarHeight(player);
    RECT main = ScreenRect(p.hwndMain), client{};
    GetClientRect(p.hwndMain, &client);
    // The caption's text last: reading it waits for the player's thread,
    // which is busy until the open is done, and would hide when the dialog
    // went away.
    return RectInParent(player) == Xywh(4, 32, 320, 240 + bar) &&
           main.left == 80 && main.top == 16 && main.right - main.left == 338 &&
           main.bottom - main.top >= 306 + bar && client.bottom >= 32 + 240 + bar &&
           TextOf(ChildOfClass(p.hwndMain, "Static")) == name;
}

// From the dialog's OK to the movie layout on the screen; `dialogGone`, if
// given, gets the part until the dialog's window was gone.
double TimeOpen(Player &p, const std::string &path, double *dialogGone = nullptr)
{
    OpenFile(p, MediaPath("tone440.wav"));  // from the sound layout each time
    HWND dlg = ClickOpenAndWaitDialog(p);
    DWORD_PTR r;
    SendMessageTimeoutA(GetDlgItem(dlg, 1148), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000, &r);
    std::string name = path.substr(path.find_last_of('\\') + 1);
    double t0 = Now(), gone = 0;
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    while (Now() - t0 < 60000) {
        if (gone == 0 && !IsWindow(dlg))
            gone = Now() - t0;
        if (ShowsMovie(p, name)) {
            if (dialogGone)
                *dialogGone = gone;
            return Now() - t0;
        }
        Sleep(1);
    }
    CHECK_MSG(false, "no movie layout for " + path);
    return 0;
}

// The floor opens a movie in a new player control when sent its name.
double TimeFloorOpen(HWND hwndFloor, const std::string &path)
{
    COPYDATASTRUCT cds{0, static_cast<DWORD>(path.size() + 1), const_cast<char *>(path.c_str())};
    DWORD_PTR opened = 0;
    double t0 = Now();
    SendMessageTimeoutA(hwndFloor, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL,
                        60000, &opened);
    double t = Now() - t0;
    CHECK_MSG(opened, "the floor did not open " + path);
    return t;
}

}  // namespace

SCENARIO(bench_startup)
{
    std::vector<double> player, baseline, floor;
    for (int i = 0; i < Runs(); ++i) {
        player.push_back(TimeStartup(ProductExe(), "QVWinClass"));
        baseline.push_back(TimeStartup(WinPath(Env("QV_BASELINE_EXE")), "BaselineClass"));
        floor.push_back(TimeStartup(WinPath(Env("QV_FLOOR_EXE")), "FloorClass"));
    }
    Figures fp = Summarise(player), fb = Summarise(baseline), ff = Summarise(floor);
    printf("start-up, process creation to main window visible (%d runs each):\n", Runs());
    PrintFigures("quorvane", fp);
    PrintFigures("baseline", fb);
    PrintFigures("floor", ff);
    printf("  ratio quorvane/baseline (medians)   %.2f\n", fp.median / fb.median);
    printf("  ratio quorvane/floor (medians)      %.2f\n", fp.median / ff.median);
}

SCENARIO(bench_open_latency)
{
    std::string small = WinPath(Env("QV_BENCH_MEDIA") + "/small.avi");
    std::string large = WinPath(Env("QV_BENCH_MEDIA") + "/large.avi");
    Player p = StartPlayer();
    TimeOpen(p, small);  // warm the file cache and the libraries once
    TimeOpen(p, large);
    std::vector<double> s, l, d, after;
    for (int i = 0; i < Runs(); ++i) {
        s.push_back(TimeOpen(p, small));
        d.push_back(0);
        l.push_back(TimeOpen(p, large, &d.back()));
        after.push_back(l.back() - d.back());
    }
    CHECK_EQ(CloseAndWait(p), 0ul);

    Player floor = Launch(WinPath(Env("QV_FLOOR_EXE")));
    CHECK(WaitMainWindow(floor, 15000, "FloorClass") != NULL);
    TimeFloorOpen(floor.hwndMain, small);  // warmed the same way
    TimeFloorOpen(floor.hwndMain, large);
    std::vector<double> f;
    for (int i = 0; i < Runs(); ++i)
        f.push_back(TimeFloorOpen(floor.hwndMain, large));
    CHECK_EQ(CloseAndWait(floor), 0ul);

    Figures fs = Summarise(s), fl = Summarise(l), ff = Summarise(f), fa = Summarise(after);
    printf("open latency, dialog OK to movie layout (%d runs each):\n", Runs());
    PrintFigures("small movie (about 1 MB)", fs);
    PrintFigures("large movie (about 500 MB)", fl);
    PrintFigures("  until the dialog is gone", Summarise(d));
    PrintFigures("  after it", fa);
    PrintFigures("floor, large movie in a control", ff);
    printf("  ratio large/small (medians)         %.2f\n", fl.median / fs.median);
    printf("  ratio quorvane/floor (medians)      %.2f\n", fl.median / ff.median);
    printf("  ratio after the dialog/floor        %.2f\n", fa.median / ff.median);
}

// Where an open's time goes: the player's own structure check against the
// platform's AVI services, timed inside this process for each movie.
SCENARIO(bench_probe_parts)
{
    printf("inside the probe, per movie (%d runs each):\n", Runs());
    for (const char *file : {"small.avi", "large.avi"}) {
        std::string path = WinPath(Env("QV_BENCH_MEDIA") + "/" + file);
        std::vector<double> check, services;
        for (int i = 0; i < Runs(); ++i) {
            double t0 = Now();
            CHECK(IsWellFormedAvi(path.c_str()));
            double t1 = Now();
            AVIFileInit();
            PAVIFILE pf = NULL;
            CHECK(AVIFileOpenA(&pf, path.c_str(), OF_READ, NULL) == AVIERR_OK);
            AVIFILEINFOA info{};
            if (pf) {
                AVIFileInfoA(pf, &info, sizeof info);
                AVIFileRelease(pf);
            }
            AVIFileExit();
            double t2 = Now();
            check.push_back(t1 - t0);
            services.push_back(t2 - t1);
        }
        printf(" %s\n", file);
        PrintFigures("structure check (ours)", Summarise(check));
        PrintFigures("AVIFileOpenA/InfoA (platform)", Summarise(services));
    }
}
