// The benchmark's baseline: the least a Win32 window program can be, built
// with the player's own toolchain and flags. Registers a class, shows one
// window, runs the message loop, ends when the window is closed.
#include <windows.h>

static LRESULT CALLBACK BaselineWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

extern "C" void WINAPI AppMain(void)
{
    WNDCLASSEXA wc;
    MSG msg;
    HINSTANCE hInstance = GetModuleHandleA(NULL);

    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BaselineWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = NULL;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = "BaselineClass";
    wc.hIconSm = NULL;
    RegisterClassExA(&wc);
    HWND hwnd = CreateWindowExA(0, "BaselineClass", "Baseline", WS_OVERLAPPEDWINDOW, 80, 16,
                                310, 96, NULL, NULL, hInstance, NULL);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    while (GetMessageA(&msg, NULL, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitProcess(static_cast<UINT>(msg.wParam));
}
