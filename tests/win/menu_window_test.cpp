// The title screen as a player meets it: tovak.exe under Wine shows a title image, a blinking
// focus frame and the description box, and answers keys and the mouse.
#include "menu_test_support.h"

#include <algorithm>

using namespace bench;
using namespace menutest;

namespace {

constexpr std::uint32_t kBackground = 0x204060;
constexpr std::uint32_t kStripe = 0xC08020;
constexpr std::uint32_t kBlack = 0x000000;
constexpr DWORD kLong = 15000; // generous: the frame blinks every 660 ms, the box needs 2 s

// A 320 x 240 title image: background with a stripe along the bottom-left.
Picture TitlePicture(int width = 320, int height = 240) {
    Picture pic(width, height, {kBackground, kStripe, kBlack});
    pic.Fill(0, height - 10, 40, height, 1);
    return pic;
}

// Three selections: two side by side (red, blue) and one wide below (green, "exit").
const char* const kThreeSelections = "title=Tovak Title\r\n"
                                     "titleimage=title.gif\r\n"
                                     "numselections=3\r\n"
                                     "selpos1=20,40,120,60\r\nselcolor1=FF0000\r\n"
                                     "seldesc1=Small screen\r\nselcode1=nothing\r\n"
                                     "selpos2=180,40,120,60\r\nselcolor2=0000FF\r\n"
                                     "selcode2=nothing\r\n"
                                     "selpos3=20,140,280,60\r\nselcode3=exit\r\n"
                                     "seldesc3=Quit\r\n";

const RECT kHot1 = {20, 40, 140, 100};
const RECT kHot2 = {180, 40, 300, 100};
const RECT kHot3 = {20, 140, 300, 200};

std::string Section(const char* name, const std::string& body) {
    return std::string("[") + name + "]\r\n" + body;
}

struct TitleScreen {
    Folder folder;
    TovakProcess proc;
    HWND hwnd = nullptr;

    TitleScreen(const std::string& name, const std::string& ini) : folder(name, ini) {}
    void Start(const Picture& pic = TitlePicture()) {
        folder.AddGif("title.gif", pic);
        // The pointer off the title screen: resting on a hot spot, it would take the focus
        // there whenever the system reports where it is, after the test's own moves.
        SetCursorPos(0, 0);
        ASSERT_TRUE(proc.Start(folder.path)) << proc.error;
        hwnd = proc.WaitWindow("WinFuncs", kLong);
        ASSERT_NE(hwnd, nullptr);
    }
    bool WaitFrame(const RECT& hot, std::uint32_t colour) {
        return WaitUntil([&] { return FrameShown(hwnd, hot, Ref(colour)); }, kLong);
    }
    bool WaitCleared(const RECT& hot) {
        return WaitUntil([&] { return FrameCleared(hwnd, hot, Ref(kBackground)); }, kLong);
    }
};

HWND WaitWindowTitled(TovakProcess& proc, const std::string& title) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : proc.TopWindows("WinFuncs"))
                if (Text(w) == title)
                    found = w;
            return found != nullptr;
        },
        kLong);
    return found;
}

// Position of the first occurrence of message at or after from, or -1.
int Find(const std::vector<std::string>& log, const std::string& message, int from = 0) {
    for (int i = std::max(from, 0); i < static_cast<int>(log.size()); ++i)
        if (log[i] == message)
            return i;
    return -1;
}

} // namespace

