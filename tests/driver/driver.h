// The end-to-end test driver: starts tovak.exe under Wine in a folder of its own, finds its
// windows and message boxes, answers them, sends keys and mouse clicks, reads pixels, the
// diagnostic log and the registry. Every wait has a timeout; nothing here can hang a test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace bench {

constexpr DWORD kWait = 10000; // default timeout of every wait, milliseconds

// ---- Paths and files -----------------------------------------------------------------------
// Paths come from the environment the test runner sets, with backslashes. Paths, window texts
// and registry texts are UTF-8 throughout; the driver reads and writes them with the wide
// functions.
std::string TovakExe();      // TOVAK_EXE
std::string TestTmp();       // TOVAK_TEST_TMP, else the temporary folder
std::string SourceDir();     // TOVAK_SOURCE_DIR
std::string StandInPlayer(); // TOVAK_STANDIN_PLAYER: the stand-in player of tests/doubles
std::string PadStandIns();   // TOVAK_PAD_STANDIN_DIR: the stand-in controller libraries
std::string Join(const std::string& dir, const std::string& name); // dir + "\\" + name
// A fresh, empty folder TestTmp()\name (an old one of that name is deleted first).
std::string MakeTestFolder(const std::string& name);
bool DeleteTree(const std::string& path);
// Writes the bytes exactly as given (no line-end translation).
bool WriteTextFile(const std::string& path, const std::string& content);
// The file's bytes; empty when it cannot be read.
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);

// ---- Waiting ---------------------------------------------------------------------------------
// Polls cond until it holds (true) or ms have passed (false).
bool WaitUntil(const std::function<bool()>& cond, DWORD ms = kWait, DWORD pollMs = 50);

// ---- Processes -------------------------------------------------------------------------------
class TovakProcess {
  public:
    TovakProcess() = default;
    ~TovakProcess(); // terminates a process still running
    TovakProcess(const TovakProcess&) = delete;
    TovakProcess& operator=(const TovakProcess&) = delete;

    // Starts tovak.exe with folder as current directory, args after the program name on the
    // command line, and extra NAME=VALUE environment entries (replacing inherited ones of the
    // same name). Wine passes no WINE* variable of the block on to the new process: to disable
    // a DLL for one process use DisableDllForProgram with a renamed copy of the program.
    bool Start(const std::string& folder, const std::string& args = "",
               const std::vector<std::string>& extraEnv = {});
    // The same for any program.
    bool StartProgram(const std::string& exe, const std::string& folder,
                      const std::string& args = "", const std::vector<std::string>& extraEnv = {});

    DWORD Pid() const { return pi.dwProcessId; }
    HANDLE Handle() const { return pi.hProcess; }
    bool Running() const;
    // The exit code; -1 on timeout, after which the process is terminated.
    int WaitExit(DWORD ms = kWait);
    void Terminate();

    // A visible top-level window of this process with that class (any class when null).
    HWND WaitWindow(const char* className, DWORD ms = kWait) const;
    std::vector<HWND> TopWindows(const char* className = nullptr) const;

    std::string error; // why Start failed

  private:
    PROCESS_INFORMATION pi{};
};

// Visible top-level windows of a process, optionally of one class.
std::vector<HWND> TopWindowsOf(DWORD pid, const char* className = nullptr);

// ---- Message boxes ---------------------------------------------------------------------------
struct BoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::pair<int, std::string>> buttons;   // control id (IDOK, IDYES...) and label
    bool HasButtons(const std::vector<int>& ids) const; // exactly these, in any order
};

// Reads the caption, message and buttons of a message box.
BoxInfo ReadBox(HWND box);
// Waits for a visible message box of the process and reads it. Message boxes are dialogs of
// the class #32770 (under Wine: the message is the static control 0xFFFF, the icon the static
// control 1088, and only the box's own buttons exist); other dialogs of that class count too
// unless a caption is given.
bool WaitMessageBox(DWORD pid, BoxInfo& info, DWORD ms = kWait, const char* caption = nullptr);
// Presses the button with that id (as a click would: WM_COMMAND BN_CLICKED to the box).
bool PressButton(HWND box, int id);
// Waits until the window is gone.
bool WaitGone(HWND hwnd, DWORD ms = kWait);

