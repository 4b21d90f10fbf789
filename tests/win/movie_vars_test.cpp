// A Flash movie's saved data: a Flash game launched from a title screen keeping its value for
// the next game screen, then tick by tick of the exchange on a game-screen record whose host
// holds the Flash double: what the movie is asked and given, timer 1 of the background window,
// and the values in the registry of the test prefix.
#include "game_test_support.h"
#include "host_fixture.h"

#include "host/movie_vars.h"
#include "host/movie_vars_win.h"
#include "screen/saved_data_win.h"
#include "screen/browser_table_win.h"

using hosttest::HostTest;
using Lines = std::vector<std::string>;

namespace {

const char* const kName = "tovak test save";

void DeleteStored(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMovieRegKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

// The stored REG_SZ text, or "(none)".
std::string Stored(const char* name) {
    std::string value;
    return bench::ReadRegString(HKEY_CURRENT_USER, kMovieRegKey, name, value) ? value : "(none)";
}

// Ticks of timer 1 that the window receives in that time.
int TimerTicks(HWND hwnd, DWORD ms) {
    int ticks = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) {
        MSG msg;
        while (PeekMessageA(&msg, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE))
            ticks += msg.wParam == 1;
    }
    return ticks;
}

} // namespace

TEST(MovieVarsGame, AFlashGameKeepsItsValueForTheNextGameScreen) {
    using namespace gametest;
    // A value that an earlier, narrow version wrote in the ANSI code page (1252 here).
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kMovieRegKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, kName, 0, REG_SZ, reinterpret_cast<const BYTE*>("caf\xE9 \x80"), 7);
    RegCloseKey(key);
    const std::string second = "\xD0\xB2\xD1\x82\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB9"; // Cyrillic
    GameFolder g("movie_vars_game", 2,
                 Selection(1, "run", "movie.swf", Sel(1, "screenfull", "N")) +
                     Selection(2, "exit", ""));
    const std::string script = bench::Join(g.folder.path, "script.txt");
    const std::string first(300, 'f'); // longer than a 128-byte read-back buffer
    bench::WriteTextFile(script, "var strMovieRegKey=tovak test save\nvar strCustomVarOut=" +
                                     first + "\nafter 4 calls: bMovieLoaded=true\n");
    g.Start();
    // Two ticks waiting for the movie, the hand-over of the old value as the same text, then
    // its value kept; the second game screen receives it whole, in any script.
    for (const std::string& value : {first, second}) {
        g.Activate(1);
        HWND bk = g.WaitBackground();
        ASSERT_NE(bk, nullptr);
        EXPECT_TRUE(bench::WaitUntil([&] { return Stored(kName) == value; }, kLong));
        SendMessageTimeoutA(bk, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        EXPECT_TRUE(bench::WaitGone(bk, kLong));
        EXPECT_TRUE(bench::WaitUntil([&] { return bench::IsEnabled(g.menu); }, kLong));
        bench::WriteTextFile(script, "var strMovieRegKey=tovak test save\nvar bMovieLoaded=T\n"
                                     "var strCustomVarOut=" +
                                         second + "\n");
    }
    Lines calls;
    for (const std::string& line : g.Journal())
        if (line.rfind("IShockwaveFlash::GetVariable bMovieLoaded", 0) == 0 ||
            line.rfind("IShockwaveFlash::SetVariable", 0) == 0)
            calls.push_back(line.substr(17));
    EXPECT_EQ(calls,
              (Lines{"GetVariable bMovieLoaded -> missing", "GetVariable bMovieLoaded -> missing",
                     "GetVariable bMovieLoaded -> true",
                     "SetVariable strCustomVarIn setvcaf\xC3\xA9 \xE2\x82\xAC",
                     "GetVariable bMovieLoaded -> T", "SetVariable strCustomVarIn setv" + first}));
    // The Cyrillic value survived its save; a later run reads it back.
    std::string read;
    EXPECT_EQ(ReadRegistryValue(kMovieRegKey, kName, read), 1);
    EXPECT_EQ(read, second);
    DeleteStored(kName);
}

