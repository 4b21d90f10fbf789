// "visit" as a player meets it: tovak.exe under Wine, with the automation double standing in
// for the separate browser (and the stand-in player for the default browser), from a title
// screen, the screen-size dialog and the sample game; then, in-process, how the call ends when
// the browser misbehaves.
#include "game_test_support.h"

#include "app/startup.h"
#include "resources/resource.h"
#include "screen/separate_browser_win.h"

#include <algorithm>
#include <cstdlib>

using namespace bench;
using Lines = std::vector<std::string>;

namespace {

constexpr DWORD kLong = 15000;
const std::string kCreated = "InternetExplorer.Application created";
const std::string kDestroyed = "InternetExplorer.Application destroyed";
const std::string kBusy = "IWebBrowser2::get_Busy -> true",
                  kIdle = "IWebBrowser2::get_Busy -> false";

std::string Navigate(const std::string& url) {
    return "IWebBrowser2::Navigate " + url + " flags=I4:0 target=I4:0 post=I4:0 headers=I4:0";
}
// What the browser receives for one page it loads at once.
Lines OnePage(const std::string& url) {
    return {kCreated, "IWebBrowser2::put_Visible 1", Navigate(url),
            kIdle,    "IWebBrowser2::get_HWND",      kDestroyed};
}

// The automation double in place of the browser while this lives, with its journal and script
// in the folder; the program under test gets them through Env().
struct BrowserDouble {
    std::string journal, script;
    hosttest::ProgIdMapping mapping{"InternetExplorer.Application", TOVAK_APPLICATION_DOUBLE_CLSID};
    explicit BrowserDouble(const std::string& folder)
        : journal(Join(folder, "journal.txt")), script(Join(folder, "script.txt")) {
        WriteTextFile(journal, "");
        WriteTextFile(script, "");
    }
    std::vector<std::string> Env() const {
        return {TOVAK_DOUBLE_JOURNAL_ENV "=" + journal, TOVAK_DOUBLE_SCRIPT_ENV "=" + script};
    }
    Lines Journal() const { return ReadLogLines(journal); }
    bool WaitFor(const std::string& line) const {
        return WaitUntil([&] { return Contains(Journal(), line); }, kLong);
    }
};

std::string Visit(int n, int x, int y, const std::string& url) {
    std::string i = std::to_string(n);
    return "selpos" + i + "=" + std::to_string(x) + "," + std::to_string(y) + ",40,40\r\nselcode" +
           i + "=visit\r\nselurl" + i + "=" + url + "\r\n";
}

// The box the program shows next, answered with OK.
BoxInfo AnswerBox(TovakProcess& proc) {
    BoxInfo box;
    EXPECT_TRUE(WaitMessageBox(proc.Pid(), box, kLong));
    PressButton(box.hwnd, IDOK);
    WaitGone(box.hwnd, kLong);
    return box;
}

HWND WaitTitled(TovakProcess& proc, const std::string& title) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w : proc.TopWindows("WinFuncs"))
            found = Text(w) == title ? w : found;
        return found != nullptr;
    });
    return found;
}

const std::string kAdvice = "\n\nPlease go to the web site www.microsoft.com and download "
                            "Internet Explorer 5 or greater.";

} // namespace

