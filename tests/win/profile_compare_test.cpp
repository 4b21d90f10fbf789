// The portable profile reader against the Win32 profile functions: a corpus of awkward INI
// files, each read through GetPrivateProfileStringA / GetPrivateProfileIntA and through
// CIniProfile with the same (section, key, default, buffer size) queries; the answers must be
// the same, result and text.
//
// Values with the prefixes 0x, 0o and 0b are in the corpus: the Win32 integer reader takes them
// as hexadecimal, octal and binary numbers, and so does the portable one.
//
// Names in the corpus are ASCII: the Win32 functions compare names with Unicode case rules and
// convert UTF-8 files (those with a byte order mark) to the ANSI code page, which a byte-wise
// reader does not do; the configuration files the launcher reads are ASCII.
#include "driver/driver.h"
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct IniCase {
    const char* name;
    std::string text;
};

std::vector<IniCase> Corpus() {
    std::string huge(100 * 1024, 'v');
    return {
        {"plain", "[Settings]\r\ntitle=My Game\r\nnumselections=2\r\nselpos1=1,2,3,4\r\n"},
        {"duplicates", "[A]\nk=first\nk=second\nK=third\n[b]\nx=1\n[a]\nk=later\nonly=later\n"
                       "[B]\nx=2\ny=3\n"},
        {"blanks", "[ S ]\n  key1  =  value with blanks  \nkey2=\t tabbed\t\n key 3 = a = b\n"
                   "[S]\nkey1=no\n[T] \n=noname\nk4 =\n"},
        {"quotes", "[Q]\ndq=\"double\"\nsq='single'\nopen=\"unbalanced\nclose=unbalanced\"\n"
                   "mixed=\"mixed'\none=\"\nempty=\"\"\nsqempty=''\ninner=a\"b\"c\n"
                   "spaced=  \" in quotes \"  \nnum=\"42\"\nlong=\"abcdefghij\"\n"},
        {"no_trailing_newline", "[N]\nlast=value"},
        {"lf_only", "[L]\na=1\nb=2\n\n\n[M]\nc=3\n"},
        {"cr_only", "[C]\ra=1\rb=two\r\r[D]\rc=3\r"},
        {"mixed_line_ends", "[E]\r\na=1\nb=2\rc=3\r\n\r\nd=4\n\r[F]\r\ne=5"},
        {"comments", "; leading comment\n# hash comment\n[Com]\n;k=commented\n#h=hashed\n"
                     "k=real ; not a comment\nh=# not a comment\n; tail\n"},
        {"before_section", "early=1\nearly2 = two\n[After]\nlate=3\n"},
        {"huge", "[H]\nbig=" + huge + "\nafter=ok\n"},
        {"bom", "\xEF\xBB\xBF[Bom]\r\nkey=value\r\nnum=12\r\n"},
        {"empty_values", "[V]\nempty=\nblank=   \nzero=0\nkeyonly\nkeyonly2   \n"},
        {"section_names", "[with blank]\na=1\n[br[ack]et]\nb=2\n[open\nc=3\n[]\nd=4\n"
                          "[tail] junk\ne=5\n[x]]\nf=6\n"},
        {"mixed_case", "[MiXeD]\nKeY=Value\nnum=7\n[mixed]\nkey=second section\n"},
        {"numbers", "[Num]\na=12\nb=-5\nc=+8\nd=  34xyz\ne=abc\nf=0x1F\ng=4294967297\n"
                    "h=-\ni=2147483648\nj=007\nk=1 2\nl=3.9\nm=12345678901234567890123456789012\n"
                    "n=\"-6\"\no=0X1F\np=0b101\nq=0o17\nr=0x\ns=0xg\nt=08\nu=-0x10\n"
                    "v=0B11\nw=0xffffffff\nx=\x01 12\n"},
        {"control_chars", "[Ctl]\na=\x01value\x01\nb=value\x1a\nc=\x1cv\x1f\nd= \x0bv\x0c \n"
                          "e=\xA0v\xA0\nf=x\x7f\n"},
        {"empty_file", ""},
    };
}

