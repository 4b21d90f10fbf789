#include "platform/pad.h"

#include "base/keys.h"
#include "base/text.h"

#include <cstring>

namespace {

// One axis of a stick: +1 or -1 while it leans that way, 0 in between.
int AxisDirection(int value, int held) {
    if (held > 0 && value >= kPadStickRelease)
        return 1;
    if (held < 0 && value <= -kPadStickRelease)
        return -1;
    if (value >= kPadStickPress)
        return 1;
    if (value <= -kPadStickPress)
        return -1;
    return 0;
}

// The four directions of a stick whose first input is `first` (up, down, left, right).
std::uint32_t StickInputs(int x, int y, int first, std::uint32_t previous) {
    auto held = [&](int offset) { return (previous & PadBit(first + offset)) != 0; };
    int vertical = AxisDirection(y, held(0) ? 1 : held(1) ? -1 : 0);
    int horizontal = AxisDirection(x, held(3) ? 1 : held(2) ? -1 : 0);
    std::uint32_t out = 0;
    if (vertical > 0)
        out |= PadBit(first);
    if (vertical < 0)
        out |= PadBit(first + 1);
    if (horizontal < 0)
        out |= PadBit(first + 2);
    if (horizontal > 0)
        out |= PadBit(first + 3);
    return out;
}

bool TriggerHeld(int value, bool held) {
    return value >= (held ? kPadTriggerRelease : kPadTriggerPress);
}

struct ButtonBit {
    std::uint16_t bit;
    int input;
};
const ButtonBit kButtonBits[] = {{kPadBitUp, kPadDpadUp},
                                 {kPadBitDown, kPadDpadDown},
                                 {kPadBitLeft, kPadDpadLeft},
                                 {kPadBitRight, kPadDpadRight},
                                 {kPadBitA, kPadA},
                                 {kPadBitB, kPadB},
                                 {kPadBitX, kPadX},
                                 {kPadBitY, kPadY},
                                 {kPadBitLB, kPadLB},
                                 {kPadBitRB, kPadRB},
                                 {kPadBitBack, kPadBack},
                                 {kPadBitStart, kPadStart},
                                 {kPadBitLeftThumb, kPadLeftThumb},
                                 {kPadBitRightThumb, kPadRightThumb}};

// The names a mapping gives the buttons; a group names its four directions at once.
struct InputName {
    const char* name;
    int input;
    bool bGroup;
};
const InputName kInputNames[] = {{"A", kPadA, false},           {"B", kPadB, false},
                                 {"X", kPadX, false},           {"Y", kPadY, false},
                                 {"LB", kPadLB, false},         {"RB", kPadRB, false},
                                 {"LT", kPadLT, false},         {"RT", kPadRT, false},
                                 {"BACK", kPadBack, false},     {"START", kPadStart, false},
                                 {"LS", kPadLeftThumb, false},  {"RS", kPadRightThumb, false},
                                 {"DPAD", kPadDpadUp, true},    {"LSTICK", kPadLStickUp, true},
                                 {"RSTICK", kPadRStickUp, true}};

struct KeyName {
    const char* name;
    int vk;
};
const KeyName kKeyNames[] = {{"NONE", 0},
                             {"SPACE", kKeySpace},
                             {"RETURN", kKeyReturn},
                             {"ENTER", kKeyReturn},
                             {"ESCAPE", kKeyEscape},
                             {"ESC", kKeyEscape},
                             {"TAB", kKeyTab},
                             {"BACKSPACE", kKeyBackspace},
                             {"SHIFT", kKeyShift},
                             {"CONTROL", kKeyControl},
                             {"CTRL", kKeyControl},
                             {"ALT", kKeyAlt},
                             {"UP", kKeyUp},
                             {"DOWN", kKeyDown},
                             {"LEFT", kKeyLeft},
                             {"RIGHT", kKeyRight},
                             {"PAGEUP", kKeyPageUp},
                             {"PAGEDOWN", kKeyPageDown},
                             {"HOME", kKeyHome},
                             {"END", kKeyEnd},
                             {"INSERT", kKeyInsert},
                             {"DELETE", kKeyDelete}};

bool IsKeyCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

int KeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// The virtual key a key name means, 0 for NONE, -1 for no key name.
int KeyFromName(const char* name) {
    for (const KeyName& k : kKeyNames) {
        if (EqualsNoCase(name, k.name))
            return k.vk;
    }
    if (IsKeyCharacter(name[0]) && name[1] == '\0')
        return KeyCharacter(name[0]);
    if (FoldAscii(name[0]) == 'f' && name[1] >= '1' && name[1] <= '9') {
        int n = name[1] - '0';
        if (name[2] >= '0' && name[2] <= '9' && name[3] == '\0')
            n = n * 10 + (name[2] - '0');
        else if (name[2] != '\0')
            return -1;
        if (n <= 12)
            return kKeyF1 + n - 1;
    }
    return -1;
}

const InputName* InputFromName(const char* name) {
    for (const InputName& i : kInputNames) {
        if (EqualsNoCase(name, i.name))
            return &i;
    }
    return nullptr;
}

// Copies text[begin, end) without the blanks around it; false when it does not fit.
bool CopyTrimmed(char* dst, std::size_t size, const char* begin, const char* end) {
    TrimBlanks(begin, end, IsSpaceOrTab);
    std::size_t length = static_cast<std::size_t>(end - begin);
    if (length >= size) {
        dst[0] = '\0';
        return false;
    }
    std::memcpy(dst, begin, length);
    dst[length] = '\0';
    return true;
}

// Sets the keys of a group's four directions from its value; false when it is none of
// ARROWS, NONE or four letters or digits (up, left, down, right).
bool SetGroup(PadMappingValue& value, int first, const char* text) {
    int keys[4]; // up, down, left, right
    if (EqualsNoCase(text, "ARROWS")) {
        keys[0] = kKeyUp;
        keys[1] = kKeyDown;
        keys[2] = kKeyLeft;
        keys[3] = kKeyRight;
    } else if (EqualsNoCase(text, "NONE")) {
        keys[0] = keys[1] = keys[2] = keys[3] = 0;
    } else if (std::strlen(text) == 4 && IsKeyCharacter(text[0]) && IsKeyCharacter(text[1]) &&
               IsKeyCharacter(text[2]) && IsKeyCharacter(text[3])) {
        keys[0] = KeyCharacter(text[0]);
        keys[2] = KeyCharacter(text[1]);
        keys[1] = KeyCharacter(text[2]);
        keys[3] = KeyCharacter(text[3]);
    } else {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        value.named |= PadBit(first + i);
        value.keys[first + i] = static_cast<std::uint8_t>(keys[i]);
    }
    return true;
}

// Reads one BUTTON=KEY item; false with the problem in error.
bool ParseItem(const char* item, PadMappingValue& value, char* error, std::size_t errorSize) {
    const char* equals = std::strchr(item, '=');
    char name[TEXT_MAX], key[TEXT_MAX];
    if (!equals) {
        FormatText(error, errorSize, "\"%s\" is not BUTTON=KEY", item);
        return false;
    }
    CopyTrimmed(name, sizeof name, item, equals);
    CopyTrimmed(key, sizeof key, equals + 1, equals + std::strlen(equals));
    const InputName* input = InputFromName(name);
    if (!input) {
        FormatText(error, errorSize,
                   "unknown button \"%s\"; the buttons are A, B, X, Y, LB, RB, LT, RT, BACK, "
                   "START, LS, RS, DPAD, LSTICK, RSTICK",
                   name);
        return false;
    }
    if (input->bGroup) {
        if (SetGroup(value, input->input, key))
            return true;
        FormatText(error, errorSize,
                   "unknown key \"%s\" for %s: it takes ARROWS, NONE or four letters or digits "
                   "for up, left, down, right (WASD)",
                   key, input->name);
        return false;
    }
    int vk = KeyFromName(key);
    if (vk < 0) {
        FormatText(error, errorSize,
                   "unknown key \"%s\" for %s: a key is a letter, a digit, F1 to F12, SPACE, "
                   "RETURN, ESCAPE, TAB, BACKSPACE, SHIFT, CONTROL, ALT, UP, DOWN, LEFT, RIGHT, "
                   "PAGEUP, PAGEDOWN, HOME, END, INSERT, DELETE or NONE",
                   key, input->name);
        return false;
    }
    value.named |= PadBit(input->input);
    value.keys[input->input] = static_cast<std::uint8_t>(vk);
    return true;
}

// The arrow key of a direction 0..3 (up, down, left, right).
const int kArrowKeys[4] = {kKeyUp, kKeyDown, kKeyLeft, kKeyRight};

} // namespace

