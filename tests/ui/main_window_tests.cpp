// The main window and its three children right after start.
#include "driver/harness.h"
#include "media/media_steps.h"

namespace {

void ExpectStyle(HWND h, LONG want, const char *what)
{
    LONG style = GetWindowLongA(h, GWL_STYLE);
    RecordCheck(style == want, what, __FILE__, __LINE__,
                "style " + Show(static_cast<unsigned>(style)) + ", want " +
                    Show(static_cast<unsigned>(want)));
}


}  // namespace

SCENARIO(ui_main_window_at_start)
{
    Player p = Launch(ProductExe());
    HWND w = WaitMainWindow(p);
    REQUIRE(w);
    // At (80, 16), 310 wide; its height is the strip's (ui_children_at_start).
    RECT wr = ScreenRect(w);
    CHECK_EQ(Xywh(wr.left, wr.top, wr.right - wr.left, 0), Xywh(80, 16, 310, 0));
    CHECK_EQ(TextOf(w), std::string("Quorvane"));
    CHECK_EQ(ClassOf(w), std::string("QVWinClass"));
    ExpectStyle(w, 0x04CA0000 | WS_VISIBLE, "caption, system menu, minimize box only");
    LONG style = GetWindowLongA(w, GWL_STYLE);
    CHECK((style & WS_THICKFRAME) == 0);
    CHECK((style & WS_MAXIMIZEBOX) == 0);
    CHECK((GetWindowLongA(w, GWL_EXSTYLE) & 0x300) == 0x300);
    CHECK(GetMenu(w) == NULL);
    CHECK_EQ(static_cast<unsigned>(GetClassLongPtrA(w, GCL_STYLE)),
             static_cast<unsigned>(CS_HREDRAW | CS_VREDRAW));

    // The class icon is ours: its yellow triangle shows in the title bar.
    // (Class brushes and icons of another process cannot be read back.)
    int cap = GetSystemMetrics(SM_CYCAPTION);
    std::vector<COLORREF> bar = ScreenBlock(RECT{wr.left, wr.top, wr.left + cap + 8, wr.top + cap + 6});
    int yellow = 0;
    for (COLORREF c : bar)
        yellow += c == RGB(255, 255, 0);
    CHECK_MSG(yellow >= 8, "yellow pixels in the title-bar icon: " + Show(yellow));

    // Background: a client point that no child covers shows the button face.
    RECT client;
    GetClientRect(w, &client);
    POINT pt{client.right - 6, 12};
    ClientToScreen(w, &pt);
    PixelStats bg = ScreenPixels(RECT{pt.x, pt.y, pt.x + 4, pt.y + 4});
    CHECK_EQ(static_cast<unsigned>(bg.dominant), static_cast<unsigned>(GetSysColor(COLOR_BTNFACE)));

    CHECK_EQ(CloseAndWait(p), 0ul);
}

SCENARIO(ui_children_at_start)
{
    Player p = Launch(ProductExe());
    HWND w = WaitMainWindow(p);
    REQUIRE(w);
    std::vector<HWND> kids = Children(w);
    CHECK_EQ(static_cast<int>(kids.size()), 3);

    HWND button = ChildOfClass(w, "Button");
    REQUIRE(button);
    CHECK_EQ(RectInParent(button), Xywh(4, 4, 24, 24));
    CHECK_EQ(TextOf(button), std::string("Bitmap"));
    ExpectStyle(button, 0x54000080, "open button style");
    CHECK_EQ(GetDlgCtrlID(button), 0x500);
    CHECK(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0) != 0);
    // The button shows bitmap 128 of the executable, centred, pixel for pixel.
    std::vector<COLORREF> picture = ResourceBitmapPixels(ProductExe(), 128, 20, 20);
    RECT br = ScreenRect(button);
    std::vector<COLORREF> shown = ScreenBlock(RECT{br.left + 2, br.top + 2, br.left + 22, br.top + 22});
    CHECK_EQ(static_cast<int>(picture.size()), 400);
    CHECK_MSG(shown == picture, "the button does not show the 20x20 open-folder bitmap");

    HWND caption = ChildOfClass(w, "Static");
    REQUIRE(caption);
    ExpectStyle(caption, 0x54000000, "caption style");
    CHECK((GetWindowLongA(caption, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0);
    CHECK_EQ(GetDlgCtrlID(caption), 0);

    HWND player = ChildOfClass(w, "MCIWndClass");
    REQUIRE(player);
    CHECK_EQ(TextOf(player), std::string("No Device"));
    // The strip: caption, player and main window where the layout puts
    // them, the whole play bar in the player, the whole player in view.
    ExpectStripLayout(p, "Midi, Wave and Avi Player, enjoy ...");
    std::string shot = Env("QV_SCREENSHOT");
    if (!shot.empty())
        CHECK(SaveScreenshot(WinPath(shot), ScreenRect(w)));
    CHECK_EQ(CloseAndWait(p), 0ul);
}

// Only the open command, from the button's click or without a source, opens
// the dialog; any other command changes nothing.
SCENARIO(ui_commands_other_than_open_change_nothing)
{
    Player p = Launch(ProductExe());
    HWND w = WaitMainWindow(p);
    REQUIRE(w);
    HWND button = GetDlgItem(w, 0x500);
    REQUIRE(button);
    std::vector<HWND> before = Children(w);
    RECT where = ScreenRect(w);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(0x501, 0), 0);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(0x501, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(0x500, BN_DOUBLECLICKED), reinterpret_cast<LPARAM>(button));
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    Settle(p);
    Sleep(300);
    CHECK(TopLevelWindows(p.pi.dwProcessId, "#32770").empty());
    CHECK(Children(w) == before);
    CHECK_EQ(ScreenRect(w), where);

    // A source-less open command goes straight to the dialog.
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(0x500, 7), 0);
    Sleep(200);
    std::vector<HWND> dlg;
    for (int i = 0; i < 250 && dlg.empty(); ++i, Sleep(20))
        dlg = TopLevelWindows(p.pi.dwProcessId, "#32770", "Select a File");
    REQUIRE(!dlg.empty());
    CHECK(GetWindow(dlg[0], GW_OWNER) == w);
    CancelDialog(p, dlg[0]);
    CHECK(Children(w) == before);
    CHECK_EQ(CloseAndWait(p), 0ul);
}
