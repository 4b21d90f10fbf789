#include "platform/pad_win.h"

#include "base/keys.h"
#include "base/wide_win.h"

#include <xinput.h>

namespace {

// The controller libraries, newest first: the first present is used.
const char* const kPadLibraries[] = {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"};

typedef DWORD(WINAPI* XInputGetStateFn)(DWORD, XINPUT_STATE*);

constexpr int kSlots = 4;
// While neither the launcher nor its game is in front, how often the thread looks again.
constexpr DWORD kIdleLookMs = 250;

// The function that reads a controller, from the first library present; null without one.
XInputGetStateFn LoadPadLibrary() {
    for (const char* name : kPadLibraries) {
        HMODULE module = LoadLibraryW(Wide(name).c_str());
        if (!module)
            continue;
        XInputGetStateFn getState = reinterpret_cast<XInputGetStateFn>(
            reinterpret_cast<void*>(GetProcAddress(module, "XInputGetState")));
        if (getState)
            return getState;
        FreeLibrary(module);
    }
    return nullptr;
}

bool IsExtendedKey(int vk) {
    return (vk >= kKeyPageUp && vk <= kKeyDown) || vk == kKeyInsert || vk == kKeyDelete;
}

// Sends the keys as the keyboard would: to the focused window of the thread in front.
void SendKeys(const PadStep& step) {
    INPUT inputs[kPadMaxEvents] = {};
    for (int i = 0; i < step.count; ++i) {
        const PadKeyEvent& e = step.events[i];
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = e.vk;
        inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(e.vk, MAPVK_VK_TO_VSC));
        inputs[i].ki.dwFlags =
            (e.bDown ? 0 : KEYEVENTF_KEYUP) | (IsExtendedKey(e.vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    }
    if (step.count > 0)
        SendInput(static_cast<UINT>(step.count), inputs, sizeof(INPUT));
}

// Whether the window is the game screen or one of the windows it owns.
bool OwnedBy(HWND hWindow, HWND hScreen) {
    for (HWND w = hWindow; w; w = GetWindow(w, GW_OWNER)) {
        if (w == hScreen)
            return true;
    }
    return false;
}

PadTarget TargetInFront(bool bGameRunning, HWND hScreen, DWORD gameProcess) {
    HWND hFront = GetForegroundWindow();
    if (!hFront)
        return PadTarget::None;
    DWORD process = 0;
    GetWindowThreadProcessId(hFront, &process);
    if (bGameRunning) {
        bool inGame =
            (hScreen && OwnedBy(hFront, hScreen)) || (gameProcess && process == gameProcess);
        // The launcher's other windows wait while a game runs.
        return inGame ? PadTarget::Game : PadTarget::None;
    }
    return process == GetCurrentProcessId() ? PadTarget::Menu : PadTarget::None;
}

struct Slot {
    bool bConnected = false;
    DWORD nextAskMs = 0;
    std::uint32_t inputs = 0;
};

} // namespace

CPadReader::CPadReader() = default;

CPadReader::~CPadReader() {
    Stop();
}

void CPadReader::Start() {
    if (!bEnabled || hThread)
        return;
    hStop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!hStop)
        return;
    hThread.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
    if (!hThread)
        hStop.Reset();
}

void CPadReader::Stop() {
    if (!hThread)
        return;
    SetEvent(hStop.Get());
    // Bounded: a controller library that hangs must not keep the program from ending.
    WaitForSingleObject(hThread.Get(), 2000);
    hThread.Reset();
    hStop.Reset();
}

void CPadReader::BeginGame(const PadMapping& mapping, HWND hGameScreen, DWORD processId) {
    Start();
    AcquireSRWLockExclusive(&lock);
    game.bRunning = true;
    game.mapping = mapping;
    game.hScreen = hGameScreen;
    game.processId = processId;
    ReleaseSRWLockExclusive(&lock);
}

void CPadReader::EndGame() {
    AcquireSRWLockExclusive(&lock);
    game = Game{};
    ReleaseSRWLockExclusive(&lock);
}

CPadReader::Game CPadReader::CurrentGame() {
    AcquireSRWLockShared(&lock);
    Game current = game;
    ReleaseSRWLockShared(&lock);
    // A game screen whose window has gone is over, even before its menu hears of it.
    if (current.hScreen && !IsWindow(current.hScreen))
        current = Game{};
    return current;
}

DWORD WINAPI CPadReader::ThreadMain(LPVOID self) {
    static_cast<CPadReader*>(self)->Run();
    return 0;
}

void CPadReader::Run() {
    XInputGetStateFn getState = LoadPadLibrary();
    if (!getState)
        return;
    Slot slots[kSlots];
    for (Slot& slot : slots)
        slot.nextAskMs = GetTickCount();
    CPadTranslator translator;
    for (;;) {
        Game current = CurrentGame();
        PadTarget target = TargetInFront(current.bRunning, current.hScreen, current.processId);
        DWORD now = GetTickCount();
        std::uint32_t inputs = 0;
        bool anyConnected = false;
        DWORD wait = kPadReaskMs;
        for (DWORD i = 0; i < kSlots; ++i) {
            Slot& slot = slots[i];
            // Read only while the launcher or its game is in front; a missing controller only
            // now and then.
            if (target == PadTarget::None) {
                slot.inputs = 0;
            } else if (slot.bConnected || static_cast<LONG>(now - slot.nextAskMs) >= 0) {
                XINPUT_STATE raw = {};
                PadState state;
                state.bConnected = getState(i, &raw) == ERROR_SUCCESS;
                state.wButtons = raw.Gamepad.wButtons;
                state.bLeftTrigger = raw.Gamepad.bLeftTrigger;
                state.bRightTrigger = raw.Gamepad.bRightTrigger;
                state.sThumbLX = raw.Gamepad.sThumbLX;
                state.sThumbLY = raw.Gamepad.sThumbLY;
                state.sThumbRX = raw.Gamepad.sThumbRX;
                state.sThumbRY = raw.Gamepad.sThumbRY;
                slot.bConnected = state.bConnected;
                slot.inputs = PadInputsOf(state, slot.inputs);
                if (!slot.bConnected)
                    slot.nextAskMs = now + kPadReaskMs;
            }
            inputs |= slot.inputs;
            anyConnected = anyConnected || slot.bConnected;
            if (!slot.bConnected && target != PadTarget::None) {
                LONG untilAsk = static_cast<LONG>(slot.nextAskMs - now);
                if (untilAsk > 0 && static_cast<DWORD>(untilAsk) < wait)
                    wait = static_cast<DWORD>(untilAsk);
            }
        }
        PadStep step =
            translator.Step(inputs, target, current.mapping, current.hScreen != nullptr, now);
        SendKeys(step);
        if (step.bClose)
            PostMessageW(current.hScreen, WM_CLOSE, 0, 0);
        // In front with nothing connected, the thread sleeps until a slot is due to be asked
        // again; out of front, it only looks at what is in front now and then.
        if (target == PadTarget::None)
            wait = kIdleLookMs;
        else if (anyConnected)
            wait = kPadPollMs;
        if (WaitForSingleObject(hStop.Get(), wait) != WAIT_TIMEOUT)
            break;
    }
    // No key stays down after the launcher has gone. The library stays loaded: some keep
    // threads of their own running after it is freed, which then crash the program.
    SendKeys(translator.Step(0, PadTarget::None, PadMapping{}, false, GetTickCount()));
}
