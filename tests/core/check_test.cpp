// tovak-check end to end: broken game folders made here, each with several faults, checked
// against the exact findings; the sample game clean; a preview decoded back.
#include "base/config_names.h"
#include "image/gif.h"
#include "tools/check/menu_check.h"
#include "platform/profile.h"
#include "tools/check/check_tool.h"
#include "tovak_version.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int code;
    std::string out;
    std::string err;
};

RunResult RunCheck(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code = RunTovakCheck(args, out, err);
    return RunResult{code, out.str(), err.str()};
}

// A PNG file decoded to RGB with libpng.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    int Pixel(int x, int y) const {
        const unsigned char* p = &rgb[(std::size_t(y) * width + x) * 3];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
};

Picture ReadPng(const std::string& path) {
    Picture picture;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return picture;
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr))
        return picture;
    picture.width = static_cast<int>(png.width);
    picture.height = static_cast<int>(png.height);
    picture.rgb = std::move(rgb);
    return picture;
}

const std::string kSample = std::string(TOVAK_SOURCE_DIR) + "/examples/sample";

class CheckToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = (fs::path(TOVAK_BINARY_DIR) / "check-tests" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name())
                  .string();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void Write(const std::string& name, const std::string& text) {
        fs::create_directories(fs::path(dir + "/" + name).parent_path());
        std::ofstream(dir + "/" + name, std::ios::binary) << text;
    }
    // Expected output: every line starts with the configuration file's path.
    std::string Lines(const std::vector<std::string>& lines) const {
        std::string out;
        for (const std::string& line : lines)
            out += dir + "/tovak.ini" + line + "\n";
        return out;
    }
    std::string dir;
};

