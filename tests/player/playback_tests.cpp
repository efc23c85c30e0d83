// Real playback through the player control. The sound itself is checked by
// check_playback.sh from the capture file once the player has ended.
#include "media/media_steps.h"

namespace {

void Play(HWND player)
{
    DWORD_PTR r;
    // The control's own play message (MCIWndPlay), as its play bar would.
    SendMessageTimeoutA(player, 0x0806 /* MCI_PLAY */, 0, 0, SMTO_NORMAL, 10000, &r);
}

}  // namespace

SCENARIO(player_plays_wave)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("tone440.wav"));
    ExpectSoundLayout(p, "tone440.wav");
    Play(PlayerOf(p));
    Sleep(1800);
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK_EQ(CloseAndWait(p), 0ul);  // ending the player closes the capture
}

SCENARIO(player_plays_movie)
{
    Player p = StartPlayer();
    OpenFile(p, MediaPath("movie320x240.avi"));
    ExpectMovieLayout(p, "movie320x240.avi", 320, 240);
    HWND player = PlayerOf(p);
    REQUIRE(player);
    Play(player);
    Sleep(700);
    // The frame area above the play bar shows the test picture, not a flat fill.
    RECT r = ScreenRect(player);
    PixelStats s = ScreenPixels(RECT{r.left + 2, r.top + 2, r.right - 2, r.top + 238});
    Note("frame area: %d colours, the commonest covers %.0f%%", s.distinct,
         100 * s.dominantShare);
    CHECK(s.distinct >= 16);
    CHECK(s.dominantShare < 0.5);
    Sleep(1800);
    CHECK(MessageBoxes(p.pi.dwProcessId).empty());
    CHECK_EQ(CloseAndWait(p), 0ul);
}
