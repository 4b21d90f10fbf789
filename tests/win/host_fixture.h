// Shared set-up of the in-process control-host tests: the container library, COM, a plain
// parent window, the diagnostic log and the test doubles' journal and script.
#pragma once

#include "base/diag.h"
#include "base/program.h"
#include "host/library_win.h"
#include "app/startup_win.h"
#include "doubles/doubles.h"
#include "driver/driver.h"
#include "host/client_host_win.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <vector>

namespace hosttest {

inline LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE)
        return 0; // the tests look for posted close requests; the window stays
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Once per process: atl.dll loaded and its window class registered, COM on this thread.
inline void InitProcess() {
    static bool done = false;
    if (done)
        return;
    done = true;
    g_hInstance = GetModuleHandleA(nullptr);
    ASSERT_EQ(g_AtlLib.Load(kContainerLibraryName), 1);
    ASSERT_EQ(g_AtlLib.AxWinInit(), 1);
    HRESULT hr = CoInitialize(nullptr);
    ASSERT_TRUE(hr == S_OK || hr == S_FALSE);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = g_hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "HostTestParent";
    RegisterClassA(&wc);
}

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Sets the default value of a key of the classes (or, with a null value, deletes the key) for
// the lifetime of the object, then puts the old value back.
class ClassesDefault {
  public:
    ClassesDefault(const std::string& subKey, const char* value) : key(subKey) {
        char text[512] = "";
        LONG size = sizeof text;
        had = RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), text, &size) == ERROR_SUCCESS;
        old = text;
        mapped = value ? RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value,
                                      static_cast<DWORD>(strlen(value))) == ERROR_SUCCESS
                       : RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str()) == ERROR_SUCCESS;
    }
    ~ClassesDefault() {
        if (had)
            RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, old.c_str(),
                         static_cast<DWORD>(old.size()));
    }
    ClassesDefault(const ClassesDefault&) = delete;
    ClassesDefault& operator=(const ClassesDefault&) = delete;
    bool mapped = false;

  private:
    std::string key;
    std::string old;
    bool had = false;
};

// Maps a ProgID to another class (or, with a null clsid, to none) for the lifetime of the
// object, then restores it.
struct ProgIdMapping : ClassesDefault {
    ProgIdMapping(const char* progId, const char* clsid)
        : ClassesDefault(std::string(progId) + "\\CLSID", clsid) {}
};

class HostTest : public testing::Test {
  protected:
    void SetUp() override {
        InitProcess();
        tmp = bench::MakeTestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        journalPath = bench::Join(tmp, "journal.txt");
        scriptPath = bench::Join(tmp, "script.txt");
        logPath = bench::Join(tmp, "log.txt");
        SetEnvironmentVariableA(TOVAK_DOUBLE_JOURNAL_ENV, journalPath.c_str());
        SetEnvironmentVariableA(TOVAK_DOUBLE_SCRIPT_ENV, scriptPath.c_str());
        Script("");
        ASSERT_TRUE(CopyText(g_szLogFile, sizeof g_szLogFile, logPath.c_str()));
        g_bLogEnabled = 1;
        g_bLogVersionWritten = 1; // the log holds only the host's markers
        // One visible parent for the whole program: destroying a visible top-level window
        // takes Wine about two seconds here, destroying its children does not.
        static HWND shared = nullptr;
        if (!shared)
            shared =
                CreateWindowExA(0, "HostTestParent", "host test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                0, 0, 640, 480, nullptr, nullptr, g_hInstance, nullptr);
        parent = shared;
        ASSERT_NE(parent, nullptr);
        ASSERT_TRUE(bench::ChildWindows(parent).empty());
    }

    void TearDown() override {
        // The controls go with their container windows, children of the parent.
        for (HWND child : bench::ChildWindows(parent))
            if (IsWindow(child) && GetParent(child) == parent)
                DestroyWindow(child);
        PumpMessages();
        g_bLogEnabled = 0;
    }

    // Lets the container and the controls handle what they have posted.
    void PumpMessagesFor(DWORD ms = 200) {
        DWORD start = GetTickCount();
        do {
            PumpMessages();
            Sleep(10);
        } while (GetTickCount() - start < ms);
    }

    void Script(const std::string& text) { bench::WriteTextFile(scriptPath, text); }
    std::vector<std::string> Journal() { return bench::ReadLogLines(journalPath); }
    void ClearJournal() { bench::WriteTextFile(journalPath, ""); }
    // Journal lines that begin with prefix, without it.
    std::vector<std::string> JournalOf(const std::string& prefix) {
        std::vector<std::string> result;
        for (const std::string& line : Journal())
            if (line.compare(0, prefix.size(), prefix) == 0)
                result.push_back(line.substr(prefix.size()));
        return result;
    }
    std::vector<std::string> Markers() { return bench::ReadLogMessages(logPath); }
    void ClearLog() { bench::WriteTextFile(logPath, ""); }

    // InitHost with the game screen's arguments.
    int Init(CClientHost& host, int kind, int color = 0, int quality = 4) {
        return host.InitHost(parent, kind, "", WS_CHILD | WS_VISIBLE, color, 10, 20, 320, 240,
                             quality);
    }

    std::string tmp, journalPath, scriptPath, logPath;
    HWND parent = nullptr;
};

inline std::string WindowText(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

} // namespace hosttest
