// The menu schema read from a section: values, defaults, and every error text.
#include "fake_error_box.h"
#include "menu/menu_config.h"
#include "menu/menu_messages.h"
#include "menu/run_settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const char* const kPath = "C:\\games\\tovak.ini";
const MenuMetrics kMetrics{3, 4, 19};

struct Load {
    int result;
    std::string error;
    std::unique_ptr<CMenuModel> model;
};

// Loads the section with the run's settings of the same text, as the launcher does.
Load LoadText(const std::string& text, const char* section = "Settings") {
    CIniProfile ini = CIniProfile::FromText(text);
    RunSettings run;
    ReadRunSettings(ini, run);
    Load load{0, "", std::make_unique<CMenuModel>()};
    MenuLoadError failure =
        LoadMenuModel(ini, section, run.pad, run.fullScreen, kMetrics, *load.model);
    load.result = failure.Failed() ? 0 : 1;
    char error[1024] = "";
    FormatMenuLoadError(failure, kPath, error, sizeof error);
    load.error = error;
    return load;
}

std::string NotEnoughValues(const char* key) {
    return std::string("tovak.exe - Settings config problem\n\n") + kPath + "\n\n" + key +
           " - not enough values specified";
}

const std::string kNoValid = std::string("tovak.exe - Settings config problem\n\n") + kPath +
                             "\n\nNo valid screen settings found";

TEST(MenuConfig, SelectionCountIsCheckedAgainstItsLimit) {
    std::string twenty = "[Settings]\nnumselections=20\n";
    Load ok = LoadText(twenty);
    EXPECT_EQ(ok.result, 1) << ok.error;
    EXPECT_EQ(ok.model->nSelections, 20);

    Load tooMany = LoadText("[Settings]\nnumselections=21\n");
    EXPECT_EQ(tooMany.result, 0);
    EXPECT_EQ(tooMany.error, "Too many selections specified in ini file numselections=21, max=20");

    for (const char* text : {"[Settings]\ntitle=x\n", "[Settings]\nnumselections=0\n",
                             "[Settings]\nnumselections=-3\n", "", "[Other]\nnumselections=2\n"}) {
        Load none = LoadText(text);
        EXPECT_EQ(none.result, 0) << text;
        EXPECT_EQ(none.error, kNoValid) << text;
    }
    EXPECT_TRUE(g_shownErrors.empty()); // the texts are returned, not shown, by the model
}

TEST(MenuConfig, AKeylessSelectionTakesTheDefaults) {
    Load load = LoadText("[settings]\nnumselections=1\n");
    ASSERT_EQ(load.result, 1) << load.error;
    const CMenuModel& m = *load.model;
    EXPECT_STREQ(m.strSection, "Settings"); // as asked for, whatever the file writes
    EXPECT_STREQ(m.strTitle, "No title");
    EXPECT_STREQ(m.strPlayTitle, "Play Game");
    EXPECT_STREQ(m.strExitTitle, "Exit");
    EXPECT_STREQ(m.strVisitTitle, "Not Set");
    EXPECT_STREQ(m.strVisitUrl, "");
    EXPECT_STREQ(m.strTitleImage, "");
    EXPECT_EQ(m.nDefaultSelection, 0);
    EXPECT_EQ(m.bHasTitleImage, 0);
    const MenuSelection& s = m.sel[0];
    EXPECT_EQ(s.nScreenWidth, 0);
    EXPECT_EQ(s.nScreenHeight, 0);
    EXPECT_EQ(s.nColorDepth, 16);
    EXPECT_EQ(s.nGameWidth, 0);
    EXPECT_EQ(s.nGameHeight, 0);
    EXPECT_EQ(s.nPosX + s.nPosY + s.nPosWidth + s.nPosHeight, 0);
    EXPECT_STREQ(s.strCode, "exit");
    EXPECT_STREQ(s.strUrl, "");
    EXPECT_STREQ(s.strDesc, "");
    EXPECT_EQ(s.clrFocus, 0x00FF00);
    EXPECT_EQ(s.clrScreenBg, 0);
    EXPECT_EQ(s.clrGameBg, 0);
    EXPECT_EQ(s.bScreenFull, 0);
    EXPECT_EQ(s.bShowCursor, 1);
    EXPECT_EQ(s.bCloseBtn, 1);
    EXPECT_EQ(s.bCloseOnEvent, 1);
    EXPECT_EQ(s.nQuality, 4);
    // Without xsize and ysize the content is 450 x 250 plus the frame and caption.
    EXPECT_EQ(m.nWidth, 450 + 2 * 3);
    EXPECT_EQ(m.nHeight, 250 + 2 * 4 + 19);
}

