// Game controllers turned into keys: the mapping parser, the sticks' dead zone with hysteresis,
// the repeat of a held direction, and the translator's key downs and ups.
#include "platform/pad.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a value says, written out: "off" or "on", then each input it names with its key code.
std::string Said(const PadMappingValue& value) {
    static const char* const names[kPadInputCount] = {
        "DU", "DD", "DL", "DR", "LU", "LD", "LL", "LR", "RU",   "RD",    "RL", "RR",
        "A",  "B",  "X",  "Y",  "LB", "RB", "LT", "RT", "BACK", "START", "LS", "RS"};
    std::string out = value.eSwitch == PadMappingValue::kOff  ? "off"
                      : value.eSwitch == PadMappingValue::kOn ? "on"
                                                              : "";
    for (int i = 0; i < kPadInputCount; ++i) {
        if (value.named & PadBit(i))
            out += (out.empty() ? "" : " ") + std::string(names[i]) + "=" +
                   std::to_string(value.keys[i]);
    }
    return out;
}

TEST(PadMapping, ParsesButtonsGroupsAndSwitchesAndSkipsWhatItDoesNotKnow) {
    struct Case {
        const char* text;
        const char* said;
        const char* error; // a part of the first problem; empty when there is none
    };
    const Case cases[] = {
        {"A=SPACE,B=Z,X=X,START=ESCAPE,LSTICK=WASD,DPAD=ARROWS",
         "DU=38 DD=40 DL=37 DR=39 LU=87 LD=83 LL=65 LR=68 A=32 B=90 X=88 START=27", ""},
        {" lt = f12 , rs=none,, rb=Ctrl ,Back=7 ", "RB=17 LT=123 BACK=55 RS=0", ""},
        {"RSTICK=none", "RU=0 RD=0 RL=0 RR=0", ""},
        {"", "", ""},
        {"  N ", "off", ""},
        {"no", "off", ""},
        {"Y", "on", ""},
        // Problems: the items understood still count.
        {"A=SPCE,B=Z", "B=90", "unknown key \"SPCE\" for A"},
        {"B=Z,Q=SPACE", "B=90", "unknown button \"Q\""},
        {"X=F13", "", "unknown key \"F13\" for X"},
        {"Y=AB", "", "unknown key \"AB\" for Y"},
        {"LSTICK=WAS", "", "unknown key \"WAS\" for LSTICK"},
        {"A,B=Z", "B=90", "\"A\" is not BUTTON=KEY"},
        {"ARROWS", "", "neither N, Y nor a mapping"},
    };
    for (const Case& c : cases) {
        PadMappingValue value;
        char error[400];
        EXPECT_EQ(ParsePadMapping(c.text, value, error, sizeof error), c.error[0] == '\0')
            << c.text;
        EXPECT_EQ(Said(value), c.said) << c.text;
        EXPECT_NE(std::string(error).find(c.error), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(c.error[0] == '\0', error[0] == '\0') << c.text;
    }
}

TEST(PadSticks, ADeadZoneWithHysteresisPerAxis) {
    struct Poll {
        int x, y;
        std::uint32_t held; // left-stick directions after the poll
    };
    const std::uint32_t up = PadBit(kPadLStickUp), down = PadBit(kPadLStickDown),
                        left = PadBit(kPadLStickLeft), right = PadBit(kPadLStickRight);
    // One stick moved through a sequence: each poll sees what the one before held.
    const Poll polls[] = {
        {0, 0, 0},
        {7800, -8600, 0}, // resting off centre, as a worn stick does
        {0, 15999, 0},
        {0, 16000, up},
        {0, 10000, up}, // falling back: still held down to the release point
        {0, 9999, 0},
        {0, 15000, 0},                 // between the two points, coming from the centre: not taken
        {-32768, -32768, down | left}, // a diagonal holds two
        {-12000, -3000, left},
        {32767, 32767, up | right}, // straight across: the opposite direction
        {20000, -9000, right},
    };
    std::uint32_t previous = 0;
    for (const Poll& p : polls) {
        PadState state;
        state.bConnected = true;
        state.sThumbLX = static_cast<std::int16_t>(p.x);
        state.sThumbLY = static_cast<std::int16_t>(p.y);
        previous = PadInputsOf(state, previous);
        EXPECT_EQ(previous, p.held) << p.x << "," << p.y;
    }

    // Triggers and buttons, and nothing from a controller that is not there.
    PadState state;
    state.bConnected = true;
    state.wButtons = kPadBitA | kPadBitStart | kPadBitLeft;
    state.bLeftTrigger = 99;
    state.bRightTrigger = 100;
    std::uint32_t inputs = PadInputsOf(state, PadBit(kPadLT));
    EXPECT_EQ(inputs, PadBit(kPadA) | PadBit(kPadStart) | PadBit(kPadDpadLeft) | PadBit(kPadLT) |
                          PadBit(kPadRT));
    state.bLeftTrigger = 49;
    EXPECT_EQ(PadInputsOf(state, inputs) & PadBit(kPadLT), 0u);
    state.bConnected = false;
    EXPECT_EQ(PadInputsOf(state, inputs), 0u);
}

TEST(PadRepeat, StepsAtOnceThenAfterTheDelayThenInRhythm) {
    struct Poll {
        std::uint32_t ms;
        bool held;
        bool steps;
    };
    const Poll polls[] = {
        {1000, true, true},   {1016, true, false}, {1399, true, false}, {1400, true, true},
        {1519, true, false},  {1520, true, true},  {1700, true, true}, // late: once only
        {1760, true, true}, // and the rhythm goes on from where it was
        {5000, true, true},   {5119, true, false}, {5120, true, true}, // a stall starts afresh
        {5130, false, false}, {5140, true, true},  {5539, true, false},
    };
    for (std::uint32_t origin : {0u, 0xFFFFFC00u}) { // also across the clock's wrap
        PadRepeat repeat;
        for (const Poll& p : polls)
            EXPECT_EQ(PadRepeatStep(repeat, p.held, origin + p.ms), p.steps) << p.ms;
    }
}

// The key events of a step, as "VKv" (down) and "VK^" (up), and " close" for Back + Start.
// The codes: 13 Return, 27 Escape, 32 Space, 38 Up, 39 Right, 40 Down, 80 P.
std::string Events(const PadStep& step) {
    std::string out;
    for (int i = 0; i < step.count; ++i) {
        const PadKeyEvent& e = step.events[i];
        out += (out.empty() ? "" : " ") + std::to_string(e.vk) + (e.bDown ? "v" : "^");
    }
    return out + (step.bClose ? " close" : "");
}

TEST(PadTranslator, GameKeysFollowInputsAndNothingLeaksAcrossATargetChange) {
    const std::uint32_t a = PadBit(kPadA), b = PadBit(kPadB), dUp = PadBit(kPadDpadUp),
                        sUp = PadBit(kPadLStickUp), sRight = PadBit(kPadLStickRight),
                        back = PadBit(kPadBack), start = PadBit(kPadStart);
    using T = PadTarget;
    const struct {
        std::uint32_t inputs;
        PadTarget target;
        const char* events;
    } polls[] = {
        // A pressed on the title screen launches the game: held into the game, it sends nothing
        // until it has been let go.
        {0, T::Menu, ""},
        {a, T::Menu, "13v 13^"},
        {a, T::Game, ""},
        {0, T::Game, ""},
        {a, T::Game, "32v"},
        {a | b, T::Game, "13v"},
        {b, T::Game, "32^"},
        // The D-pad and the stick share the arrow keys: Up stays down until both let go.
        {dUp, T::Game, "13^ 38v"},
        {dUp | sUp | sRight, T::Game, "39v"},
        {sUp, T::Game, "39^"},
        {0, T::Game, "38^"}, // a controller unplugged lets everything go
        // The game loses the front with a key down: the key goes up, and comes back only after
        // a new press.
        {a, T::Game, "32v"},
        {a, T::None, "32^"},
        {a, T::Game, ""},
        // Back + Start closes the game screen once, letting go of the keys.
        {0, T::Game, ""},
        {b | back, T::Game, "13v 80v"},
        {b | back | start, T::Game, "13^ 80^ close"},
        {b | back | start, T::Game, ""},
        // Start still held on the title screen does not relaunch.
        {start, T::Menu, ""},
        {0, T::Menu, ""},
        {start, T::Menu, "13v 13^"},
    };
    CPadTranslator translator;
    std::uint32_t ms = 0;
    for (const auto& p : polls) {
        EXPECT_EQ(Events(translator.Step(p.inputs, p.target, DefaultPadMapping(), true, ms)),
                  p.events)
            << "poll at " << ms;
        ms += 16;
    }

    // A game whose mapping is off gets nothing, and Back + Start does not close it.
    CPadTranslator off;
    PadMapping none = DefaultPadMapping();
    none.bOn = false;
    off.Step(0, T::Game, none, true, 0);
    EXPECT_EQ(Events(off.Step(a | back | start, T::Game, none, true, 16)), "");
}

TEST(PadTranslator, TitleScreenArrowsRepeatAndTheButtonsPressReturnAndEscape) {
    CPadTranslator translator;
    auto step = [&](std::uint32_t inputs, std::uint32_t ms) {
        return Events(translator.Step(inputs, PadTarget::Menu, DefaultPadMapping(), false, ms));
    };
    const std::uint32_t right = PadBit(kPadDpadRight), sDown = PadBit(kPadLStickDown);
    EXPECT_EQ(step(0, 0), "");
    EXPECT_EQ(step(right, 100), "39v 39^");
    EXPECT_EQ(step(right, 499), "");
    EXPECT_EQ(step(right, 500), "39v 39^");
    // A second direction joins: the first keeps stepping in its rhythm.
    EXPECT_EQ(step(right | sDown, 610), "");
    EXPECT_EQ(step(right | sDown, 620), "39v 39^");
    // The first is let go: the other steps at once, and repeats after the delay.
    EXPECT_EQ(step(sDown, 700), "40v 40^");
    EXPECT_EQ(step(sDown, 1099), "");
    EXPECT_EQ(step(sDown, 1100), "40v 40^");
    EXPECT_EQ(step(PadBit(kPadB), 1200), "27v 27^");
    EXPECT_EQ(step(PadBit(kPadB), 1700), ""); // buttons do not repeat
    EXPECT_EQ(step(PadBit(kPadX) | PadBit(kPadY) | PadBit(kPadLB), 1800), "");
}

} // namespace
