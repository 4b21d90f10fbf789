// Playing from the sofa: tovak.exe under Wine with the stand-in controller library beside it.
// The title screen's focus follows the D-pad and the stick, with repeat; A launches a game in
// the stand-in player, which receives the controller as keys.
#include "doubles/doubles.h"
#include "menu_test_support.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

using namespace bench;
using namespace menutest;

namespace {

constexpr DWORD kLong = 15000;

// The key presses that programs send (not typed ones), as a low-level keyboard hook sees them:
// the key and the time.
std::mutex g_lock;
std::vector<std::pair<DWORD, DWORD>> g_presses;

LRESULT CALLBACK RecordPress(int code, WPARAM wParam, LPARAM lParam) {
    const KBDLLHOOKSTRUCT* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (code == HC_ACTION && (k->flags & LLKHF_INJECTED) && wParam == WM_KEYDOWN) {
        std::lock_guard<std::mutex> guard(g_lock);
        g_presses.emplace_back(k->vkCode, k->time);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The times of the presses of one key since the last call.
std::vector<DWORD> TakePresses(DWORD vk) {
    std::lock_guard<std::mutex> guard(g_lock);
    std::vector<DWORD> times;
    for (const auto& press : g_presses) {
        if (press.first == vk)
            times.push_back(press.second);
    }
    g_presses.clear();
    return times;
}

// tovak.exe copied as tovak_pad.exe into a test folder beside the stand-in controller library,
// which Wine loads for that program name only.
struct PadBench {
    Folder folder;
    std::string script = Join(folder.path, "pad-script.txt");
    std::string journal = Join(folder.path, "pad-journal.txt");
    std::string playerJournal = Join(folder.path, "player-journal.txt");
    TovakProcess proc;

    PadBench(const std::string& name, const std::string& ini) : folder(name, ini) {
        folder.AddGif("title.gif", Picture(320, 240, {0x204060}));
        EXPECT_TRUE(CopyFileTo(TovakExe(), Join(folder.path, "tovak_pad.exe")));
        EXPECT_TRUE(
            CopyFileTo(Join(PadStandIns(), "xinput1_4.dll"), Join(folder.path, "xinput1_4.dll")));
        EXPECT_TRUE(OverrideDllForProgram("tovak_pad.exe", "xinput1_4", "native"));
        EXPECT_TRUE(proc.StartProgram(Join(folder.path, "tovak_pad.exe"), folder.path, "",
                                      {"TOVAK_PAD_SCRIPT=" + script, "TOVAK_PAD_JOURNAL=" + journal,
                                       TOVAK_DOUBLE_JOURNAL_ENV "=" + playerJournal}));
    }
    // A player left running would keep the test's output open after the test.
    ~PadBench() {
        if (HWND player = FindWindowA(TOVAK_STANDIN_PLAYER_CLASS, nullptr)) {
            PostMessageA(player, WM_CLOSE, 0, 0);
            WaitGone(player);
        }
    }
    // Plays a new script from now on; waits until the launcher has read the state of its line
    // lastLine (the script's first line is its name).
    bool Play(const std::string& name, const std::string& lines, int lastLine) {
        // The stand-in may be reading the old script just now.
        EXPECT_TRUE(WaitUntil([&] { return WriteTextFile(script, "# " + name + "\n" + lines); }));
        const std::string seen = "seen 0 " + std::to_string(lastLine);
        return WaitUntil(
            [&] {
                bool inScript = false;
                for (const std::string& line : ReadLogLines(journal)) {
                    std::string entry = line.substr(line.find(' ') + 1);
                    if (entry.rfind("script ", 0) == 0)
                        inScript = entry == "script " + name;
                    else if (inScript && entry == seen)
                        return true;
                }
                return false;
            },
            kLong);
    }
};

// Three selections side by side, below the middle of the window (the mouse pointer rests in
// the middle of the screen, and a selection under it would take the focus), each a page that
// the stand-in player plays, journalling its keys.
const std::string kMenu = "htmplayer=" + StandInPlayer() +
                          " --keys\r\n"
                          "title=Sofa\r\ntitleimage=title.gif\r\nnumselections=3\r\n"
                          "selpos1=20,150,80,60\r\nselcolor1=FF0000\r\n"
                          "selpos2=120,150,80,60\r\nselcolor2=00FF00\r\n"
                          "selpos3=220,150,80,60\r\nselcolor3=0000FF\r\n"
                          "selcode1=run\r\nselurl1=game.htm\r\nselcode2=run\r\nselurl2=game.htm\r\n"
                          "selcode3=run\r\nselurl3=game.htm\r\n";
const RECT kHot[3] = {{20, 150, 100, 210}, {120, 150, 200, 210}, {220, 150, 300, 210}};
const std::uint32_t kFocusColour[3] = {0xFF0000, 0x00FF00, 0x0000FF};

} // namespace

TEST(Pad, TitleScreenFollowsDpadAndStickThenAGameGetsKeysHeldAndLetGo) {
    PadBench bench("pad_title", "[Settings]\r\n" + kMenu);
    HWND menu = bench.proc.WaitWindow("WinFuncs", kLong);
    ASSERT_NE(menu, nullptr);
    auto focusShown = [&](int i) {
        return WaitUntil([&] { return FrameShown(menu, kHot[i], Ref(kFocusColour[i])); }, kLong);
    };
    ASSERT_TRUE(focusShown(0));
    std::atomic<DWORD> hookThread{0};
    std::thread hook([&] {
        HHOOK h = SetWindowsHookExA(WH_KEYBOARD_LL, RecordPress, GetModuleHandleA(nullptr), 0);
        hookThread = GetCurrentThreadId();
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        }
        UnhookWindowsHookEx(h);
    });
    WaitUntil([&] { return hookThread != 0; });
    ASSERT_TRUE(bench.Play("at rest", "0 0\n", 2));
    TakePresses(0);

    // The D-pad held right for a second: a step at once, one after 400 ms, then every 120 ms.
    ASSERT_TRUE(bench.Play("dpad", "0 0 RIGHT\n1000 0\n", 3));
    Sleep(300);
    std::vector<DWORD> right = TakePresses(VK_RIGHT);
    ASSERT_GE(right.size(), 4u);
    EXPECT_GE(right[1] - right[0], 350u);
    EXPECT_LE(right[1] - right[0], 800u);
    std::vector<DWORD> gaps;
    for (std::size_t i = 2; i < right.size(); ++i)
        gaps.push_back(right[i] - right[i - 1]);
    std::sort(gaps.begin(), gaps.end());
    EXPECT_GE(gaps[gaps.size() / 2], 90u);
    EXPECT_LE(gaps[gaps.size() / 2], 200u);
    int focus = static_cast<int>(right.size()) % 3;
    EXPECT_TRUE(focusShown(focus)) << right.size() << " steps right";

    // The stick pushed left steps the other way; resting off centre afterwards, it is still.
    ASSERT_TRUE(bench.Play("stick", "0 0 lx=-30000\n600 0 lx=7800 ly=-8600\n", 3));
    Sleep(1500);
    std::vector<DWORD> left = TakePresses(VK_LEFT);
    ASSERT_GE(left.size(), 2u);
    EXPECT_LE(left.back() - left.front(), 900u); // nothing once the stick was let go
    focus = ((focus - static_cast<int>(left.size())) % 3 + 3) % 3;
    EXPECT_TRUE(focusShown(focus));
    PostThreadMessageA(hookThread, WM_QUIT, 0, 0);
    hook.join();

    // A launches the game in the stand-in player. Held from that press, it does nothing in the
    // game until let go; then a button held is a key held, the stick pushed up and right holds
    // two keys, and a controller unplugged in the middle of a press lets its key go.
    ASSERT_TRUE(bench.Play("launch", "0 0 A\n", 2));
    HWND player = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            player = FindWindowA(TOVAK_STANDIN_PLAYER_CLASS, nullptr);
            return player && GetForegroundWindow() == player;
        },
        kLong));
    ASSERT_TRUE(bench.Play("play",
                           "0 0 A\n300 0\n600 0 A\n900 0\n1200 0 lx=30000 ly=30000\n1500 0\n"
                           "1800 0 X\n2100 0 off\n",
                           9));
    Sleep(300);
    std::vector<std::string> received;
    for (const std::string& line : ReadLogLines(bench.playerJournal)) {
        if (line.rfind("player key ", 0) == 0)
            received.push_back(line.substr(11));
    }
    EXPECT_EQ(received, (std::vector<std::string>{"down 32", "up 32", "down 38", "down 39", "up 38",
                                                  "up 39", "down 90", "up 90"}))
        << "32 Space, 38 Up, 39 Right, 90 Z";

    // The player ends and the title screen is back: B leaves it, which ends the program.
    PostMessageA(player, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(menu) && GetForegroundWindow() == menu; }, kLong));
    ASSERT_TRUE(bench.Play("leave", "0 0\n500 0 B\n", 3));
    EXPECT_EQ(bench.proc.WaitExit(kLong), 0);

    // The slots without a controller were asked only every two seconds.
    std::vector<DWORD> asks;
    for (const std::string& line : ReadLogLines(bench.journal)) {
        if (line.find(" ask 1 off") != std::string::npos)
            asks.push_back(static_cast<DWORD>(std::stoul(line)));
    }
    ASSERT_GE(asks.size(), 2u);
    for (std::size_t i = 1; i < asks.size(); ++i)
        EXPECT_GE(asks[i] - asks[i - 1], 1900u);
}

TEST(Pad, PadNReadsNoController) {
    PadBench bench("pad_off", "[Settings]\r\npad=N\r\n" + kMenu);
    ASSERT_NE(bench.proc.WaitWindow("WinFuncs", kLong), nullptr);
    Sleep(1500);
    EXPECT_FALSE(FileExists(bench.journal)) << ReadTextFile(bench.journal); // nothing loaded it
}