std::uint32_t PadInputsOf(const PadState& state, std::uint32_t previous) {
    if (!state.bConnected)
        return 0;
    std::uint32_t inputs = 0;
    for (const ButtonBit& b : kButtonBits) {
        if (state.wButtons & b.bit)
            inputs |= PadBit(b.input);
    }
    inputs |= StickInputs(state.sThumbLX, state.sThumbLY, kPadLStickUp, previous);
    inputs |= StickInputs(state.sThumbRX, state.sThumbRY, kPadRStickUp, previous);
    if (TriggerHeld(state.bLeftTrigger, (previous & PadBit(kPadLT)) != 0))
        inputs |= PadBit(kPadLT);
    if (TriggerHeld(state.bRightTrigger, (previous & PadBit(kPadRT)) != 0))
        inputs |= PadBit(kPadRT);
    return inputs;
}

bool PadRepeatStep(PadRepeat& repeat, bool bHeld, std::uint32_t nowMs) {
    if (!bHeld) {
        repeat.bHeld = false;
        return false;
    }
    if (!repeat.bHeld) {
        repeat.bHeld = true;
        repeat.nextMs = nowMs + kPadRepeatDelayMs;
        return true;
    }
    std::int32_t late = static_cast<std::int32_t>(nowMs - repeat.nextMs);
    if (late < 0)
        return false;
    // Keeps the rhythm of the steps; after a long stall it starts afresh from now.
    repeat.nextMs = late < static_cast<std::int32_t>(kPadRepeatIntervalMs)
                        ? repeat.nextMs + kPadRepeatIntervalMs
                        : nowMs + kPadRepeatIntervalMs;
    return true;
}