// Names to ask for: every section and key written in the text, in other cases and with
// blanks, and some that are not there.
void CollectNames(const std::string& text, std::set<std::string>& sections,
                  std::set<std::string>& keys) {
    sections = {"", "missing", " Settings ", "Settings"};
    keys = {"missing", "", " k ", "key "};
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line, '\n')) {
        std::istringstream parts(line);
        std::string piece;
        while (std::getline(parts, piece, '\r')) {
            if (piece.size() > 200)
                piece = piece.substr(0, piece.find('='));
            std::size_t open = piece.find('[');
            std::size_t close = piece.rfind(']');
            if (open != std::string::npos && close != std::string::npos && close > open) {
                std::string name = piece.substr(open + 1, close - open - 1);
                sections.insert(name);
                for (char& c : name)
                    c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
                sections.insert(name);
            }
            std::string key = piece.substr(0, piece.find('='));
            keys.insert(key);
            std::size_t b = key.find_first_not_of(" \t");
            std::size_t e = key.find_last_not_of(" \t");
            if (b != std::string::npos)
                keys.insert(key.substr(b, e - b + 1));
            for (char& c : key)
                c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
            keys.insert(key);
        }
    }
}

std::string Show(const std::string& s) {
    std::string out;
    for (unsigned char c : s.substr(0, 60)) {
        if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return "\"" + out + (s.size() > 60 ? "...\"" : "\"");
}

TEST(ProfileCompare, PortableReaderAnswersAsTheWin32ProfileFunctions) {
    std::string folder = bench::MakeTestFolder("profile_compare");
    const char* defaults[] = {"DEF", "", "def  ", "tab\t \t ", "\"quoted\"", "'q'  ", nullptr};
    const std::size_t sizes[] = {1, 2, 3, 5, 300, 200000};
    std::vector<char> winBuffer(200000);
    std::vector<char> iniBuffer(200000);
    int queries = 0;
    for (const IniCase& c : Corpus()) {
        std::string path = bench::Join(folder, std::string(c.name) + ".ini");
        ASSERT_TRUE(bench::WriteTextFile(path, c.text));
        CIniProfile ini = CIniProfile::FromFile(path.c_str());
        std::set<std::string> sections, keys;
        CollectNames(c.text, sections, keys);
        int differences = 0;
        auto report = [&](const std::string& what) {
            if (++differences <= 10)
                ADD_FAILURE() << c.name << ": " << what;
        };
        for (const std::string& section : sections) {
            for (const std::string& key : keys) {
                for (const char* def : defaults) {
                    for (std::size_t size : sizes) {
                        // Every default with a full buffer; every size with one default.
                        if (size != 300 && def != defaults[0])
                            continue;
                        ++queries;
                        std::fill(winBuffer.begin(), winBuffer.end(), '#');
                        std::fill(iniBuffer.begin(), iniBuffer.end(), '#');
                        DWORD winCount =
                            GetPrivateProfileStringA(section.c_str(), key.c_str(), def,
                                                     winBuffer.data(), size, path.c_str());
                        std::size_t iniCount = ini.GetString(section.c_str(), key.c_str(), def,
                                                             iniBuffer.data(), size);
                        std::string winText(winBuffer.data(),
                                            std::min<std::size_t>(winCount + 1, size));
                        std::string iniText(iniBuffer.data(),
                                            std::min<std::size_t>(iniCount + 1, size));
                        if (winCount != iniCount || winText != iniText)
                            report("[" + section + "] " + Show(key) + " default " +
                                   (def ? Show(def) : "null") + " size " + std::to_string(size) +
                                   ": Win32 " + std::to_string(winCount) + " " + Show(winText) +
                                   ", portable " + std::to_string(iniCount) + " " + Show(iniText));
                    }
                }
                for (int def : {-7, 0, 99}) {
                    ++queries;
                    int winValue = static_cast<int>(
                        GetPrivateProfileIntA(section.c_str(), key.c_str(), def, path.c_str()));
                    int iniValue = ini.GetInt(section.c_str(), key.c_str(), def);
                    if (winValue != iniValue)
                        report("int [" + section + "] " + Show(key) + " default " +
                               std::to_string(def) + ": Win32 " + std::to_string(winValue) +
                               ", portable " + std::to_string(iniValue));
                }
            }
        }
        EXPECT_EQ(differences, 0) << c.name;
    }
    EXPECT_GT(queries, 5000); // the corpus was really asked
}

TEST(ProfileCompare, MissingFileGivesTheDefaults) {
    std::string path = bench::Join(bench::MakeTestFolder("profile_missing"), "none.ini");
    CIniProfile ini = CIniProfile::FromFile(path.c_str());
    char winBuffer[300], iniBuffer[300];
    DWORD winCount =
        GetPrivateProfileStringA("s", "k", "fallback  ", winBuffer, sizeof winBuffer, path.c_str());
    std::size_t iniCount = ini.GetString("s", "k", "fallback  ", iniBuffer, sizeof iniBuffer);
    EXPECT_EQ(winCount, iniCount);
    EXPECT_STREQ(winBuffer, iniBuffer);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("s", "k", -3, path.c_str())),
              ini.GetInt("s", "k", -3));
}

} // namespace
