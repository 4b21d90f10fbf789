// Star Courier Arcade: a small real Windows game that the sample launches as an executable.
// A courier ship bounces across a starfield; any key (Escape too) or a mouse click ends it.
#include <windows.h>

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr int kShip = 40;

struct Game {
    int x = 100, y = 80, dx = 6, dy = 4;
};
Game g_game;

void Step(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    RECT old = {g_game.x, g_game.y, g_game.x + kShip, g_game.y + kShip};
    g_game.x += g_game.dx;
    g_game.y += g_game.dy;
    if (g_game.x < 0 || g_game.x + kShip > client.right)
        g_game.dx = -g_game.dx;
    if (g_game.y < 0 || g_game.y + kShip > client.bottom)
        g_game.dy = -g_game.dy;
    InvalidateRect(hwnd, &old, TRUE);
    RECT now = {g_game.x, g_game.y, g_game.x + kShip, g_game.y + kShip};
    InvalidateRect(hwnd, &now, FALSE);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH ship = CreateSolidBrush(RGB(255, 220, 80));
    HGDIOBJ previous = SelectObject(dc, ship);
    Ellipse(dc, g_game.x, g_game.y, g_game.x + kShip, g_game.y + kShip);
    SelectObject(dc, previous);
    DeleteObject(ship);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 200, 230));
    TextOutA(dc, 10, 10, "Star Courier Arcade - press any key to leave", 44);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK GameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        Step(hwnd);
        return 0;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kFrameTimer);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = GameProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 32));
    wc.lpszClassName = "StarCourierArcade";
    if (!RegisterClassA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Star Courier Arcade", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance,
                                nullptr);
    if (!hwnd)
        return 1;
    // The launcher asks for a maximised window.
    ShowWindow(hwnd, nShowCmd);
    UpdateWindow(hwnd);
    SetTimer(hwnd, kFrameTimer, 30, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
