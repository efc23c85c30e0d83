// A player factory that returns null: opens and closing must still work.
#include "media/media_steps.h"

#include <algorithm>

SCENARIO(player_factory_returns_null)
{
    Player p = Launch(WinPath(Env("QV_NULLPLAYER_EXE")));
    REQUIRE(WaitMainWindow(p));
    CHECK_EQ(CountChildrenOfClass(p.hwndMain, "MCIWndClass"), 0);
    CHECK_EQ(static_cast<int>(Children(p.hwndMain).size()), 2);
    const char *files[] = {"tone440.wav", "movie176x144.avi", "text.avi", "movie320x240.avi",
                           "tune.mid"};
    for (const char *name : files) {
        std::string why;
        CHECK_MSG(TryOpenFile(p, MediaPath(name), &why), std::string(name) + ": " + why);
        if (HWND box = WaitMessageBox(p.pi.dwProcessId, 300))
            DismissBox(box);
        DWORD code;
        CHECK_MSG(!Exited(p, &code), std::string("the player ended after ") + name);
        CHECK(Responds(p, 5000));
    }
    CHECK_EQ(TextOf(CaptionOf(p)), std::string("tune.mid"));
    // No player, no bar to measure: the strip's 64 rows and the table's
    // size, taller only where the frame and caption leave less.
    RECT main = ScreenRect(p.hwndMain), client{};
    GetClientRect(p.hwndMain, &client);
    int frame = (main.bottom - main.top) - client.bottom;
    CHECK_EQ(main, Xywh(80, 16, 310, std::max(96, 64 + frame)));
    CHECK_EQ(CountChildrenOfClass(p.hwndMain, "MCIWndClass"), 0);
    CHECK_EQ(CloseAndWait(p), 0ul);
}