TEST(MenuWindow, TitleScreenIsCentredAndDrawsImageFrameAndDescription) {
    TitleScreen t("menu_window_title", Section("Settings", kThreeSelections));
    t.Start();

    EXPECT_EQ(Text(t.hwnd), "Tovak Title");
    EXPECT_EQ(Style(t.hwnd) & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS), 0x90C80000);
    EXPECT_EQ(Owner(t.hwnd), nullptr);

    int fx = GetSystemMetrics(SM_CXDLGFRAME), fy = GetSystemMetrics(SM_CYDLGFRAME);
    int cap = GetSystemMetrics(SM_CYCAPTION);
    RECT wr = WindowRect(t.hwnd);
    EXPECT_EQ(wr.left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
    EXPECT_EQ(wr.top, (GetSystemMetrics(SM_CYSCREEN) - 240) / 2);
    EXPECT_EQ(wr.right - wr.left, 320 + 2 * fx - 1);
    EXPECT_EQ(wr.bottom - wr.top, 240 + 2 * fy + cap);
    RECT cr = ClientRect(t.hwnd);
    EXPECT_EQ(cr.right - cr.left, 319); // one pixel narrower than the image
    EXPECT_EQ(cr.bottom - cr.top, 240);

    // The image is drawn at (0, 0).
    EXPECT_TRUE(WaitUntil([&] { return ReadPixel(t.hwnd, 5, 5) == Ref(kBackground); }, kLong));
    EXPECT_EQ(ReadPixel(t.hwnd, 0, 239), Ref(kStripe));
    EXPECT_EQ(ReadPixel(t.hwnd, 39, 230), Ref(kStripe));
    EXPECT_EQ(ReadPixel(t.hwnd, 40, 230), Ref(kBackground));

    // The focus starts on the first selection: three red rings inside its hot spot, and the
    // fourth ring is the image.
    EXPECT_TRUE(t.WaitFrame(kHot1, 0xFF0000));
    EXPECT_EQ(ReadPixel(t.hwnd, 80, 43), Ref(kBackground));

    // After about two seconds the description box: black frame, (255, 255, 102) inside.
    SIZE text = MeasureLine("Small screen");
    RECT box;
    box.top = 40 + (60 - 25) / 2;
    box.bottom = box.top + text.cy;
    box.left = (120 - text.cx) / 2 + 20 - 5;
    box.right = box.left + text.cx + 10;
    const COLORREF yellow = RGB(255, 255, 102);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ReadPixel(t.hwnd, box.left, box.top) == Ref(kBlack) &&
                   ReadPixel(t.hwnd, box.right - 1, box.bottom - 1) == Ref(kBlack) &&
                   ReadPixel(t.hwnd, box.left + 2, (box.top + box.bottom) / 2) == yellow &&
                   ReadPixel(t.hwnd, box.right - 3, box.top + 1) == yellow;
        },
        kLong));
    EXPECT_EQ(ReadPixel(t.hwnd, box.left - 1, box.top), Ref(kBackground));
    EXPECT_EQ(ReadPixel(t.hwnd, box.right, box.bottom - 1), Ref(kBackground));

    // Moving the focus clears the old frame and box and frames the new selection in blue.
    PressKey(t.hwnd, VK_RIGHT);
    EXPECT_TRUE(t.WaitFrame(kHot2, 0x0000FF));
    EXPECT_TRUE(t.WaitCleared(kHot1));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ReadPixel(t.hwnd, box.left + 2, (box.top + box.bottom) / 2) ==
                       Ref(kBackground) &&
                   ReadPixel(t.hwnd, box.left, box.top) == Ref(kBackground);
        },
        kLong));
    EXPECT_TRUE(t.folder.Logged("CMenuWnd::HandleWinProc WM_PAINT"));
    EXPECT_TRUE(t.folder.Logged("CMenuWnd::HandleWinProc WM_TIMER"));
    EXPECT_TRUE(t.folder.Logged("CMenuWnd::RunMenu at3"));
    EXPECT_TRUE(t.folder.Logged("CMenuWnd::CreateMenuWnd"));
    t.proc.Terminate();
}

