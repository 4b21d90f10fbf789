// The game session: what it takes and gives back, in what order, for each way a game ends,
// over a made-up display and desktop that write one shared journal.
#include "screen/browser_table.h"
#include "screen/game_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Journal = std::vector<std::string>;

// A display at 1024x768x32 that also offers 640x480x32; a switch is journalled by its width.
class FakeDisplay : public IDisplayDevice {
  public:
    explicit FakeDisplay(Journal& out) : journal(out) {}
    int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) override {
        std::uint32_t width = modeNum == kEnumCurrentSettings ? 1024 : modeNum == 0 ? 640 : 0;
        if (width == 0)
            return 0;
        mode.dmPelsWidth = width;
        mode.dmPelsHeight = width * 3 / 4;
        mode.dmBitsPerPel = 32;
        return 1;
    }
    long ChangeSettings(const DisplaySettings& mode) override {
        journal.push_back("display " + std::to_string(mode.dmPelsWidth));
        if (onChange)
            onChange();
        return kDispChangeSuccessful;
    }
    std::function<void()> onChange;

  private:
    Journal& journal;
};

class FakeDesktop : public IGameDesktop {
  public:
    FakeDesktop(Journal& out, bool bMenuOpen) : journal(out), bMenu(bMenuOpen) {}
    void GiveControllers(std::uintptr_t screen, std::uint32_t process) override {
        journal.push_back("pads to " + std::to_string(screen) + "/" + std::to_string(process));
    }
    void TakeControllersBack() override { journal.push_back("pads back"); }
    void EndBusyCursor() override { journal.push_back("busy cursor ends"); }
    void HideCursor() override { journal.push_back("cursor hidden"); }
    void ShowCursor() override { journal.push_back("cursor shown"); }
    void TellMenuStarted() override { journal.push_back("menu waits"); }
    bool MenuOpen() override { return bMenu; }
    void TellMenuEnded(int kind) override {
        journal.push_back("menu ends " + std::to_string(kind));
    }
    void Quit() override { journal.push_back("quit"); }

  private:
    Journal& journal;
    bool bMenu;
};

struct Case {
    const char* name;
    ScreenRequest request;
    int nCloseKind;
    bool bMenuOpen;
    // What the launch path does with the session before it goes.
    std::function<void(CGameSession&)> run;
    Journal expected;
};

const ScreenRequest kFull640{1, 640, 480, 32, false};
const ScreenRequest kFull640Fit{1, 640, 480, 32, true, FullScreenWay::Fit};
const ScreenRequest kWindowedMovie{0, 640, 480, 32, false};

TEST(GameSession, GivesBackEverythingInOneOrderWhicheverWayTheGameEnds) {
    auto playToEnd = [](CGameSession& s) {
        s.TakeScreen();
        s.Started(7, 0);
        s.HideCursor();
    };
    const Case cases[] = {
        {"a full-screen game screen closed back to its menu",
         kFull640,
         kCloseToMenu,
         true,
         playToEnd,
         {"display 640", "busy cursor ends", "pads to 7/0", "menu waits", "cursor hidden",
          "pads back", "display 1024", "cursor shown", "menu ends 1"}},
        {"a game whose menu closes with it, the menu gone already",
         kFull640,
         kCloseMenu,
         false,
         playToEnd,
         {"display 640", "busy cursor ends", "pads to 7/0", "menu waits", "cursor hidden",
          "pads back", "display 1024", "cursor shown", "quit"}},
        {"a game back to a menu that is gone",
         kWindowedMovie,
         kCloseToMenu,
         false,
         playToEnd,
         {"busy cursor ends", "pads to 7/0", "menu waits", "cursor hidden", "pads back",
          "cursor shown"}},
        {"an executable: the program ends with it",
         kFull640,
         kCloseProgram,
         true,
         [](CGameSession& s) {
             s.TakeScreen();
             s.Started(0, 42);
         },
         {"display 640", "busy cursor ends", "pads to 0/42", "menu waits", "pads back",
          "display 1024", "quit"}},
        {"an executable full screen without a mode switch",
         kFull640Fit,
         kCloseProgram,
         true,
         [](CGameSession& s) {
             EXPECT_TRUE(s.TakeScreen());
             s.Started(0, 42);
         },
         {"busy cursor ends", "pads to 0/42", "menu waits", "pads back", "quit"}},
        {"a player still running when the program's quit came",
         kFull640,
         kCloseToMenu,
         true,
         [](CGameSession& s) {
             s.TakeScreen();
             s.Started(0, 42);
             s.ProgramEnding();
         },
         {"display 640", "busy cursor ends", "pads to 0/42", "menu waits", "pads back",
          "display 1024"}},
        {"a launch that failed before its game existed",
         kFull640,
         kCloseProgram,
         true,
         [](CGameSession& s) { s.TakeScreen(); },
         {"display 640", "display 1024", "busy cursor ends"}},
        {"a game screen whose control failed: back to the menu, which never waited",
         kFull640,
         kCloseProgram,
         true,
         [](CGameSession& s) {
             s.TakeScreen();
             s.Opened();
             s.SetCloseKind(kCloseToMenu);
         },
         {"display 640", "display 1024", "busy cursor ends", "menu ends 1"}},
    };
    for (const Case& c : cases) {
        Journal journal;
        FakeDisplay device(journal);
        CDisplayMode display(&device);
        {
            CGameSession session(std::make_unique<FakeDesktop>(journal, c.bMenuOpen), display,
                                 c.request, c.nCloseKind);
            c.run(session);
        }
        EXPECT_EQ(journal, c.expected) << c.name;
    }
}

TEST(GameSession, ForegroundLostAndRegainedFollowsTheLatestChange) {
    Journal journal;
    FakeDisplay device(journal);
    CDisplayMode display(&device);
    int regained = 0;
    auto onRegained = [](void* count) { ++*static_cast<int*>(count); };
    {
        CGameSession session(std::make_unique<FakeDesktop>(journal, true), display, kFull640,
                             kCloseToMenu);
        session.TakeScreen();
        session.SetForeground(false, onRegained, &regained);
        // The switch back to the game sends news of its own: the player leaves again and
        // returns while it is applied. Each change is applied after the one under way.
        int nested = 0;
        device.onChange = [&] {
            if (++nested == 1)
                session.SetForeground(false, onRegained, &regained);
            else if (nested == 2)
                session.SetForeground(true, onRegained, &regained);
        };
        session.SetForeground(true, onRegained, &regained);
        device.onChange = nullptr;
    }
    EXPECT_EQ(journal, (Journal{"display 640", "display 1024", "display 640", "display 1024",
                                "display 640", "display 1024", "busy cursor ends"}));
    EXPECT_EQ(regained, 2);

    // A windowed movie and a scaled full screen never took the display: losing the foreground
    // changes nothing.
    for (const ScreenRequest& request : {kWindowedMovie, kFull640Fit}) {
        journal.clear();
        CGameSession other(std::make_unique<FakeDesktop>(journal, true), display, request,
                           kCloseToMenu);
        other.TakeScreen();
        other.SetForeground(false, onRegained, &regained);
        other.SetForeground(true, onRegained, &regained);
        EXPECT_TRUE(journal.empty());
    }
}

} // namespace