PadMapping DefaultPadMapping() {
    PadMapping m;
    for (int i = 0; i < 4; ++i) {
        m.keys[kPadDpadUp + i] = static_cast<std::uint8_t>(kArrowKeys[i]);
        m.keys[kPadLStickUp + i] = static_cast<std::uint8_t>(kArrowKeys[i]);
    }
    m.keys[kPadA] = kKeySpace;
    m.keys[kPadB] = kKeyReturn;
    m.keys[kPadX] = 'Z';
    m.keys[kPadY] = 'X';
    m.keys[kPadLB] = kKeyShift;
    m.keys[kPadRB] = kKeyControl;
    m.keys[kPadLT] = 'C';
    m.keys[kPadRT] = 'V';
    m.keys[kPadBack] = 'P';
    m.keys[kPadStart] = kKeyEscape;
    return m;
}

bool ParsePadMapping(const char* text, PadMappingValue& value, char* error, std::size_t errorSize) {
    value = PadMappingValue{};
    if (errorSize > 0)
        error[0] = '\0';
    char whole[TEXT_MAX];
    if (!CopyTrimmed(whole, sizeof whole, text, text + std::strlen(text))) {
        FormatText(error, errorSize, "the mapping is longer than %d characters",
                   static_cast<int>(TEXT_MAX - 1));
        return false;
    }
    if (whole[0] == '\0')
        return true;
    if (!std::strchr(whole, '=')) {
        char c = FoldAscii(whole[0]);
        if (c == 'n' || c == 'f') {
            value.eSwitch = PadMappingValue::kOff;
            return true;
        }
        if (IsYes(whole)) {
            value.eSwitch = PadMappingValue::kOn;
            return true;
        }
        FormatText(error, errorSize,
                   "\"%s\" is neither N, Y nor a mapping such as A=SPACE,B=Z,LSTICK=WASD", whole);
        return false;
    }
    bool ok = true;
    for (const char* p = whole; *p;) {
        const char* end = std::strchr(p, ',');
        if (!end)
            end = p + std::strlen(p);
        char item[TEXT_MAX];
        CopyTrimmed(item, sizeof item, p, end);
        if (item[0] != '\0' && !ParseItem(item, value, ok ? error : nullptr, ok ? errorSize : 0))
            ok = false;
        p = *end ? end + 1 : end;
    }
    return ok;
}