// The screen's pixels in a rectangle of the window's client area, row by row (as COLORREFs).
static std::vector<COLORREF> Capture(HWND hwnd, const RECT& r) {
    POINT origin = {r.left, r.top};
    ClientToScreen(hwnd, &origin);
    int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (std::size_t k = 0; k < pixels.size(); ++k) // 0x00RRGGBB to 0x00BBGGRR
        pixels[k] = RGB((p[k] >> 16) & 0xFF, (p[k] >> 8) & 0xFF, p[k] & 0xFF);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A title screen saved as UTF-16 ("Unicode") with Japanese and Cyrillic texts, on a PC whose
// code page (1252) holds neither: the window's title is exactly that text, and descriptions are
// drawn in glyphs of their own. Boxes or question marks of a missing font would look alike
// for any two texts of one length; two Japanese texts of seven characters must differ.
TEST(MenuWindow, AUnicodeConfigurationShowsEveryScript) {
    const std::string title = "\xE6\x98\x9F\xE3\x81\xAE\xE9\x83\xB5\xE4\xBE\xBF "
                              "\xD0\x9A\xD1\x83\xD1\x80\xD1\x8C\xD0\xB5\xD1\x80"; // 星の郵便 Курьер
    const std::string first = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE9\x81\x8A\xE3\x81"
                              "\xB3\xE6\x96\xB9"; // 日本語の遊び方
    const std::string second = "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xB8\xE8\xA1\x8C\xE3\x81\x8F\xE8"
                               "\x88\xB9\xE4\xBE\xBF"; // 東京へ行く船便
    TitleScreen t("menu_window_unicode",
                  Section("Settings", "title=" + title +
                                          "\r\ntitleimage=title.gif\r\nnumselections=2\r\n"
                                          "selpos1=20,40,120,60\r\nselcolor1=FF0000\r\n"
                                          "seldesc1=" +
                                          first +
                                          "\r\nselcode1=nothing\r\n"
                                          "selpos2=180,40,120,60\r\nselcolor2=FF0000\r\n"
                                          "seldesc2=" +
                                          second + "\r\nselcode2=nothing\r\n"));
    // The same text as UTF-16 with its mark.
    std::string path = Join(t.folder.path, "tovak.ini");
    std::wstring wide = Wide(ReadTextFile(path).c_str());
    std::string utf16 = "\xFF\xFE";
    for (wchar_t c : wide) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    ASSERT_TRUE(WriteTextFile(path, utf16));
    t.Start();
    EXPECT_EQ(Text(t.hwnd), title);

    // Inside each hot spot, within its focus frame: the description box once it shows.
    const RECT inner[] = {{24, 44, 136, 96}, {184, 44, 296, 96}};
    const COLORREF yellow = RGB(255, 255, 102);
    std::vector<COLORREF> shots[2];
    for (int i = 0; i < 2; ++i) {
        if (i == 1)
            PressKey(t.hwnd, VK_RIGHT);
        ASSERT_TRUE(WaitUntil(
            [&] {
                shots[i] = Capture(t.hwnd, inner[i]);
                return std::count(shots[i].begin(), shots[i].end(), yellow) > 300;
            },
            kLong))
            << i;
        Sleep(300);
        shots[i] = Capture(t.hwnd, inner[i]);
    }
    std::size_t differing = 0;
    for (std::size_t k = 0; k < shots[0].size(); ++k)
        differing += shots[0][k] != shots[1][k];
    EXPECT_GT(differing, 100u);
    t.proc.Terminate();
}

TEST(MenuWindow, ArrowsWrapAndEnterSpaceActivate) {
    TitleScreen t("menu_window_keys", Section("Settings", kThreeSelections));
    t.Start();
    ASSERT_TRUE(t.WaitFrame(kHot1, 0xFF0000));

    PressKey(t.hwnd, VK_LEFT); // from the first to the last
    EXPECT_TRUE(t.WaitFrame(kHot3, 0x00FF00));
    EXPECT_TRUE(t.WaitCleared(kHot1));
    PressKey(t.hwnd, VK_RIGHT); // from the last to the first
    EXPECT_TRUE(t.WaitFrame(kHot1, 0xFF0000));
    PressKey(t.hwnd, VK_DOWN);
    EXPECT_TRUE(t.WaitFrame(kHot2, 0x0000FF));
    PressKey(t.hwnd, VK_UP);
    EXPECT_TRUE(t.WaitFrame(kHot1, 0xFF0000));

    // Enter on a selection whose code means nothing: activated, nothing else happens.
    PressKey(t.hwnd, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return t.folder.Logged("CMenuWnd::ActivateSelection"); }));
    EXPECT_TRUE(t.proc.Running());
    EXPECT_TRUE(IsWindow(t.hwnd));

    PressKey(t.hwnd, VK_UP); // to the last, "exit"
    EXPECT_TRUE(t.WaitFrame(kHot3, 0x00FF00));
    PressKey(t.hwnd, VK_SPACE);
    EXPECT_EQ(t.proc.WaitExit(kLong), 0);
    EXPECT_EQ(t.folder.CountLogged("CMenuWnd::ActivateSelection"), 2);
}

TEST(MenuWindow, EscapeWithoutExitScreenEnds) {
    TitleScreen t("menu_window_escape", Section("Settings", kThreeSelections));
    t.Start();
    PressKey(t.hwnd, VK_ESCAPE);
    EXPECT_EQ(t.proc.WaitExit(kLong), 0);
    std::vector<std::string> log = t.folder.Log();
    int close = Find(log, "CMenuWnd::HandleWinProc WM_CLOSE");
    EXPECT_GE(close, 0);
    EXPECT_GT(Find(log, "CMenuWnd::HandleWinProc WM_DESTROY", close), close);
    EXPECT_EQ(t.folder.CountLogged("CMenuWnd::LoadAndRunMenu"), 1);
}