TEST(MenuConfig, EverySelectionKeyIsRead) {
    Load load = LoadText("[Settings]\ntitle=Game\ntitleimage=title.gif\nplaytitle=Go\n"
                         "exittitle=Leave\nvisittitle=Site\nvisiturl=http://x/\n"
                         "numselections=2\ndefaultselection=2\nxsize=300\nysize=200\n"
                         "selscreensize2=800,600\nselscreencolordepth2=32\nselgamesize2=640,480\n"
                         "selpos2=10,20,30,40\nselcode2=runclose\nselcolor2=ff0000\n"
                         "selscreenbgcolor2=0000ff\nseldesc2=Big screen\nselscreenfull2=Yes\n"
                         "selshowcursor2=N\nselscreenclosebtn2=no\nselcloseonevent2=0\n"
                         "selurl2=game.swf\nselquality2=autohigh\n");
    ASSERT_EQ(load.result, 1) << load.error;
    const CMenuModel& m = *load.model;
    EXPECT_STREQ(m.strTitle, "Game");
    EXPECT_STREQ(m.strTitleImage, "title.gif"); // named, not loaded, by the model
    EXPECT_STREQ(m.strPlayTitle, "Go");
    EXPECT_STREQ(m.strExitTitle, "Leave");
    EXPECT_STREQ(m.strVisitTitle, "Site");
    EXPECT_STREQ(m.strVisitUrl, "http://x/");
    EXPECT_EQ(m.nSelections, 2);
    EXPECT_EQ(m.nDefaultSelection, 2);
    EXPECT_EQ(m.nWidth, 306);
    EXPECT_EQ(m.nHeight, 227);
    const MenuSelection& s = m.sel[1];
    EXPECT_EQ(s.nScreenWidth, 800);
    EXPECT_EQ(s.nScreenHeight, 600);
    EXPECT_EQ(s.nColorDepth, 32);
    EXPECT_EQ(s.nGameWidth, 640);
    EXPECT_EQ(s.nGameHeight, 480);
    EXPECT_EQ(s.nPosX, 10);
    EXPECT_EQ(s.nPosY, 20);
    EXPECT_EQ(s.nPosWidth, 30);
    EXPECT_EQ(s.nPosHeight, 40);
    EXPECT_STREQ(s.strCode, "runclose");
    EXPECT_EQ(s.clrFocus, 0xFF0000);
    EXPECT_EQ(s.clrScreenBg, 0x0000FF);
    EXPECT_EQ(s.clrGameBg, 0x0000FF); // follows the screen colour
    EXPECT_STREQ(s.strDesc, "Big screen");
    EXPECT_EQ(s.bScreenFull, 1);
    EXPECT_EQ(s.bShowCursor, 0);
    EXPECT_EQ(s.bCloseBtn, 0);
    EXPECT_EQ(s.bCloseOnEvent, 0);
    EXPECT_STREQ(s.strUrl, "game.swf");
    EXPECT_EQ(s.nQuality, 5);
}

