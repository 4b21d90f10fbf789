#include "driver/driver.h"

#include "base/wide_win.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace bench {

namespace {

std::string EnvPath(const char* name) {
    const char* value = std::getenv(name);
    std::string path = value ? value : "";
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

bool SameClass(HWND hwnd, const char* className) {
    return !className || ClassOf(hwnd) == className;
}

struct EnumTop {
    DWORD pid;
    const char* className;
    std::vector<HWND>* out;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
    EnumTop* e = reinterpret_cast<EnumTop*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == e->pid && IsWindowVisible(hwnd) && SameClass(hwnd, e->className))
        e->out->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// The environment block of this process with the extra NAME=VALUE entries put in place of
// inherited entries of the same name.
std::string MakeEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> entries;
    if (char* block = GetEnvironmentStringsA()) {
        for (const char* p = block; *p; p += std::strlen(p) + 1)
            entries.emplace_back(p);
        FreeEnvironmentStringsA(block);
    }
    for (const std::string& add : extra) {
        std::string name = add.substr(0, add.find('=') + 1);
        for (auto it = entries.begin(); it != entries.end();) {
            if (_strnicmp(it->c_str(), name.c_str(), name.size()) == 0)
                it = entries.erase(it);
            else
                ++it;
        }
        entries.push_back(add);
    }
    std::string block;
    for (const std::string& e : entries) {
        block += e;
        block += '\0';
    }
    block += '\0';
    return block;
}

LPARAM KeyLParam(UINT vk, bool up) {
    UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    LPARAM l = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    if (up)
        l |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    return l;
}

} // namespace

// ---- Paths and files -------------------------------------------------------------------------

std::string TovakExe() {
    return EnvPath("TOVAK_EXE");
}
std::string TestTmp() {
    std::string path = EnvPath("TOVAK_TEST_TMP");
    if (path.empty()) { // started by hand: the user's temporary folder
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        path = temp;
        if (!path.empty() && path.back() == '\\')
            path.pop_back();
    }
    return path;
}
std::string SourceDir() {
    return EnvPath("TOVAK_SOURCE_DIR");
}
std::string StandInPlayer() {
    return EnvPath("TOVAK_STANDIN_PLAYER");
}
std::string PadStandIns() {
    return EnvPath("TOVAK_PAD_STANDIN_DIR");
}

std::string Join(const std::string& dir, const std::string& name) {
    return dir + "\\" + name;
}

bool DeleteTree(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Wide(path.c_str()).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileW(Wide(path.c_str()).c_str()) != 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(Join(path, "*").c_str()).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = Utf8Of(data.cFileName);
            if (name != "." && name != "..")
                DeleteTree(Join(path, name));
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryW(Wide(path.c_str()).c_str()) != 0;
}

std::string MakeTestFolder(const std::string& name) {
    std::string path = Join(TestTmp(), name);
    DeleteTree(path);
    CreateDirectoryW(Wide(path.c_str()).c_str(), nullptr);
    return path;
}

bool WriteTextFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileW(Wide(path.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = content.empty() || WriteFile(file, content.data(), static_cast<DWORD>(content.size()),
                                           &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

std::string ReadTextFile(const std::string& path) {
    HANDLE file =
        CreateFileW(Wide(path.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string content;
    char chunk[65536];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0)
        content.append(chunk, n);
    CloseHandle(file);
    return content;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path.c_str()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileW(Wide(from.c_str()).c_str(), Wide(to.c_str()).c_str(), FALSE) != 0;
}

// ---- Waiting ---------------------------------------------------------------------------------

bool WaitUntil(const std::function<bool()>& cond, DWORD ms, DWORD pollMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
        Sleep(pollMs);
    }
}

// ---- Processes -------------------------------------------------------------------------------

TovakProcess::~TovakProcess() {
    Terminate();
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
}

bool TovakProcess::Start(const std::string& folder, const std::string& args,
                         const std::vector<std::string>& extraEnv) {
    return StartProgram(TovakExe(), folder, args, extraEnv);
}

bool TovakProcess::StartProgram(const std::string& exe, const std::string& folder,
                                const std::string& args, const std::vector<std::string>& extraEnv) {
    if (pi.hProcess) {
        error = "a process was started already";
        return false;
    }
    std::string commandLine = "\"" + exe + "\"";
    if (!args.empty())
        commandLine += " " + args;
    std::string environment = MakeEnvironment(extraEnv);
    // Paths and arguments in any script: the wide call (the environment block stays narrow).
    std::wstring wideCommandLine = Wide(commandLine.c_str());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(Wide(exe.c_str()).c_str(), &wideCommandLine[0], nullptr, nullptr, FALSE, 0,
                        &environment[0], Wide(folder.c_str()).c_str(), &si, &pi)) {
        error = "CreateProcess failed for " + exe + " in " + folder + ", error " +
                std::to_string(GetLastError());
        pi = PROCESS_INFORMATION{};
        return false;
    }
    return true;
}

bool TovakProcess::Running() const {
    return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
}

int TovakProcess::WaitExit(DWORD ms) {
    if (!pi.hProcess)
        return -1;
    if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) {
        Terminate();
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return static_cast<int>(code);
}

void TovakProcess::Terminate() {
    if (Running()) {
        TerminateProcess(pi.hProcess, 255);
        WaitForSingleObject(pi.hProcess, kWait);
    }
}

HWND TovakProcess::WaitWindow(const char* className, DWORD ms) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            std::vector<HWND> windows = TopWindows(className);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        ms);
    return found;
}

