#include "menu/menu_config.h"

#include "base/config_names.h"
#include "base/diag.h"
#include "base/int_range.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kKeyMax = sizeof(MenuLoadError::strKey);

// Reads the key base followed by n (selcode1, ...) of selection n into buffer; keyOut (kKeyMax
// bytes) receives the key's name.
void ReadSelKey(IProfileReader& profile, const char* section, const char* base, int n,
                const char* def, char* buffer, std::size_t size, char* keyOut) {
    FormatText(keyOut, kKeyMax, "%s%d", base, n);
    profile.GetString(section, keyOut, def, buffer, size);
}

} // namespace

int ScanIntList(const char* text, int* values, int count) {
    const char* p = text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (*p != ',')
                return i;
            ++p;
        }
        p = SkipBlanks(p, IsCBlank);
        bool negative = false;
        if (*p == '+' || *p == '-')
            negative = *p++ == '-';
        if (*p < '0' || *p > '9')
            return i;
        std::uint32_t value = 0;
        for (; *p >= '0' && *p <= '9'; ++p)
            value = value * 10u + static_cast<std::uint32_t>(*p - '0');
        values[i] = static_cast<int>(negative ? 0u - value : value);
    }
    return count;
}

int HexToColor(const char* text) {
    std::size_t length = std::strlen(text);
    if (length > 10)
        length = 10;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < length && text[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::uint32_t digit;
        if (c >= 0x2A && c <= 0x3F)
            digit = c & 0x0F;
        else if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
            digit = (c & 0x0F) + 9;
        else
            return 0;
        value = (value << 4) | digit; // beyond eight digits only the last eight count
    }
    return static_cast<int>(value);
}

int QualityFromText(const char* text) {
    if (EqualsNoCase(text, "LOW"))
        return 1;
    if (EqualsNoCase(text, "AUTOLOW"))
        return 2;
    if (EqualsNoCase(text, "MEDIUM"))
        return 3;
    if (EqualsNoCase(text, "AUTOHIGH"))
        return 5;
    return 4;
}

