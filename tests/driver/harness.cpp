#include "harness.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

// ---- scenarios and checks -------------------------------------------------

namespace {

std::map<std::string, ScenarioFn> &Registry()
{
    static std::map<std::string, ScenarioFn> registry;
    return registry;
}

int g_failures;
int g_checks;
std::vector<HANDLE> g_processes;  // killed when a scenario ends

struct ScenarioAbort : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace

ScenarioRegistrar::ScenarioRegistrar(const char *name, ScenarioFn fn)
{
    Registry()[name] = fn;
}

void RecordCheck(bool ok, const char *expr, const char *file, int line,
                 const std::string &detail)
{
    ++g_checks;
    if (ok)
        return;
    ++g_failures;
    const char *base = strrchr(file, '/');
    fprintf(stdout, "FAIL %s:%d: %s%s%s\n", base ? base + 1 : file, line, expr,
            detail.empty() ? "" : ": ", detail.c_str());
    fflush(stdout);
}

void AbortScenario(const std::string &why)
{
    throw ScenarioAbort(why);
}

std::string Show(long long v) { return std::to_string(v); }
std::string Show(long v) { return std::to_string(v); }
std::string Show(unsigned long v) { return std::to_string(v); }
std::string Show(int v) { return std::to_string(v); }
std::string Show(unsigned v) { return std::to_string(v); }
std::string Show(const std::string &s) { return "\"" + s + "\""; }
std::string Show(const char *s) { return Show(std::string(s)); }
std::string Show(const RECT &r)
{
    char buf[96];
    snprintf(buf, sizeof buf, "(%ld, %ld) %ldx%ld", r.left, r.top,
             r.right - r.left, r.bottom - r.top);
    return buf;
}
bool operator==(const RECT &a, const RECT &b) { return EqualRect(&a, &b) != 0; }

void Note(const char *fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    fputs("note: ", stdout);
    vfprintf(stdout, fmt, ap);
    fputc('\n', stdout);
    va_end(ap);
    fflush(stdout);
}

// ---- paths ------------------------------------------------------------------

std::string Env(const char *name)
{
    const char *v = getenv(name);
    return v ? v : "";
}

std::string WinPath(const std::string &unix)
{
    std::string out = "Z:";
    for (char c : unix)
        out += (c == '/') ? '\\' : c;
    return out;
}

static std::string Required(const char *name)
{
    std::string v = Env(name);
    if (v.empty())
        AbortScenario(std::string(name) + " is not set");
    return v;
}

std::string ProductExe() { return WinPath(Required("QV_EXE")); }
std::string MediaPath(const char *name)
{
    return WinPath(Required("QV_MEDIA") + "/" + name);
}
std::string WorkPath(const char *name)
{
    return WinPath(Required("QV_WORK") + "/" + name);
}

int WineMajorVersion()
{
    typedef const char *(CDECL * VersionFn)(void);
    VersionFn fn = reinterpret_cast<VersionFn>(reinterpret_cast<void (*)(void)>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return fn ? atoi(fn()) : 0;
}

// ---- the player process -------------------------------------------------------

static std::vector<char> EnvironmentWith(const std::vector<std::string> &extra)
{
    std::vector<char> block;
    LPCH current = GetEnvironmentStringsA();
    for (LPCH p = current; *p; p += strlen(p) + 1) {
        std::string entry(p);
        bool overridden = false;
        for (const std::string &e : extra)
            if (entry.compare(0, e.find('=') + 1, e, 0, e.find('=') + 1) == 0)
                overridden = true;
        if (!overridden)
            block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    }
    FreeEnvironmentStringsA(current);
    for (const std::string &e : extra)
        block.insert(block.end(), e.c_str(), e.c_str() + e.size() + 1);
    block.push_back('\0');
    return block;
}

Player Launch(const std::string &exe, const std::vector<std::string> &env)
{
    Player p;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::vector<char> block = EnvironmentWith(env);
    std::string cmd = "\"" + exe + "\"";
    std::string dir = exe.substr(0, exe.find_last_of('\\'));
    if (!CreateProcessA(exe.c_str(), &cmd[0], NULL, NULL, FALSE, 0, block.data(),
                        dir.c_str(), &si, &p.pi))
        AbortScenario("cannot start " + exe + ": error " + Show(GetLastError()));
    g_processes.push_back(p.pi.hProcess);
    return p;
}


HWND WaitMainWindow(Player &p, DWORD timeoutMs, const char *cls)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        std::vector<HWND> w = TopLevelWindows(p.pi.dwProcessId, cls);
        if (!w.empty() && IsWindowVisible(w[0])) {
            p.hwndMain = w[0];
            Settle(p);
            return p.hwndMain;
        }
        if (WaitForSingleObject(p.pi.hProcess, 20) == WAIT_OBJECT_0)
            break;
    }
    return NULL;
}