TEST(MenuWindow, EscapeShowsTheExitScreenWhoseEscapeEnds) {
    TitleScreen t("menu_window_exitnag",
                  Section("Settings", kThreeSelections) +
                      Section(kExitScreenSection, "title=Goodbye\r\ntitleimage=title.gif\r\n"
                                                  "numselections=2\r\nselcode2=close\r\n"));
    t.Start();
    PressKey(t.hwnd, VK_ESCAPE);
    HWND bye = WaitWindowTitled(t.proc, "Goodbye");
    ASSERT_NE(bye, nullptr);
    EXPECT_TRUE(WaitGone(t.hwnd, kLong));
    EXPECT_EQ(Owner(bye), nullptr);
    EXPECT_TRUE(t.proc.Running());

    PressKey(bye, VK_ESCAPE); // the exit screen never opens itself again
    EXPECT_EQ(t.proc.WaitExit(kLong), 0);
    EXPECT_EQ(t.folder.CountLogged("CMenuWnd::LoadAndRunMenu"), 2);
}

TEST(MenuWindow, MouseFocusesTheLowestAndAClickActivatesEveryHotSpot) {
    // Two overlapping hot spots: "close" first, then "menu" opening the section Sub.
    TitleScreen t("menu_window_mouse",
                  Section("Settings", "title=Overlap\r\ntitleimage=title.gif\r\n"
                                      "numselections=2\r\n"
                                      "selpos1=20,20,150,150\r\nselcolor1=FF0000\r\n"
                                      "selcode1=close\r\n"
                                      "selpos2=100,100,150,120\r\nselcolor2=0000FF\r\n"
                                      "selcode2=MENU\r\nselurl2=Sub\r\n") +
                      Section("Sub", "title=Sub\r\ntitleimage=title.gif\r\nnumselections=2\r\n"));
    t.Start();
    const RECT hot1 = {20, 20, 170, 170}, hot2 = {100, 100, 250, 220};
    ASSERT_TRUE(t.WaitFrame(hot1, 0xFF0000));

    MouseMove(t.hwnd, 200, 200); // only the second
    EXPECT_TRUE(t.WaitFrame(hot2, 0x0000FF));
    MouseMove(t.hwnd, 130, 130); // both: the lower index wins
    EXPECT_TRUE(t.WaitFrame(hot1, 0xFF0000));
    MouseMove(t.hwnd, 300, 20); // none: the focus stays
    EXPECT_TRUE(t.WaitFrame(hot1, 0xFF0000));

    Click(t.hwnd, 130, 130);
    EXPECT_EQ(t.proc.WaitExit(kLong), 0);
    // Both activated in ascending order: the close was posted first, the sub-menu was loaded by
    // the second activation, then the close ended the first menu.
    std::vector<std::string> log = t.folder.Log();
    int first = Find(log, "CMenuWnd::ActivateSelection");
    int second = Find(log, "CMenuWnd::ActivateSelection", first + 1);
    int subLoad = Find(log, "CMenuWnd::LoadMenu", second + 1);
    int close = Find(log, "CMenuWnd::HandleWinProc WM_CLOSE", subLoad + 1);
    EXPECT_GE(first, 0);
    EXPECT_GT(second, first);
    EXPECT_GT(subLoad, second);
    EXPECT_GT(close, subLoad);
}

TEST(MenuWindow, SubMenuIsOwnedAndDisablesItsMenuUntilItCloses) {
    // The first selection opens the sub-menu.
    std::string settings = kThreeSelections;
    settings.replace(settings.find("selcode1=nothing"), 16, "selcode1=menu\r\nselurl1=Sub");
    TitleScreen t("menu_window_chain",
                  Section("Settings", settings) +
                      Section("Sub", "title=Sub menu\r\ntitleimage=sub.gif\r\n"
                                     "numselections=2\r\nselpos1=10,10,50,50\r\n"));
    t.folder.AddGif("sub.gif", TitlePicture(200, 150));
    t.Start();
    ASSERT_TRUE(t.WaitFrame(kHot1, 0xFF0000));

    PressKey(t.hwnd, VK_RETURN);
    HWND sub = WaitWindowTitled(t.proc, "Sub menu");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(Owner(sub), t.hwnd);
    // Disabled once the sub-menu has been shown and drawn.
    EXPECT_TRUE(WaitUntil([&] { return !IsEnabled(t.hwnd); }, kLong));
    RECT sr = WindowRect(sub);
    EXPECT_EQ(sr.left, (GetSystemMetrics(SM_CXSCREEN) - 200) / 2);
    EXPECT_EQ(sr.top, (GetSystemMetrics(SM_CYSCREEN) - 150) / 2);
    // The sub-menu has the keyboard focus and frames its first selection.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return FrameShown(sub, RECT{10, 10, 60, 60}, Ref(0x00FF00));
        },
        kLong));

    PressKey(sub, VK_ESCAPE);
    EXPECT_TRUE(WaitGone(sub, kLong));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(t.hwnd); }, kLong));
    EXPECT_TRUE(t.proc.Running());
    // The menu takes keys again.
    PressKey(t.hwnd, VK_RIGHT);
    EXPECT_TRUE(t.WaitFrame(kHot2, 0x0000FF));
    PressKey(t.hwnd, VK_ESCAPE);
    EXPECT_EQ(t.proc.WaitExit(kLong), 0);
}