TEST(MenuConfig, NumberListsNeedEveryValue) {
    struct Case {
        const char* keys;
        const char* failingKey; // null: loads
    };
    const Case cases[] = {
        {"selscreensize1=800\n", "selscreensize1"},
        {"selscreensize1=800,600,32\n", nullptr},
        {"selscreensize1=800, 600\n", nullptr},
        {"selscreensize1=800 ,600\n", "selscreensize1"},
        {"selscreensize1=\n", "selscreensize1"},
        {"selscreensize1=x,1\n", "selscreensize1"},
        {"selscreencolordepth1=\n", "selscreencolordepth1"},
        {"selscreencolordepth1=deep\n", "selscreencolordepth1"},
        {"selscreencolordepth1=24bit\n", nullptr},
        {"selgamesize1=640\n", "selgamesize1"},
        {"selpos1=1,2,3\n", "selpos1"},
        {"selpos1=-1,+2, 3,4\n", nullptr},
    };
    for (const Case& c : cases) {
        Load load = LoadText(std::string("[Settings]\nnumselections=1\n") + c.keys);
        if (c.failingKey) {
            EXPECT_EQ(load.result, 0) << c.keys;
            EXPECT_EQ(load.error, NotEnoughValues(c.failingKey)) << c.keys;
        } else {
            EXPECT_EQ(load.result, 1) << c.keys << load.error;
        }
    }
    // The key named is that of the selection that failed; the selections before it stay.
    Load third = LoadText("[Settings]\nnumselections=4\nselpos3=1,2\n");
    EXPECT_EQ(third.result, 0);
    EXPECT_EQ(third.error, NotEnoughValues("selpos3"));
    EXPECT_EQ(third.model->nSelections, 2);
    Load depth = LoadText("[Settings]\nnumselections=2\nselscreencolordepth2=\n");
    EXPECT_EQ(depth.error, NotEnoughValues("selscreencolordepth2"));
    Load negative = LoadText("[Settings]\nnumselections=1\nselpos1=-1,+2, 3,4\n");
    EXPECT_EQ(negative.model->sel[0].nPosX, -1);
    EXPECT_EQ(negative.model->sel[0].nPosY, 2);
}

TEST(MenuConfig, FlagsColoursAndQualityWords) {
    EXPECT_EQ(IsYes("Yes"), 1);
    EXPECT_EQ(IsYes("true"), 1);
    EXPECT_EQ(IsYes("T"), 1);
    EXPECT_EQ(IsYes("y"), 1);
    EXPECT_EQ(IsYes("1"), 0);
    EXPECT_EQ(IsYes("N"), 0);
    EXPECT_EQ(IsYes(""), 0);
    EXPECT_EQ(IsYes(" yes"), 0);

    EXPECT_EQ(HexToColor("FF0000"), 0xFF0000);
    EXPECT_EQ(HexToColor("ff0000"), 0xFF0000);
    EXPECT_EQ(HexToColor("00FF00"), 0x00FF00);
    EXPECT_EQ(HexToColor("FF"), 0xFF);
    EXPECT_EQ(HexToColor("#FF0000"), 0);
    EXPECT_EQ(HexToColor(""), 0);
    EXPECT_EQ(HexToColor("12345G"), 0);
    EXPECT_EQ(HexToColor("0x10"), 0);
    // Characters 0x2A..0x3F count with their low four bits.
    EXPECT_EQ(HexToColor(":"), 0xA);
    // Beyond eight digits only the last eight count; beyond ten characters none are read.
    EXPECT_EQ(HexToColor("123456789A"), 0x3456789A);
    EXPECT_EQ(HexToColor("123456789AB"), 0x3456789A);

    for (const char* word : {"high", "HIGH", "best", "", "low "})
        EXPECT_EQ(QualityFromText(word), 4) << word;
    EXPECT_EQ(QualityFromText("Low"), 1);
    EXPECT_EQ(QualityFromText("autolow"), 2);
    EXPECT_EQ(QualityFromText("MEDIUM"), 3);
    EXPECT_EQ(QualityFromText("autohigh"), 5);
}