std::vector<HWND> TovakProcess::TopWindows(const char* className) const {
    return TopWindowsOf(pi.dwProcessId, className);
}

std::vector<HWND> TopWindowsOf(DWORD pid, const char* className) {
    std::vector<HWND> windows;
    EnumTop e{pid, className, &windows};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&e));
    return windows;
}

// ---- Message boxes ---------------------------------------------------------------------------

bool BoxInfo::HasButtons(const std::vector<int>& ids) const {
    if (ids.size() != buttons.size())
        return false;
    for (int id : ids) {
        bool found = false;
        for (const auto& b : buttons)
            found = found || b.first == id;
        if (!found)
            return false;
    }
    return true;
}

BoxInfo ReadBox(HWND box) {
    // A message box is a dialog: the message is the static control 0xFFFF, the buttons carry
    // the ids of the answers; the icon is another static control without text.
    BoxInfo info;
    info.hwnd = box;
    info.caption = Text(box);
    std::string longestStatic;
    for (HWND child : ChildWindows(box)) {
        std::string cls = ClassOf(child);
        int id = GetDlgCtrlID(child);
        if (_stricmp(cls.c_str(), "Button") == 0)
            info.buttons.emplace_back(id, Text(child));
        else if (_stricmp(cls.c_str(), "Static") == 0) {
            std::string text = Text(child);
            if (id == 0xFFFF)
                info.text = text;
            else if (text.size() > longestStatic.size())
                longestStatic = text;
        }
    }
    if (info.text.empty())
        info.text = longestStatic;
    return info;
}

namespace {

std::vector<HWND> BoxesOf(DWORD pid, const std::string& caption) {
    std::vector<HWND> boxes = TopWindowsOf(pid, "#32770");
    if (!caption.empty()) {
        for (auto it = boxes.begin(); it != boxes.end();)
            it = Text(*it) == caption ? it + 1 : boxes.erase(it);
    }
    return boxes;
}

} // namespace

bool WaitMessageBox(DWORD pid, BoxInfo& info, DWORD ms, const char* caption) {
    HWND box = nullptr;
    if (!WaitUntil(
            [&] {
                std::vector<HWND> boxes = BoxesOf(pid, caption ? caption : "");
                box = boxes.empty() ? nullptr : boxes.front();
                return box != nullptr;
            },
            ms))
        return false;
    info = ReadBox(box);
    return true;
}

bool PressButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (!button)
        return false;
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0;
}

bool WaitGone(HWND hwnd, DWORD ms) {
    return WaitUntil([&] { return !IsWindow(hwnd); }, ms);
}

RunOutcome RunAnsweringBoxes(TovakProcess& process, int answer, DWORD ms) {
    RunOutcome outcome;
    DWORD start = GetTickCount();
    while (process.Running() && GetTickCount() - start < ms) {
        BoxInfo box;
        if (!WaitMessageBox(process.Pid(), box, 200))
            continue;
        outcome.boxes.push_back(box);
        int button = box.buttons.empty() ? IDOK : box.buttons.front().first;
        for (const auto& b : box.buttons) {
            if (b.first == answer)
                button = answer;
        }
        PressButton(box.hwnd, button);
        WaitGone(box.hwnd);
    }
    outcome.exitCode = process.WaitExit(5000);
    return outcome;
}

struct BoxAnswerer::State {
    int button;
    std::string caption;
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<BoxInfo> boxes;
    std::thread thread;
};

BoxAnswerer::BoxAnswerer(int button, const char* caption) : state(new State) {
    state->button = button;
    state->caption = caption ? caption : "";
    State* s = state;
    s->thread = std::thread([s] {
        DWORD pid = GetCurrentProcessId();
        std::vector<HWND> answered;
        while (!s->stop) {
            for (HWND box : BoxesOf(pid, s->caption)) {
                bool seen = false;
                for (HWND h : answered)
                    seen = seen || h == box;
                if (seen)
                    continue;
                BoxInfo info = ReadBox(box);
                {
                    std::lock_guard<std::mutex> guard(s->lock);
                    s->boxes.push_back(info);
                }
                answered.push_back(box);
                PressButton(box, s->button);
            }
            Sleep(30);
        }
    });
}