TEST(MenuWindow, SubMenuThatFailsToLoadEndsTheProgram) {
    TitleScreen t("menu_window_badsub",
                  Section("Settings", "title=Bad\r\ntitleimage=title.gif\r\nnumselections=2\r\n"
                                      "selpos1=20,40,120,60\r\nselcode1=menu\r\n"
                                      "selurl1=Missing\r\n"));
    t.Start();
    PressKey(t.hwnd, VK_RETURN);
    BoxInfo box;
    ASSERT_TRUE(WaitMessageBox(t.proc.Pid(), box, kLong));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "tovak.exe - Settings config problem\n\n" +
                            Join(t.folder.path, "tovak.ini") +
                            "\n\nNo valid screen settings found");
    PressButton(box.hwnd, IDOK);
    EXPECT_EQ(t.proc.WaitExit(kLong), 0);
}

TEST(MenuWindow, ImageLargerThanTheScreenIsShrunkToFitIt) {
    TitleScreen t("menu_window_large", Section("Settings", kThreeSelections));
    t.Start(TitlePicture(1101, 801));
    RECT wr = WindowRect(t.hwnd);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Limited by its height: the whole window in the work area, the image's proportions kept.
    EXPECT_EQ(wr.top, work.top);
    EXPECT_EQ(wr.bottom, work.bottom);
    RECT cr = ClientRect(t.hwnd);
    int width = cr.right - cr.left, height = cr.bottom - cr.top;
    EXPECT_NEAR(width + 1, 1101.0 * height / 801, 1.0);
    // The stripe along the bottom-left corner, shrunk with it.
    EXPECT_TRUE(WaitUntil([&] { return ReadPixel(t.hwnd, 2, height - 2) == Ref(kStripe); }, kLong));
    t.proc.Terminate();
}

TEST(MenuWindow, OneSelectionRunsAtOnceWithoutWindow) {
    Folder folder("menu_window_single",
                  Section("Settings", "title=Single\r\ntitleimage=title.gif\r\n"
                                      "numselections=1\r\nselcode1=run\r\n"
                                      "selurl1=nothing.txt\r\n"));
    folder.AddGif("title.gif", TitlePicture());
    TovakProcess proc;
    ASSERT_TRUE(proc.Start(folder.path)) << proc.error;
    bool sawWindow = false;
    std::vector<std::string> boxes;
    // The selection cannot run (no game of a known kind): whatever it reports, the first menu
    // has failed and the program ends with 1.
    DWORD start = GetTickCount();
    while (proc.Running() && GetTickCount() - start < kLong) {
        sawWindow = sawWindow || !proc.TopWindows("WinFuncs").empty();
        BoxInfo box;
        if (WaitMessageBox(proc.Pid(), box, 100)) {
            boxes.push_back(box.text);
            PressButton(box.hwnd, IDOK);
            WaitGone(box.hwnd, 5000);
        }
    }
    EXPECT_EQ(proc.WaitExit(kLong), 1);
    EXPECT_FALSE(sawWindow);
    EXPECT_TRUE(folder.Logged("CMenuWnd::RunMenu at2"));
    EXPECT_TRUE(folder.Logged("CMenuWnd::RunSelection"));
    EXPECT_FALSE(folder.Logged("CMenuWnd::CreateMenuWnd"));
}