TEST(Visit, TitleScreenOpensEachKindOfAddressAndSurvivesEveryFailure) {
    const std::string longName(880, 'n');
    menutest::Folder folder("visit_title",
                            "[Settings]\r\ntitleimage=title.gif\r\nnumselections=6\r\n" +
                                Visit(1, 0, 0, "HTTP://Example.COM/Path?Q=1") +
                                Visit(2, 50, 0, "hTTps://secure.example.com/") +
                                Visit(3, 100, 0, "help.htm") + Visit(4, 150, 0, "") +
                                Visit(5, 0, 50, longName) +
                                Visit(6, 50, 50, "http://example.com/page.htm"));
    folder.AddGif("title.gif", menutest::Picture(320, 240, {0x204060}));
    BrowserDouble browser(folder.path);
    TovakProcess proc;
    ASSERT_TRUE(proc.Start(folder.path, "", browser.Env())) << proc.error;
    HWND title = proc.WaitWindow("WinFuncs", kLong);
    ASSERT_NE(title, nullptr);

    // Web addresses in any case are opened as written; other texts are joined to the folder.
    Lines expected;
    const std::string urls[] = {"HTTP://Example.COM/Path?Q=1", "hTTps://secure.example.com/",
                                folder.path + "\\help.htm", folder.path + "\\"};
    for (int i = 0; i < 4; ++i) {
        Click(title, 50 * i + 20, 20);
        Lines page = OnePage(urls[i]);
        expected.insert(expected.end(), page.begin(), page.end());
        WaitUntil([&] { return browser.Journal() == expected; }, kLong);
    }
    EXPECT_EQ(browser.Journal(), expected);
    EXPECT_EQ(folder.CountLogged("OpenSeparateBrowser at1"), 4);

    // A joined path too long for the program's buffer is refused by name; nothing is opened.
    Click(title, 20, 70);
    EXPECT_EQ(AnswerBox(proc).text, "The page to open is too long\n\nurl=" + longName);
    // Without the old browser's class the address goes to the default browser (the stand-in
    // as the "open" handler of http); the boxes come only when that cannot be started either.
    const std::string standIn = "\"" + StandInPlayer() + "\" \"%1\"";
    hosttest::ClassesDefault handler("http\\shell\\open\\command", standIn.c_str());
    ASSERT_TRUE(handler.mapped);
    {
        hosttest::ProgIdMapping missing("InternetExplorer.Application", nullptr);
        ASSERT_TRUE(missing.mapped);
        Click(title, 70, 70);
        HWND opened = gametest::WaitStandIn();
        ASSERT_NE(opened, nullptr);
        ASSERT_GT(browser.Journal().size(), expected.size());
        EXPECT_EQ(browser.Journal()[expected.size()],
                  "player command \"" + StandInPlayer() + "\" \"http://example.com/page.htm\"");
        PostMessageA(opened, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitGone(opened, kLong));
        hosttest::ClassesDefault noHandler("http\\shell\\open\\command",
                                           "\"C:\\missing\\browser.exe\" \"%1\"");
        Click(title, 70, 70);
        BoxInfo box = AnswerBox(proc);
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, "Failed to find Internet Explorer object." + kAdvice);
    }
    const std::size_t standInLines = browser.Journal().size() - expected.size();
    WriteTextFile(browser.script, "fail CreateInstance\n");
    hosttest::ClassesDefault noHandler("http\\shell\\open\\command",
                                       "\"C:\\missing\\browser.exe\" \"%1\"");
    Click(title, 70, 70);
    EXPECT_EQ(AnswerBox(proc).text, "Failed to create Internet Explorer object." + kAdvice);
    EXPECT_EQ(browser.Journal().size(), expected.size() + standInLines + 1); // refused creation

    // The title screen goes on after every failure.
    EXPECT_TRUE(proc.Running());
    PressKey(title, VK_ESCAPE);
    EXPECT_EQ(proc.WaitExit(kLong), 0);
}

