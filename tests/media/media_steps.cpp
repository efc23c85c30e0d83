#include "media/media_steps.h"

#include <algorithm>

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

int PlayBarHeight(HWND player)
{
    RECT bar{};
    for (HWND child : Children(player)) {
        RECT r = ScreenRect(child);
        UnionRect(&bar, &bar, &r);
    }
    return bar.bottom > bar.top ? bar.bottom - bar.top : 26;
}

void ExpectWholePlayer(Player &p)
{
    HWND player = PlayerOf(p);
    REQUIRE(player);
    RECT bar{}, client{}, main{}, inside;
    for (HWND child : Children(player)) {
        RECT r = ScreenRect(child);
        UnionRect(&bar, &bar, &r);
    }
    GetClientRect(player, &client);
    MapWindowPoints(player, NULL, reinterpret_cast<POINT *>(&client), 2);
    // A movie narrower than the bar's buttons cannot show them whole; every
    // row of the bar must show all the same.
    if (bar.right - bar.left > client.right - client.left) {
        Note("the player is %ld wide, its play bar's parts %ld", client.right - client.left,
             bar.right - bar.left);
        bar.right = bar.left + (client.right - client.left);
    }
    IntersectRect(&inside, &bar, &client);
    CHECK_MSG(EqualRect(&inside, &bar), "play bar " + Show(bar) + " not inside the player's client " +
                                            Show(client));
    RECT seen = ScreenRect(player);
    GetClientRect(p.hwndMain, &main);
    MapWindowPoints(p.hwndMain, NULL, reinterpret_cast<POINT *>(&main), 2);
    IntersectRect(&inside, &seen, &main);
    CHECK_MSG(EqualRect(&inside, &seen), "player " + Show(seen) + " not inside the main window's client " +
                                             Show(main));
}

// The main window at (80, 16), cx by cy, or taller where that would leave
// its client area too short for the player: exactly as tall as the frame
// and caption this window system draws plus the player's bottom.
static void ExpectMainWindow(Player &p, int cx, int cy)
{
    RECT main = ScreenRect(p.hwndMain), client{};
    GetClientRect(p.hwndMain, &client);
    int frame = (main.bottom - main.top) - client.bottom;
    int need = frame + RectInParent(PlayerOf(p)).bottom;
    if (need > cy)
        Note("frame and caption take %d rows: the main window grows from %d to %d", frame, cy, need);
    int minWidth = GetSystemMetrics(SM_CXMINTRACK);
    if (cx >= minWidth) {
        CHECK_EQ(main, Xywh(80, 16, cx, std::max(cy, need)));
    } else {
        Note("main window width %d asked for: the window system clamped it to %ld", cx,
             main.right - main.left);
        CHECK_EQ(Xywh(main.left, main.top, 0, main.bottom - main.top),
                 Xywh(80, 16, 0, std::max(cy, need)));
    }
}

void ExpectStripLayout(Player &p, const std::string &caption)
{
    HWND player = PlayerOf(p);
    REQUIRE(player);
    int more = PlayBarHeight(player) - 26;  // the rows a taller bar needs
    CHECK_EQ(static_cast<int>(Children(p.hwndMain).size()), 3);
    CHECK_EQ(TextOf(CaptionOf(p)), caption);
    CHECK_EQ(RectInParent(CaptionOf(p)), Xywh(32, 5, 264, 22));
    CHECK_EQ(RectInParent(player), Xywh(0, 32, 300, 32 + more));
    ExpectMainWindow(p, 310, 96 + more);
    // Exactly the framed style word: no bit that the control added itself.
    CHECK_EQ(static_cast<unsigned>(GetWindowLongA(player, GWL_STYLE)), 0x54400008u);
    ExpectWholePlayer(p);
}

void ExpectSoundLayout(Player &p, const char *bareName)
{
    ExpectStripLayout(p, bareName);
}

void ExpectMovieLayout(Player &p, const char *bareName, int w, int h)
{
    HWND player = PlayerOf(p);
    REQUIRE(player);
    int bar = PlayBarHeight(player);
    CHECK_EQ(static_cast<int>(Children(p.hwndMain).size()), 3);
    CHECK_EQ(TextOf(CaptionOf(p)), std::string(bareName));
    CHECK_EQ(RectInParent(player), Xywh(4, 32, w, h + bar));
    // Exactly the video style word, so no frame: the frame plus the play bar.
    CHECK_EQ(static_cast<unsigned>(GetWindowLongA(player, GWL_STYLE)), 0x50000008u);
    RECT client{};
    GetClientRect(player, &client);
    CHECK_EQ(client, Xywh(0, 0, w, h + bar));

    RECT caption = RectInParent(CaptionOf(p));
    if (w >= 26) {
        CHECK_EQ(caption, Xywh(32, 5, w - 26, 22));
    } else {
        Note("caption width %d asked for a %d-pixel movie: the window system made it %ld",
             w - 26, w, caption.right - caption.left);
        CHECK_EQ(Xywh(caption.left, caption.top, 0, caption.bottom - caption.top),
                 Xywh(32, 5, 0, 22));
    }
    ExpectMainWindow(p, w + 18, h + 66 + bar);
    ExpectWholePlayer(p);
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

int ExpectWholeFrame(Player &p, int w, int h, bool pixelsMustBeRight)
{
    HWND player = PlayerOf(p);
    REQUIRE(player);
    Settle(p);
    Sleep(500);  // the control draws its first frame once it has been placed
    RECT seen = ScreenRect(player);
    std::vector<COLORREF> px = ScreenBlock(RECT{seen.left, seen.top, seen.left + w, seen.top + h});
    REQUIRE(static_cast<int>(px.size()) == w * h);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = px[y * w + x];
            bool white = GetRValue(c) + GetGValue(c) + GetBValue(c) > 3 * 128;
            wrong += white != ((x + y) % 2 == 1);
        }
    if (pixelsMustBeRight)
        CHECK_MSG(wrong == 0, Show(wrong) + " of " + Show(w * h) + " pixels wrong");
    for (HWND child : Children(player)) {
        RECT r = ScreenRect(child);
        CHECK_MSG(r.left >= seen.left && r.right <= seen.right && r.top >= seen.top + h &&
                      r.bottom <= seen.bottom,
                  "play bar part " + Show(r) + " not below the frame in " + Show(seen));
    }
    ExpectWholePlayer(p);
    return wrong;
}