TEST(MenuWindow, SampleGameShowsItsTitleOptionsAndExitScreen) {
    TovakProcess proc;
    ASSERT_TRUE(proc.Start(Join(SourceDir(), "examples\\sample"))) << proc.error;
    HWND title = WaitWindowTitled(proc, "Star Courier");
    ASSERT_NE(title, nullptr);
    RECT cr = ClientRect(title);
    EXPECT_EQ(cr.right - cr.left, 639);
    EXPECT_EQ(cr.bottom - cr.top, 480);
    // Focus on the first button, then three to the right: "Options..." opens its sub-menu.
    for (int i = 0; i < 3; ++i)
        PressKey(title, VK_RIGHT);
    PressKey(title, VK_RETURN);
    HWND options = WaitWindowTitled(proc, "Star Courier - Options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(Owner(options), title);
    PressKey(options, VK_ESCAPE);
    EXPECT_TRUE(WaitGone(options, kLong));
    PressKey(title, VK_ESCAPE);
    HWND bye = WaitWindowTitled(proc, "Thanks for playing");
    ASSERT_NE(bye, nullptr);
    PressKey(bye, VK_ESCAPE);
    EXPECT_EQ(proc.WaitExit(kLong), 0);
}

TEST(MenuWindow, ClickStopsOnceAModalSubMenuHasClosedTheWindow) {
    // Three hot spots on one point: "close", a sub-menu shown as the dialog (its modal loop
    // delivers the close, which destroys the menu window and the dialog with it), and a
    // sub-menu window that must not open on a menu that is gone.
    TitleScreen t("menu_window_modal_close",
                  Section("Settings", "title=Modal\r\ntitleimage=title.gif\r\n"
                                      "numselections=3\r\n"
                                      "selpos1=20,20,100,100\r\nselcode1=close\r\n"
                                      "selpos2=20,20,100,100\r\nselcode2=menu\r\n"
                                      "selurl2=Dlg\r\n"
                                      "selpos3=20,20,100,100\r\nselcode3=menu\r\n"
                                      "selurl3=Sub\r\n") +
                      Section("Dlg", "title=Dlg\r\nnumselections=2\r\n") +
                      Section("Sub", "title=Sub\r\ntitleimage=title.gif\r\nnumselections=2\r\n"));
    t.Start();
    Click(t.hwnd, 50, 50);
    std::vector<std::string> boxes;
    EXPECT_EQ(WaitExitAnsweringBoxes(t.proc, boxes), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(t.folder.CountLogged("CMenuWnd::ActivateSelection"), 2);
    EXPECT_EQ(t.folder.CountLogged("CMenuWnd::LoadAndRunMenu"), 2);
}

namespace {

// The prefix's DPI for the programs started while it lives (the value is read at a program's
// start); the one before is put back at the end, as the tests share one prefix.
class PrefixDpi {
  public:
    explicit PrefixDpi(DWORD dpi) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof before;
        had = RegQueryValueExA(key, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before),
                               &size) == ERROR_SUCCESS;
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
    }
    ~PrefixDpi() {
        if (!key)
            return;
        if (had)
            RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before),
                           sizeof before);
        else
            RegDeleteValueA(key, "LogPixels");
        RegCloseKey(key);
    }

  private:
    HKEY key = nullptr;
    DWORD before = 0;
    bool had = false;
};

} // namespace

TEST(MenuWindow, TitleScreenAt144DpiIsDrawnAtOneAndAHalfAndClicksMapBack) {
    TitleScreen t("menu_window_dpi", Section("Settings", kThreeSelections));
    {
        PrefixDpi dpi(144);
        t.Start();
    }
    // The image times 1.5 (the client area one pixel narrower, as at 96 DPI).
    RECT cr = ClientRect(t.hwnd);
    EXPECT_EQ(cr.right - cr.left, 480 - 1);
    EXPECT_EQ(cr.bottom - cr.top, 360);
    // The stripe (40 x 10 at the bottom-left) is 60 x 15, smoothed at its edges.
    EXPECT_TRUE(WaitUntil([&] { return ReadPixel(t.hwnd, 2, 358) == Ref(kStripe); }, kLong));
    EXPECT_EQ(ReadPixel(t.hwnd, 57, 347), Ref(kStripe));
    EXPECT_EQ(ReadPixel(t.hwnd, 63, 350), Ref(kBackground));
    EXPECT_EQ(ReadPixel(t.hwnd, 30, 342), Ref(kBackground));
    // The focus frame around the first hot spot at its scaled place.
    EXPECT_TRUE(t.WaitFrame(RECT{30, 60, 210, 150}, 0xFF0000));
    // A click inside the scaled "exit" hot spot (20,140 280x60: 30,210 to 450,300), below
    // the image's own height, activates it.
    Click(t.hwnd, 400, 280);
    EXPECT_EQ(t.proc.WaitExit(kLong), 0);
}