// What a process showed and how it ended.
struct RunOutcome {
    int exitCode = -2; // -1: did not end in time (then terminated)
    std::vector<BoxInfo> boxes;
};
// Lets a started process run to its end, answering every message box it shows, in order:
// with `answer` where the box has that button, with its first button otherwise.
RunOutcome RunAnsweringBoxes(TovakProcess& process, int answer = IDOK, DWORD ms = 30000);

// Answers message boxes that product code shows on the test's own thread: a background
// thread waits for each box of this process (with that caption, when one is given), records
// it and presses the given button, so that the blocked call returns. Stops at destruction.
class BoxAnswerer {
  public:
    explicit BoxAnswerer(int button = IDOK, const char* caption = nullptr);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Boxes answered so far, in order.
    std::vector<BoxInfo> Boxes();

  private:
    struct State;
    State* state;
};

// ---- Input -----------------------------------------------------------------------------------
// Posts WM_KEYDOWN and WM_KEYUP for the virtual key to the window (the target's message loop
// translates them, so WM_CHAR follows for character keys).
void PressKey(HWND hwnd, UINT vk);
// Brings the window to the foreground and types the key through SendInput (real keyboard
// input, delivered to the focused window). False when the window could not be made foreground.
bool TypeKey(HWND hwnd, UINT vk);
// Posted mouse messages at client coordinates.
void MouseMove(HWND hwnd, int x, int y);
void Click(HWND hwnd, int x, int y);

// ---- Window facts ----------------------------------------------------------------------------
RECT WindowRect(HWND hwnd);
RECT ClientRect(HWND hwnd); // in screen coordinates
LONG_PTR Style(HWND hwnd);
LONG_PTR ExStyle(HWND hwnd);
HWND Owner(HWND hwnd);
bool IsEnabled(HWND hwnd);
std::string Text(HWND hwnd);
std::string ClassOf(HWND hwnd);
std::vector<HWND> ChildWindows(HWND hwnd);

// ---- Pixels ----------------------------------------------------------------------------------
// What the player sees. Under Wine a read of the screen's device context gives the X server's
// pixels (checked against `import -window root`: a logo hidden under another X window reads
// as what covers it), not the windows' own drawing, so these answer for the screen itself.
// The colour on screen at client coordinates of the window, or CLR_INVALID.
COLORREF ReadPixel(HWND hwnd, int x, int y);
COLORREF ReadScreenPixel(int x, int y);

// ---- Diagnostic log --------------------------------------------------------------------------
// Lines of the file without their line ends (any mix of CR and LF ends a line) and without the
// UTF-8 byte order mark.
std::vector<std::string> ReadLogLines(const std::string& path);
// The message part of each entry "m/d/yyyy h:m:s - message".
std::vector<std::string> ReadLogMessages(const std::string& path);
bool Contains(const std::vector<std::string>& lines, const std::string& line);
// Waits until the log holds an entry with that message.
bool WaitLogMessage(const std::string& path, const std::string& message, DWORD ms = kWait);

// Makes Wine refuse to load `dll` (e.g. "atl") in programs named exeName (e.g.
// "tovak_noatl.exe", a renamed copy of tovak.exe), through the per-program DLL overrides of
// the prefix's registry.
bool DisableDllForProgram(const std::string& exeName, const std::string& dll);
// Sets Wine's load order of `dll` for programs named exeName: "native" loads the DLL of that
// name found beside the program instead of Wine's own, "" never loads it.
bool OverrideDllForProgram(const std::string& exeName, const std::string& dll,
                           const std::string& loadOrder);

// ---- Registry --------------------------------------------------------------------------------
bool ReadRegString(HKEY root, const char* subKey, const char* name, std::string& out);
bool DeleteRegTree(HKEY root, const char* subKey);

} // namespace bench
