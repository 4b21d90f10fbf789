#include "host/host_text.h"

#include "base/text.h"

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
    return ContainsNoCase(address, "closewindow.");
}

const ShockwaveSetting kShockwaveSettings[kShockwaveSettingCount] = {
    {58, "TRUE"},  {60, "TRUE"}, {64, "FALSE"}, {66, "FALSE"}, {68, "FALSE"},
    {70, "FALSE"}, {76, "left"}, {78, "top"},   {74, "stage"}};

void ReportFailure(const char*) {}