DWORD WaitExit(Player &p, DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(p.pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(p.pi.hProcess, &code);
    return code;
}

DWORD CloseAndWait(Player &p)
{
    PostMessageA(p.hwndMain, WM_CLOSE, 0, 0);
    return WaitExit(p);
}

static void KillProcess(HANDLE h)
{
    if (h && WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
        TerminateProcess(h, 0xDEAD);
        WaitForSingleObject(h, 5000);
    }
}

void Kill(Player &p) { KillProcess(p.pi.hProcess); }

void Settle(Player &p)
{
    // A sent message is handled only when the player's thread reads its queue:
    // in its main loop or in a modal loop (dialog, box). Twice, so that work
    // queued by the first pass has run too.
    for (int i = 0; i < 2; ++i) {
        DWORD_PTR result;
        SendMessageTimeoutA(p.hwndMain, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        Sleep(50);
    }
}

// ---- windows --------------------------------------------------------------------

namespace {
struct TopLevelQuery {
    DWORD pid;
    const char *cls;
    const char *title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND h, LPARAM lp)
{
    TopLevelQuery *q = reinterpret_cast<TopLevelQuery *>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != q->pid)
        return TRUE;
    if (q->cls && ClassOf(h) != q->cls)
        return TRUE;
    if (q->title && TextOf(h) != q->title)
        return TRUE;
    q->found.push_back(h);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const char *cls, const char *title)
{
    TopLevelQuery q{pid, cls, title, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> out;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        out.push_back(h);
    return out;
}

std::string ClassOf(HWND h)
{
    char buf[256] = "";
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

std::string TextOf(HWND h)
{
    char buf[1024] = "";
    DWORD_PTR got = 0;
    // A timeout rather than a plain send, so a hung player fails the test.
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                        SMTO_ABORTIFHUNG, 5000, &got);
    return buf;
}

RECT ScreenRect(HWND h)
{
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

RECT RectInParent(HWND h)
{
    RECT r = ScreenRect(h);
    MapWindowPoints(NULL, GetParent(h), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

RECT Xywh(int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; }

HWND ChildOfClass(HWND parent, const char *cls)
{
    for (HWND h : Children(parent))
        if (lstrcmpiA(ClassOf(h).c_str(), cls) == 0)
            return h;
    return NULL;
}

int CountChildrenOfClass(HWND parent, const char *cls)
{
    int n = 0;
    for (HWND h : Children(parent))
        n += lstrcmpiA(ClassOf(h).c_str(), cls) == 0;
    return n;
}

// ---- message boxes and the open dialog ----------------------------------------------

std::vector<HWND> MessageBoxes(DWORD pid)
{
    return TopLevelWindows(pid, "#32770", "Message Box");
}

HWND WaitMessageBox(DWORD pid, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        std::vector<HWND> boxes = MessageBoxes(pid);
        if (!boxes.empty() && IsWindowVisible(boxes[0]))
            return boxes[0];
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return NULL;
}

std::string BoxText(HWND box)
{
    return TextOf(GetDlgItem(box, 0xFFFF));
}

void DismissBox(HWND box)
{
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 250 && IsWindow(box); ++i)
        Sleep(20);
}

int DismissBoxesTitled(DWORD pid, const char *title)
{
    int n = 0;
    for (HWND box : TopLevelWindows(pid, "#32770", title)) {
        DismissBox(box);
        ++n;
    }
    return n;
}

static HWND FindOpenDialog(DWORD pid)
{
    std::vector<HWND> d = TopLevelWindows(pid, "#32770", "Select a File");
    return d.empty() ? NULL : d[0];
}

HWND ClickOpenAndWaitDialog(Player &p, DWORD timeoutMs)
{
    HWND button = GetDlgItem(p.hwndMain, 0x500);
    REQUIRE(button != NULL);
    // Posted, never sent: the click opens a modal dialog inside the player.
    PostMessageA(button, BM_CLICK, 0, 0);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND dlg = FindOpenDialog(p.pi.dwProcessId);
        if (dlg && IsWindowVisible(dlg) && GetDlgItem(dlg, 1148)) {
            Sleep(100);  // let the dialog finish filling its lists
            return dlg;
        }
        Sleep(20);
    }
    AbortScenario("the open dialog did not appear");
}

static void WaitGone(HWND h, const char *what)
{
    for (int i = 0; i < 1000 && IsWindow(h); ++i)
        Sleep(20);
    if (IsWindow(h))
        AbortScenario(std::string(what) + " did not close");
}

void ChooseInDialog(Player &p, HWND dlg, const std::string &winPath)
{
    HWND name = GetDlgItem(dlg, 1148);
    REQUIRE(name != NULL);
    DWORD_PTR r;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(winPath.c_str()),
                        SMTO_NORMAL, 5000, &r);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    WaitGone(dlg, "the open dialog");
    Settle(p);
}

void CancelDialog(Player &p, HWND dlg)
{
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    WaitGone(dlg, "the open dialog");
    Settle(p);
}

void OpenFile(Player &p, const std::string &winPath)
{
    ChooseInDialog(p, ClickOpenAndWaitDialog(p), winPath);
}

bool TryOpenFile(Player &p, const std::string &winPath, std::string *why)
{
    try {
        OpenFile(p, winPath);
        return true;
    } catch (const ScenarioAbort &e) {
        *why = e.what();
        return false;
    }
}

bool Responds(Player &p, DWORD timeoutMs)
{
    DWORD_PTR result;
    return SendMessageTimeoutA(p.hwndMain, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool Exited(Player &p, DWORD *exitCode)
{
    if (WaitForSingleObject(p.pi.hProcess, 0) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(p.pi.hProcess, exitCode);
    return true;
}

// ---- the user's mouse --------------------------------------------------------------

RECT VisibleRect(HWND h)
{
    RECT r = ScreenRect(h);
    for (HWND a = GetParent(h); a; a = GetParent(a)) {
        RECT client;
        GetClientRect(a, &client);
        MapWindowPoints(a, NULL, reinterpret_cast<POINT *>(&client), 2);
        IntersectRect(&r, &r, &client);
    }
    return r;
}

void ClickAt(POINT pt)
{
    INPUT in[3]{};
    for (INPUT &i : in)
        i.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the screen.
    in[0].mi.dx = MulDiv(pt.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in[0].mi.dy = MulDiv(pt.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    // Wine's desktop sometimes puts the pointer back where the X server had
    // it, so the move is made again until the pointer stays there.
    POINT at{};
    for (int i = 0; i < 10 && !(at.x == pt.x && at.y == pt.y); ++i) {
        SendInput(1, &in[0], sizeof(INPUT));
        Sleep(100);
        GetCursorPos(&at);
    }
    CHECK_MSG(at.x == pt.x && at.y == pt.y, "the pointer is at " + Show(at.x) + ", " + Show(at.y));
    // Sent once: CHECK_EQ evaluates its operands twice.
    UINT clicked = SendInput(2, &in[1], sizeof(INPUT));
    CHECK_EQ(clicked, 2u);
    Sleep(50);
}

// ---- screen ---------------------------------------------------------------------

// Copies a DC's pixels into 32-bit top-down rows.
static std::vector<COLORREF> Capture(HDC src, int x, int y, int w, int h)
{
    std::vector<COLORREF> out;
    if (w <= 0 || h <= 0)
        return out;
    HDC mem = CreateCompatibleDC(src);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = NULL;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, src, x, y, SRCCOPY);
    GdiFlush();
    const DWORD *px = static_cast<const DWORD *>(bits);
    for (int i = 0; i < w * h; ++i)
        out.push_back(RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF));
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    return out;
}

std::vector<COLORREF> ScreenBlock(const RECT &r)
{
    HDC screen = GetDC(NULL);
    std::vector<COLORREF> out = Capture(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(NULL, screen);
    return out;
}

std::vector<COLORREF> ResourceBitmapPixels(const std::string &module, int id, int cx, int cy)
{
    std::vector<COLORREF> out;
    HMODULE h = LoadLibraryExA(module.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!h)
        return out;
    HBITMAP hbm = static_cast<HBITMAP>(
        LoadImageA(h, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    BITMAP bm{};
    if (hbm && GetObjectA(hbm, sizeof bm, &bm) && bm.bmWidth == cx && bm.bmHeight == cy) {
        HDC screen = GetDC(NULL);
        HDC src = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(src, hbm);
        out = Capture(src, 0, 0, cx, cy);
        SelectObject(src, old);
        DeleteDC(src);
        ReleaseDC(NULL, screen);
    }
    if (hbm)
        DeleteObject(hbm);
    FreeLibrary(h);
    return out;
}

PixelStats ScreenPixels(const RECT &r)
{
    PixelStats s;
    std::vector<COLORREF> px = ScreenBlock(r);
    if (px.empty())
        return s;
    std::map<COLORREF, int> counts;
    for (COLORREF c : px)
        ++counts[c];
    int best = 0;
    for (auto &kv : counts)
        if (kv.second > best) {
            best = kv.second;
            s.dominant = kv.first;
        }
    s.distinct = static_cast<int>(counts.size());
    s.dominantShare = static_cast<double>(best) / px.size();
    return s;
}

bool SaveScreenshot(const std::string &winPath, const RECT &r)
{
    // A 32-bit top-down BMP of the screen's pixels.
    std::vector<COLORREF> px = ScreenBlock(r);
    if (px.empty())
        return false;
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof bih;
    bih.biWidth = r.right - r.left;
    bih.biHeight = -(r.bottom - r.top);
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    std::vector<DWORD> bits;
    for (COLORREF c : px)
        bits.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    DWORD size = static_cast<DWORD>(bits.size() * sizeof(DWORD));
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bih;
    fh.bfSize = fh.bfOffBits + size;
    bool ok = false;
    if (FILE *f = fopen(winPath.c_str(), "wb")) {
        ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bih, sizeof bih, 1, f) == 1 &&
             fwrite(bits.data(), size, 1, f) == 1;
        fclose(f);
    }
    return ok;
}

// ---- entry --------------------------------------------------------------------

int RunAviReferenceHelper(const char *winPath);
int RunPlayerReferenceHelper(const char *winPath);
int RunFrameReferenceHelper(const char *winPath);

int main(int argc, char **argv)
{
    if (argc == 3 && strcmp(argv[1], "--avi-reference") == 0)
        return RunAviReferenceHelper(argv[2]);
    if (argc == 3 && strcmp(argv[1], "--player-reference") == 0)
        return RunPlayerReferenceHelper(argv[2]);
    if (argc == 3 && strcmp(argv[1], "--frame-reference") == 0)
        return RunFrameReferenceHelper(argv[2]);
    if (argc < 2) {
        for (auto &kv : Registry())
            printf("%s\n", kv.first.c_str());
        return 2;
    }
    auto it = Registry().find(argv[1]);
    if (it == Registry().end()) {
        printf("no scenario %s\n", argv[1]);
        return 2;
    }
    bool aborted = false;
    try {
        it->second();
    } catch (const ScenarioAbort &e) {
        printf("ABORT %s\n", e.what());
        aborted = true;
    }
    for (HANDLE h : g_processes)
        KillProcess(h);
    printf("%s: %d checks, %d failed%s\n", argv[1], g_checks, g_failures,
           aborted ? ", aborted" : "");
    return (g_failures || aborted || g_checks == 0) ? 1 : 0;
}
