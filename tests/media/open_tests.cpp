// The open flow through the real dialog: layouts, caption, refusals.
#include "driver/relay.h"
#include "media/media_steps.h"

SCENARIO(media_movie_and_sound_layouts)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("movie320x240.avi"));
    ExpectMovieLayout(p, "movie320x240.avi", 320, 240);
    // The numbers as written, once, in full: 266 and 332 for a bar of 26
    // and a frame and caption of at most 34 rows.
    int bar = PlayBarHeight(PlayerOf(p));
    RECT main = ScreenRect(p.hwndMain), client{};
    GetClientRect(p.hwndMain, &client);
    int frame = (main.bottom - main.top) - client.bottom;
    Note("the play bar is %d pixels high, the frame and caption %d", bar, frame);
    CHECK_EQ(RectInParent(CaptionOf(p)), Xywh(32, 5, 294, 22));
    CHECK_EQ(RectInParent(PlayerOf(p)), Xywh(4, 32, 320, 240 + bar));
    if (bar == 26 && frame <= 34)
        CHECK_EQ(main, Xywh(80, 16, 338, 332));

    // The whole frame above the whole bar, in a size of MS Video 1 and in
    // one that is not a multiple of 4, uncompressed.
    OpenFile(p, MediaPath("chk-msvideo1-160x120.avi"));
    ExpectMovieLayout(p, "chk-msvideo1-160x120.avi", 160, 120);
    ExpectWholeFrame(p, 160, 120);
    OpenFile(p, MediaPath("raw8-up-100x70.avi"));
    ExpectMovieLayout(p, "raw8-up-100x70.avi", 100, 70);
    ExpectWholeFrame(p, 100, 70);

    OpenFile(p, MediaPath("movie176x144.avi"));
    ExpectMovieLayout(p, "movie176x144.avi", 176, 144);
    OpenFile(p, MediaPath("tone440.wav"));
    ExpectSoundLayout(p, "tone440.wav");
    OpenFile(p, MediaPath("movie16x48.avi"));
    ExpectMovieLayout(p, "movie16x48.avi", 16, 48);
    OpenFile(p, MediaPath("tune.mid"));
    DismissControlErrors(p);
    ExpectSoundLayout(p, "tune.mid");
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK_EQ(CloseAndWait(p), 0ul);
}

SCENARIO(media_extensions_choose_the_path)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("upper.AVI"));
    ExpectMovieLayout(p, "upper.AVI", 176, 144);
    OpenFile(p, MediaPath("mixed.Avi"));
    ExpectMovieLayout(p, "mixed.Avi", 176, 144);
    // Not "avi" as a whole: the sound path, whatever the control makes of it.
    for (const char *name : {"sound.avi2", "sound.avix", "trailingdot.", "nodot"}) {
        OpenFile(p, MediaPath(name));
        int errors = DismissControlErrors(p);
        Note("%s: %d error box(es) from the player control", name, errors);
        CHECK(MessageBoxes(p.pi.dwProcessId).empty());
        ExpectSoundLayout(p, name);
        OpenFile(p, MediaPath("movie176x144.avi"));  // back to a movie between
        ExpectMovieLayout(p, "movie176x144.avi", 176, 144);
    }
    CHECK_EQ(CloseAndWait(p), 0ul);
}

SCENARIO(media_refused_files_change_nothing)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("tone440.wav"));
    ExpectSoundLayout(p, "tone440.wav");
    ExpectRefused(p, MediaPath("text.avi"));
    ExpectRefused(p, MediaPath("truncated.avi"));
    ExpectSoundLayout(p, "tone440.wav");

    OpenFile(p, MediaPath("movie176x144.avi"));
    ExpectMovieLayout(p, "movie176x144.avi", 176, 144);
    ExpectRefused(p, MediaPath("text.avi"));
    ExpectRefused(p, MediaPath("truncated.avi"));
    ExpectMovieLayout(p, "movie176x144.avi", 176, 144);
    CHECK_EQ(CloseAndWait(p), 0ul);
}

