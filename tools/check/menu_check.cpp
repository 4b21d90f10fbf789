#include "tools/check/menu_check.h"

#include "base/config_names.h"
#include "base/keys.h"
#include "base/program.h"
#include "base/utf.h"
#include "image/gif.h"
#include "menu/launch.h"
#include "menu/menu_messages.h"
#include "menu/player.h"
#include "menu/run_settings.h"
#include "platform/pad.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

namespace {

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = FoldAscii(c);
    return out;
}

std::string Format(const char* format, const char* a, const char* b = "") {
    char buffer[TEXT_MAX * 4];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

std::string SelKey(const char* base, int n) {
    return std::string(base) + std::to_string(n);
}

// Passes every read on and keeps the names of the keys asked for.
class CKeyRecorder : public IProfileReader {
  public:
    CKeyRecorder(IProfileReader& inner, const char* section) : inner_(inner), section_(section) {}
    std::size_t GetString(const char* section, const char* key, const char* def, char* buffer,
                          std::size_t size) override {
        Record(section, key);
        return inner_.GetString(section, key, def, buffer, size);
    }
    int GetInt(const char* section, const char* key, int def) override {
        Record(section, key);
        return inner_.GetInt(section, key, def);
    }
    std::set<std::string> keys;         // the keys read from the menu's own section
    std::vector<std::string> readOrder; // the same, in the order they were first read

  private:
    void Record(const char* section, const char* key) {
        if (EqualsNoCase(section, section_) && keys.insert(Lower(key)).second)
            readOrder.push_back(Lower(key));
    }
    IProfileReader& inner_;
    const char* section_;
};

// The keys a menu section can have, learnt by loading a section of the most selections through
// the launcher's own loader: the menu's keys, and the bases of the numbered selection keys.
struct MenuSchema {
    std::set<std::string> plainKeys;
    std::vector<std::string> numberedBases;
};

const MenuSchema& Schema() {
    static const MenuSchema schema = [] {
        MenuSchema s;
        CIniProfile full =
            CIniProfile::FromText("[m]\nnumselections=" + std::to_string(MAX_SELECTIONS) + "\n");
        CKeyRecorder recorder(full, "m");
        auto model = std::make_unique<CMenuModel>();
        LoadMenuModel(recorder, "m", DefaultPadMapping(), FullScreenWay::Switch,
                      MenuMetrics{0, 0, 0}, *model);
        for (const std::string& key : recorder.keys) {
            std::size_t digits = key.find_last_not_of("0123456789") + 1;
            std::string base = key.substr(0, digits);
            if (digits < key.size() && recorder.keys.count(base + "1")) {
                if (key.substr(digits) == "1")
                    s.numberedBases.push_back(base);
            } else {
                s.plainKeys.insert(key);
            }
        }
        return s;
    }();
    return schema;
}

// Keys of the section "settings" that start-up reads besides the menu's, the settings of the
// whole run: learnt through the launcher's own reader of them, in its order (which decides
// between keys equally near a misspelt one).
const std::vector<std::string>& StartupKeys() {
    static const std::vector<std::string> keys = [] {
        CIniProfile none = CIniProfile::FromText("");
        CKeyRecorder recorder(none, kSettingsSection);
        RunSettings settings;
        ReadRunSettings(recorder, settings);
        return recorder.readOrder;
    }();
    return keys;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool IsSixHexDigits(const char* text) {
    int n = 0;
    for (; text[n]; ++n) {
        char c = text[n];
        bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex || n >= 6)
            return false;
    }
    return n == 6;
}

// A file without a byte order mark whose bytes beyond ASCII are UTF-8: the launcher decodes such
// a file with the machine's ANSI code page, as Windows' profile functions do, so its letters
// beyond ASCII come out wrong.
bool IsUtf8WithoutMark(const std::string& text) {
    return ProfileTextMarkOf(text.data(), text.size()) == ProfileTextMark::None &&
           IsUtf8BeyondAscii(text.data(), text.size());
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// Whether the file starts as a Windows executable does ("MZ").
bool LooksExecutable(const std::string& path) {
    char head[2] = {0, 0};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::size_t n = std::fread(head, 1, 2, file);
    std::fclose(file);
    return n == 2 && head[0] == 'M' && head[1] == 'Z';
}

std::string RectText(const MenuRect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// One section of the file as the profile reader sees it.
struct SectionInfo {
    std::string name;
    int nLine = 0; // the header's line; 0 for the lines before the first header
    std::vector<const IniItem*> keys;
    bool bShadowed = false; // an earlier section of the same name hides it from every read
};

// Where a section was named: the "menu" selection whose selurl names it.
struct Referrer {
    const SectionInfo* section;
    std::string key;
    int nLine;
};

class CChecker {
  public:
    CChecker(const std::string& text, const std::string& configPath, const std::string& gameDir,
             IMenuTextMeasure& measure)
        : items_(ParseIniItems(text)), profile_(CIniProfile::FromText(text)),
          configPath_(configPath), gameDir_(gameDir), measure_(measure),
          bUtf8WithoutMark_(IsUtf8WithoutMark(text)) {
        ReadRunSettings(profile_, run_);
        sections_.push_back(SectionInfo{});
        firstSection_[""] = 0;
        for (const IniItem& item : items_) {
            if (!item.bSection) {
                // A line that starts with ';' is a comment, as in every INI file.
                if (item.name[0] != ';')
                    sections_.back().keys.push_back(&item);
                continue;
            }
            SectionInfo section;
            section.name = item.name;
            section.nLine = item.nLine;
            section.bShadowed = !firstSection_.emplace(Lower(item.name), sections_.size()).second;
            sections_.push_back(section);
        }
    }

    CheckResult Run();

  private:
    struct Pending {
        std::string name;
        bool bHasReferrer;
        Referrer referrer;
    };

    const SectionInfo* FindSection(const std::string& name) const {
        auto first = firstSection_.find(Lower(name));
        return first == firstSection_.end() ? nullptr : &sections_[first->second];
    }
    static const IniItem* FindKey(const SectionInfo* section, const std::string& key) {
        if (!section)
            return nullptr;
        std::string wanted = Lower(key);
        for (const IniItem* item : section->keys) {
            if (Lower(item->name) == wanted)
                return item;
        }
        return nullptr;
    }
    static int LineOf(const SectionInfo* section, const std::string& key) {
        const IniItem* item = FindKey(section, key);
        return item ? item->nLine : 0;
    }
    void Add(CheckSeverity severity, const std::string& section, const std::string& key, int line,
             const std::string& message) {
        result_.findings.push_back(CheckFinding{severity, line, section, key, message});
    }
    void AddAt(CheckSeverity severity, const SectionInfo* section, const std::string& key,
               const std::string& message) {
        Add(severity, section ? section->name : "", key, LineOf(section, key), message);
    }

    void CheckMenu(const Pending& pending);
    std::string LoadErrorText(const MenuLoadError& failure) const {
        char text[TEXT_MAX * 3];
        FormatMenuLoadError(failure, configPath_.c_str(), text, sizeof text);
        return text;
    }
    void ReportLoadError(const Pending& pending, const SectionInfo* section,
                         const MenuLoadError& failure);
    void CheckSelection(const SectionInfo* section, const MenuSelection& sel, int n);
    void CheckRunFile(const SectionInfo* section, const MenuSelection& sel, int n);
    void CheckPadMapping(const SectionInfo* section, const std::string& key);
    void CheckFullScreenWay(const SectionInfo* section, const std::string& key,
                            const char* fallback);
    void CheckWindow(const SectionInfo* section, const CMenuModel& model, int width, int height);
    void CheckKeys(const SectionInfo& section, int count);
    void CheckUnreached();
    void CheckLogo();
    void CheckPlayers();

    std::vector<IniItem> items_;
    CIniProfile profile_;
    std::string configPath_;
    std::string gameDir_;
    IMenuTextMeasure& measure_;
    std::vector<SectionInfo> sections_;
    std::map<std::string, std::size_t> firstSection_; // lower-case name, index in sections_
    std::vector<Pending> queue_;
    std::set<std::string> reached_;
    std::vector<std::pair<std::string, Referrer>> referrers_; // lower-case section, selection
    std::map<std::string, std::string> failedMenus_;          // lower-case section, error
    RunSettings run_;
    std::set<GameKind> playedKinds_; // kinds of game that the reached selections run
    bool bUtf8WithoutMark_;
    CheckResult result_;
};

CheckResult CChecker::Run() {
    queue_.push_back(Pending{kFirstMenuSection, false, Referrer{}});
    reached_.insert(Lower(kFirstMenuSection));
    // The exit screen is opened when the first menu's window closes, if it names a title image.
    char exitImage[TEXT_MAX];
    profile_.GetString(kExitScreenSection, kTitleImageKey, "", exitImage, sizeof exitImage);
    for (std::size_t i = 0; i < queue_.size(); ++i) {
        Pending pending = queue_[i];
        CheckMenu(pending);
        if (i == 0 && exitImage[0] && reached_.insert(Lower(kExitScreenSection)).second)
            queue_.push_back(Pending{kExitScreenSection, false, Referrer{}});
    }
    for (const auto& [name, r] : referrers_) {
        auto failed = failedMenus_.find(name);
        if (failed != failedMenus_.end())
            Add(CheckSeverity::Error, r.section ? r.section->name : "", r.key, r.nLine,
                failed->second);
    }
    if (bUtf8WithoutMark_)
        Add(CheckSeverity::Warning, "", "", 0,
            "saved as UTF-8 without a byte order mark: the launcher reads it in the PC's code "
            "page; save it with a mark");
    CheckPadMapping(FindSection(kSettingsSection), kPadKey);
    CheckFullScreenWay(FindSection(kSettingsSection), kFullScreenKey, "switch, a mode switch");
    CheckUnreached();
    CheckLogo();
    CheckPlayers();
    std::stable_sort(
        result_.findings.begin(), result_.findings.end(),
        [](const CheckFinding& a, const CheckFinding& b) { return a.nLine < b.nLine; });
    for (const CheckFinding& f : result_.findings)
        ++(f.severity == CheckSeverity::Error ? result_.nErrors : result_.nWarnings);
    return std::move(result_);
}

void CChecker::CheckMenu(const Pending& pending) {
    const SectionInfo* section = FindSection(pending.name);
    if (section)
        ++result_.nMenus;
    auto model = std::make_unique<CMenuModel>();
    MenuLoadError failure = LoadMenuModel(profile_, pending.name.c_str(), run_.pad, run_.fullScreen,
                                          MenuMetrics{0, 0, 0}, *model);
    if (failure.Failed()) {
        ReportLoadError(pending, section, failure);
        if (section) {
            int count = profile_.GetInt(pending.name.c_str(), kNumSelectionsKey, 0);
            CheckKeys(*section, std::max(0, count));
        }
        return;
    }
    result_.nSelections += model->nSelections;

    CheckedMenu menu;
    menu.section = section ? section->name : pending.name;
    int width = 0, height = 0;
    if (model->strTitleImage[0]) {
        menu.titleImageFile = LocalGamePath(gameDir_, model->strTitleImage);
        CGifImage image;
        if (image.Load(menu.titleImageFile.c_str()) > 0) {
            menu.bTitleImageLoads = true;
            width = image.nWidth;
            height = image.nHeight;
        } else {
            MenuLoadError imageFailure;
            imageFailure.kind = MenuLoadErrorKind::TitleImageFailed;
            CopyText(imageFailure.strName, sizeof imageFailure.strName, model->strTitleImage);
            AddAt(CheckSeverity::Error, section, kTitleImageKey, LoadErrorText(imageFailure));
        }
    }
    for (int i = 0; i < model->nSelections; ++i)
        CheckSelection(section, model->sel[i], i + 1);
    // A menu of one selection runs it at once; only a menu with a title image and several
    // selections shows its hot spots in a window.
    if (menu.bTitleImageLoads && model->nSelections > 1)
        CheckWindow(section, *model, width, height);
    if (section)
        CheckKeys(*section, model->nSelections);
    menu.model = std::move(model);
    result_.menus.push_back(std::move(menu));
}

void CChecker::ReportLoadError(const Pending& pending, const SectionInfo* section,
                               const MenuLoadError& failure) {
    std::string text = LoadErrorText(failure);
    std::string shown = section ? section->name : pending.name;
    if (failure.kind == MenuLoadErrorKind::NotEnoughValues) {
        AddAt(CheckSeverity::Error, section, failure.strKey, text);
        return;
    }
    if (section && failure.kind == MenuLoadErrorKind::TooManySelections) {
        AddAt(CheckSeverity::Error, section, kNumSelectionsKey, text);
        return;
    }
    if (pending.bHasReferrer) {
        // Every "menu" selection that names the section fails, and ends the program: the
        // error goes to each of them once all menus are read.
        std::string why = !section ? "there is no section [" + pending.name + "]: "
                          : failure.kind == MenuLoadErrorKind::NoSelections
                              ? "section [" + shown + "] has no selections: "
                              : "section [" + shown + "] does not load: ";
        failedMenus_[Lower(pending.name)] = why + text;
        return;
    }
    if (!section) {
        Add(CheckSeverity::Error, shown, kNumSelectionsKey, 0,
            "there is no section [" + shown + "]: " + text);
        return;
    }
    AddAt(CheckSeverity::Error, section, kNumSelectionsKey, text);
}

void CChecker::CheckSelection(const SectionInfo* section, const MenuSelection& sel, int n) {
    std::string sectionName = section ? section->name : "";
    SelectionCode code = ClassifySelectionCode(sel.strCode);
    switch (code) {
    case SelectionCode::Run:
    case SelectionCode::RunClose:
    case SelectionCode::RunExit:
        CheckRunFile(section, sel, n);
        if (sel.nScreenWidth > 0 && sel.nScreenHeight > 0 &&
            (sel.nGameWidth > sel.nScreenWidth || sel.nGameHeight > sel.nScreenHeight)) {
            AddAt(CheckSeverity::Warning, section, SelKey(kSelGameSizeKey, n),
                  "game size " + std::to_string(sel.nGameWidth) + "," +
                      std::to_string(sel.nGameHeight) + " is larger than the screen size " +
                      std::to_string(sel.nScreenWidth) + "," + std::to_string(sel.nScreenHeight));
        }
        break;
    case SelectionCode::Menu: {
        std::string key = SelKey(kSelUrlKey, n);
        Referrer referrer{section, key, LineOf(section, key)};
        referrers_.emplace_back(Lower(sel.strUrl), referrer);
        if (reached_.insert(Lower(sel.strUrl)).second)
            queue_.push_back(Pending{sel.strUrl, true, referrer});
        break;
    }
    case SelectionCode::Other:
        AddAt(CheckSeverity::Warning, section, SelKey(kSelCodeKey, n),
              "code \"" + std::string(sel.strCode) +
                  "\" does nothing; the codes are run, runclose, runexit, menu, visit, close "
                  "and exit");
        break;
    default:
        break;
    }
    CheckPadMapping(section, SelKey(kSelPadKey, n));
    CheckFullScreenWay(section, SelKey(kSelFullScreenKey, n), "the way of [settings] fullscreen");
    for (const char* base : {kSelColorKey, kSelScreenBgColorKey, kSelGameBgColorKey}) {
        std::string key = SelKey(base, n);
        if (!FindKey(section, key))
            continue; // the default is a proper colour
        char text[TEXT_MAX];
        profile_.GetString(sectionName.c_str(), key.c_str(), "", text, sizeof text);
        if (!IsSixHexDigits(text)) {
            char value[16];
            std::snprintf(value, sizeof value, "%06X", static_cast<unsigned>(HexToColor(text)));
            AddAt(CheckSeverity::Warning, section, key,
                  "colour \"" + std::string(text) +
                      "\" is not six hexadecimal digits; the launcher reads it as " + value);
        }
    }
}

void CChecker::CheckRunFile(const SectionInfo* section, const MenuSelection& sel, int n) {
    std::string key = SelKey(kSelUrlKey, n);
    char path[TEXT_MAX];
    if (!ResolveSelectionPath(path, sizeof path, gameDir_.c_str(), sel.strUrl)) {
        std::string joined =
            IsWebAddress(sel.strUrl) ? std::string(sel.strUrl) : gameDir_ + "\\" + sel.strUrl;
        AddAt(CheckSeverity::Error, section, key, Format(kLaunchPathTooLongFormat, joined.c_str()));
        return;
    }
    GameKind kind = FindGameKind(path);
    if (kind == GameKind::None) {
        AddAt(CheckSeverity::Error, section, key, Format(kLaunchInvalidTypeFormat, path));
        return;
    }
    playedKinds_.insert(kind);
    PlayerCommand player = PlayerFor(run_.launch, kind);
    if ((kind == GameKind::Flash || kind == GameKind::Shockwave) && !player.command[0]) {
        AddAt(CheckSeverity::Warning, section, key,
              std::string("plays only where the retired control is installed: no ") + player.key +
                  " in [settings]");
    }
    if (IsWebAddress(sel.strUrl))
        return;
    std::string local = LocalGamePath(gameDir_, sel.strUrl);
    if (!FileExists(local)) {
        std::string message = "file \"" + std::string(sel.strUrl) + "\" does not exist";
        if (kind == GameKind::Executable)
            message += ": " + Format(kLaunchExecFailedFormat, path);
        AddAt(CheckSeverity::Error, section, key, message);
        return;
    }
    if (kind == GameKind::Executable && !LooksExecutable(local)) {
        AddAt(CheckSeverity::Warning, section, key,
              "\"" + std::string(sel.strUrl) +
                  "\" contains \".exe\" but is no executable; the launcher would start it as "
                  "one");
    }
}

// A full-screen way that the launcher does not know: it takes the fallback instead.
void CChecker::CheckFullScreenWay(const SectionInfo* section, const std::string& key,
                                  const char* fallback) {
    if (!FindKey(section, key))
        return;
    char text[TEXT_MAX];
    profile_.GetString(section->name.c_str(), key.c_str(), "", text, sizeof text);
    FullScreenWay way;
    if (ParseFullScreenWay(text, way))
        return;
    std::string nearest = kFullScreenWayNames[0];
    for (const char* name : kFullScreenWayNames)
        if (EditDistance(Lower(text), name) < EditDistance(Lower(text), nearest))
            nearest = name;
    AddAt(CheckSeverity::Warning, section, key,
          "\"" + std::string(text) + "\" is not switch, fit or integer (nearest: " + nearest +
              "); the launcher uses " + fallback);
}

void CChecker::CheckPadMapping(const SectionInfo* section, const std::string& key) {
    if (!FindKey(section, key))
        return;
    char text[TEXT_MAX];
    profile_.GetString(section->name.c_str(), key.c_str(), "", text, sizeof text);
    PadMappingValue value;
    char error[TEXT_MAX * 2];
    if (!ParsePadMapping(text, value, error, sizeof error))
        AddAt(CheckSeverity::Error, section, key, error);
    for (int i = 0; i < kPadInputCount; ++i) {
        if ((value.named & PadBit(i)) && value.keys[i] == kKeyEscape && PadInputUsedInPlay(i)) {
            AddAt(CheckSeverity::Warning, section, key,
                  std::string(PadInputName(i)) +
                      " sends ESCAPE, which games often take as leaving or pausing: a button "
                      "used in play should not; START or BACK can");
        }
    }
}

void CChecker::CheckWindow(const SectionInfo* section, const CMenuModel& model, int width,
                           int height) {
    const MenuRect image = {0, 0, width, height};
    const MenuRect client = {0, 0, width - kMenuClientWidthLoss, height};
    auto hasArea = [](const MenuRect& r) { return r.right > r.left && r.bottom > r.top; };
    auto overlap = [](const MenuRect& a, const MenuRect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    auto inside = [](const MenuRect& r, const MenuRect& area) {
        return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
               r.bottom <= area.bottom;
    };
    std::string size = std::to_string(width) + " x " + std::to_string(height);
    for (int i = 0; i < model.nSelections; ++i) {
        const MenuSelection& sel = model.sel[i];
        std::string posKey = SelKey(kSelPosKey, i + 1);
        MenuRect hot, desc;
        CalcSelectionRects(sel, measure_, hot, desc);
        if (!hasArea(hot)) {
            AddAt(CheckSeverity::Warning, section, posKey,
                  "hot spot " + RectText(hot) + " has no area; the mouse can never reach it");
        } else {
            if (!overlap(hot, image)) {
                AddAt(CheckSeverity::Warning, section, posKey,
                      "hot spot " + RectText(hot) + " lies outside the " + size + " title image");
            } else if (!inside(hot, image)) {
                AddAt(CheckSeverity::Warning, section, posKey,
                      "hot spot " + RectText(hot) + " reaches past the edge of the " + size +
                          " title image");
            }
            for (int j = 0; j < i; ++j) {
                MenuRect other = HotSpotRect(model.sel[j]);
                if (hasArea(other) && overlap(hot, other)) {
                    AddAt(CheckSeverity::Warning, section, posKey,
                          "hot spot overlaps that of selection " + std::to_string(j + 1) +
                              "; a click there activates both");
                }
            }
        }
        if (!(desc == kNoDescriptionBox) && !inside(desc, client)) {
            AddAt(CheckSeverity::Warning, section, SelKey(kSelDescKey, i + 1),
                  "description box " + RectText(desc) + " leaves the window's " +
                      std::to_string(client.right) + " x " + std::to_string(client.bottom) +
                      " client area");
        }
    }
}

void CChecker::CheckKeys(const SectionInfo& section, int count) {
    const MenuSchema& schema = Schema();
    bool isSettings = Lower(section.name) == Lower(kFirstMenuSection);
    std::map<std::string, int> seen; // lower-case name, line
    for (const IniItem* item : section.keys) {
        std::string name = Lower(item->name);
        auto earlier = seen.emplace(name, item->nLine);
        if (!earlier.second) {
            Add(CheckSeverity::Warning, section.name, item->name, item->nLine,
                "ignored: line " + std::to_string(earlier.first->second) +
                    " already sets this key");
            continue;
        }

        std::size_t digits = name.find_last_not_of("0123456789") + 1;
        std::string base = name.substr(0, digits);
        std::string number = name.substr(digits);
        bool known = schema.plainKeys.count(name) > 0;
        if (isSettings) {
            for (const std::string& key : StartupKeys())
                known = known || name == key;
        }
        bool numbered = !number.empty() && number[0] != '0' && number.size() <= 3 &&
                        std::find(schema.numberedBases.begin(), schema.numberedBases.end(), base) !=
                            schema.numberedBases.end();
        if (numbered && std::stoi(number) > count) {
            Add(CheckSeverity::Warning, section.name, item->name, item->nLine,
                "selection " + number + " is beyond numselections=" + std::to_string(count) +
                    "; the launcher never reads this key");
            continue;
        }
        if (!known && !numbered) {
            // The nearest key the launcher reads, numbered like this one when it has a number.
            std::vector<std::string> candidates(schema.plainKeys.begin(), schema.plainKeys.end());
            if (isSettings)
                candidates.insert(candidates.end(), StartupKeys().begin(), StartupKeys().end());
            for (const std::string& b : schema.numberedBases)
                candidates.push_back(b + (number.empty() ? "1" : number));
            std::string nearest;
            std::size_t best = std::string::npos;
            for (const std::string& c : candidates) {
                std::size_t d = EditDistance(name, c);
                if (d < best) {
                    best = d;
                    nearest = c;
                }
            }
            Add(CheckSeverity::Warning, section.name, item->name, item->nLine,
                "the launcher never reads this key; nearest known key: " + nearest);
            continue;
        }
        if (!item->bHasValue) {
            Add(CheckSeverity::Warning, section.name, item->name, item->nLine,
                "no '=' on this line; the launcher reads the key as missing");
            continue;
        }
        std::size_t length = item->value.size();
        if (ProfileDropsQuotes(item->value))
            length -= 2;
        if (length > TEXT_MAX - 1) {
            Add(CheckSeverity::Error, section.name, item->name, item->nLine,
                "the value takes " + std::to_string(length) +
                    " bytes in UTF-8; the launcher keeps only the first " +
                    std::to_string(TEXT_MAX - 1));
        }
    }
}

void CChecker::CheckUnreached() {
    for (const SectionInfo& section : sections_) {
        if (section.nLine == 0) {
            if (reached_.count(""))
                continue;
            for (const IniItem* item : section.keys)
                Add(CheckSeverity::Warning, "", item->name, item->nLine,
                    "this line is in no section; the launcher never reads it");
            continue;
        }
        if (section.bShadowed) {
            const SectionInfo* first = FindSection(section.name);
            Add(CheckSeverity::Warning, section.name, "", section.nLine,
                "ignored: the section of this name on line " +
                    std::to_string(first ? first->nLine : 0) + " comes first");
            continue;
        }
        std::string name = Lower(section.name);
        if (reached_.count(name))
            continue;
        if (name == Lower(kExitScreenSection)) {
            Add(CheckSeverity::Warning, section.name, "", section.nLine,
                "the exit screen is never shown: it names no titleimage");
        } else {
            Add(CheckSeverity::Warning, section.name, "", section.nLine,
                "no menu selection reaches this section");
        }
    }
}

void CChecker::CheckLogo() {
    std::string logo = LocalGamePath(gameDir_, kLogoFileName);
    if (!FileExists(logo)) {
        Add(CheckSeverity::Warning, "", kLogoFileName, 0,
            "the logo is missing; games start without it");
        return;
    }
    CGifImage image;
    if (image.Load(logo.c_str()) == 0)
        Add(CheckSeverity::Warning, "", kLogoFileName, 0,
            "the logo does not decode; games start without it");
}

void CChecker::CheckPlayers() {
    const SectionInfo* settings = FindSection(kSettingsSection);
    const struct {
        GameKind kind;
        const char* files;
    } kinds[] = {
        {GameKind::Flash, ".swf"}, {GameKind::Shockwave, ".dcr"}, {GameKind::WebPage, ".htm"}};
    for (const auto& k : kinds) {
        PlayerCommand player = PlayerFor(run_.launch, k.kind);
        if (!player.command[0])
            continue;
        if (!playedKinds_.count(k.kind)) {
            AddAt(CheckSeverity::Warning, settings, player.key,
                  std::string("no selection plays a ") + k.files +
                      " game; the launcher never starts this player");
        }
        char program[TEXT_MAX];
        SplitPlayerProgram(player.command, program, sizeof program);
        if (IsAbsolutePath(program)) {
            AddAt(CheckSeverity::Warning, settings, player.key,
                  "player program \"" + std::string(program) +
                      "\" is outside the game folder; every player's machine must have it there");
            continue;
        }
        std::string shown = gameDir_ + "\\" + program;
        std::string local = LocalGamePath(gameDir_, program);
        if (!FileExists(local)) {
            std::string message =
                "player program \"" + std::string(program) +
                "\" does not exist: " + Format(kPlayerMissingFormat, shown.c_str(), player.key);
            // The reader drops a pair of quotes around the whole value, which leaves a program
            // in double quotes with a quoted "%1" mangled.
            const IniItem* item = FindKey(settings, player.key);
            if (item && ProfileDropsQuotes(item->value) && item->value.front() == '"' &&
                player.command[0] != '"')
                message += " (a value that begins and ends with a quote loses them: write it in "
                           "one more pair of quotes)";
            AddAt(CheckSeverity::Error, settings, player.key, message);
        } else if (!LooksExecutable(local)) {
            AddAt(CheckSeverity::Error, settings, player.key,
                  "player program \"" + std::string(program) + "\" is no executable: " +
                      Format(kPlayerStartFailedFormat, shown.c_str(), player.key));
        }
    }
}

std::string EscapeLine(const std::string& text) {
    std::string out;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out;
}

// The length of the UTF-8 sequence at p (at most n bytes), or 0 when it is not well formed.
std::size_t Utf8Length(const unsigned char* p, std::size_t n) {
    std::size_t length = p[0] < 0xC2 ? 0 : p[0] < 0xE0 ? 2 : p[0] < 0xF0 ? 3 : p[0] < 0xF5 ? 4 : 0;
    if (length == 0 || length > n)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// A JSON string. Text that is not UTF-8 (a configuration file in a Windows code page) is taken
// byte by byte as Latin-1, so that the output is always valid JSON.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        unsigned char c = p[i];
        char hex[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(hex, sizeof hex, "\\u%04x", c);
            out += hex;
        } else if (c >= 0x80) {
            std::size_t length = Utf8Length(p + i, n - i);
            if (length) {
                out.append(text, i, length);
                i += length;
                continue;
            }
            std::snprintf(hex, sizeof hex, "\\u%04x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

} // namespace

CheckResult CheckGameConfig(const std::string& configText, const std::string& configPath,
                            const std::string& gameDir, IMenuTextMeasure& measure) {
    CChecker checker(configText, configPath, gameDir, measure);
    return checker.Run();
}

std::string LocalGamePath(const std::string& gameDir, const std::string& name) {
    bool absolute = (!name.empty() && (name[0] == '/' || name[0] == '\\')) ||
                    (name.size() >= 2 && name[1] == ':');
#ifdef _WIN32
    if (absolute)
        return name;
    return (gameDir.empty() ? std::string(".") : gameDir) + "\\" + name;
#else
    namespace fs = std::filesystem;
    std::string path = absolute ? "/" : gameDir.empty() ? "." : gameDir;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        std::string part = name.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        std::string exact = path + (path.back() == '/' ? "" : "/") + part;
        std::error_code ec;
        if (part != "." && part != ".." && !fs::exists(exact, ec)) {
            fs::directory_iterator it(path, ec), done;
            for (; !ec && it != done; it.increment(ec)) {
                std::string found = it->path().filename().string();
                if (EqualsNoCase(found.c_str(), part.c_str())) {
                    exact = it->path().string();
                    break;
                }
            }
        }
        path = exact;
    }
    return path;
#endif
}

std::string FormatFinding(const CheckFinding& finding, const std::string& fileName) {
    std::string out = fileName;
    if (finding.nLine > 0)
        out += ":" + std::to_string(finding.nLine);
    out += finding.severity == CheckSeverity::Error ? ": error: " : ": warning: ";
    std::string where;
    if (!finding.section.empty())
        where = "[" + finding.section + "]";
    if (!finding.key.empty())
        where += (where.empty() ? "" : " ") + finding.key;
    if (!where.empty())
        out += where + ": ";
    return out + EscapeLine(finding.message);
}

std::string FindingsToJson(const std::vector<CheckFinding>& findings, const std::string& fileName) {
    std::string out = "[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const CheckFinding& f = findings[i];
        out += i ? ",\n " : "\n ";
        out += "{\"file\": " + JsonString(fileName) +
               ", \"line\": " + (f.nLine > 0 ? std::to_string(f.nLine) : "null") +
               ", \"severity\": " +
               (f.severity == CheckSeverity::Error ? "\"error\"" : "\"warning\"") +
               ", \"section\": " + JsonString(f.section) + ", \"key\": " + JsonString(f.key) +
               ", \"message\": " + JsonString(f.message) + "}";
    }
    return out + (findings.empty() ? "]\n" : "\n]\n");
}