TEST_F(CheckToolTest, HotSpotsColoursKeysAndSectionsOfAWindowMenu) {
    fs::copy_file(kSample + "/title.gif", dir + "/title.gif"); // 640 x 480
    Write("tool.exe", "not an executable");
    Write("Game.exe.files/movie.swf", "FWS");
    Write(kConfigFileName,
          "; broken on purpose\r\n"
          "[Settings]\r\n"
          "titleimage=TITLE.GIF\r\n"
          "numselections=4\r\n"
          "selpos1=-20,10,100,50\r\n"
          "selcolor1=#00FF00\r\n"
          "selcode1=run\r\n"
          "selurl1=game.exe.files\\movie.swf\r\n"
          "seldesc1=A description far too long to fit in the window, surely it is\r\n"
          "selpos2=50,30,100,50\r\n"
          "selcod2=menu\r\n"
          "\r\n"
          "selcode2=menu\r\n"
          "selurl2=Missing\r\n"
          "selpos3=700,500,10,10\r\n"
          "selcode3=run\r\n"
          "selurl3=readme.txt\r\n"
          "selscreensize3=640,480\r\n"
          "selgamesize3=800,600\r\n"
          "selpos4=10,10,0,50\r\n"
          "selcode4=rnu\r\n"
          "SELCODE4=run\r\n"
          "selpos5=1,1,1,1\r\n"
          "selcolor4=00ff00\r\n"
          "pad=Q=Z,START=ESCAPE\r\n"
          "selpad4=A=SPCE,lt=esc\r\n"
          "fullscreen=Fitt\r\n"
          "selfullscreen2=integr\r\n"
          "[Unused]\r\n"
          "title=x\r\n"
          "[settings]\r\n"
          "title=dup\r\n");
    RunResult r = RunCheck({"--preview", dir + "/shots", dir});
    EXPECT_EQ(1, r.code);
    std::string missing = "tovak.exe - Settings config problem\\n\\n" + dir +
                          "/tovak.ini\\n\\nNo valid screen settings found";
    EXPECT_EQ(
        Lines({": warning: tovak_logo.gif: the logo is missing; games start without it",
               ":5: warning: [Settings] selpos1: hot spot (-20,10)-(80,60) reaches past the edge "
               "of the 640 x 480 title image",
               ":6: warning: [Settings] selcolor1: colour \"#00FF00\" is not six hexadecimal "
               "digits; the launcher reads it as 000000",
               ":8: warning: [Settings] selurl1: \"game.exe.files\\movie.swf\" contains \".exe\" "
               "but is no executable; the launcher would start it as one",
               ":9: warning: [Settings] seldesc1: description box (-170,22)-(230,38) leaves the "
               "window's 639 x 480 client area",
               ":10: warning: [Settings] selpos2: hot spot overlaps that of selection 1; a click "
               "there activates both",
               ":11: warning: [Settings] selcod2: the launcher never reads this key; nearest "
               "known key: selcode2",
               ":14: error: [Settings] selurl2: there is no section [Missing]: " + missing,
               ":15: warning: [Settings] selpos3: hot spot (700,500)-(710,510) lies outside the "
               "640 x 480 title image",
               ":17: error: [Settings] selurl3: Invalid file type specified to launch\\n\\nfile=" +
                   dir + "\\readme.txt\\n\\nOnly .exe, .dcr, .htm, or .html supported",
               ":19: warning: [Settings] selgamesize3: game size 800,600 is larger than the "
               "screen size 640,480",
               ":20: warning: [Settings] selpos4: hot spot (10,10)-(10,60) has no area; the mouse "
               "can never reach it",
               ":21: warning: [Settings] selcode4: code \"rnu\" does nothing; the codes are run, "
               "runclose, runexit, menu, visit, close and exit",
               ":22: warning: [Settings] SELCODE4: ignored: line 21 already sets this key",
               ":23: warning: [Settings] selpos5: selection 5 is beyond numselections=4; the "
               "launcher never reads this key",
               ":25: error: [Settings] pad: unknown button \"Q\"; the buttons are A, B, X, Y, "
               "LB, RB, LT, RT, BACK, START, LS, RS, DPAD, LSTICK, RSTICK",
               ":26: error: [Settings] selpad4: unknown key \"SPCE\" for A: a key is a letter, a "
               "digit, F1 to F12, SPACE, RETURN, ESCAPE, TAB, BACKSPACE, SHIFT, CONTROL, ALT, UP, "
               "DOWN, LEFT, RIGHT, PAGEUP, PAGEDOWN, HOME, END, INSERT, DELETE or NONE",
               ":26: warning: [Settings] selpad4: LT sends ESCAPE, which games often take as "
               "leaving or pausing: a button used in play should not; START or BACK can",
               ":27: warning: [Settings] fullscreen: \"Fitt\" is not switch, fit or integer "
               "(nearest: fit); the launcher uses switch, a mode switch",
               ":28: warning: [Settings] selfullscreen2: \"integr\" is not switch, fit or "
               "integer (nearest: integer); the launcher uses the way of [settings] fullscreen",
               ":29: warning: [Unused]: no menu selection reaches this section",
               ":31: warning: [settings]: ignored: the section of this name on line 2 comes "
               "first",
               ": 1 menu, 4 selections, 4 errors, 18 warnings"}),
        r.out);

    // The preview clips what reaches past the image, and draws the colours as the launcher
    // reads them: "#00FF00" is black, a missing selcolor2 the default green.
    Picture shot = ReadPng(dir + "/shots/Settings.png");
    ASSERT_EQ(640, shot.width);
    EXPECT_EQ(0x000000, shot.Pixel(79, 50));
    EXPECT_EQ(0x00FF00, shot.Pixel(50, 60));
}

