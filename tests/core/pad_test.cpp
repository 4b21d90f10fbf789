// Game controllers turned into keys: the mapping parser, the sticks' dead zone with hysteresis,
// the repeat of a held direction, and the translator's key downs and ups.
#include "base/keys.h"
#include "platform/pad.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Named {
    int input;
    int vk;
};

TEST(PadMapping, ParsesButtonsGroupsAndSwitchesAndSkipsWhatItDoesNotKnow) {
    struct Case {
        const char* text;
        bool ok;
        PadMappingValue::Switch eSwitch;
        std::vector<Named> named; // exactly these inputs are named
        const char* error;        // a part of the first problem
    };
    const Case cases[] = {
        {"A=SPACE,B=Z,X=X,START=ESCAPE,LSTICK=WASD,DPAD=ARROWS",
         true,
         PadMappingValue::kNotSaid,
         {{kPadA, kKeySpace},
          {kPadB, 'Z'},
          {kPadX, 'X'},
          {kPadStart, kKeyEscape},
          {kPadLStickUp, 'W'},
          {kPadLStickLeft, 'A'},
          {kPadLStickDown, 'S'},
          {kPadLStickRight, 'D'},
          {kPadDpadUp, kKeyUp},
          {kPadDpadDown, kKeyDown},
          {kPadDpadLeft, kKeyLeft},
          {kPadDpadRight, kKeyRight}},
         ""},
        {" lt = f12 , rs=none,, rb=Ctrl ,Back=7 ",
         true,
         PadMappingValue::kNotSaid,
         {{kPadLT, kKeyF1 + 11}, {kPadRightThumb, 0}, {kPadRB, kKeyControl}, {kPadBack, '7'}},
         ""},
        {"RSTICK=none",
         true,
         PadMappingValue::kNotSaid,
         {{kPadRStickUp, 0}, {kPadRStickDown, 0}, {kPadRStickLeft, 0}, {kPadRStickRight, 0}},
         ""},
        {"", true, PadMappingValue::kNotSaid, {}, ""},
        {"  N ", true, PadMappingValue::kOff, {}, ""},
        {"no", true, PadMappingValue::kOff, {}, ""},
        {"Y", true, PadMappingValue::kOn, {}, ""},
        // Problems: the items understood still count.
        {"A=SPCE,B=Z",
         false,
         PadMappingValue::kNotSaid,
         {{kPadB, 'Z'}},
         "unknown key \"SPCE\" for A"},
        {"B=Z,Q=SPACE", false, PadMappingValue::kNotSaid, {{kPadB, 'Z'}}, "unknown button \"Q\""},
        {"X=F13", false, PadMappingValue::kNotSaid, {}, "unknown key \"F13\" for X"},
        {"Y=AB", false, PadMappingValue::kNotSaid, {}, "unknown key \"AB\" for Y"},
        {"LSTICK=WAS", false, PadMappingValue::kNotSaid, {}, "unknown key \"WAS\" for LSTICK"},
        {"A,B=Z", false, PadMappingValue::kNotSaid, {{kPadB, 'Z'}}, "\"A\" is not BUTTON=KEY"},
        {"ARROWS", false, PadMappingValue::kNotSaid, {}, "neither N, Y nor a mapping"},
    };
    for (const Case& c : cases) {
        PadMappingValue value;
        char error[400];
        EXPECT_EQ(ParsePadMapping(c.text, value, error, sizeof error), c.ok) << c.text;
        EXPECT_EQ(value.eSwitch, c.eSwitch) << c.text;
        std::uint32_t named = 0;
        for (const Named& n : c.named) {
            named |= PadBit(n.input);
            EXPECT_EQ(value.keys[n.input], n.vk) << c.text << " input " << n.input;
        }
        EXPECT_EQ(value.named, named) << c.text;
        EXPECT_NE(std::string(error).find(c.error), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(c.ok, error[0] == '\0') << c.text;
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

std::string Events(const PadStep& step) {
    std::string out;
    for (int i = 0; i < step.count; ++i) {
        const PadKeyEvent& e = step.events[i];
        out += (out.empty() ? "" : " ") + std::to_string(e.vk) + (e.bDown ? "v" : "^");
    }
    return out + (step.bClose ? " close" : "");
}

std::string Key(int vk, bool down) {
    return std::to_string(vk) + (down ? "v" : "^");
}

TEST(PadTranslator, GameKeysFollowInputsAndNothingLeaksAcrossATargetChange) {
    const PadMapping map = DefaultPadMapping();
    const std::uint32_t a = PadBit(kPadA), b = PadBit(kPadB), dUp = PadBit(kPadDpadUp),
                        sUp = PadBit(kPadLStickUp), sRight = PadBit(kPadLStickRight),
                        back = PadBit(kPadBack), start = PadBit(kPadStart);
    struct Poll {
        std::uint32_t inputs;
        PadTarget target;
        std::string events;
    };
    using T = PadTarget;
    const Poll polls[] = {
        // A pressed on the title screen launches the game: held into the game, it sends nothing
        // until it has been let go.
        {0, T::Menu, ""},
        {a, T::Menu, Key(kKeyReturn, true) + " " + Key(kKeyReturn, false)},
        {a, T::Game, ""},
        {0, T::Game, ""},
        {a, T::Game, Key(kKeySpace, true)},
        {a | b, T::Game, Key(kKeyReturn, true)},
        {b, T::Game, Key(kKeySpace, false)},
        // The D-pad and the stick share the arrow keys: Up stays down until both let go.
        {dUp, T::Game, Key(kKeyReturn, false) + " " + Key(kKeyUp, true)},
        {dUp | sUp | sRight, T::Game, Key(kKeyRight, true)},
        {sUp, T::Game, Key(kKeyRight, false)},
        {0, T::Game, Key(kKeyUp, false)}, // a controller unplugged lets everything go
        // The game loses the foreground with a key down: the key goes up, and comes back only
        // after a new press.
        {a, T::Game, Key(kKeySpace, true)},
        {a, T::None, Key(kKeySpace, false)},
        {a, T::Game, ""},
        // Back + Start closes the game screen once, letting go of the keys.
        {0, T::Game, ""},
        {b | back, T::Game, Key(kKeyReturn, true) + " " + Key('P', true)},
        {b | back | start, T::Game, Key(kKeyReturn, false) + " " + Key('P', false) + " close"},
        {b | back | start, T::Game, ""},
        // Start still held on the title screen does not relaunch.
        {start, T::Menu, ""},
        {0, T::Menu, ""},
        {start, T::Menu, Key(kKeyReturn, true) + " " + Key(kKeyReturn, false)},
    };
    CPadTranslator translator;
    std::uint32_t ms = 0;
    for (const Poll& p : polls) {
        EXPECT_EQ(Events(translator.Step(p.inputs, p.target, map, true, ms)), p.events)
            << "poll at " << ms;
        ms += 16;
    }

    // A game whose mapping is off gets nothing, and Back + Start does not close it.
    CPadTranslator off;
    PadMapping none = map;
    none.bOn = false;
    off.Step(0, T::Game, none, true, 0);
    EXPECT_EQ(Events(off.Step(a | back | start, T::Game, none, true, 16)), "");
    EXPECT_FALSE(off.AnyKeyDown());
}

TEST(PadTranslator, TitleScreenArrowsRepeatAndTheButtonsPressReturnAndEscape) {
    const PadMapping map = DefaultPadMapping();
    CPadTranslator translator;
    translator.Step(0, PadTarget::Menu, map, false, 0);
    auto step = [&](std::uint32_t inputs, std::uint32_t ms) {
        return Events(translator.Step(inputs, PadTarget::Menu, map, false, ms));
    };
    auto tap = [](int vk) { return Key(vk, true) + " " + Key(vk, false); };
    const std::uint32_t right = PadBit(kPadDpadRight), sDown = PadBit(kPadLStickDown);
    EXPECT_EQ(step(right, 100), tap(kKeyRight));
    EXPECT_EQ(step(right, 499), "");
    EXPECT_EQ(step(right, 500), tap(kKeyRight));
    // A second direction joins: the first keeps stepping in its rhythm.
    EXPECT_EQ(step(right | sDown, 610), "");
    EXPECT_EQ(step(right | sDown, 620), tap(kKeyRight));
    // The first is let go: the other steps at once, and repeats after the delay.
    EXPECT_EQ(step(sDown, 700), tap(kKeyDown));
    EXPECT_EQ(step(sDown, 1099), "");
    EXPECT_EQ(step(sDown, 1100), tap(kKeyDown));
    EXPECT_EQ(step(PadBit(kPadB), 1200), tap(kKeyEscape));
    EXPECT_EQ(step(PadBit(kPadB), 1700), ""); // buttons do not repeat
    EXPECT_EQ(step(PadBit(kPadX) | PadBit(kPadY) | PadBit(kPadLB), 1800), "");
    EXPECT_FALSE(translator.AnyKeyDown());
}

} // namespace
