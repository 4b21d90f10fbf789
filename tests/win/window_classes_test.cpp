// The start-up's window classes, registered by the program's own start-up run in this
// process: the order, the stop at the first failure, and the class settings.
#include "app/startup_win.h"
#include "base/wide_win.h"
#include "driver/driver.h"
#include "menu/menu_wnd_win.h"
#include "screen/game_screen_win.h"

#include <gtest/gtest.h>

namespace {

// Asked in wide form: the classes are wide, and a narrow query gives a stand-in for their
// procedures.
bool Registered(const char* name, WNDCLASSEXW* info = nullptr) {
    WNDCLASSEXW local{};
    local.cbSize = sizeof local;
    return GetClassInfoExW(GetModuleHandleA(nullptr), Wide(name).c_str(), info ? info : &local) !=
           0;
}

std::vector<bench::BoxInfo> RunStartup(int expectedExit) {
    bench::BoxAnswerer answerer(IDOK);
    EXPECT_EQ(RunTovak(GetModuleHandleA(nullptr), L"", SW_SHOWNORMAL), expectedExit);
    return answerer.Boxes();
}

// One screen size and a game of no known kind: start-up finishes before the selection runs, and
// the selection only reports the file.
const char* const kOneSelection = "[Settings]\r\n"
                                  "numselections=1\r\n"
                                  "selscreensize1=640,480\r\n"
                                  "selgamesize1=640,480\r\n"
                                  "selpos1=10,10,200,30\r\n"
                                  "selcode1=run\r\n"
                                  "selurl1=game.unknown\r\n";

TEST(WindowClasses, RegistrationStopsAtTheFailingClassAndAllFourCarryTheirProcedures) {
    std::string folder = bench::MakeTestFolder("window_classes");
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(bench::WriteTextFile(bench::Join(folder, "tovak.ini"), kOneSelection));

    // LoadLogo taken already: the classes before it register, CloseBtn is never tried. The
    // title screen's class comes before the menu, the game screens' after it.
    WNDCLASSEXA taken{};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = instance;
    taken.lpszClassName = "LoadLogo";
    ASSERT_NE(RegisterClassExA(&taken), 0);
    std::vector<bench::BoxInfo> boxes = RunStartup(18);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "RegisterClassEx for LoadLogo failed");
    EXPECT_TRUE(Registered("WinFuncs"));
    EXPECT_TRUE(Registered("BkGrndWnd"));
    EXPECT_FALSE(Registered("CloseBtn"));

    // With the names free again all four register and the selection runs.
    for (const char* name : {"WinFuncs", "BkGrndWnd", "LoadLogo"})
        ASSERT_TRUE(UnregisterClassA(name, instance)) << name;
    boxes = RunStartup(1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("game.unknown"), std::string::npos);

    struct Expected {
        const char* name;
        WNDPROC procedure;
    };
    for (Expected e :
         {Expected{"WinFuncs", WinFuncsWndProc}, Expected{"BkGrndWnd", ClientHostWndProc},
          Expected{"LoadLogo", LoadLogoWndProc}, Expected{"CloseBtn", CloseBtnWndProc}}) {
        SCOPED_TRACE(e.name);
        WNDCLASSEXW info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(Registered(e.name, &info));
        EXPECT_EQ(info.lpfnWndProc, e.procedure);
        EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
        EXPECT_EQ(info.cbClsExtra, 0);
        EXPECT_EQ(info.cbWndExtra, 0);
        EXPECT_EQ(info.hbrBackground, nullptr);
        EXPECT_EQ(info.lpszMenuName, nullptr);
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    }
}

} // namespace
