// The floor of the Windows start-up measurement: the least a Win32 program of the game's shape
// costs. A window of the game's size and place with a menu bar of four entries, whose paint
// fills one rectangle of the board's size; with the same first-paint hook as lumera8.exe.
#include <windows.h>

#include <string>

#include "startup/win32/perf_hook_win32.h"

#ifdef LUMERA_FLOOR_WITH_GAME_IMPORTS
// The same floor importing the system libraries that lumera8.exe imported beyond the floor's
// before the file chooser, ShellExecute and PlaySound were loaded on first use (those three,
// the registry, the transparent copy), so that the measurement shows what loading them at
// start costs.
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#endif

namespace {

#ifdef LUMERA_FLOOR_WITH_GAME_IMPORTS
// Never true; the calls make the imports without running them.
volatile bool callImports = false;
void ReferenceGameImports() {
    if (!callImports) return;
    GetOpenFileNameA(nullptr);
    ShellExecuteA(nullptr, nullptr, nullptr, nullptr, nullptr, SW_SHOWNORMAL);
    PlaySoundA(nullptr, nullptr, 0);
    RegCloseKey(nullptr);
    GradientFill(nullptr, nullptr, 0, nullptr, 0, 0);
}
#endif

std::wstring perfFile;

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(window, &paint);
            const RECT board{0, 0, 606, 268};
            FillRect(dc, &board, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            EndPaint(window, &paint);
            if (!perfFile.empty()) lumera::win32::PerfReportFirstPaintAndQuit(perfFile);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

HMENU FloorMenu() {
    const HMENU bar = CreateMenu();
    const wchar_t* entries[] = {L"&Game", L"&Options", L"Donate", L"&Help"};
    UINT id = 100;
    for (const wchar_t* entry : entries) {
        const HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, id++, L"&Item");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), entry);
    }
    return bar;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    perfFile = lumera::win32::PerfReportFile();
#ifdef LUMERA_FLOOR_WITH_GAME_IMPORTS
    ReferenceGameImports();
#endif
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FloorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = L"LumeraFloor";
    if (!RegisterClassExW(&windowClass)) return 1;
    const HWND window = CreateWindowExW(0, L"LumeraFloor", L"Lumera floor", WS_OVERLAPPEDWINDOW, 173, 137, 614, 314,
                                        nullptr, FloorMenu(), instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