TEST_F(CheckToolTest, MenusThatFailFilesThatAreMissingAndTooLongValues) {
    Write("title.gif", "GIF89a");
    Write(kLogoFileName, "nope");
    Write("Page.HTM", "<html>");
    Write("tools/dcr.exe", "not a program");
    Write(kConfigFileName, "stray=1\n"
                           "[settings]\n"
                           "debug=N\n"
                           "numselections=8\n"
                           "titleimage=title.gif\n"
                           "xsize\n"
                           "selcode1=menu\n"
                           "selurl1=Sub\n"
                           "selcode2=menu\n"
                           "selurl2=Empty\n"
                           "selcode3=menu\n"
                           "selurl3=many\n"
                           "selcode4=runexit\n"
                           "selurl4=setup.exe\n"
                           "selcode5=run\n"
                           "selurl5=HTTP://example.com/game.swf\n"
                           "seldesc5=" +
                               std::string(900, 'x') +
                               "\n"
                               "selcode6=runclose\n"
                               "selurl6=page.htm\n"
                               "selcode7=run\n"
                               "selurl7=missing.htm\n"
                               "selcode8=menu\n"
                               "selurl8=EMPTY\n"
                               "swfplayr=flash.exe\n"
                               "dcrplayer=tools\\dcr.exe %1\n"
                               "htmplayer=\"page player.exe\" \"%1\"\n"
                               "[Sub]\n"
                               "numselections=2\n"
                               "selscreensize1=800\n"
                               "[Empty]\n"
                               "numselections=0\n"
                               "numselection=2\n"
                               "[Many]\n"
                               "numselections=21\n"
                               "[exitnag]\n"
                               "title=Bye\n");
    RunResult r = RunCheck({dir + "/tovak.ini"});
    EXPECT_EQ(1, r.code);
    std::string problem = "tovak.exe - Settings config problem\\n\\n" + dir + "/tovak.ini\\n\\n";
    EXPECT_EQ(
        Lines({": warning: tovak_logo.gif: the logo does not decode; games start without it",
               ":1: warning: stray: this line is in no section; the launcher never reads it",
               ":5: error: [settings] titleimage: tovak.exe - failed to load title screen image "
               "title.gif",
               ":6: warning: [settings] xsize: no '=' on this line; the launcher reads the key as "
               "missing",
               ":10: error: [settings] selurl2: section [Empty] has no selections: " + problem +
                   "No valid screen settings found",
               ":14: error: [settings] selurl4: file \"setup.exe\" does not exist: Failed to "
               "execute external program\\n\\nfile=" +
                   dir + "\\setup.exe",
               ":16: warning: [settings] selurl5: plays only where the retired control is "
               "installed: no swfplayer in [settings]",
               ":17: error: [settings] seldesc5: the value takes 900 bytes in UTF-8; the launcher "
               "keeps only the first 899",
               ":21: error: [settings] selurl7: file \"missing.htm\" does not exist",
               ":23: error: [settings] selurl8: section [Empty] has no selections: " + problem +
                   "No valid screen settings found",
               ":24: warning: [settings] swfplayr: the launcher never reads this key; nearest "
               "known key: swfplayer",
               ":25: warning: [settings] dcrplayer: no selection plays a .dcr game; the launcher "
               "never starts this player",
               ":25: error: [settings] dcrplayer: player program \"tools\\dcr.exe\" is no "
               "executable: Failed to start the player program\\n\\nprogram=" +
                   dir + "\\tools\\dcr.exe\\n\\nkey=dcrplayer",
               ":26: error: [settings] htmplayer: player program \"page\" does not exist: The "
               "player program was not found\\n\\nprogram=" +
                   dir +
                   "\\page\\n\\nkey=htmplayer (a value that begins and ends with a quote loses "
                   "them: write it in one more pair of quotes)",
               ":29: error: [Sub] selscreensize1: " + problem +
                   "selscreensize1 - not enough values specified",
               ":32: warning: [Empty] numselection: the launcher never reads this key; nearest "
               "known key: numselections",
               ":34: error: [Many] numselections: Too many selections specified in ini file "
               "numselections=21, max=20",
               ":35: warning: [exitnag]: the exit screen is never shown: it names no titleimage",
               ": 4 menus, 8 selections, 10 errors, 8 warnings"}),
        r.out);

    // The same findings for tools, in JSON.
    r = RunCheck({"--json", dir + "/tovak.ini"});
    EXPECT_EQ(1, r.code);
    EXPECT_EQ(0u, r.out.find("[\n {\"file\": \"" + dir +
                             "/tovak.ini\", \"line\": null, \"severity\": \"warning\", "
                             "\"section\": \"\", \"key\": \"tovak_logo.gif\", \"message\": "
                             "\"the logo does not decode; games start without it\"},\n"));
    EXPECT_NE(
        std::string::npos,
        r.out.find("{\"file\": \"" + dir +
                   "/tovak.ini\", \"line\": 14, \"severity\": \"error\", \"section\": "
                   "\"settings\", \"key\": \"selurl4\", \"message\": \"file \\\"setup.exe\\\" "
                   "does not exist: Failed to execute external program\\n\\nfile=" +
                   dir + "\\\\setup.exe\"},\n"));
    std::size_t objects = 0;
    for (std::size_t at = 0; (at = r.out.find("{\"file\"", at)) != std::string::npos; ++at)
        ++objects;
    EXPECT_EQ(18u, objects);
}

