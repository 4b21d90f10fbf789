// Helpers of the game-screen scenarios: a game folder with a title screen whose selections
// launch games, tovak.exe started on it with the control doubles' journal, and the doubles'
// events on cue.
#pragma once

#include "doubles/doubles.h"
#include "host_fixture.h"
#include "menu_test_support.h"

#include <string>
#include <vector>

namespace gametest {

constexpr DWORD kLong = 15000;
constexpr std::uint32_t kTitleColour = 0x204060;

inline std::string Sel(int n, const std::string& key, const std::string& value) {
    return "sel" + key + std::to_string(n) + "=" + value + "\r\n";
}

// One selection with its hot spot in row n of the title image (40 pixels a row).
inline std::string Selection(int n, const std::string& code, const std::string& url,
                             const std::string& more = "") {
    return Sel(n, "pos", "10," + std::to_string(10 + 40 * (n - 1)) + ",200,30") +
           Sel(n, "code", code) + Sel(n, "url", url) + more;
}

struct GameFolder {
    menutest::Folder folder;
    std::string journal;
    bench::TovakProcess proc;
    HWND menu = nullptr;

    // The first menu "Game Title" with the given selections (a body of selection keys).
    GameFolder(const std::string& name, int count, const std::string& selections)
        : folder(name, "[Settings]\r\ntitle=Game Title\r\ntitleimage=title.gif\r\nnumselections=" +
                           std::to_string(count) + "\r\n" + selections) {
        journal = bench::Join(folder.path, "journal.txt");
        menutest::Picture title(240, 40 * count + 20, {kTitleColour});
        folder.AddGif("title.gif", title);
    }

    void Start() {
        ASSERT_TRUE(proc.Start(
            folder.path, "",
            {std::string(TOVAK_DOUBLE_JOURNAL_ENV) + "=" + journal,
             std::string(TOVAK_DOUBLE_SCRIPT_ENV) + "=" + bench::Join(folder.path, "script.txt")}))
            << proc.error;
        menu = proc.WaitWindow("WinFuncs", kLong);
        ASSERT_NE(menu, nullptr);
    }

    // Runs selection n (counted from 1) with a click on its hot spot.
    void Activate(int n) { bench::Click(menu, 110, 25 + 40 * (n - 1)); }

    HWND WaitBackground() { return proc.WaitWindow("BkGrndWnd", kLong); }

    std::vector<std::string> Journal() const { return bench::ReadLogLines(journal); }
    bool Journaled(const std::string& line) const { return bench::Contains(Journal(), line); }
};

// Sends an event cue to the control doubles living in the process; the number of sinks that
// received it, or -1.
inline int Cue(DWORD pid, const std::string& line) {
    for (HWND w = FindWindowExA(nullptr, nullptr, TOVAK_DOUBLE_CUE_CLASS, nullptr); w;
         w = FindWindowExA(nullptr, w, TOVAK_DOUBLE_CUE_CLASS, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != pid)
            continue;
        COPYDATASTRUCT data{0, static_cast<DWORD>(line.size() + 1),
                            const_cast<char*>(line.c_str())};
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG, 5000, &result))
            return -1;
        return static_cast<int>(static_cast<LRESULT>(result));
    }
    return -1;
}

// Pumps this thread's messages while waiting, so that a window of the test can take the
// foreground from another program (and display changes are not held up by it).
inline bool PumpUntil(const std::function<bool()>& cond, DWORD ms = kLong) {
    return bench::WaitUntil(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            return cond();
        },
        ms);
}

// The stand-in player's window, once one shows (null after ms).
inline HWND WaitStandIn(DWORD ms = kLong) {
    HWND found = nullptr;
    bench::WaitUntil(
        [&] { return (found = FindWindowA(TOVAK_STANDIN_PLAYER_CLASS, nullptr)) != nullptr; }, ms);
    return found;
}

// The first descendant of the window with that class, or null.
inline HWND FindChild(HWND parent, const char* className) {
    for (HWND child : bench::ChildWindows(parent))
        if (bench::ClassOf(child) == className)
            return child;
    return nullptr;
}

// A rectangle in the client coordinates of a window, from screen coordinates.
inline RECT ToClient(HWND hwnd, RECT r) {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    OffsetRect(&r, -origin.x, -origin.y);
    return r;
}

} // namespace gametest
