// Start-up, the message loop and the end of the process.
#include "driver/harness.h"
#include "driver/relay.h"

namespace {

// The player's own calls, traced from a run that is closed normally.
std::vector<RelayEvent> TracedRun(const std::string &exe, DWORD *exitCode)
{
    Player p = Launch(exe, StartTrace());
    REQUIRE(WaitMainWindow(p));
    ImageSpan image = ImageOf(p);
    *exitCode = CloseAndWait(p);
    return ProductCalls(image);
}

// Runs a build that must fail at start: exactly one box with `text`, owned
// by nobody, no main window ever, status 1 once the box is dismissed.
std::vector<RelayEvent> ExpectStartupFailure(const std::string &exe,
                                             const std::vector<std::string> &env,
                                             const char *text)
{
    std::vector<std::string> traced = env;
    traced.push_back(StartTrace()[0]);
    Player p = Launch(exe, traced);
    HWND box = WaitMessageBox(p.pi.dwProcessId, 20000);
    REQUIRE(box != NULL);
    Sleep(300);  // a second box, if any, would be up by now
    CHECK_EQ(static_cast<int>(MessageBoxes(p.pi.dwProcessId).size()), 1);
    CHECK_EQ(BoxText(box), std::string(text));
    CHECK(GetWindow(box, GW_OWNER) == NULL);
    CHECK(TopLevelWindows(p.pi.dwProcessId, "QVWinClass").empty());
    ImageSpan image = ImageOf(p);
    DismissBox(box);
    CHECK_EQ(WaitExit(p), 1ul);
    return ProductCalls(image);
}

}  // namespace

SCENARIO(app_close_ends_loop_with_status_0)
{
    DWORD status = STILL_ACTIVE;
    std::vector<RelayEvent> ev = TracedRun(ProductExe(), &status);
    CHECK_EQ(status, 0ul);

    // The loop ends on the quit message, then the library goes, then the process.
    int quit = FindEvent(ev, "PostQuitMessage");
    int loopEnd = -1;
    for (int i = 0; i < static_cast<int>(ev.size()); ++i)
        if (ev[i].isReturn && ev[i].fn == "GetMessageA" && ev[i].args == "00000000")
            loopEnd = i;
    int freed = FindEvent(ev, "FreeLibrary");
    int exited = FindEvent(ev, "ExitProcess");
    CHECK_MSG(quit >= 0, "no PostQuitMessage in the trace");
    CHECK(ev.size() > 0 && quit >= 0 && ev[quit].args.find("00000000") == 0);
    CHECK_MSG(loopEnd > quit, "GetMessageA never returned 0 after the quit message");
    CHECK_MSG(freed > loopEnd, "FreeLibrary before the loop ended");
    CHECK_EQ(CountCalls(ev, "FreeLibrary"), 1);
    CHECK(exited > freed);
    CHECK(exited >= 0 && ev[exited].args.find("00000000") == 0);
    CHECK_EQ(FindEvent(ev, "MessageBoxA"), -1);

    // The first player: framed style word, no file name at all.
    int made = FindEvent(ev, "MCIWndCreate");
    CHECK(made >= 0 && ev[made].args.find(",54400008,00000000") != std::string::npos);
}

SCENARIO(app_no_box_at_start)
{
    Player p = Launch(ProductExe());
    REQUIRE(WaitMainWindow(p));
    Sleep(500);
    // Neither our boxes nor the player control's own error box.
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK(TopLevelWindows(p.pi.dwProcessId, "#32770").empty());
    CHECK_EQ(static_cast<int>(TopLevelWindows(p.pi.dwProcessId, "QVWinClass").size()), 1);
    CHECK_EQ(CloseAndWait(p), 0ul);
}

// A stand-in msvfw32.dll beside a copy of the player, preferred over the
// platform's by the test's WINEDLLOVERRIDES (msvfw32=n, set for the whole
// test: Wine takes overrides from the environment it starts with), has the
// open dialog but no player factory.
SCENARIO(app_factory_missing)
{
    std::string exe = WinPath(Env("QV_STANDIN_EXE"));
    std::vector<RelayEvent> ev =
        ExpectStartupFailure(exe, {}, "can not find Function: MCIWndCreate");
    int box = FindEvent(ev, "MessageBoxA");
    int lookup = FindEvent(ev, "GetProcAddress");
    int freed = FindEvent(ev, "FreeLibrary");
    int exited = FindEvent(ev, "ExitProcess");
    CHECK(lookup >= 0 && ev[lookup].args.find("\"MCIWndCreate\"") != std::string::npos);
    CHECK_MSG(box > lookup && freed > box && exited > freed,
              "want GetProcAddress, MessageBoxA, FreeLibrary, ExitProcess in order");
    CHECK(box >= 0 && ev[box].args.find("00000000,") == 0);  // no owner
    CHECK(exited >= 0 && ev[exited].args.find("00000001") == 0);
    CHECK_EQ(FindEvent(ev, "CreateWindowExA"), -1);
}

// Only a test build can make the library fail to load: the player imports
// the open dialog from the same library, so a real loader refuses to start
// the process at all before AppMain runs. That build replaces LoadLibraryA.
SCENARIO(app_library_missing)
{
    std::string exe = WinPath(Env("QV_NOLOAD_EXE"));
    std::vector<RelayEvent> ev =
        ExpectStartupFailure(exe, {}, "can not load DLL: msvfw32.dll");
    CHECK_EQ(CountCalls(ev, "FreeLibrary"), 0);
    CHECK_EQ(CountCalls(ev, "GetProcAddress"), 0);
    CHECK_EQ(FindEvent(ev, "CreateWindowExA"), -1);
    int exited = FindEvent(ev, "ExitProcess");
    CHECK(exited >= 0 && ev[exited].args.find("00000001") == 0);
}
