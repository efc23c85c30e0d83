// The end-to-end test driver: a Win32 program running in the same Wine
// session as the player, observing it only through the window system.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// ---- scenarios and checks -------------------------------------------------

typedef void (*ScenarioFn)(void);

struct ScenarioRegistrar {
    ScenarioRegistrar(const char *name, ScenarioFn fn);
};

#define SCENARIO(name)                                                  \
    static void name(void);                                             \
    static ScenarioRegistrar name##_registrar(#name, name);             \
    static void name(void)

// A failed CHECK is recorded and the scenario goes on; REQUIRE stops it.
void RecordCheck(bool ok, const char *expr, const char *file, int line,
                 const std::string &detail);
[[noreturn]] void AbortScenario(const std::string &why);

#define CHECK_MSG(cond, detail) \
    RecordCheck(static_cast<bool>(cond), #cond, __FILE__, __LINE__, (detail))
#define CHECK(cond) CHECK_MSG(cond, std::string())
#define CHECK_EQ(a, b)                                                     \
    RecordCheck((a) == (b), #a " == " #b, __FILE__, __LINE__,              \
                "got " + Show(a) + ", want " + Show(b))
#define REQUIRE(cond)                                                      \
    do {                                                                   \
        if (!(cond)) AbortScenario(std::string("required: ") + #cond);     \
    } while (0)

std::string Show(long long v);
std::string Show(long v);
std::string Show(unsigned long v);
std::string Show(int v);
std::string Show(unsigned v);
std::string Show(const std::string &s);
std::string Show(const char *s);
std::string Show(const RECT &r);
bool operator==(const RECT &a, const RECT &b);

void Note(const char *fmt, ...);  // a figure or observation for the log

// ---- paths ------------------------------------------------------------------

std::string Env(const char *name);           // "" when unset
std::string WinPath(const std::string &unix); // "/x/y" -> "Z:\x\y"
std::string ProductExe();                     // QV_EXE
std::string MediaPath(const char *name);      // file under QV_MEDIA
std::string WorkPath(const char *name);       // file under QV_WORK (scratch)
int WineMajorVersion();                      // 8 for "8.0"; 0 when not on Wine

// ---- the player process -------------------------------------------------------

struct Player {
    PROCESS_INFORMATION pi{};
    HWND hwndMain = NULL;
};

// Starts a player; `env` entries ("NAME=value") are added to the driver's
// environment.
Player Launch(const std::string &exe, const std::vector<std::string> &env = {});
HWND WaitMainWindow(Player &p, DWORD timeoutMs = 15000, const char *cls = "QVWinClass");
DWORD WaitExit(Player &p, DWORD timeoutMs = 15000);  // exit status or STILL_ACTIVE
DWORD CloseAndWait(Player &p);                        // posts WM_CLOSE
void Kill(Player &p);
void Settle(Player &p);  // returns once the player's thread is idle or in a modal loop


// ---- windows --------------------------------------------------------------------

std::vector<HWND> TopLevelWindows(DWORD pid, const char *cls = NULL,
                                  const char *title = NULL);
std::vector<HWND> Children(HWND parent);
std::string ClassOf(HWND h);
std::string TextOf(HWND h);
RECT ScreenRect(HWND h);
RECT RectInParent(HWND h);  // x, y, right, bottom in the parent's client area
RECT Xywh(int x, int y, int cx, int cy);
HWND ChildOfClass(HWND parent, const char *cls);
int CountChildrenOfClass(HWND parent, const char *cls);

// ---- message boxes and the open dialog ----------------------------------------------

// "Message Box" boxes (dialog class) that belong to the process.
std::vector<HWND> MessageBoxes(DWORD pid);
HWND WaitMessageBox(DWORD pid, DWORD timeoutMs);
std::string BoxText(HWND box);
void DismissBox(HWND box);
// Dismisses every box titled `title` (e.g. the player control's "MCI Error").
int DismissBoxesTitled(DWORD pid, const char *title);

HWND ClickOpenAndWaitDialog(Player &p, DWORD timeoutMs = 15000);
// Types `winPath` into the dialog and confirms; waits for the dialog to go.
void ChooseInDialog(Player &p, HWND dlg, const std::string &winPath);
void CancelDialog(Player &p, HWND dlg);
// The whole open flow: click, choose, settle.
void OpenFile(Player &p, const std::string &winPath);
// The same, but a step that times out is reported in `why` instead of
// ending the scenario.
bool TryOpenFile(Player &p, const std::string &winPath, std::string *why);
// True when the player's thread answers within `timeoutMs`.
bool Responds(Player &p, DWORD timeoutMs);
bool Exited(Player &p, DWORD *exitCode);

// ---- the user's mouse --------------------------------------------------------------

// The part of `h` that is on screen: its rectangle cut by every ancestor's
// client area.
RECT VisibleRect(HWND h);
// Real mouse input: moves the pointer to `pt` (screen) and clicks there.
void ClickAt(POINT pt);

// ---- screen ---------------------------------------------------------------------

struct PixelStats {
    int distinct = 0;       // distinct colours (capped)
    COLORREF dominant = 0;  // the most frequent colour
    double dominantShare = 0;
};
PixelStats ScreenPixels(const RECT &screenRect);
std::vector<COLORREF> ScreenBlock(const RECT &screenRect);  // row by row, top down
// The pixels of bitmap resource `id` in a module file, row by row, top down;
// empty unless it is cx by cy.
std::vector<COLORREF> ResourceBitmapPixels(const std::string &moduleWinPath, int id,
                                           int cx, int cy);
bool SaveScreenshot(const std::string &winPath, const RECT &r);