TEST_F(CheckToolTest, NoFirstMenuAndUsageProblems) {
    Write(kConfigFileName, "[Setting]\nnumselections=1\n");
    RunResult r = RunCheck({dir});
    EXPECT_EQ(1, r.code);
    EXPECT_EQ(Lines({": error: [Settings] numselections: there is no section [Settings]: "
                     "tovak.exe - Settings config problem\\n\\n" +
                         dir + "/tovak.ini\\n\\nNo valid screen settings found",
                     ": warning: tovak_logo.gif: the logo is missing; games start without it",
                     ":1: warning: [Setting]: no menu selection reaches this section",
                     ": 0 menus, 0 selections, 1 error, 2 warnings"}),
              r.out);

    EXPECT_EQ(2, RunCheck({}).code);
    r = RunCheck({"--version"});
    EXPECT_EQ(0, r.code);
    EXPECT_EQ("tovak-check " TOVAK_VERSION "\n", r.out);
    EXPECT_EQ(2, RunCheck({"--jsn", dir}).code);
    EXPECT_EQ(2, RunCheck({dir, dir}).code);
    r = RunCheck({dir + "/none"});
    EXPECT_EQ(2, r.code);
    EXPECT_EQ("tovak-check: " + dir + "/none: no such folder or file\n", r.err);
    fs::remove(dir + "/tovak.ini");
    EXPECT_EQ(2, RunCheck({dir}).code); // a folder without its configuration file
}

TEST_F(CheckToolTest, AFolderNamedLikeAMessageChangesNoFinding) {
    // The launcher's texts name the configuration file; what a finding is about must not depend
    // on the words of its path.
    std::string game = dir + "/Too many selections";
    fs::create_directories(game);
    std::ofstream(game + "/" + kConfigFileName, std::ios::binary) << "[settings]\n"
                                                                     "numselections=1\n"
                                                                     "selcode1=menu\n"
                                                                     "selurl1=Empty\n"
                                                                     "[Empty]\n"
                                                                     "numselections=0\n";
    RunResult r = RunCheck({game});
    EXPECT_EQ(1, r.code);
    std::string config = game + "/tovak.ini";
    EXPECT_EQ(config + ": warning: tovak_logo.gif: the logo is missing; games start without it\n" +
                  config +
                  ":4: error: [settings] selurl1: section [Empty] has no selections: tovak.exe - "
                  "Settings config problem\\n\\n" +
                  config + "\\n\\nNo valid screen settings found\n" + config +
                  ": 2 menus, 1 selection, 1 error, 1 warning\n",
              r.out);
}

