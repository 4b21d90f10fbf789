// tovak.exe started under Wine: exit codes, the configuration errors of the first menu, the
// command line, the diagnostic log and a missing control-container library, each seen from
// outside as a user sees it (message boxes, exit code, files).
#include "driver/driver.h"
#include "base/config_names.h"
#include "host_fixture.h"
#include "support/gif_writer.h"
#include "tovak_version.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

const char* const kValidMenu = "[Settings]\r\n"
                               "title=Foundation\r\n"
                               "numselections=2\r\n"
                               "selscreensize1=640,480\r\n"
                               "selscreencolordepth1=32\r\n"
                               "selgamesize1=640,480\r\n"
                               "selpos1=10,10,200,30\r\n"
                               "selcode1=exit\r\n"
                               "seldesc1=Small\r\n"
                               "selscreensize2=800,600\r\n"
                               "selscreencolordepth2=16\r\n"
                               "selgamesize2=0,0\r\n"
                               "selpos2=10,50,200,30\r\n"
                               "selcode2=exit\r\n"
                               "seldesc2=Large\r\n";

using Outcome = bench::RunOutcome;

// Runs tovak.exe (or a copy of it) until it ends, answering every box it shows.
Outcome RunToEnd(const std::string& folder, const std::string& args = "", int answer = IDOK,
                 const std::string& exe = bench::TovakExe()) {
    bench::TovakProcess tovak;
    if (!tovak.StartProgram(exe, folder, args)) {
        ADD_FAILURE() << tovak.error;
        return Outcome{};
    }
    return bench::RunAnsweringBoxes(tovak, answer);
}

std::string Config(const std::string& folder) {
    return bench::Join(folder, kConfigFileName);
}

