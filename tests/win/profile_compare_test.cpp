// The portable profile reader against the Win32 profile functions: a corpus of awkward INI
// files, each read through the wide profile functions (CWinProfile, which the program uses
// for its start-up settings) and through CIniProfile with the same (section, key, default,
// buffer size) queries; the answers must be the same, result and text.
//
// Values with the prefixes 0x, 0o and 0b are in the corpus: the Win32 integer reader takes them
// as hexadecimal, octal and binary numbers, and so does the portable one.
//
// The corpus is read in every encoding the Win32 functions read: the ANSI code page, UTF-8 and
// UTF-16 of either byte order (each with its byte order mark), both readers holding the text
// in UTF-8 as the program does. Names of sections and keys are compared
// without regard to the case of ASCII letters only, by both readers.
#include "driver/driver.h"
#include "platform/profile.h"
#include "platform/profile_win.h"
#include "base/utf.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct IniCase {
    IniCase(std::string caseName, std::string bytes, std::string namesText = "",
            bool allQueries = true)
        : name(std::move(caseName)), text(std::move(bytes)),
          names(namesText.empty() ? text : std::move(namesText)), bAllQueries(allQueries) {}
    std::string name;
    std::string text;        // the file's bytes
    std::string names;       // the text the names to ask for are taken from (ANSI)
    bool bAllQueries;        // every default and size; otherwise one of each (a large file)
    bool bNamesUtf8 = false; // names is UTF-8 text instead
};

std::u16string FromAnsi(const std::string& text) {
    std::u16string wide(text.size(), u'\0');
    int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                            reinterpret_cast<wchar_t*>(&wide[0]), static_cast<int>(text.size()));
    wide.resize(n > 0 ? n : 0);
    return wide;
}

// The bytes of a file in UTF-16 of either byte order or in UTF-8, with the byte order mark.
std::string Encode(const std::u16string& text, const std::string& encoding) {
    if (encoding == "utf8") {
        std::string out(text.size() * 3 + 3, '\0');
        int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(text.data()),
                                    static_cast<int>(text.size()), &out[3],
                                    static_cast<int>(text.size() * 3), nullptr, nullptr);
        out.resize(3 + (n > 0 ? n : 0));
        out.replace(0, 3, "\xEF\xBB\xBF");
        return out;
    }
    bool little = encoding == "utf16le";
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t c : text) {
        char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        out += little ? low : high;
        out += little ? high : low;
    }
    return out;
}

// Characters outside the code page, and characters that the conversion to it turns into
// quotes, digits, blanks, '=' or brackets: the file's characters decide what they mean.
const char16_t kUnicodeText[] =
    u"[Unicode]\r\n"
    u"title=Caf\u00E9 \u201CStar\u201D \u20AC5 \u4E2D\u6587 \U0001F600 \u0100\u0131\r\n"
    u"fullquote=\uFF02abc\uFF02\r\nhalfquote=\"abc\uFF02\r\nfulldigits=\uFF11\uFF12\r\n"
    u"mixdigits=1\uFF12\r\nfullminus=\uFF0D5\r\nidspace=\u30005\r\nnbsp=\u00A05\u00A0\r\n"
    u"fullequals=a\uFF1Db\r\nhalf\uFF1Dkey=x\r\n\uFF54\uFF49\uFF54\uFF4C\uFF45=full\r\n"
    u"lone=\xD800x\xDC00\r\npair=\U0001F600\U0001F600\r\nbom=\uFEFFv\r\n\uFEFFbomkey=1\r\n"
    u"\uFEFF\r\n\u3000spaced\u3000=\u3000v\u3000\r\n"
    u"\uFF3BFake\uFF3D\r\nfake=1\r\n"
    u"[caf\u00E9]\r\nk=lower\r\n[CAF\u00C9]\r\nk=upper\r\n[\u0131x]\r\nk=dotless\r\n"
    u"[\uFF33\uFF33]\r\nk=full\r\n[Nul]\r\nv=x\0y\r\nk\0ey=1\r\n\0z=2\r\n";

