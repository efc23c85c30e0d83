// The resources in both builds: icon "QVICON" and bitmap 128, US English.
#include "driver/harness.h"

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

const WORD kLangUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

const void *Resource(HMODULE h, LPCSTR type, LPCSTR name, DWORD *size)
{
    HRSRC r = FindResourceExA(h, type, name, kLangUs);
    if (!r)
        return NULL;
    *size = SizeofResource(h, r);
    return LockResource(LoadResource(h, r));
}

void CheckResources(const std::string &exe)
{
    Note("resources of %s", exe.c_str());
    HMODULE h = LoadLibraryExA(exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(h != NULL);

    DWORD size = 0;
    auto *group = static_cast<const GroupIconHeader *>(
        Resource(h, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, "QVICON", &size));
    CHECK_MSG(group != NULL, "no US English group icon QVICON");
    if (group) {
        CHECK_EQ(static_cast<int>(group->count), 1);
        auto *e = reinterpret_cast<const GroupIconEntry *>(group + 1);
        CHECK_EQ(static_cast<int>(e->width), 32);
        CHECK_EQ(static_cast<int>(e->height), 32);
        CHECK_EQ(static_cast<int>(e->colorCount), 16);
        CHECK_EQ(static_cast<int>(e->bitCount), 4);
    }
    // Resource names match without regard to case: the program asks for "QVIcon".
    CHECK(LoadImageA(h, "QVIcon", IMAGE_ICON, 32, 32, 0) != NULL);

    auto *bmp = static_cast<const BITMAPINFOHEADER *>(
        Resource(h, MAKEINTRESOURCEA(2) /* RT_BITMAP */, MAKEINTRESOURCEA(128), &size));
    CHECK_MSG(bmp != NULL, "no US English bitmap 128");
    if (bmp) {
        CHECK_EQ(static_cast<int>(bmp->biWidth), 20);
        CHECK_EQ(static_cast<int>(bmp->biHeight), 20);
        CHECK_EQ(static_cast<int>(bmp->biBitCount), 4);
        CHECK_EQ(static_cast<unsigned>(bmp->biCompression), static_cast<unsigned>(BI_RGB));
    }
    // Drawn on black: the corners of the picture are black.
    std::vector<COLORREF> px = ResourceBitmapPixels(exe, 128, 20, 20);
    REQUIRE(px.size() == 400);
    CHECK_EQ(static_cast<unsigned>(px[0]), 0u);
    CHECK_EQ(static_cast<unsigned>(px[399]), 0u);
    FreeLibrary(h);
}

}  // namespace

SCENARIO(res_resources_in_both_builds)
{
    CheckResources(ProductExe());
    CheckResources(WinPath(Env("QV_RELEASE_EXE")));
}
