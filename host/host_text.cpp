#include "host/host_text.h"

#include "app/text.h"

#include <cstring>

const char* FlashQualityText(int nQuality) {
    switch (nQuality) {
    case 1:
        return "low";
    case 2:
        return "autolow";
    case 3:
        return "medium";
    case 5:
        return "autohigh";
    default:
        return "high";
    }
}

bool FormatFlashColor(char* dst, std::size_t size, unsigned long clrBackground) {
    return FormatText(dst, size, "%.6lx", clrBackground);
}

bool IsCloseWindowAddress(const char* address) {
    static const char kNeedle[] = "closewindow.";
    const std::size_t needle = sizeof kNeedle - 1;
    const std::size_t length = std::strlen(address);
    for (std::size_t start = 0; start + needle <= length; ++start) {
        std::size_t i = 0;
        for (; i < needle; ++i) {
            char c = address[start + i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != kNeedle[i])
                break;
        }
        if (i == needle)
            return true;
    }
    return false;
}

const ShockwaveSetting kShockwaveSettings[kShockwaveSettingCount] = {
    {58, "TRUE"},  {60, "TRUE"}, {64, "FALSE"}, {66, "FALSE"}, {68, "FALSE"},
    {70, "FALSE"}, {76, "left"}, {78, "top"},   {74, "stage"}};

void ReportFailure(const char*) {}