std::vector<IniCase> EncodedCorpus(const std::vector<IniCase>& plain) {
    std::vector<IniCase> out;
    const char* encodings[] = {"utf16le", "utf16be", "utf8"};
    // Every case in UTF-16 LE (what editors write as "Unicode"); those where an encoding could
    // matter in the other two as well.
    const std::set<std::string> everyEncoding = {"plain",           "quotes",       "numbers",
                                                 "control_chars",   "nul_bytes",    "blanks",
                                                 "mixed_line_ends", "section_names"};
    for (const IniCase& c : plain) {
        // The UTF-8 mark is written by Encode itself.
        if (c.name == "bom")
            continue;
        for (const char* encoding : encodings) {
            if (std::string(encoding) == "utf16le" || everyEncoding.count(c.name))
                out.push_back(
                    {c.name + "." + encoding, Encode(FromAnsi(c.text), encoding), c.text});
        }
    }
    std::u16string unicode(kUnicodeText, sizeof kUnicodeText / sizeof kUnicodeText[0] - 1);
    for (const char* encoding : encodings) {
        out.push_back({std::string("unicode.") + encoding, Encode(unicode, encoding),
                       Utf16ToUtf8(unicode.data(), unicode.size())});
        out.back().bNamesUtf8 = true;
    }
    // The sample's configuration with the keys that start-up and the exit screen read.
    std::string sample =
        bench::ReadTextFile(bench::Join(bench::SourceDir(), "examples\\sample\\tovak.ini"));
    sample = "[settings]\r\ndebug=Y\r\ndebugfile=c:\\journ\xE9\\tovak.txt\r\n" + sample;
    for (const char* encoding : encodings)
        out.push_back(
            {std::string("sample.") + encoding, Encode(FromAnsi(sample), encoding), sample, false});
    // A last byte that makes no whole character: the Win32 reader takes it with whatever byte
    // follows in its memory, so it stands alone on the last line here, where it is a key
    // without a value either way.
    out.push_back({"odd.utf16le", Encode(u"[O]\r\nk=v\r\n", "utf16le") + "x", "[O]\nk=v\nx\n"});
    out.push_back({"odd.utf16be", Encode(u"[O]\r\nk=v\r\n", "utf16be") + "x", "[O]\nk=v\nx\n"});
    out.push_back({"bom_only.utf16le", "\xFF\xFE", "[O]\nk=v\n"});
    out.push_back({"bom_only.utf16be", "\xFE\xFF", "[O]\nk=v\n"});
    out.push_back({"bom_only.utf8", "\xEF\xBB\xBF", "[O]\nk=v\n"});
    out.push_back({"bom_and_half.utf16le", "\xFF\xFE[", "[O]\nk=v\n["});
    // The mark twice: the second is a character of the first line.
    out.push_back({"two_boms.utf16le", Encode(u"\uFEFF[S]\r\nk=v\r\n", "utf16le"), "[S]\nk=v\n"});
    // Not a mark: a UTF-16 file without one is read as ANSI text.
    out.push_back({"no_bom.utf16le", Encode(u"[S]\r\nk=v\r\n", "utf16le").substr(2), "[S]\nk=v\n"});
    return out;
}

// A literal's bytes, NUL characters included.
template <std::size_t N> std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

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
        {"nul_bytes", Bytes("[S]\r\na \0 =y\r\n \0b=1\r\nc= \0x\r\nd=x \0 y\r\ne=\"q\0\"\r\n"
                            "f=12\0"
                            "3\r\n[ \0T ]\r\nk=1\r\n[U\0V]\r\nu=1\r\n")},
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
    std::vector<IniCase> corpus = Corpus();
    std::vector<IniCase> encoded = EncodedCorpus(corpus);
    corpus.insert(corpus.end(), encoded.begin(), encoded.end());
    for (const IniCase& c : corpus) {
        std::string path = bench::Join(folder, c.name + ".ini");
        ASSERT_TRUE(bench::WriteTextFile(path, c.text));
        CIniProfile ini = CIniProfile::FromFile(path.c_str(), WinProfileCodec());
        CWinProfile win(path.c_str());
        std::set<std::string> sections, keys;
        std::u16string wideNames = FromAnsi(c.names);
        CollectNames(c.bNamesUtf8 ? c.names : Utf16ToUtf8(wideNames.data(), wideNames.size()),
                     sections, keys);
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
                        if ((size != 300 || !c.bAllQueries) && def != defaults[0])
                            continue;
                        if (size != 300 && !c.bAllQueries)
                            continue;
                        ++queries;
                        std::fill_n(winBuffer.begin(), size, '#');
                        std::fill_n(iniBuffer.begin(), size, '#');
                        std::size_t winCount = win.GetString(section.c_str(), key.c_str(), def,
                                                             winBuffer.data(), size);
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
                    if (def != -7 && !c.bAllQueries)
                        continue;
                    ++queries;
                    int winValue = win.GetInt(section.c_str(), key.c_str(), def);
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
    EXPECT_GT(queries, 50000); // the corpus was really asked
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
