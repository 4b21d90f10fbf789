// The launch decisions that are easy to get wrong: which kind a path names, which texts are
// web addresses, and paths that do not fit.
#include "menu/launch.h"

#include "screen/browser_table.h"

#include <gtest/gtest.h>

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
