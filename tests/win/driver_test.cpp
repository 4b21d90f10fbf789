// The driver checked on windows and boxes whose content is known: one window of this process
// and one of a child process (this program started again in its child role), so that what the
// driver reads across processes is what was drawn.
#include "driver/driver.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const COLORREF kChildColour = RGB(20, 40, 200);
const COLORREF kOwnColour = RGB(200, 30, 60);

// What the painted windows of this process received.
std::vector<std::string> g_received;

LRESULT CALLBACK PaintProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    char text[64] = "";
    if (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR)
        snprintf(text, sizeof text, "%s %d",
                 msg == WM_KEYDOWN ? "down"
                 : msg == WM_KEYUP ? "up"
                                   : "char",
                 static_cast<int>(wParam));
    else if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)
        snprintf(text, sizeof text, "%s %d,%d %d",
                 msg == WM_MOUSEMOVE     ? "move"
                 : msg == WM_LBUTTONDOWN ? "press"
                                         : "release",
                 GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<int>(wParam & MK_LBUTTON));
    if (text[0])
        g_received.push_back(text);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(hwnd, 0)));
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND MakePaintWindow(COLORREF colour, int x, int y) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PaintProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BenchPaint";
        RegisterClassA(&wc);
        registered = true;
    }
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, "BenchPaint", "bench", WS_POPUP, x, y, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd, 0, static_cast<LONG_PTR>(colour));
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return hwnd;
}

void PumpMessages(DWORD ms) {
    bench::WaitUntil(
        [] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            return false;
        },
        ms, 20);
}

// The child role: a painted window, then a question box whose answer is the exit code.
int RunChildRole() {
    const char* role = std::getenv("BENCH_CHILD_ROLE");
    if (!role || std::string(role) != "paint")
        return 0;
    MakePaintWindow(kChildColour, 500, 400);
    int answer = MessageBoxA(nullptr, "Line one\n\nLine two", "Child question", MB_YESNO);
    ExitProcess(static_cast<UINT>(answer));
}
const int childRole = RunChildRole();

TEST(Driver, ReadsPixelsAndRectanglesOfItsOwnWindow) {
    HWND hwnd = MakePaintWindow(kOwnColour, 100, 120);
    ASSERT_NE(hwnd, nullptr);
    PumpMessages(500);
    RECT window = bench::WindowRect(hwnd);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.top, 120);
    RECT client = bench::ClientRect(hwnd);
    EXPECT_EQ(client.right - client.left, 200);
    EXPECT_EQ(bench::ReadPixel(hwnd, 10, 10), kOwnColour);
    EXPECT_EQ(bench::ReadPixel(hwnd, 199, 99), kOwnColour);
    EXPECT_EQ(bench::ClassOf(hwnd), "BenchPaint");
    EXPECT_EQ(bench::Text(hwnd), "bench");
    DestroyWindow(hwnd);
}

TEST(Driver, KeysAndClicksReachTheWindow) {
    HWND hwnd = MakePaintWindow(kOwnColour, 100, 300);
    PumpMessages(300);
    g_received.clear();
    bench::PressKey(hwnd, VK_RETURN);
    bench::Click(hwnd, 15, 25);
    PumpMessages(300);
    // WM_CHAR is posted by the translation of WM_KEYDOWN, behind what was queued already.
    EXPECT_EQ(g_received,
              (std::vector<std::string>{"down 13", "up 13", "move 15,25 0", "press 15,25 1",
                                        "release 15,25 0", "char 13"}));
    g_received.clear();
    ASSERT_TRUE(bench::TypeKey(hwnd, VK_SPACE));
    PumpMessages(500);
    EXPECT_EQ(g_received, (std::vector<std::string>{"down 32", "char 32", "up 32"}));
    DestroyWindow(hwnd);
}

TEST(Driver, SeesAnotherProcessesWindowAndAnswersItsBox) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder = bench::MakeTestFolder("driver_child");
    bench::TovakProcess child;
    ASSERT_TRUE(child.StartProgram(self, folder, "", {"BENCH_CHILD_ROLE=paint"})) << child.error;

    HWND painted = child.WaitWindow("BenchPaint");
    ASSERT_NE(painted, nullptr);
    EXPECT_TRUE(
        bench::WaitUntil([&] { return bench::ReadPixel(painted, 50, 50) == kChildColour; }));

    // Another process's window can be brought to the foreground for typed keys.
    EXPECT_TRUE(bench::TypeKey(painted, VK_SHIFT));

    bench::BoxInfo box;
    EXPECT_FALSE(bench::WaitMessageBox(child.Pid(), box, 500, "Another caption"));
    ASSERT_TRUE(bench::WaitMessageBox(child.Pid(), box, bench::kWait, "Child question"));
    EXPECT_EQ(box.caption, "Child question");
    EXPECT_EQ(box.text, "Line one\n\nLine two");
    EXPECT_TRUE(box.HasButtons({IDYES, IDNO}));
    ASSERT_TRUE(bench::PressButton(box.hwnd, IDNO));
    EXPECT_EQ(child.WaitExit(), IDNO);
}

TEST(Driver, AnswersBoxesOfItsOwnThread) {
    bench::BoxAnswerer answerer(IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "first", "Error", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "second", "Other", MB_OK), IDOK);
    std::vector<bench::BoxInfo> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "first");
    EXPECT_EQ(boxes[1].caption, "Other");
}

TEST(Driver, ReadsLogEntriesWithAnyLineEnds) {
    std::string folder = bench::MakeTestFolder("driver_log");
    std::string path = bench::Join(folder, "log.txt");
    ASSERT_TRUE(bench::WriteTextFile(
        path, "1/2/2027 3:4:5 - first\r\r\n12/31/2027 23:59:59 - second - part\nthird"));
    std::vector<std::string> messages = bench::ReadLogMessages(path);
    EXPECT_EQ(messages, (std::vector<std::string>{"first", "second - part", "third"}));
    EXPECT_EQ(bench::ReadLogLines(path)[1], "12/31/2027 23:59:59 - second - part");
}

} // namespace