TEST(Visit, DialogVisitButtonAndTheSampleGamesSelections) {
    menutest::Folder folder("visit_dialog",
                            "[Settings]\r\nnumselections=2\r\nvisiturl=site\\page.htm\r\n");
    BrowserDouble browser(folder.path);
    TovakProcess dialog;
    ASSERT_TRUE(dialog.Start(folder.path, "", browser.Env())) << dialog.error;
    HWND dlg = dialog.WaitWindow("#32770", kLong);
    ASSERT_NE(dlg, nullptr);
    PressButton(dlg, IDC_SIZE_VISIT);
    EXPECT_TRUE(browser.WaitFor(kDestroyed));
    EXPECT_EQ(browser.Journal(), OnePage(folder.path + "\\site\\page.htm"));
    PressKey(GetDlgItem(dlg, IDC_SIZE_LIST), VK_ESCAPE);
    EXPECT_EQ(dialog.WaitExit(kLong), 0);

    // The sample's title screen (fifth selection) and its exit screen (first selection).
    WriteTextFile(browser.journal, "");
    TovakProcess sample;
    const char* staged = std::getenv("TOVAK_SAMPLE_DIR");
    ASSERT_NE(staged, nullptr);
    std::string sampleDir = staged;
    std::replace(sampleDir.begin(), sampleDir.end(), '/', '\\');
    // The pointer off the title screen: resting on a hot spot it would move the focus there.
    SetCursorPos(0, 0);
    ASSERT_TRUE(sample.Start(sampleDir, "", browser.Env()));
    HWND title = WaitTitled(sample, "Star Courier");
    ASSERT_NE(title, nullptr);
    for (int i = 0; i < 4; ++i)
        PressKey(title, VK_RIGHT);
    PressKey(title, VK_RETURN);
    EXPECT_TRUE(browser.WaitFor(Navigate("http://www.example.com/")));
    PressKey(title, VK_ESCAPE);
    HWND bye = WaitTitled(sample, "Thanks for playing");
    ASSERT_NE(bye, nullptr);
    PressKey(bye, VK_RETURN);
    EXPECT_TRUE(browser.WaitFor(Navigate("http://www.example.com/buy")));
    PressKey(bye, VK_ESCAPE);
    EXPECT_EQ(sample.WaitExit(kLong), 0);
}

// In-process: a browser that misbehaves ends the call cleanly, its object released; a page
// that stays busy is waited for one minute at most.
TEST(SeparateBrowser, MisbehavingBrowsersEndTheCallWithTheirObjectReleased) {
    hosttest::InitProcess();
    BrowserDouble browser(MakeTestFolder("separate_browser"));
    ASSERT_TRUE(browser.mapping.mapped);
    SetEnvironmentVariableA(TOVAK_DOUBLE_JOURNAL_ENV, browser.journal.c_str());
    SetEnvironmentVariableA(TOVAK_DOUBLE_SCRIPT_ENV, browser.script.c_str());
    CopyText(g_szWorkDir, sizeof g_szWorkDir, "C:\\Games");
    auto open = [&](const std::string& script) {
        WriteTextFile(browser.script, script);
        WriteTextFile(browser.journal, "");
        return OpenSeparateBrowser("help.htm");
    };
    BoxAnswerer boxes; // none expected
    const std::string shown = "IWebBrowser2::put_Visible 1", nav = Navigate("C:\\Games\\help.htm"),
                      hwnd = "IWebBrowser2::get_HWND";
    EXPECT_EQ(open("refuse IWebBrowser2\n"), 0);
    EXPECT_EQ(browser.Journal(), (Lines{kCreated, kDestroyed}));
    EXPECT_EQ(open("fail Navigate\n"), 0);
    EXPECT_EQ(browser.Journal(), (Lines{kCreated, shown, nav, kDestroyed}));
    // A browser that cannot tell whether it is busy (its window was closed) ends the wait.
    EXPECT_EQ(open("fail get_Busy\n"), 1);
    EXPECT_EQ(browser.Journal(),
              (Lines{kCreated, shown, nav, "IWebBrowser2::get_Busy -> failed", hwnd, kDestroyed}));
    EXPECT_EQ(open("busy 2\n"), 1);
    EXPECT_EQ(browser.Journal(),
              (Lines{kCreated, shown, nav, kBusy, kBusy, kIdle, hwnd, kDestroyed}));
    EXPECT_EQ(open("busy 100000\n"), 1);
    Lines journal = browser.Journal();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), kBusy), 120);
    EXPECT_EQ(Lines(journal.end() - 2, journal.end()), (Lines{hwnd, kDestroyed}));
    EXPECT_TRUE(boxes.Boxes().empty());
}