// Runs a configuration whose first menu loads: no error box may appear. Whatever the menu
// shows is closed, which ends the program; the exit code is returned.
int RunValidMenu(const std::string& folder, const std::string& args = "") {
    bench::TovakProcess tovak;
    if (!tovak.Start(folder, args)) {
        ADD_FAILURE() << tovak.error;
        return -2;
    }
    bench::WaitUntil([&] { return !tovak.Running() || !tovak.TopWindows().empty(); });
    for (HWND hwnd : tovak.TopWindows()) {
        EXPECT_NE(bench::Text(hwnd), "Error") << bench::ReadBox(hwnd).text;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    return tovak.WaitExit();
}

// The start-up steps' entries of the log, and the menu's loading and running, in order.
std::vector<std::string> StartupMarkers(const std::string& log) {
    std::vector<std::string> markers;
    for (const std::string& m : bench::ReadLogMessages(log)) {
        if (m.rfind("WinMain", 0) == 0 || m.rfind("CMenuWnd::RunMenu at", 0) == 0 ||
            m == "CMenuWnd::LoadMenu")
            markers.push_back(m);
    }
    return markers;
}

std::string NoValidSettings(const std::string& configPath) {
    return "tovak.exe - Settings config problem\n\n" + configPath +
           "\n\nNo valid screen settings found";
}

// Expects exactly one box, the error box with that text, and the exit code.
void ExpectOneError(const Outcome& o, const std::string& text, int exitCode) {
    ASSERT_EQ(o.boxes.size(), 1u) << (o.boxes.empty() ? "" : o.boxes[0].text);
    EXPECT_EQ(o.boxes[0].caption, "Error");
    EXPECT_EQ(o.boxes[0].text, text);
    EXPECT_TRUE(o.boxes[0].HasButtons({IDOK}));
    EXPECT_EQ(o.exitCode, exitCode);
}

TEST(Startup, AValidConfigurationLoadsTheFirstMenu) {
    std::string folder = bench::MakeTestFolder("startup_valid");
    std::string log = bench::Join(folder, "log.txt");
    ASSERT_TRUE(bench::WriteTextFile(Config(folder),
                                     std::string(kValidMenu) + "debug=Y\r\ndebugfile=" + log));
    EXPECT_EQ(RunValidMenu(folder), 0);
    // Past every start-up step, CoInitialize after the container library included (Wine's
    // AtlAxWinInit has initialised COM already, so it answers S_FALSE). The screen-size dialog
    // may launch at once: the library and COM are loaded before it.
    EXPECT_EQ(StartupMarkers(log),
              (std::vector<std::string>{
                  "WinMain at1", "WinMain at2", "CMenuWnd::LoadMenu", "WinMain at3", "WinMain at4",
                  "WinMain at5", "CMenuWnd::RunMenu at1", "CMenuWnd::RunMenu at4", "WinMain at6"}));
}

TEST(Startup, ATitleImageThatDecodesLoadsTheMenuAndABadLogoIsSilent) {
    std::string folder = bench::MakeTestFolder("startup_title_image");
    std::string log = bench::Join(folder, "log.txt");
    gifwriter::GifBuilder gif;
    gif.Header(120, 80, 2).Image(120, 80, gifwriter::Pixels(120, 80, 2, 7)).Trailer();
    ASSERT_TRUE(bench::WriteTextFile(bench::Join(folder, "title.gif"),
                                     std::string(gif.bytes.begin(), gif.bytes.end())));
    ASSERT_TRUE(bench::WriteTextFile(bench::Join(folder, kLogoFileName), "GIF89a broken"));
    ASSERT_TRUE(bench::WriteTextFile(Config(folder), std::string(kValidMenu) +
                                                         "titleimage=title.gif\r\ndebug=Y\r\n"
                                                         "debugfile=" +
                                                         log + "\r\n"));
    EXPECT_EQ(RunValidMenu(folder), 0);
    // The title screen shows first; the container library and COM are loaded after it.
    EXPECT_EQ(
        StartupMarkers(log),
        (std::vector<std::string>{"WinMain at1", "WinMain at2", "CMenuWnd::LoadMenu",
                                  "CMenuWnd::RunMenu at1", "CMenuWnd::RunMenu at3", "WinMain at3",
                                  "WinMain at4", "WinMain at5", "WinMain at6"}));
}

TEST(Startup, MenuConfigurationErrorsEndWithExitCodeOne) {
    std::string folder = bench::MakeTestFolder("startup_menu_errors");
    std::string config = Config(folder);
    struct Case {
        std::string text;
        std::string error;
    };
    std::string incomplete = kValidMenu;
    incomplete.replace(incomplete.find("numselections=2"), 15, "numselections=3");
    incomplete += "selpos3=1,2,3\r\n";
    const Case cases[] = {
        {"[Settings]\r\nnumselections=21\r\n",
         "Too many selections specified in ini file numselections=21, max=20"},
        {"[Settings]\r\ntitle=None\r\n", NoValidSettings(config)},
        {incomplete, "tovak.exe - Settings config problem\n\n" + config +
                         "\n\nselpos3 - not enough values specified"},
        {std::string(kValidMenu) + "titleimage=missing.gif\r\n",
         "tovak.exe - failed to load title screen image missing.gif"},
        {std::string(kValidMenu) + "titleimage=bad.gif\r\n",
         "tovak.exe - failed to load title screen image bad.gif"},
    };
    ASSERT_TRUE(bench::WriteTextFile(bench::Join(folder, "bad.gif"), "GIF89a\x10\x00"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        ASSERT_TRUE(bench::WriteTextFile(config, c.text));
        ExpectOneError(RunToEnd(folder), c.error, 1);
    }
    // No configuration file at all: every key takes its default, and the menu has none.
    DeleteFileA(config.c_str());
    ExpectOneError(RunToEnd(folder), NoValidSettings(config), 1);
}

TEST(Startup, TheFirstCommandLineTokenNamesTheConfiguration) {
    std::string folder = bench::MakeTestFolder("startup_cmdline");
    ASSERT_TRUE(bench::WriteTextFile(Config(folder), "[Settings]\r\nnumselections=21\r\n"));
    ASSERT_TRUE(bench::WriteTextFile(bench::Join(folder, "other.ini"), kValidMenu));
    EXPECT_EQ(RunValidMenu(folder, "  other.ini extra"), 0);

    // The files named below do not exist: the error names the path that was read.
    ExpectOneError(RunToEnd(folder, "\"my game.ini\""),
                   NoValidSettings(bench::Join(folder, "my game.ini")), 1);
    ExpectOneError(RunToEnd(folder, "abc\""),
                   "Too many selections specified in ini file numselections=21, max=20", 1);
}

TEST(Startup, OverLongPathsAreRefusedNeverCut) {
    std::string folder = bench::MakeTestFolder("startup_long");
    std::string token(900, 'x');
    Outcome o = RunToEnd(folder, token);
    ExpectOneError(o,
                   "The configuration file named on the command line is longer than 899 "
                   "characters:\n\n" +
                       token,
                   18);

    // A name that fits alone but not after the working directory.
    std::string name(899 - folder.size(), 'n');
    o = RunToEnd(folder, name);
    ExpectOneError(o,
                   "The path of the configuration file is longer than 899 characters:\n\n" +
                       folder + "\\" + name,
                   18);
}

TEST(Startup, DebugValuesSwitchLoggingOnOrLeaveItOff) {
    std::string folder = bench::MakeTestFolder("startup_debug");
    std::string log = bench::Join(folder, "log.txt");
    struct Case {
        const char* value;
        bool on;
    };
    for (Case c : {Case{"Yes", true}, Case{"y", true}, Case{"TRUE", true}, Case{"t", true},
                   Case{"N", false}, Case{"1", false}, Case{"on", false}, Case{"", false}}) {
        SCOPED_TRACE(c.value);
        DeleteFileA(log.c_str());
        ASSERT_TRUE(bench::WriteTextFile(Config(folder), std::string("[settings]\r\ndebug=") +
                                                             c.value + "\r\ndebugfile=" + log +
                                                             "\r\n"));
        ExpectOneError(RunToEnd(folder), NoValidSettings(Config(folder)), 1);
        EXPECT_EQ(bench::FileExists(log), c.on);
        if (c.on) {
            EXPECT_TRUE(bench::Contains(bench::ReadLogMessages(log), "WinMain at1"));
            // A log that the program starts is UTF-8 with its mark.
            EXPECT_EQ(bench::ReadTextFile(log).compare(0, 3, "\xEF\xBB\xBF"), 0);
        }
    }
}

TEST(Startup, LogEntriesAreTimeStampedAndAppended) {
    std::string folder = bench::MakeTestFolder("startup_log_format");
    std::string log = bench::Join(folder, "log.txt");
    ASSERT_TRUE(bench::WriteTextFile(log, "earlier entry\r\n"));
    ASSERT_TRUE(bench::WriteTextFile(Config(folder),
                                     "[Settings]\r\ndebug=Yes\r\ndebugfile=" + log + "\r\n"));
    SYSTEMTIME before;
    GetLocalTime(&before);
    Outcome o = RunToEnd(folder);
    SYSTEMTIME after;
    GetLocalTime(&after);
    EXPECT_EQ(o.exitCode, 1);

    std::string raw = bench::ReadTextFile(log);
    ASSERT_EQ(raw.compare(0, 15, "earlier entry\r\n"), 0) << raw;
    std::string firstEntry = raw.substr(15, raw.find('\n', 15) + 1 - 15);
    // Text mode turns the line feed into CR LF after the program's own CR-less line.
    ASSERT_GE(firstEntry.size(), 3u);
    EXPECT_EQ(firstEntry.substr(firstEntry.size() - 3), "\r\r\n");
    std::string line = firstEntry.substr(0, firstEntry.size() - 3);
    std::smatch m;
    const std::regex entry("^([1-9]\\d*)/([1-9]\\d*)/(\\d{4}) (0|[1-9]\\d*):(0|[1-9]\\d*):"
                           "(0|[1-9]\\d*) - (.*)$");
    ASSERT_TRUE(std::regex_match(line, m, entry)) << line;
    // A run's entries begin with the version that wrote them.
    EXPECT_EQ(m[7], "Tovak " TOVAK_VERSION);
    auto sameDate = [&](const SYSTEMTIME& t) {
        return std::stoi(m[1]) == t.wMonth && std::stoi(m[2]) == t.wDay &&
               std::stoi(m[3]) == t.wYear;
    };
    EXPECT_TRUE(sameDate(before) || sameDate(after)) << line;
    EXPECT_LT(std::stoi(m[4]), 24);
    EXPECT_LT(std::stoi(m[5]), 60);

    // A second run appends after the first.
    std::size_t firstRunSize = raw.size();
    RunToEnd(folder);
    std::string again = bench::ReadTextFile(log);
    EXPECT_EQ(again.compare(0, firstRunSize, raw), 0);
    EXPECT_EQ(again.find(" - Tovak " TOVAK_VERSION "\r\r\n", firstRunSize),
              again.find(" - ", firstRunSize))
        << again.substr(firstRunSize);
}

TEST(Startup, AnUnopenableLogIsReportedOnceAndTheProgramGoesOn) {
    std::string folder = bench::MakeTestFolder("startup_bad_log");
    std::string log = bench::Join(folder, "missing\\folder\\log.txt");
    ASSERT_TRUE(
        bench::WriteTextFile(Config(folder), "[Settings]\r\ndebug=Y\r\ndebugfile=" + log + "\r\n"));
    Outcome o = RunToEnd(folder);
    ASSERT_EQ(o.boxes.size(), 2u);
    EXPECT_EQ(o.boxes[0].caption, "Error");
    EXPECT_EQ(o.boxes[0].text, "Failed to open log file " + log + "\n\nLogging has been disabled");
    EXPECT_EQ(o.boxes[1].text, NoValidSettings(Config(folder)));
    EXPECT_EQ(o.exitCode, 1);
}

TEST(Startup, AMissingContainerLibraryIsOfferedForDownloadAndEndsTheProgram) {
    std::string folder = bench::MakeTestFolder("startup_no_atl");
    std::string log = bench::Join(folder, "log.txt");
    ASSERT_TRUE(bench::WriteTextFile(Config(folder), std::string(kValidMenu) +
                                                         "debug=Y\r\ndebugfile=" + log + "\r\n"));
    // A copy of the program under a name for which Wine refuses atl.dll.
    std::string exe = bench::Join(folder, "tovak_noatl.exe");
    ASSERT_TRUE(bench::CopyFileTo(bench::TovakExe(), exe));
    ASSERT_TRUE(bench::DisableDllForProgram("tovak_noatl.exe", "atl"));
    const char* const text =
        "The ATL DLL library was not found and it is required to play the game\n\n"
        "ATL DLL comes with Microsoft Internet Explorer 5 or greater.\n\n"
        "Would you like to go to the Microsoft website to download Internet Explorer?\n\n"
        "Note: You must be connected to the internet.\n\n"
        "Also note AOL users, you may also upgrade to a newer version of AOL to also get this.";
    // The automation double takes the download page (the program inherits the journal's name).
    hosttest::ProgIdMapping browser("InternetExplorer.Application", TOVAK_APPLICATION_DOUBLE_CLSID);
    std::string journal = bench::Join(folder, "journal.txt");
    SetEnvironmentVariableA(TOVAK_DOUBLE_JOURNAL_ENV, journal.c_str());
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        DeleteFileA(log.c_str());
        DeleteFileA(journal.c_str());
        Outcome o = RunToEnd(folder, "", answer, exe);
        ASSERT_EQ(o.boxes.size(), 1u);
        EXPECT_EQ(o.boxes[0].caption, "ATL DLL Library Not Found");
        EXPECT_EQ(o.boxes[0].text, text);
        EXPECT_TRUE(o.boxes[0].HasButtons({IDYES, IDNO}));
        EXPECT_EQ(o.exitCode, 18);
        std::vector<std::string> messages = bench::ReadLogMessages(log);
        EXPECT_TRUE(bench::Contains(messages, "WinMain at2"));
        EXPECT_FALSE(bench::Contains(messages, "WinMain at3"));
        EXPECT_EQ(bench::Contains(messages, "OpenSeparateBrowser at1"), answer == IDYES);
        EXPECT_EQ(bench::Contains(bench::ReadLogLines(journal),
                                  "IWebBrowser2::Navigate http://www.microsoft.com/windows/ie/"
                                  "downloads/default.asp flags=I4:0 target=I4:0 post=I4:0 "
                                  "headers=I4:0"),
                  answer == IDYES);
    }
}

} // namespace
