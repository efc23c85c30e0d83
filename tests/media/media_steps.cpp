#include "media/media_steps.h"

Player StartPlayer()
{
    Player p = Launch(ProductExe());
    REQUIRE(WaitMainWindow(p));
    return p;
}

HWND PlayerOf(Player &p)
{
    CHECK_EQ(CountChildrenOfClass(p.hwndMain, "MCIWndClass"), 1);
    return ChildOfClass(p.hwndMain, "MCIWndClass");
}

HWND CaptionOf(Player &p) { return ChildOfClass(p.hwndMain, "Static"); }

Snapshot Snap(Player &p)
{
    Snapshot s;
    s.player = ChildOfClass(p.hwndMain, "MCIWndClass");
    s.caption = TextOf(CaptionOf(p));
    s.mainRect = ScreenRect(p.hwndMain);
    s.captionRect = RectInParent(CaptionOf(p));
    s.playerRect = s.player ? RectInParent(s.player) : RECT{};
    s.children = static_cast<int>(Children(p.hwndMain).size());
    return s;
}

void ExpectSame(const Snapshot &a, const Snapshot &b)
{
    CHECK_MSG(a.player == b.player, "the player was replaced");
    CHECK_EQ(b.caption, a.caption);
    CHECK_EQ(b.mainRect, a.mainRect);
    CHECK_EQ(b.captionRect, a.captionRect);
    CHECK_EQ(b.playerRect, a.playerRect);
    CHECK_EQ(b.children, a.children);
}

void ExpectSoundLayout(Player &p, const char *bareName)
{
    HWND player = PlayerOf(p);
    REQUIRE(player);
    CHECK_EQ(static_cast<int>(Children(p.hwndMain).size()), 3);
    CHECK_EQ(TextOf(CaptionOf(p)), std::string(bareName));
    CHECK_EQ(RectInParent(CaptionOf(p)), Xywh(32, 5, 264, 22));
    CHECK_EQ(RectInParent(player), Xywh(0, 32, 300, 32));
    CHECK_EQ(ScreenRect(p.hwndMain), Xywh(80, 16, 310, 96));
    // Exactly the framed style word: no bit that the control added itself.
    CHECK_EQ(static_cast<unsigned>(GetWindowLongA(player, GWL_STYLE)), 0x54400008u);
}

void ExpectMovieLayout(Player &p, const char *bareName, int w, int h)
{
    HWND player = PlayerOf(p);
    REQUIRE(player);
    CHECK_EQ(static_cast<int>(Children(p.hwndMain).size()), 3);
    CHECK_EQ(TextOf(CaptionOf(p)), std::string(bareName));
    CHECK_EQ(RectInParent(player), Xywh(4, 32, w, h + 26));
    // Exactly the video style word, so no frame: the frame plus the play bar.
    CHECK_EQ(static_cast<unsigned>(GetWindowLongA(player, GWL_STYLE)), 0x50000008u);
    RECT client{};
    GetClientRect(player, &client);
    CHECK_EQ(client, Xywh(0, 0, w, h + 26));

    RECT caption = RectInParent(CaptionOf(p)), main = ScreenRect(p.hwndMain);
    if (w >= 26) {
        CHECK_EQ(caption, Xywh(32, 5, w - 26, 22));
    } else {
        Note("caption width %d asked for a %d-pixel movie: the window system made it %ld",
             w - 26, w, caption.right - caption.left);
        CHECK_EQ(Xywh(caption.left, caption.top, 0, caption.bottom - caption.top),
                 Xywh(32, 5, 0, 22));
    }
    int minWidth = GetSystemMetrics(SM_CXMINTRACK);
    if (w + 18 >= minWidth) {
        CHECK_EQ(main, Xywh(80, 16, w + 18, h + 92));
    } else {
        Note("main window width %d asked for: the window system clamped it to %ld",
             w + 18, main.right - main.left);
        CHECK_EQ(Xywh(main.left, main.top, 0, main.bottom - main.top),
                 Xywh(80, 16, 0, h + 92));
    }
}

int DismissControlErrors(Player &p)
{
    Settle(p);
    int n = 0;
    for (int round = 0; round < 5; ++round) {
        int got = DismissBoxesTitled(p.pi.dwProcessId, "MCI Error");
        if (!got)
            break;
        n += got;
        Settle(p);
    }
    return n;
}

void ExpectRefused(Player &p, const std::string &winPath)
{
    Snapshot before = Snap(p);
    OpenFile(p, winPath);
    HWND box = WaitMessageBox(p.pi.dwProcessId, 10000);
    REQUIRE(box);
    Sleep(200);
    CHECK_EQ(static_cast<int>(MessageBoxes(p.pi.dwProcessId).size()), 1);
    CHECK_EQ(BoxText(box), std::string("AVI file corrupted or Format not supported"));
    CHECK(GetWindow(box, GW_OWNER) == p.hwndMain);
    DismissBox(box);
    Settle(p);
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    ExpectSame(before, Snap(p));
}
