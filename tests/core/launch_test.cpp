// The launch decisions that are easy to get wrong: which kind a path names, which texts are
// web addresses, and paths that do not fit.
#include "menu/launch.h"

#include "screen/browser_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

TEST(Launch, KindIsTheFirstSubstringFoundInTheUpperCasedPath) {
    EXPECT_EQ(FindGameKind("C:\\g\\game.swf"), GameKind::Flash);
    EXPECT_EQ(FindGameKind("C:\\g\\GAME.Dcr"), GameKind::Shockwave);
    EXPECT_EQ(FindGameKind("C:\\g\\page.html"), GameKind::WebPage);
    EXPECT_EQ(FindGameKind("http://x/a.HTM?q=1"), GameKind::WebPage);
    // ".EXE" is looked for first, anywhere in the path, then ".DCR" before ".SWF".
    EXPECT_EQ(FindGameKind("C:\\game.exe.files\\movie.swf"), GameKind::Executable);
    EXPECT_EQ(FindGameKind("C:\\a.swf.dcr"), GameKind::Shockwave);
    EXPECT_EQ(FindGameKind("C:\\readme.txt"), GameKind::None);
    EXPECT_EQ(FindGameKind("C:\\a.ex"), GameKind::None);
    EXPECT_EQ(FindGameKind(""), GameKind::None);
    EXPECT_STREQ(GameKindOf(GameKind::Flash).progId, "ShockwaveFlash.ShockwaveFlash.7");
    EXPECT_EQ(GameKindOf(GameKind::WebPage).nBrowserType, 1);
}

TEST(Launch, WebAddressesInAnyCaseAreUsedUnchangedOtherTextsJoinTheWorkingDirectory) {
    char path[300];
    for (const char* url : {"http://a/b.swf", "HTTP://a/b.swf", "https://a/b.htm", "HtTpS:x"}) {
        EXPECT_TRUE(IsWebAddress(url)) << url;
        ASSERT_TRUE(ResolveSelectionPath(path, sizeof path, "C:\\g", url));
        EXPECT_STREQ(path, url);
    }
    for (const char* text : {"http", "ftp://a", "game.htm", " http://a", ""})
        EXPECT_FALSE(IsWebAddress(text)) << text;
    ASSERT_TRUE(ResolveSelectionPath(path, sizeof path, "C:\\g", "game.swf"));
    EXPECT_STREQ(path, "C:\\g\\game.swf");

    // 299 characters fit in 300, 300 do not: refused, nothing half-made left behind.
    std::string dir(290, 'd');
    ASSERT_TRUE(ResolveSelectionPath(path, sizeof path, dir.c_str(), "abcd.swf"));
    EXPECT_EQ(std::string(path).size(), 299u);
    EXPECT_FALSE(ResolveSelectionPath(path, sizeof path, dir.c_str(), "abcde.swf"));
    EXPECT_STREQ(path, "");
    std::string url = "http://" + std::string(293, 'u');
    EXPECT_FALSE(ResolveSelectionPath(path, sizeof path, "C:\\g", url.c_str()));
    EXPECT_STREQ(path, "");
}

TEST(Launch, CloseKind) {
    EXPECT_EQ(CloseKindFor(true, SelectionCode::Run), kCloseToMenu);
    EXPECT_EQ(CloseKindFor(true, SelectionCode::RunClose), kCloseMenu);
    EXPECT_EQ(CloseKindFor(true, SelectionCode::RunExit), kCloseProgram);
    EXPECT_EQ(CloseKindFor(false, SelectionCode::Run), kCloseProgram);
    EXPECT_EQ(CloseKindFor(false, SelectionCode::RunClose), kCloseProgram);
}

TEST(Text, OneCaseFoldForAsciiLettersOnly) {
    for (int c = 0; c < 256; ++c) {
        char ch = static_cast<char>(c);
        char expected = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : ch;
        EXPECT_EQ(FoldAscii(ch), expected) << c;
    }
    // Letters beyond ASCII are never folded: "\xC4" and "\xE4" differ in every code page.
    EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));
    EXPECT_TRUE(ContainsNoCase("A/CloseWindow.htm", "closewindow."));
    EXPECT_FALSE(ContainsNoCase("closewindow", "closewindow."));
    EXPECT_TRUE(StartsWithNoCase("RunExit", "runex"));
    EXPECT_FALSE(StartsWithNoCase("run", "runex"));
}

TEST(Launch, GameScreenOptionsCarryTheSelectionAndItsCloseKind) {
    MenuSelection windowedFlash{};
    windowedFlash.bScreenFull = 0;
    windowedFlash.nScreenWidth = 800;
    windowedFlash.nScreenHeight = 600;
    windowedFlash.nColorDepth = 16;
    windowedFlash.nGameWidth = 640;
    windowedFlash.nGameHeight = 0;
    windowedFlash.clrScreenBg = 0xABCDEF;
    windowedFlash.clrGameBg = 0x102030;
    windowedFlash.bShowCursor = 0;
    windowedFlash.bCloseBtn = 1;
    windowedFlash.bCloseOnEvent = 1;
    windowedFlash.nQuality = 2;
    std::snprintf(windowedFlash.strCode, sizeof windowedFlash.strCode, "RUNCLOSE");

    MenuSelection fullPage = windowedFlash;
    fullPage.bScreenFull = 1;
    fullPage.bCloseOnEvent = 0;
    std::snprintf(fullPage.strCode, sizeof fullPage.strCode, "runexit");
    MenuSelection plainRun = fullPage;
    std::snprintf(plainRun.strCode, sizeof plainRun.strCode, "run");

    struct Case {
        const MenuSelection* s;
        GameKind kind;
        bool bHasWindow;
        int nBrowserType, bScreenFull, bCloseOnEvent, nCloseKind;
    } cases[] = {
        {&windowedFlash, GameKind::Flash, true, 3, 0, 1, kCloseMenu},
        {&windowedFlash, GameKind::Shockwave, false, 2, 0, 1, kCloseProgram},
        {&fullPage, GameKind::WebPage, true, 1, 1, 0, kCloseProgram},
        {&plainRun, GameKind::WebPage, true, 1, 1, 0, kCloseToMenu},
        // A one-selection first menu runs its game without a window: the game ends the program.
        {&plainRun, GameKind::Flash, false, 3, 1, 0, kCloseProgram},
    };
    for (const Case& c : cases) {
        GameScreenOptions o = GameScreenOptionsFor(*c.s, c.kind, "Star Courier", c.bHasWindow);
        SCOPED_TRACE(c.s->strCode);
        EXPECT_EQ(o.nBrowserType, c.nBrowserType);
        EXPECT_EQ(o.bScreenFull, c.bScreenFull);
        EXPECT_EQ(o.bCloseOnEvent, c.bCloseOnEvent);
        EXPECT_EQ(o.nCloseKind, c.nCloseKind);
        EXPECT_EQ(o.clrScreenBg, 0xABCDEF);
        EXPECT_EQ(o.clrGameBg, 0x102030);
        EXPECT_EQ(o.nScreenWidth, 800);
        EXPECT_EQ(o.nScreenHeight, 600);
        EXPECT_EQ(o.nGameWidth, 640);
        EXPECT_EQ(o.nGameHeight, 0);
        EXPECT_EQ(o.nColorDepth, 16);
        EXPECT_EQ(o.bShowCursor, 0);
        EXPECT_EQ(o.bCloseBtn, 1);
        EXPECT_EQ(o.nQuality, 2);
        EXPECT_STREQ(o.strTitle, "Star Courier");
    }
}