void ApplyPadMapping(PadMapping& mapping, const PadMappingValue& value) {
    if (value.eSwitch == PadMappingValue::kOff)
        mapping.bOn = false;
    else if (value.eSwitch == PadMappingValue::kOn)
        mapping.bOn = true;
    for (int i = 0; i < kPadInputCount; ++i) {
        if (value.named & PadBit(i))
            mapping.keys[i] = value.keys[i];
    }
}

const char* PadInputName(int input) {
    const char* group = input < kPadLStickUp   ? "DPAD"
                        : input < kPadRStickUp ? "LSTICK"
                        : input < kPadA        ? "RSTICK"
                                               : nullptr;
    if (group)
        return group;
    for (const InputName& i : kInputNames) {
        if (i.input == input)
            return i.name;
    }
    return "";
}

bool PadInputUsedInPlay(int input) {
    return input != kPadBack && input != kPadStart;
}

PadStep CPadTranslator::Step(std::uint32_t inputs, PadTarget target, const PadMapping& mapping,
                             bool bCloseCombo, std::uint32_t nowMs) {
    PadStep step;
    if (target == PadTarget::Game && !mapping.bOn)
        target = PadTarget::None;
    if (target != target_) {
        // Whatever is held now was pressed for the window that went: it acts only after it
        // has been let go.
        target_ = target;
        latched_ = inputs;
        nav_ = -1;
        repeat_ = PadRepeat{};
    }
    latched_ &= inputs;
    std::uint32_t active = inputs & ~latched_;
    const std::uint32_t closeCombo = PadBit(kPadBack) | PadBit(kPadStart);
    if (target == PadTarget::Game && bCloseCombo && (active & closeCombo) == closeCombo) {
        step.bClose = true;
        latched_ = inputs;
        active = 0;
    }

    std::bitset<256> wanted;
    if (target == PadTarget::Game) {
        for (int i = 0; i < kPadInputCount; ++i) {
            if ((active & PadBit(i)) && mapping.keys[i])
                wanted.set(mapping.keys[i]);
        }
    }
    auto add = [&step](int vk, bool bDown) {
        if (step.count < kPadMaxEvents)
            step.events[step.count++] = PadKeyEvent{static_cast<std::uint8_t>(vk), bDown};
    };
    for (int vk = 0; vk < 256; ++vk) {
        if (down_[vk] && !wanted[vk])
            add(vk, false);
    }
    for (int vk = 0; vk < 256; ++vk) {
        if (wanted[vk] && !down_[vk])
            add(vk, true);
    }
    down_ = wanted;

    if (target == PadTarget::Menu) {
        auto tap = [&add](int vk) {
            add(vk, true);
            add(vk, false);
        };
        std::uint32_t pressed = active & ~previous_;
        if (pressed & (PadBit(kPadA) | PadBit(kPadStart)))
            tap(kKeyReturn);
        if (pressed & PadBit(kPadB))
            tap(kKeyEscape);
        // The D-pad and the left stick both steer; of two directions held, the one already
        // stepping keeps on.
        std::uint32_t directions = (active >> kPadDpadUp | active >> kPadLStickUp) & 0xF;
        if (nav_ < 0 || !(directions & (1u << nav_))) {
            int next = -1;
            for (int d = 0; d < 4 && next < 0; ++d) {
                if (directions & (1u << d))
                    next = d;
            }
            nav_ = next;
            repeat_ = PadRepeat{};
        }
        if (PadRepeatStep(repeat_, nav_ >= 0, nowMs))
            tap(kArrowKeys[nav_]);
    }
    previous_ = active;
    return step;
}