TEST(MenuConfig, PresentButEmptyValuesAreNotDefaults) {
    Load load = LoadText("[Settings]\nnumselections=1\ntitle=\nselcode1=\nselshowcursor1=\n"
                         "selcolor1=\nselscreenbgcolor1=FF8000\nselgamebgcolor1=\n"
                         "selquality1=\n");
    ASSERT_EQ(load.result, 1) << load.error;
    const MenuSelection& s = load.model->sel[0];
    EXPECT_STREQ(load.model->strTitle, "");
    EXPECT_STREQ(s.strCode, "");
    EXPECT_EQ(s.bShowCursor, 0);
    EXPECT_EQ(s.clrFocus, 0);
    EXPECT_EQ(s.clrScreenBg, 0xFF8000);
    EXPECT_EQ(s.clrGameBg, 0); // its own, empty, value
    EXPECT_EQ(s.nQuality, 4);
    EXPECT_EQ(s.bCloseBtn, 1);
}

TEST(MenuConfig, LongValuesAreCutAndLongSectionNamesRefused) {
    // Texts are held in 899 bytes of UTF-8, cut between characters: 899 ASCII letters, 299
    // Japanese ones (3 bytes each) with the first byte of the 300th left out.
    std::string longDesc(1000, 'd');
    std::string japanese;
    for (int i = 0; i < 310; ++i)
        japanese += "\xE6\x97\xA5";
    Load load = LoadText("[Settings]\nnumselections=2\nseldesc1=" + longDesc +
                         "\nseldesc2=" + japanese + "\n");
    ASSERT_EQ(load.result, 1);
    EXPECT_EQ(std::string(load.model->sel[0].strDesc), std::string(899, 'd'));
    EXPECT_EQ(std::string(load.model->sel[1].strDesc), japanese.substr(0, 897));

    std::string fits(899, 's');
    Load ok = LoadText("[" + fits + "]\nnumselections=1\n", fits.c_str());
    EXPECT_EQ(ok.result, 1) << ok.error;
    std::string name(900, 's');
    Load refused = LoadText("[" + name + "]\nnumselections=1\n", name.c_str());
    EXPECT_EQ(refused.result, 0);
    EXPECT_EQ(refused.error, std::string("tovak.exe - Settings config problem\n\n") + kPath +
                                 "\n\nMenu section name is too long (at most 899 characters)");
}

} // namespace

TEST(MenuConfig, ControllerMappingsLaySettingsPadAndEachSelpadOverTheDefault) {
    const std::string ini = "[settings]\npad=A=Z, RSTICK=WASD, B=SPCE\nnumselections=1\n"
                            "[Options]\nnumselections=3\nselpad1=a=x,START=NONE\nselpad2=N\n";
    Load sub = LoadText(ini, "Options");
    ASSERT_EQ(sub.result, 1) << sub.error;
    const PadMapping standard = DefaultPadMapping();
    const MenuSelection* s = sub.model->sel;
    EXPECT_EQ(s[0].pad.keys[kPadA], 'X'); // the selection's own
    EXPECT_EQ(s[0].pad.keys[kPadStart], 0);
    EXPECT_EQ(s[0].pad.keys[kPadRStickLeft], 'A');         // the settings' pad
    EXPECT_EQ(s[0].pad.keys[kPadB], standard.keys[kPadB]); // a bad item keeps the default
    EXPECT_EQ(s[0].pad.keys[kPadX], standard.keys[kPadX]);
    EXPECT_TRUE(s[0].pad.bOn);
    EXPECT_FALSE(s[1].pad.bOn);
    EXPECT_TRUE(s[2].pad.bOn);
    EXPECT_EQ(s[2].pad.keys[kPadA], 'Z');
}

TEST(MenuConfig, FullScreenWayOfSettingsWithEachSelectionsOwnOverIt) {
    const std::string ini = "[settings]\nfullscreen=fit\nnumselections=1\n"
                            "[Options]\nnumselections=3\nselfullscreen1=Integer\n"
                            "selfullscreen2=fitt\nselfullscreen3=switch\n";
    Load sub = LoadText(ini, "Options");
    ASSERT_EQ(sub.result, 1) << sub.error;
    EXPECT_EQ(sub.model->sel[0].fullScreenWay, FullScreenWay::Integer);
    EXPECT_EQ(sub.model->sel[1].fullScreenWay, FullScreenWay::Fit); // misspelt: the settings'
    EXPECT_EQ(sub.model->sel[2].fullScreenWay, FullScreenWay::Switch);
}