TEST_F(HostTest, MovieWaitsReceivesItsValueOnceAndIsSavedEveryTick) {
    DeleteStored(kName);
    const std::string saved(300, 's');
    Script("after 1 calls: strMovieRegKey=tovak test save\nafter 3 calls: bMovieLoaded=false\n"
           "after 5 calls: bMovieLoaded=True\nafter 10 calls: strCustomVarOut=\n"
           "after 12 calls: strCustomVarOut=" +
           saved + "\n");
    CBrowserFuncs record;
    record.hBkWnd = parent;
    ASSERT_EQ(Init(record.host, 3), 1);
    SetTimer(parent, 1, 500, nullptr);
    ClearJournal();
    for (int tick = 0; tick < 3; ++tick)
        ExchangeMovieVars(&record);
    EXPECT_GE(TimerTicks(parent, 1200), 2); // still waiting at 500 ms
    ClearLog();
    ExchangeMovieVars(&record); // ready: the hand-over, with nothing stored yet
    EXPECT_EQ(Markers(), (Lines{"CClientHost::GetSwfVar at1", "CClientHost::GetClientVar at2",
                                "CClientHost::GetSwfVar at1", "CClientHost::GetClientVar at2",
                                "CClientHost::SetSwfVar at1", "CClientHost::SetSwfVar at2"}));
    EXPECT_EQ(TimerTicks(parent, 1200), 0); // now at 5 s
    ExchangeMovieVars(&record);
    EXPECT_EQ(Stored(kName), "(none)"); // no value from the movie: nothing written
    ExchangeMovieVars(&record);
    EXPECT_EQ(Stored(kName), ""); // an empty text is an empty REG_SZ
    ExchangeMovieVars(&record);
    EXPECT_EQ(Stored(kName), saved);
    const std::string name = "GetVariable strMovieRegKey -> tovak test save";
    EXPECT_EQ(
        JournalOf("IShockwaveFlash::"),
        (Lines{"GetVariable strMovieRegKey -> missing", name, "GetVariable bMovieLoaded -> missing",
               name, "GetVariable bMovieLoaded -> false", name, "GetVariable bMovieLoaded -> True",
               "SetVariable strCustomVarIn setv", name, "GetVariable strCustomVarOut -> missing",
               name, "GetVariable strCustomVarOut -> ", name,
               "GetVariable strCustomVarOut -> " + saved}));

    KillTimer(parent, 1);
    DeleteStored(kName);
}

TEST_F(HostTest, MovieVarsDefaultValueOtherHostsAndTheLengthBound) {
    // An empty name is the key's default value.
    DeleteStored("");
    Script("var strMovieRegKey=\nvar bMovieLoaded=T\nvar strCustomVarOut=kept\n");
    CBrowserFuncs flash;
    flash.hBkWnd = parent;
    ASSERT_EQ(Init(flash.host, 3), 1);
    ExchangeMovieVars(&flash);
    ExchangeMovieVars(&flash);
    EXPECT_EQ(Stored(""), "kept");
    DeleteStored("");

    // Other hosts take no part: no call, no marker.
    CBrowserFuncs shockwave;
    ASSERT_EQ(Init(shockwave.host, 2), 1);
    ClearJournal();
    ClearLog();
    ExchangeMovieVars(&shockwave);
    EXPECT_EQ(shockwave.host.GetSwfVar("strMovieRegKey"), nullptr);
    EXPECT_EQ(shockwave.host.SetSwfVar("strCustomVarIn", "setv"), 0);
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Markers().empty());

    // Up to the bound a value comes back whole; beyond it, it is not written over the last.
    std::string longest(kMaxSavedValueBytes, 'y'), read;
    WriteRegistryValue(kMovieRegKey, kName, longest.c_str());
    WriteRegistryValue(kMovieRegKey, kName, (longest + "z").c_str());
    ASSERT_EQ(ReadRegistryValue(kMovieRegKey, kName, read), 1);
    EXPECT_TRUE(read == longest) << read.size();
    DeleteStored(kName);
    EXPECT_EQ(ReadRegistryValue(kMovieRegKey, kName, read), 0);
}
