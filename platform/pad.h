// Game controllers turned into keys, decided without Windows: a controller's state read as
// inputs (its buttons, and its sticks and triggers with a dead zone and hysteresis), the key
// mapping a publisher writes and its parser, the repeat of a direction held on the title
// screen, and the translator that turns the inputs of each poll into key downs and ups. The
// Windows side only polls the controllers, finds what is in front and sends the keys.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>

// One controller as the standard controller API reports it.
struct PadState {
    bool bConnected = false;
    std::uint16_t wButtons = 0; // the API's button bits, below
    std::uint8_t bLeftTrigger = 0, bRightTrigger = 0;
    std::int16_t sThumbLX = 0, sThumbLY = 0; // up is positive
    std::int16_t sThumbRX = 0, sThumbRY = 0;
};

// The API's button bits.
constexpr std::uint16_t kPadBitUp = 0x0001, kPadBitDown = 0x0002, kPadBitLeft = 0x0004,
                        kPadBitRight = 0x0008, kPadBitStart = 0x0010, kPadBitBack = 0x0020,
                        kPadBitLeftThumb = 0x0040, kPadBitRightThumb = 0x0080, kPadBitLB = 0x0100,
                        kPadBitRB = 0x0200, kPadBitA = 0x1000, kPadBitB = 0x2000, kPadBitX = 0x4000,
                        kPadBitY = 0x8000;

// What can be mapped to a key: the numbers of the bits of an inputs mask. Each group of four
// directions is in the order up, down, left, right.
enum PadInput : int {
    kPadDpadUp,
    kPadDpadDown,
    kPadDpadLeft,
    kPadDpadRight,
    kPadLStickUp,
    kPadLStickDown,
    kPadLStickLeft,
    kPadLStickRight,
    kPadRStickUp,
    kPadRStickDown,
    kPadRStickLeft,
    kPadRStickRight,
    kPadA,
    kPadB,
    kPadX,
    kPadY,
    kPadLB,
    kPadRB,
    kPadLT,
    kPadRT,
    kPadBack,
    kPadStart,
    kPadLeftThumb,
    kPadRightThumb,
    kPadInputCount
};

constexpr std::uint32_t PadBit(int input) {
    return std::uint32_t{1} << input;
}

// A stick direction is taken when the stick leans that way by kPadStickPress and let go only
// when it leans less than kPadStickRelease, each axis on its own (a diagonal holds two
// directions): a stick resting off centre, as worn sticks do, never takes one. Triggers
// likewise.
constexpr int kPadStickPress = 16000;
constexpr int kPadStickRelease = 10000;
constexpr int kPadTriggerPress = 100;
constexpr int kPadTriggerRelease = 50;

// The inputs a controller holds now, given those it held at the previous poll.
std::uint32_t PadInputsOf(const PadState& state, std::uint32_t previous);

// A direction held on the title screen steps at once, again after kPadRepeatDelayMs, then every
// kPadRepeatIntervalMs, as a held key repeats.
constexpr std::uint32_t kPadRepeatDelayMs = 400;
constexpr std::uint32_t kPadRepeatIntervalMs = 120;

struct PadRepeat {
    bool bHeld = false;
    std::uint32_t nextMs = 0;
};

// One poll at nowMs (a millisecond clock that may wrap): true when the held direction steps.
// A poll that comes late steps once, not once for every step it missed.
bool PadRepeatStep(PadRepeat& repeat, bool bHeld, std::uint32_t nowMs);

// The key each input sends in a game (0: none); off: the controller sends nothing there.
struct PadMapping {
    bool bOn = true;
    std::uint8_t keys[kPadInputCount] = {};
};

// What one configuration value (`pad`, `selpad%d`) says: the inputs it names and their keys,
// or that it turns the controller off (or on).
struct PadMappingValue {
    enum Switch { kNotSaid, kOff, kOn };
    Switch eSwitch = kNotSaid;
    std::uint32_t named = 0; // inputs whose keys this value sets
    std::uint8_t keys[kPadInputCount] = {};
};

// The default mapping: D-pad and left stick to the arrow keys, A Space, B Return, X Z, Y X,
// LB Shift, RB Control, LT C, RT V, Back P, Start Escape; the right stick and the stick
// clicks send nothing.
PadMapping DefaultPadMapping();

// Reads a value. Empty: says nothing. Without '=': N (or n, F, f first) turns the controller
// off, Y (or y, T, t) on. Otherwise comma-separated BUTTON=KEY items (names in any case): a
// button (A, B, X, Y, LB, RB, LT, RT, BACK, START, LS, RS) takes a key name or NONE; a group
// (DPAD, LSTICK, RSTICK) takes ARROWS, NONE, or four letters or digits for up, left, down,
// right (WASD). Items that are not understood are skipped: false then, with the first problem
// in error.
bool ParsePadMapping(const char* text, PadMappingValue& value, char* error, std::size_t errorSize);

// The mapping with the value laid over it: the inputs it names take its keys, the rest keep
// theirs; a switch turns the mapping off or on.
void ApplyPadMapping(PadMapping& mapping, const PadMappingValue& value);

// The name of an input as a mapping writes it (a direction by its group's name).
const char* PadInputName(int input);

// Back and Start steer the launcher rather than the play (Back + Start closes a game screen);
// every other input is used in play.
bool PadInputUsedInPlay(int input);

// What is in front: nothing of the launcher's (or a running game's window is not), a window of
// the launcher while no game runs, or the running game.
enum class PadTarget { None, Menu, Game };

struct PadKeyEvent {
    std::uint8_t vk;
    bool bDown;
};

constexpr int kPadMaxEvents = 2 * kPadInputCount + 8;

struct PadStep {
    int count = 0;
    PadKeyEvent events[kPadMaxEvents] = {};
    bool bClose = false; // Back + Start: close the game screen
};

// Turns the inputs of each poll into keys for the window in front. In a game, each input held
// holds its mapped key down (two inputs on one key hold it until both are let go). On the
// title screen and in its dialogs, the D-pad and the left stick press the arrow keys with
// repeat, A and Start press Return, B Escape. Whenever the target changes, every input then
// held is ignored until it has been let go once, and every key still down is let go.
class CPadTranslator {
  public:
    // inputs: of every controller together; mapping: the game's; bCloseCombo: Back + Start
    // closes the game in front.
    PadStep Step(std::uint32_t inputs, PadTarget target, const PadMapping& mapping,
                 bool bCloseCombo, std::uint32_t nowMs);

  private:
    PadTarget target_ = PadTarget::None;
    std::uint32_t latched_ = 0;
    std::uint32_t previous_ = 0; // inputs acted on at the last poll
    std::bitset<256> down_;
    int nav_ = -1; // the direction stepping on the title screen, 0..3 (up, down, left, right)
    PadRepeat repeat_;
};