BoxAnswerer::~BoxAnswerer() {
    state->stop = true;
    state->thread.join();
    delete state;
}

std::vector<BoxInfo> BoxAnswerer::Boxes() {
    std::lock_guard<std::mutex> guard(state->lock);
    return state->boxes;
}

// ---- Input -----------------------------------------------------------------------------------

void PressKey(HWND hwnd, UINT vk) {
    PostMessageA(hwnd, WM_KEYDOWN, vk, KeyLParam(vk, false));
    PostMessageA(hwnd, WM_KEYUP, vk, KeyLParam(vk, true));
}

bool TypeKey(HWND hwnd, UINT vk) {
    // Asked again while waiting: on a loaded machine the first request may not take.
    if (!WaitUntil(
            [&] {
                SetForegroundWindow(hwnd);
                return GetForegroundWindow() == hwnd;
            },
            5000, 100))
        return false;
    INPUT input[2]{};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = static_cast<WORD>(vk);
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, input, sizeof(INPUT)) == 2;
}

void MouseMove(HWND hwnd, int x, int y) {
    PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void Click(HWND hwnd, int x, int y) {
    MouseMove(hwnd, x, y);
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// ---- Window facts ----------------------------------------------------------------------------

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT ClientRect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG_PTR Style(HWND hwnd) {
    return GetWindowLongPtrA(hwnd, GWL_STYLE);
}
LONG_PTR ExStyle(HWND hwnd) {
    return GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
}
HWND Owner(HWND hwnd) {
    return GetWindow(hwnd, GW_OWNER);
}
bool IsEnabled(HWND hwnd) {
    return IsWindowEnabled(hwnd) != 0;
}

std::string Text(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int n = GetWindowTextW(hwnd, &text[0], length + 1);
    return Utf8Of(text.c_str(), n > 0 ? n : 0);
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::vector<HWND> ChildWindows(HWND hwnd) {
    std::vector<HWND> children;
    EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// ---- Pixels ----------------------------------------------------------------------------------

COLORREF ReadScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

COLORREF ReadPixel(HWND hwnd, int x, int y) {
    POINT p{x, y};
    if (!ClientToScreen(hwnd, &p))
        return CLR_INVALID;
    return ReadScreenPixel(p.x, p.y);
}

// ---- Diagnostic log --------------------------------------------------------------------------

std::vector<std::string> ReadLogLines(const std::string& path) {
    std::string content = ReadTextFile(path);
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) // the UTF-8 log's mark
        content.erase(0, 3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = content.size();
        lines.push_back(content.substr(start, end - start));
        start = content.find_first_not_of("\r\n", end);
        if (start == std::string::npos)
            break;
    }
    return lines;
}

std::vector<std::string> ReadLogMessages(const std::string& path) {
    std::vector<std::string> messages;
    for (const std::string& line : ReadLogLines(path)) {
        std::size_t dash = line.find(" - ");
        messages.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
    }
    return messages;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines) {
        if (l == line)
            return true;
    }
    return false;
}

bool WaitLogMessage(const std::string& path, const std::string& message, DWORD ms) {
    return WaitUntil([&] { return Contains(ReadLogMessages(path), message); }, ms);
}

// ---- Registry --------------------------------------------------------------------------------

bool ReadRegString(HKEY root, const char* subKey, const char* name, std::string& out) {
    HKEY key;
    if (RegOpenKeyExW(root, Wide(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    std::wstring wideName = Wide(name);
    bool ok =
        RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ);
    if (ok) {
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        ok = RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(&value[0]), &size) == ERROR_SUCCESS;
        if (ok)
            out = Utf8Of(value.c_str());
    }
    RegCloseKey(key);
    return ok;
}

bool DisableDllForProgram(const std::string& exeName, const std::string& dll) {
    return OverrideDllForProgram(exeName, dll, ""); // an empty load order: never load it
}

bool OverrideDllForProgram(const std::string& exeName, const std::string& dll,
                           const std::string& loadOrder) {
    std::string path = "Software\\Wine\\AppDefaults\\" + exeName + "\\DllOverrides";
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(key, dll.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(loadOrder.c_str()),
                             static_cast<DWORD>(loadOrder.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool DeleteRegTree(HKEY root, const char* subKey) {
    LONG r = RegDeleteTreeA(root, subKey); // the key itself and everything below it
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

} // namespace bench
