#include "screen/display_mode.h"

#include "base/diag.h"
#include "base/text.h"

#include <cstring>

CDisplayMode::CDisplayMode(IDisplayDevice* device) : pDevice(device) {}

DisplaySettings CDisplayMode::EmptySettings() const {
    DisplaySettings mode{};
    mode.dmSize = kDisplaySettingsSize;
    std::memcpy(mode.dmDeviceName, szDevice, sizeof mode.dmDeviceName);
    return mode;
}

void CDisplayMode::UseDevice(const char* name) {
    if (bGameModeActive || std::strcmp(name, szDevice) == 0)
        return;
    if (!CopyText(szDevice, sizeof szDevice, name))
        szDevice[0] = '\0';
    // The desktop's mode is that of the device: read again for the next choice.
    bDesktopSaved = 0;
    bModeChosen = 0;
}

int CDisplayMode::FindDisplayMode(int nWidth, int nHeight, int nDepth, DisplaySettings& mode) {
    // Every comparison is unsigned: a negative size asked for compares as a huge one, so
    // nothing fits it.
    const std::uint32_t width = static_cast<std::uint32_t>(nWidth);
    const std::uint32_t height = static_cast<std::uint32_t>(nHeight);
    const std::uint32_t depth = static_cast<std::uint32_t>(nDepth);
    std::uint32_t bestWidth = 100000;
    std::uint32_t bestHeight = 100000;
    std::uint32_t bestRate = 0;
    int found = 0;
    for (std::uint32_t n = 0;; ++n) {
        DisplaySettings candidate = EmptySettings();
        if (!pDevice->EnumSettings(n, candidate))
            break;
        if (candidate.dmBitsPerPel == depth && candidate.dmPelsWidth >= width &&
            candidate.dmPelsHeight >= height && candidate.dmPelsWidth <= bestWidth &&
            candidate.dmPelsHeight <= bestHeight && candidate.dmDisplayFrequency >= bestRate &&
            candidate.dmDisplayFrequency <= 75) {
            std::memcpy(&mode, &candidate, sizeof mode);
            bestWidth = candidate.dmPelsWidth;
            bestHeight = candidate.dmPelsHeight;
            bestRate = candidate.dmDisplayFrequency;
            found = 1;
        }
    }
    return found;
}

int CDisplayMode::CalcDisplayMode(int bChangeResolution, int nWidth, int nHeight, int nDepth) {
    WriteLog("CalcDisplayMode at1");
    bModeChosen = 0;
    if (!bDesktopSaved) {
        DisplaySettings current = EmptySettings();
        if (!pDevice->EnumSettings(kEnumCurrentSettings, current))
            return 0;
        dmDesktop = current;
        bDesktopSaved = 1;
    }
    if (bChangeResolution) {
        DisplaySettings found = EmptySettings();
        if (!FindDisplayMode(nWidth, nHeight, nDepth, found) &&
            (nDepth == 16 || !FindDisplayMode(nWidth, nHeight, 16, found)))
            return 0;
        dmGame = EmptySettings();
        dmGame.dmFields = kDmBitsPerPel | kDmPelsWidth | kDmPelsHeight | kDmDisplayFrequency;
        dmGame.dmBitsPerPel = found.dmBitsPerPel;
        dmGame.dmPelsWidth = found.dmPelsWidth;
        dmGame.dmPelsHeight = found.dmPelsHeight;
        dmGame.dmDisplayFrequency = found.dmDisplayFrequency;
        bModeChosen = 1;
    } else if (dmDesktop.dmBitsPerPel != static_cast<std::uint32_t>(nDepth)) {
        DisplaySettings found = EmptySettings();
        if (FindDisplayMode(nWidth, nHeight, nDepth, found)) {
            dmGame = EmptySettings();
            dmGame.dmFields = kDmBitsPerPel;
            dmGame.dmBitsPerPel = static_cast<std::uint32_t>(nDepth);
            bModeChosen = 1;
        }
    }
    WriteLog("CalcDisplayMode at2");
    return 1;
}

int CDisplayMode::ChangeDisplayMode(int bToGame) {
    WriteLog("ChangeDisplayMode at1");
    if (!bModeChosen)
        return 0;
    WriteLog("ChangeDisplayMode at2");
    long result;
    if (bToGame) {
        if (bGameModeActive)
            return 1;
        result = pDevice->ChangeSettings(dmGame);
        // Set whatever the result: a failed switch is not retried until a restore has run.
        bGameModeActive = 1;
    } else {
        if (!bGameModeActive)
            return 1;
        result = pDevice->ChangeSettings(dmDesktop);
        bGameModeActive = 0;
    }
    WriteLog("ChangeDisplayMode at3");
    return result == kDispChangeSuccessful ? 1 : 0;
}
