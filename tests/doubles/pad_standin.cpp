// A stand-in for the standard controller library (built as xinput1_4.dll and xinput1_3.dll),
// placed beside the program under test with a DLL override. Its four controllers follow a
// script over time, and it journals what the program asks of it. It expects to be asked from
// one thread, as the launcher does.
//
// The script (file named by TOVAK_PAD_SCRIPT) is read again whenever its text changes, and its
// clock starts then. A first line "# NAME" names it; then one line per change of a controller:
//   MS SLOT STATE...
// from MS milliseconds on, controller SLOT (0-3) is in that state until a later line for it:
// "off" (not connected), or the buttons held (A B X Y LB RB BACK START LS RS UP DOWN LEFT
// RIGHT) and the left stick (lx= ly=, -32768..32767); nothing after SLOT: connected, at rest.
// A slot that no line has named yet is not connected.
//
// The journal (file named by TOVAK_PAD_JOURNAL), one line each, with the tick count first:
//   T load NAME          the library was loaded under that file name
//   T script NAME        the script's new text was taken up
//   T ask SLOT off       the program asked for a controller that is not connected
//   T seen SLOT LINE     the program read the state of that script line for the first time
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
    DWORD ms = 0;
    DWORD slot = 0;
    bool bConnected = true;
    XINPUT_GAMEPAD pad = {};
    int number = 0; // in the file, from 1
    bool bSeen = false;
};

std::string g_text;
std::vector<Line> g_lines;
DWORD g_start = 0;

void Journal(const std::string& text) {
    const char* path = std::getenv("TOVAK_PAD_JOURNAL");
    if (FILE* file = path ? std::fopen(path, "a") : nullptr) {
        std::fprintf(file, "%lu %s\n", GetTickCount(), text.c_str());
        std::fclose(file);
    }
}

const struct {
    const char* name;
    WORD bit;
} kButtons[] = {{"A", XINPUT_GAMEPAD_A},
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

// Takes up the script's text when it has changed (looked at every 20 ms at most).
void LookAtScript() {
    static DWORD lastLook = 0;
    if (GetTickCount() - lastLook < 20)
        return;
    lastLook = GetTickCount();
    const char* path = std::getenv("TOVAK_PAD_SCRIPT");
    std::stringstream text;
    text << std::ifstream(path ? path : "", std::ios::binary).rdbuf();
    if (text.str() == g_text)
        return;
    g_text = text.str();
    g_lines.clear();
    g_start = GetTickCount();
    std::istringstream rows(g_text);
    std::string row, name, word;
    for (int number = 1; std::getline(rows, row); ++number) {
        std::istringstream in(row);
        Line line;
        line.number = number;
        if (row.rfind("# ", 0) == 0)
            name = row.substr(2);
        else if (!(in >> line.ms >> line.slot) || line.slot > 3)
            continue;
        while (in >> word) {
            line.bConnected = line.bConnected && word != "off";
            if (word.rfind("lx=", 0) == 0)
                line.pad.sThumbLX = static_cast<SHORT>(std::atoi(word.c_str() + 3));
            if (word.rfind("ly=", 0) == 0)
                line.pad.sThumbLY = static_cast<SHORT>(std::atoi(word.c_str() + 3));
            for (const auto& b : kButtons)
                line.pad.wButtons |= word == b.name ? b.bit : 0;
        }
        if (row.rfind("# ", 0) != 0)
            g_lines.push_back(line);
    }
    Journal("script " + name);
}

} // namespace

extern "C" DWORD WINAPI XInputGetState(DWORD slot, XINPUT_STATE* state) {
    if (!state || slot > 3)
        return ERROR_BAD_ARGUMENTS;
    LookAtScript();
    Line* current = nullptr;
    for (Line& line : g_lines) {
        if (line.slot == slot && line.ms <= GetTickCount() - g_start)
            current = &line;
    }
    if (current && !current->bSeen) {
        current->bSeen = true;
        Journal("seen " + std::to_string(slot) + " " + std::to_string(current->number));
    }
    if (!current || !current->bConnected) {
        Journal("ask " + std::to_string(slot) + " off");
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    state->dwPacketNumber = static_cast<DWORD>(current->number);
    state->Gamepad = current->pad;
    return ERROR_SUCCESS;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, sizeof path);
        const char* name = std::strrchr(path, '\\');
        Journal(std::string("load ") + (name ? name + 1 : path));
    }
    return TRUE;
}