SCENARIO(media_dialog_offers_previous_path_and_cancel_keeps_all)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("movie176x144.avi"));
    Snapshot before = Snap(p);

    HWND dlg = ClickOpenAndWaitDialog(p);
    CHECK(GetWindow(dlg, GW_OWNER) == p.hwndMain);
    // Wine shows the previous path as folder ("Look in") plus bare name.
    std::string name = TextOf(GetDlgItem(dlg, 1148));
    std::string folder = TextOf(GetDlgItem(dlg, 1137));
    std::string media = Env("QV_MEDIA");
    std::string leaf = media.substr(media.find_last_of('/') + 1);
    CHECK_MSG(name == "movie176x144.avi" || name == MediaPath("movie176x144.avi"),
              "file name field shows " + Show(name));
    CHECK_MSG(name == MediaPath("movie176x144.avi") || folder == leaf,
              "look-in shows " + Show(folder) + ", want " + Show(leaf));
    CancelDialog(p, dlg);
    ExpectSame(before, Snap(p));
    CHECK(TopLevelWindows(p.pi.dwProcessId, "#32770").empty());
    CHECK_EQ(CloseAndWait(p), 0ul);
}

SCENARIO(media_dragged_window_returns_on_next_open)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("movie176x144.avi"));
    SetWindowPos(p.hwndMain, NULL, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle(p);
    RECT dragged = ScreenRect(p.hwndMain);
    CHECK_EQ(dragged.left, 300l);
    // A refused file is no open that gets past its checks: the window stays.
    ExpectRefused(p, MediaPath("text.avi"));
    CHECK_EQ(ScreenRect(p.hwndMain), dragged);
    OpenFile(p, MediaPath("tone440.wav"));
    ExpectSoundLayout(p, "tone440.wav");
    SetWindowPos(p.hwndMain, NULL, 250, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle(p);
    OpenFile(p, MediaPath("movie320x240.avi"));
    ExpectMovieLayout(p, "movie320x240.avi", 320, 240);
    CHECK_EQ(CloseAndWait(p), 0ul);
}

// A movie at the root of a drive: the folder entered is "C:\", not "C:".
SCENARIO(media_movie_at_drive_root)
{
    std::string root = "C:\\qv-root-movie.avi";
    REQUIRE(CopyFileA(MediaPath("movie176x144.avi").c_str(), root.c_str(), FALSE));
    Player p = StartPlayer();
    OpenFile(p, root);
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    ExpectMovieLayout(p, "qv-root-movie.avi", 176, 144);
    CHECK_EQ(CloseAndWait(p), 0ul);
    DeleteFileA(root.c_str());
}

// The order of the platform calls where it matters, from the relay trace.
SCENARIO(media_call_order)
{
    std::vector<std::string> env = StartTrace();
    Player p = Launch(ProductExe(), env);
    REQUIRE(WaitMainWindow(p));
    ImageSpan image = ImageOf(p);
    OpenFile(p, MediaPath("tone440.wav"));
    ExpectRefused(p, MediaPath("text.avi"));
    OpenFile(p, MediaPath("movie176x144.avi"));
    ExpectMovieLayout(p, "movie176x144.avi", 176, 144);
    ExpectRefused(p, MediaPath("no-movie-data.avi"));
    CHECK_EQ(CloseAndWait(p), 0ul);

    std::vector<RelayEvent> ev = ProductCalls(image);
    std::string media = MediaPath("");
    media.pop_back();  // the folder, as the dialog reports it
    CHECK_EQ(CountCalls(ev, "AVIFileInit"), 3);
    CHECK_EQ(CountCalls(ev, "AVIFileExit"), 3);
    CHECK_EQ(CountCalls(ev, "MCIWndCreate"), 3);

    // Refused by the structure check: init, box, exit; the services never
    // see the file. The folder is entered before the probe.
    int init = FindEvent(ev, "AVIFileInit");
    int box = FindEvent(ev, "MessageBoxA", false, init);
    int exit = FindEvent(ev, "AVIFileExit", false, init);
    CHECK_MSG(init >= 0 && box > init && exit > box, "want AVIFileInit, MessageBoxA, AVIFileExit");
    CHECK(FindEvent(ev, "AVIFileOpenA") > exit);  // only for the movie after it
    int open = FindEvent(ev, "AVIFileOpenA");
    CHECK(open >= 0 && ev[open].args.find("\"movie176x144.avi\",00000000,00000000") != std::string::npos);
    // Refused by the services: init, open, box, exit.
    int init3 = FindEvent(ev, "AVIFileInit", false, FindEvent(ev, "AVIFileInit", false, init + 1) + 1);
    int open3 = FindEvent(ev, "AVIFileOpenA", false, init3);
    int box3 = FindEvent(ev, "MessageBoxA", false, open3);
    int exit3 = FindEvent(ev, "AVIFileExit", false, open3);
    CHECK_MSG(init3 > 0 && open3 > init3 && box3 > open3 && exit3 > box3,
              "want AVIFileInit, AVIFileOpenA, MessageBoxA, AVIFileExit");
    int cd = -1;
    for (int i = 0; i < init; ++i)
        if (!ev[i].isReturn && ev[i].fn == "SetCurrentDirectoryA")
            cd = i;
    CHECK(cd >= 0 && ev[cd].args.find("\"Z:\\\\") != std::string::npos);

    // Each replacement: the old player's close message before the new one.
    int creates = 0;
    for (int i = 0; i < static_cast<int>(ev.size()); ++i) {
        if (ev[i].isReturn || ev[i].fn != "MCIWndCreate")
            continue;
        if (++creates == 1)
            continue;  // the first player replaces nothing
        bool closed = false;
        for (int j = i - 1; j >= 0 && !closed; --j)
            if (!ev[j].isReturn && ev[j].fn == "SendMessageA" &&
                ev[j].args.find(",00000010,") != std::string::npos)
                closed = true;
            else if (!ev[j].isReturn && ev[j].fn == "MCIWndCreate")
                break;
        CHECK_MSG(closed, "player " + Show(creates) + " created without closing the old one");
    }
    int movie = -1;
    for (int i = 0; i < static_cast<int>(ev.size()); ++i)
        if (!ev[i].isReturn && ev[i].fn == "MCIWndCreate")
            movie = i;
    CHECK(movie >= 0 && ev[movie].args.find(",50000008,") != std::string::npos);
}

// What the player control draws of each uncompressed picture, against the
// list of known platform differences: a picture that starts drawing right
// (or stops) fails here until the list says so.
SCENARIO(media_uncompressed_pictures_as_drawn)
{
    struct Picture {
        const char *name;
        bool right;  // as the README's list has it
    } pictures[] = {
        {"raw8-up-100x70.avi", true},     {"raw8-down-100x70.avi", false},
        {"raw16-up-100x70.avi", false},   {"raw16-down-100x70.avi", false},
        {"raw24-up-100x70.avi", false},   {"raw24-down-100x70.avi", false},
        {"raw32-up-100x70.avi", true},    {"raw32-down-100x70.avi", false},
    };
    Player p = StartPlayer();
    for (const Picture &pic : pictures) {
        OpenFile(p, MediaPath(pic.name));
        ExpectMovieLayout(p, pic.name, 100, 70);
        int wrong = ExpectWholeFrame(p, 100, 70, false);
        RECT r = ScreenRect(PlayerOf(p));
        PixelStats s = ScreenPixels(RECT{r.left, r.top, r.left + 100, r.top + 70});
        Note("%s: %d of 7000 pixels wrong, %d colours, the commonest #%06lx on %.0f%%",
             pic.name, wrong, s.distinct, static_cast<unsigned long>(s.dominant),
             100 * s.dominantShare);
        CHECK_MSG((wrong == 0) == pic.right,
                  std::string(pic.name) + (wrong ? " draws wrong" : " draws right"));
    }
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK_EQ(CloseAndWait(p), 0ul);
}
