// Odd names and files that cannot be read: the player reports, never crashes.
#include <cstring>

#include "media/media_steps.h"

namespace {

std::string CopyMedia(const char *from, const std::string &to)
{
    REQUIRE(CopyFileA(MediaPath(from).c_str(), to.c_str(), FALSE));
    return to;
}

void ExpectAlive(Player &p, const std::string &what)
{
    DWORD code;
    CHECK_MSG(!Exited(p, &code), "the player ended after " + what);
    CHECK_MSG(Responds(p, 10000), "the player hangs after " + what);
}

// A path under the scratch area exactly `total` characters long: folders of
// 40 characters, then a movie name padded to fit. Returns its bare name too.
std::string DeepPath(size_t total, std::string *leaf)
{
    const std::string stem = "deep-movie", ext = ".avi";
    std::string dir = WorkPath("deep");
    CreateDirectoryA(dir.c_str(), NULL);
    while (dir.size() + 41 + 1 + stem.size() + ext.size() <= total) {
        dir += "\\" + std::string(40, 'd');
        CreateDirectoryA(dir.c_str(), NULL);
    }
    *leaf = stem + std::string(total - dir.size() - 1 - stem.size() - ext.size(), 'x') + ext;
    return dir + "\\" + *leaf;
}

}  // namespace

SCENARIO(media_odd_names)
{
    std::string dir = WorkPath("odd names");
    CreateDirectoryA(dir.c_str(), NULL);
    Player p = StartPlayer();

    // cp1252 letters, spaces, several dots: as they are, in the caption too.
    struct { const char *from, *name; bool movie; } cases[] = {
        {"movie176x144.avi", "caf\xe9 m\xfcsli.avi", true},
        {"tone440.wav", "gr\xfc\xdf" "e aus K\xf6ln.wav", false},
        {"movie176x144.avi", "several.dots.in.one.name.avi", true},
        {"tone440.wav", "a movie.avi.wav", false},
    };
    for (const auto &c : cases) {
        OpenFile(p, CopyMedia(c.from, dir + "\\" + c.name));
        ExpectAlive(p, c.name);
        CHECK(MessageBoxes(p.pi.dwProcessId).empty());
        if (c.movie)
            ExpectMovieLayout(p, c.name, 176, 144);
        else
            ExpectSoundLayout(p, c.name);
    }

    // A movie whose full path is 259 characters, the most the dialog takes.
    std::string leaf;
    std::string deep = CopyMedia("movie176x144.avi", DeepPath(259, &leaf));
    Note("deep path of %zu characters", deep.size());
    CHECK_EQ(static_cast<int>(deep.size()), 259);
    std::string why;
    CHECK_MSG(TryOpenFile(p, deep, &why), why);
    ExpectAlive(p, "the deep path");
    if (HWND box = WaitMessageBox(p.pi.dwProcessId, 500)) {
        Note("deep path refused: %s", BoxText(box).c_str());
        DismissBox(box);
    } else {
        ExpectMovieLayout(p, leaf.c_str(), 176, 144);
    }
    DismissControlErrors(p);
    CHECK_EQ(CloseAndWait(p), 0ul);
}

SCENARIO(media_unreadable_and_vanishing_files)
{
    std::string dir = WorkPath("locked");
    CreateDirectoryA(dir.c_str(), NULL);
    Player p = StartPlayer();
    OpenFile(p, MediaPath("tone440.wav"));

    // Held open by another program without sharing: the player cannot read it.
    for (const char *name : {"locked.avi", "locked.wav"}) {
        std::string path = CopyMedia(strstr(name, ".avi") ? "movie176x144.avi" : "tone440.wav",
                                     dir + "\\" + name);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        REQUIRE(h != INVALID_HANDLE_VALUE);
        Snapshot before = Snap(p);
        std::string why;
        CHECK_MSG(TryOpenFile(p, path, &why), why);
        ExpectAlive(p, name);
        HWND ours = WaitMessageBox(p.pi.dwProcessId, 1000);
        int control = DismissControlErrors(p);
        Note("%s: %s, %d error box(es) from the player control", name,
             ours ? BoxText(ours).c_str() : "no box of ours", control);
        if (strstr(name, ".avi")) {
            CHECK_MSG(ours != NULL, "an unreadable movie must be refused");
            if (ours)
                DismissBox(ours);
            ExpectSame(before, Snap(p));
        } else {
            CHECK(ours == NULL);
            ExpectSoundLayout(p, name);
        }
        CloseHandle(h);
    }

    // Deleted while the dialog hands it over: still listed, no longer openable.
    std::string path = CopyMedia("movie176x144.avi", dir + "\\vanishing.avi");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | DELETE,
                           FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    HWND dlg = ClickOpenAndWaitDialog(p);
    FILE_DISPOSITION_INFO gone{TRUE};
    CHECK(SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone));
    std::string why;
    ChooseInDialog(p, dlg, path);
    ExpectAlive(p, "a vanishing file");
    DismissBoxesTitled(p.pi.dwProcessId, "Select a File");
    for (HWND box : TopLevelWindows(p.pi.dwProcessId, "#32770")) {
        Note("vanishing file: box \"%s\": %s", TextOf(box).c_str(),
             TextOf(GetDlgItem(box, 0xFFFF)).c_str());
        DismissBox(box);
    }
    CloseHandle(h);
    CHECK_MSG(GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES, "the file is still there");
    ExpectAlive(p, "a vanishing file");
    CHECK_EQ(CloseAndWait(p), 0ul);
}