MenuLoadError LoadMenuModel(IProfileReader& profile, const char* section, const PadMapping& padBase,
                            FullScreenWay wayBase, const MenuMetrics& metrics, CMenuModel& model) {
    WriteLog("CMenuWnd::LoadMenu");
    MenuLoadError error;
    if (!CopyText(model.strSection, sizeof model.strSection, section)) {
        error.kind = MenuLoadErrorKind::SectionNameTooLong;
        error.nLimit = static_cast<int>(TEXT_MAX - 1);
        return error;
    }
    const char* s = model.strSection;
    profile.GetString(s, "title", "No title", model.strTitle, TEXT_MAX);
    profile.GetString(s, kTitleImageKey, "", model.strTitleImage, TEXT_MAX);
    profile.GetString(s, "playtitle", "Play Game", model.strPlayTitle, TEXT_MAX);
    profile.GetString(s, "visittitle", "Not Set", model.strVisitTitle, TEXT_MAX);
    profile.GetString(s, "visiturl", "", model.strVisitUrl, TEXT_MAX);
    profile.GetString(s, "exittitle", "Exit", model.strExitTitle, TEXT_MAX);

    int count = profile.GetInt(s, kNumSelectionsKey, 0);
    if (count > MAX_SELECTIONS) {
        error.kind = MenuLoadErrorKind::TooManySelections;
        error.nCount = count;
        error.nLimit = MAX_SELECTIONS;
        return error;
    }
    model.nDefaultSelection = profile.GetInt(s, "defaultselection", 0);

    char text[TEXT_MAX];
    char screenBg[TEXT_MAX];
    char key[kKeyMax];
    // A mapping item the launcher does not understand is skipped (the checker reports it).
    char ignored[TEXT_MAX];
    PadMappingValue padValue;
    for (int n = 1; n <= count; ++n) {
        MenuSelection& sel = model.sel[model.nSelections];
        int v[4];

        ReadSelKey(profile, s, "selscreensize", n, "0,0", text, sizeof text, key);
        v[0] = v[1] = 0;
        bool ok = ScanIntList(text, v, 2) == 2;
        sel.nScreenWidth = v[0];
        sel.nScreenHeight = v[1];
        if (ok) {
            ReadSelKey(profile, s, "selscreencolordepth", n, "16", text, sizeof text, key);
            v[0] = 0;
            ok = ScanIntList(text, v, 1) == 1;
            sel.nColorDepth = v[0];
        }
        if (ok) {
            ReadSelKey(profile, s, kSelGameSizeKey, n, "0,0", text, sizeof text, key);
            v[0] = v[1] = 0;
            ok = ScanIntList(text, v, 2) == 2;
            sel.nGameWidth = v[0];
            sel.nGameHeight = v[1];
        }
        if (ok) {
            ReadSelKey(profile, s, kSelPosKey, n, "0,0,0,0", text, sizeof text, key);
            v[0] = v[1] = v[2] = v[3] = 0;
            ok = ScanIntList(text, v, 4) == 4;
            sel.nPosX = v[0];
            sel.nPosY = v[1];
            sel.nPosWidth = v[2];
            sel.nPosHeight = v[3];
        }
        if (!ok) {
            error.kind = MenuLoadErrorKind::NotEnoughValues;
            CopyText(error.strKey, sizeof error.strKey, key);
            return error;
        }

        ReadSelKey(profile, s, kSelCodeKey, n, "exit", sel.strCode, TEXT_MAX, key);
        ReadSelKey(profile, s, kSelColorKey, n, "00FF00", text, sizeof text, key);
        sel.clrFocus = HexToColor(text);
        ReadSelKey(profile, s, kSelScreenBgColorKey, n, "000000", screenBg, sizeof screenBg, key);
        sel.clrScreenBg = HexToColor(screenBg);
        // Without its own value the game's colour follows the screen colour.
        ReadSelKey(profile, s, kSelGameBgColorKey, n, screenBg, text, sizeof text, key);
        sel.clrGameBg = HexToColor(text);
        ReadSelKey(profile, s, kSelDescKey, n, "", sel.strDesc, TEXT_MAX, key);
        ReadSelKey(profile, s, "selscreenfull", n, "", text, sizeof text, key);
        sel.bScreenFull = IsYes(text);
        ReadSelKey(profile, s, "selshowcursor", n, "Y", text, sizeof text, key);
        sel.bShowCursor = IsYes(text);
        ReadSelKey(profile, s, "selscreenclosebtn", n, "Y", text, sizeof text, key);
        sel.bCloseBtn = IsYes(text);
        ReadSelKey(profile, s, "selcloseonevent", n, "Y", text, sizeof text, key);
        sel.bCloseOnEvent = IsYes(text);
        ReadSelKey(profile, s, kSelUrlKey, n, "", sel.strUrl, TEXT_MAX, key);
        ReadSelKey(profile, s, "selquality", n, "", text, sizeof text, key);
        sel.nQuality = QualityFromText(text);
        ReadSelKey(profile, s, kSelPadKey, n, "", text, sizeof text, key);
        sel.pad = padBase;
        ParsePadMapping(text, padValue, ignored, sizeof ignored);
        ApplyPadMapping(sel.pad, padValue);
        ReadSelKey(profile, s, kSelFullScreenKey, n, "", text, sizeof text, key);
        sel.fullScreenWay = wayBase;
        ParseFullScreenWay(text, sel.fullScreenWay);
        ++model.nSelections;
    }

    if (model.nSelections == 0) {
        error.kind = MenuLoadErrorKind::NoSelections;
        return error;
    }

    model.nWidth = SaturatedInt(WideInt(profile.GetInt(s, "xsize", 450)) + 2 * metrics.cxDlgFrame);
    model.nHeight = SaturatedInt(WideInt(profile.GetInt(s, "ysize", 250)) + 2 * metrics.cyDlgFrame +
                                 metrics.cyCaption);
    return error;
}
