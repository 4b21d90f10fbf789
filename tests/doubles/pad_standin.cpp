// A stand-in for the standard controller library (built as xinput1_4.dll and xinput1_3.dll),
// placed beside the program under test with a DLL override. Its four controllers follow a
// script over time, and it journals what the program asks of it.
//
// The script (file named by TOVAK_PAD_SCRIPT) is read again whenever its text changes, and its
// clock starts then. One line per change of a controller:
//   MS SLOT STATE...
// from MS milliseconds on, controller SLOT (0-3) is in that state until a later line for it:
// "off" (not connected), or the buttons held (A B X Y LB RB BACK START LS RS UP DOWN LEFT
// RIGHT) and axes (lx= ly= rx= ry= -32768..32767, lt= rt= 0..255); nothing after SLOT: connected,
// at rest. A slot no line has named yet is not connected. A first line "# NAME" names the
// script in the journal.
//
// The journal (file named by TOVAK_PAD_JOURNAL), one line each, with the tick count first:
//   T load NAME          the library was loaded under that file name
//   T script NAME        the script's new text was taken up
//   T ask SLOT off       the program asked for a controller that is not connected
//   T seen SLOT LINE     the program read a slot's state of that script line for the first time
#include <windows.h>
#include <xinput.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Line {
    DWORD ms;
    DWORD slot;
    bool bConnected;
    XINPUT_GAMEPAD pad;
    int number; // in the file, from 1
    bool bSeen;
};

CRITICAL_SECTION g_lock;
std::string g_scriptText;
std::vector<Line> g_lines;
DWORD g_start = 0;
DWORD g_lastLook = 0;
DWORD g_packet = 0;

void Journal(const std::string& text) {
    const char* path = std::getenv("TOVAK_PAD_JOURNAL");
    if (!path)
        return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%lu %s\n", GetTickCount(), text.c_str());
        std::fclose(file);
    }
}

struct ButtonName {
    const char* name;
    WORD bit;
};
const ButtonName kButtons[] = {{"A", XINPUT_GAMEPAD_A},
                               {"B", XINPUT_GAMEPAD_B},
                               {"X", XINPUT_GAMEPAD_X},
                               {"Y", XINPUT_GAMEPAD_Y},
                               {"LB", XINPUT_GAMEPAD_LEFT_SHOULDER},
                               {"RB", XINPUT_GAMEPAD_RIGHT_SHOULDER},
                               {"BACK", XINPUT_GAMEPAD_BACK},
                               {"START", XINPUT_GAMEPAD_START},
                               {"LS", XINPUT_GAMEPAD_LEFT_THUMB},
                               {"RS", XINPUT_GAMEPAD_RIGHT_THUMB},
                               {"UP", XINPUT_GAMEPAD_DPAD_UP},
                               {"DOWN", XINPUT_GAMEPAD_DPAD_DOWN},
                               {"LEFT", XINPUT_GAMEPAD_DPAD_LEFT},
                               {"RIGHT", XINPUT_GAMEPAD_DPAD_RIGHT}};

bool ParseLine(const std::string& text, Line& line) {
    std::istringstream in(text);
    std::string word;
    if (!(in >> line.ms >> line.slot) || line.slot > 3)
        return false;
    line.bConnected = true;
    line.pad = XINPUT_GAMEPAD{};
    while (in >> word) {
        if (word == "off") {
            line.bConnected = false;
            continue;
        }
        std::size_t eq = word.find('=');
        if (eq != std::string::npos) {
            std::string axis = word.substr(0, eq);
            long value = std::strtol(word.c_str() + eq + 1, nullptr, 10);
            if (axis == "lx")
                line.pad.sThumbLX = static_cast<SHORT>(value);
            else if (axis == "ly")
                line.pad.sThumbLY = static_cast<SHORT>(value);
            else if (axis == "rx")
                line.pad.sThumbRX = static_cast<SHORT>(value);
            else if (axis == "ry")
                line.pad.sThumbRY = static_cast<SHORT>(value);
            else if (axis == "lt")
                line.pad.bLeftTrigger = static_cast<BYTE>(value);
            else if (axis == "rt")
                line.pad.bRightTrigger = static_cast<BYTE>(value);
            continue;
        }
        for (const ButtonName& b : kButtons) {
            if (word == b.name)
                line.pad.wButtons |= b.bit;
        }
    }
    return true;
}

// Takes up the script's text when it has changed (looked at every 20 ms at most).
void LookAtScript() {
    DWORD now = GetTickCount();
    if (!g_scriptText.empty() && now - g_lastLook < 20)
        return;
    g_lastLook = now;
    const char* path = std::getenv("TOVAK_PAD_SCRIPT");
    if (!path)
        return;
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (text.str() == g_scriptText)
        return;
    g_scriptText = text.str();
    g_lines.clear();
    g_start = now;
    std::istringstream lines(g_scriptText);
    std::string row, name;
    for (int number = 1; std::getline(lines, row); ++number) {
        if (!row.empty() && row.back() == '\r')
            row.pop_back();
        if (number == 1 && row.rfind("# ", 0) == 0)
            name = row.substr(2);
        Line line{};
        line.number = number;
        if (!row.empty() && row[0] != '#' && ParseLine(row, line))
            g_lines.push_back(line);
    }
    Journal("script " + name);
}

} // namespace

extern "C" DWORD WINAPI XInputGetState(DWORD slot, XINPUT_STATE* state) {
    if (!state || slot > 3)
        return ERROR_BAD_ARGUMENTS;
    EnterCriticalSection(&g_lock);
    LookAtScript();
    DWORD elapsed = GetTickCount() - g_start;
    Line* current = nullptr;
    for (Line& line : g_lines) {
        if (line.slot == slot && line.ms <= elapsed)
            current = &line;
    }
    DWORD result = ERROR_DEVICE_NOT_CONNECTED;
    if (current && current->bConnected) {
        if (!current->bSeen)
            ++g_packet;
        state->dwPacketNumber = g_packet;
        state->Gamepad = current->pad;
        result = ERROR_SUCCESS;
    } else {
        Journal("ask " + std::to_string(slot) + " off");
    }
    if (current && !current->bSeen) {
        current->bSeen = true;
        Journal("seen " + std::to_string(slot) + " " + std::to_string(current->number));
    }
    LeaveCriticalSection(&g_lock);
    return result;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&g_lock);
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, sizeof path);
        const char* name = std::strrchr(path, '\\');
        Journal(std::string("load ") + (name ? name + 1 : path));
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_lock);
    }
    return TRUE;
}
