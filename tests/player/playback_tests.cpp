// Real playback as a user starts it: a click on the play bar's Play button.
// The sound itself is checked by check_playback.sh from the capture file
// once the player has ended.
#include "media/media_steps.h"

namespace {

LONG Position(HWND player)
{
    DWORD_PTR r = 0;
    SendMessageTimeoutA(player, 0x0466 /* MCIWNDM_GETPOSITIONA */, 0, 0, SMTO_NORMAL,
                        5000, &r);
    return static_cast<LONG>(r);
}

bool Moving(HWND player)
{
    LONG before = Position(player);
    Sleep(400);
    LONG after = Position(player);
    Note("position %ld, 0.4 s later %ld", before, after);
    return after != before;
}

// A loaded machine can start a play a second or more after the click.
bool StartsMoving(HWND player, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        if (Moving(player))
            return true;
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

// Clicks the play bar's play/stop button where the user sees it: inside the
// player, at least 16 by 16 pixels of it on screen, hit at its centre.
void ClickPlayButton(HWND player)
{
    HWND button = GetDlgItem(player, 0x3200);
    REQUIRE(button);
    RECT seen = VisibleRect(button);
    CHECK_MSG(seen.right - seen.left >= 16 && seen.bottom - seen.top >= 16,
              "on screen: " + Show(seen));
    POINT centre{(seen.left + seen.right) / 2, (seen.top + seen.bottom) / 2};
    CHECK(WindowFromPoint(centre) == button);
    ClickAt(centre);
}

// The user's play-and-stop: a click plays from the start, a second click
// `playMs` later stops it where it was.
void PlayThenStop(HWND player, DWORD playMs)
{
    CHECK_EQ(Position(player), 0l);
    ClickPlayButton(player);
    Sleep(playMs);
    CHECK_MSG(Moving(player), "the first click did not start playing");
    ClickPlayButton(player);
    Sleep(300);
    CHECK_MSG(!Moving(player), "the second click did not stop it");
    CHECK(Position(player) > 0);
}

void SaveShot(Player &p, const char *variable)
{
    std::string shot = Env(variable);
    if (!shot.empty())
        CHECK(SaveScreenshot(WinPath(shot), ScreenRect(p.hwndMain)));
}

}  // namespace

SCENARIO(player_plays_wave)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("tone440.wav"));
    ExpectSoundLayout(p, "tone440.wav");
    SaveShot(p, "QV_SCREENSHOT_SOUND");
    PlayThenStop(PlayerOf(p), 1000);
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK_EQ(CloseAndWait(p), 0ul);  // ending the player closes the capture
}

// Where a synthesizer listens (QV_MIDI_SYNTH=1, its capture checked by the
// caller), the tune plays and stops; elsewhere it must not break the player.
SCENARIO(player_plays_midi)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("tune.mid"));
    ExpectSoundLayout(p, "tune.mid");
    HWND player = PlayerOf(p);
    if (Env("QV_MIDI_SYNTH") == "1") {
        // Long enough that a late first note still leaves 1.5 s heard: in the
        // emulated machine, Wine's sequencer thread can start a second late.
        PlayThenStop(player, 4000);
        CHECK_EQ(DismissControlErrors(p), 0);
    } else {
        Note("no synthesizer on this machine: MIDI opened and clicked, not heard");
        ClickPlayButton(player);
        DismissControlErrors(p);
        CHECK(Responds(p, 5000));
        ExpectSoundLayout(p, "tune.mid");
    }
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK_EQ(CloseAndWait(p), 0ul);
}

SCENARIO(player_plays_movie)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("movie320x240.avi"));
    ExpectMovieLayout(p, "movie320x240.avi", 320, 240);
    HWND player = PlayerOf(p);
    REQUIRE(player);
    ClickPlayButton(player);
    CHECK_MSG(StartsMoving(player, 3000), "the click did not start playing");
    // The frame area above the play bar shows the test picture, not a flat fill.
    RECT r = ScreenRect(player);
    PixelStats s = ScreenPixels(RECT{r.left + 2, r.top + 2, r.right - 2, r.top + 200});
    Note("frame area: %d colours, the commonest covers %.0f%%", s.distinct,
         100 * s.dominantShare);
    CHECK(s.distinct >= 16);
    CHECK(s.dominantShare < 0.5);
    SaveShot(p, "QV_SCREENSHOT_MOVIE");

    // Played to its end (2 s), a click plays it again from the start. The
    // sound sink starts its file anew with each play: this play's is kept
    // for check_playback.sh, the replay's is what the sink holds at the end.
    Sleep(2000);
    CHECK_MSG(!Moving(player), "still playing after its end");
    std::string capture = WinPath(Env("QV_CAPTURE"));
    CHECK(CopyFileA(capture.c_str(), WorkPath("player_plays_movie.first-play.wav").c_str(),
                    FALSE));
    CHECK(DeleteFileA(capture.c_str()));  // so that only the replay can fill it
    ClickPlayButton(player);
    CHECK_MSG(StartsMoving(player, 3000), "a click after the end did not play it again");
    ClickPlayButton(player);
    Sleep(200);
    CHECK_MSG(!Moving(player), "the click did not stop it");
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK_EQ(CloseAndWait(p), 0ul);
}