TEST_F(CheckToolTest, SampleIsCleanAndItsPreviewShowsHotSpotsOverTheTitleImage) {
    // The sample as shipped: its folder with the arcade game beside it (built only for
    // Windows; a stand-in with its signature here).
    std::string sample = dir + "/sample";
    fs::create_directories(sample);
    fs::copy(kSample, sample, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    Write("sample/arcade.exe", "MZ");
    RunResult r = RunCheck({"--preview", dir, sample});
    EXPECT_EQ(0, r.code) << r.out << r.err;
    EXPECT_EQ(sample + "/tovak.ini: 3 menus, 12 selections, 0 errors, 0 warnings\n", r.out);
    EXPECT_TRUE(fs::exists(dir + "/Options.png"));
    EXPECT_TRUE(fs::exists(dir + "/exitnag.png"));

    Picture shot = ReadPng(dir + "/settings.png");
    ASSERT_EQ(640, shot.width);
    ASSERT_EQ(480, shot.height);
    auto pixel = [&](int x, int y) { return shot.Pixel(x, y); };
    // Selection 2 (selpos2=330,92,250,88, selcolor2=00FFFF): its three-pixel frame on the
    // right edge, and the title image just outside it.
    EXPECT_EQ(0x00FFFF, pixel(579, 130));
    EXPECT_EQ(0x00FFFF, pixel(577, 130));
    CGifImage title;
    ASSERT_EQ(1, title.Load((kSample + "/title.gif").c_str()));
    const CGifFrame& frame = *title.pFrames[0];
    for (int x : {5, 581, 600}) {
        const unsigned char* c = frame.pColors + frame.pBits[130 * frame.nStride + x] * 4;
        EXPECT_EQ((c[2] << 16) | (c[1] << 8) | c[0], pixel(x, 130)) << x;
    }
    // Its description box in the card's middle band: black frame, the window's yellow inside.
    EXPECT_EQ(0x000000, pixel(455, 123));
    EXPECT_EQ(0xFFFF66, pixel(360, 125));

    // At 150 %: the picture 960 x 720, the frame's edge and the yellow where they now lie;
    // at 200 % each pixel a square of four.
    EXPECT_EQ(0, RunCheck({"--preview", dir + "/150", "--scale", "1.5", sample}).code);
    Picture scaled = ReadPng(dir + "/150/settings.png");
    ASSERT_EQ(960, scaled.width);
    ASSERT_EQ(720, scaled.height);
    EXPECT_EQ(0x00FFFF, scaled.Pixel(867, 195)); // (578, 130) of the picture at 1.5
    EXPECT_EQ(0xFFFF66, scaled.Pixel(540, 188));
    EXPECT_EQ(0, RunCheck({"--preview", dir + "/200", "--scale", "2", sample}).code);
    Picture doubled = ReadPng(dir + "/200/settings.png");
    ASSERT_EQ(1280, doubled.width);
    EXPECT_EQ(pixel(455, 123), doubled.Pixel(911, 247));
    EXPECT_EQ(pixel(579, 130), doubled.Pixel(1158, 260));
    for (const char* bad : {"0", "9", "x", "1.5x", ""})
        EXPECT_EQ(2, RunCheck({"--preview", dir, "--scale", bad, sample}).code) << bad;

    // Saved by an editor as "Unicode" (UTF-16 with its byte order mark), either byte order.
    std::ifstream in(kSample + "/tovak.ini", std::ios::binary);
    std::string ansi((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (bool little : {true, false}) {
        std::string utf16 = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char c : ansi) {
            utf16 += little ? c : '\0';
            utf16 += little ? '\0' : c;
        }
        Write("sample/tovak.ini", utf16);
        r = RunCheck({sample});
        EXPECT_EQ(sample + "/tovak.ini: 3 menus, 12 selections, 0 errors, 0 warnings\n", r.out)
            << little;
    }

    // A Japanese title in UTF-8: without the mark the launcher would read it in the PC's code
    // page, with it as written. A byte of an ANSI code page that is no UTF-8 is not pointed at.
    for (const char* mark : {"", "\xEF\xBB\xBF"}) {
        Write("sample/tovak.ini",
              mark + ansi + "\r\n[unused]\r\ntitle=\xE6\x97\xA5\xE6\x9C\xAC\r\n");
        r = RunCheck({sample});
        EXPECT_EQ(*mark ? std::string::npos : 0u,
                  r.out.find(sample + "/tovak.ini: warning: saved as UTF-8 without a byte order "
                                      "mark: the launcher reads it in the PC's code page; save "
                                      "it with a mark\n"))
            << r.out;
    }
    Write("sample/tovak.ini", ansi + "\r\n[unused]\r\ntitle=caf\xE9\r\n");
    EXPECT_EQ(std::string::npos, RunCheck({sample}).out.find("byte order mark"));
}

TEST(CheckFindings, OneLineEachAndValidJsonWhateverTheText) {
    CheckFinding f{CheckSeverity::Error, 0, "s", "k", "a\tb\n\x01\"q\" caf\xC3\xA9 caf\xE9"};
    EXPECT_EQ("t.ini: error: [s] k: a\\tb\\n\\x01\"q\" caf\xC3\xA9 caf\xE9",
              FormatFinding(f, "t.ini"));
    // UTF-8 passes; a byte of a Windows code page is taken as Latin-1.
    EXPECT_EQ("[\n {\"file\": \"t.ini\", \"line\": null, \"severity\": \"error\", \"section\": "
              "\"s\", \"key\": \"k\", \"message\": \"a\\tb\\n\\u0001\\\"q\\\" caf\xC3\xA9 "
              "caf\\u00e9\"}\n]\n",
              FindingsToJson({f}, "t.ini"));
    EXPECT_EQ("[]\n", FindingsToJson({}, "t.ini"));
}

TEST(IniItems, LineNumbersFollowEveryKindOfLineEnd) {
    std::vector<IniItem> items = ParseIniItems(
        "\xEF\xBB\xBF[a]\r\nk=1\r\n\r\n  \n x = \" v \" \rnoequals\n\n[ b ] tail\nz=");
    ASSERT_EQ(6u, items.size());
    EXPECT_TRUE(items[0].bSection);
    EXPECT_EQ(1, items[0].nLine);
    EXPECT_EQ(2, items[1].nLine);
    EXPECT_EQ("x", items[2].name);
    EXPECT_EQ("\" v \"", items[2].value);
    EXPECT_EQ(5, items[2].nLine);
    EXPECT_EQ(6, items[3].nLine);
    EXPECT_FALSE(items[3].bHasValue);
    EXPECT_EQ("b", items[4].name);
    EXPECT_EQ(8, items[4].nLine);
    EXPECT_EQ(9, items[5].nLine);
}

} // namespace
