#include "screen/display_mode_win.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

// The portable record has the layout of the system's narrow record without its panning
// fields. The wide record that the program hands the system differs from it only in its two
// names (wide there), which the program never reads: the parts around them are copied.
static_assert(offsetof(DEVMODEA, dmSize) == offsetof(DisplaySettings, dmSize), "layout");
static_assert(offsetof(DEVMODEA, dmFields) == offsetof(DisplaySettings, dmFields), "layout");
static_assert(offsetof(DEVMODEA, dmLogPixels) == offsetof(DisplaySettings, dmLogPixels), "layout");
static_assert(offsetof(DEVMODEA, dmBitsPerPel) == offsetof(DisplaySettings, dmBitsPerPel),
              "layout");
static_assert(offsetof(DEVMODEA, dmPelsWidth) == offsetof(DisplaySettings, dmPelsWidth), "layout");
static_assert(offsetof(DEVMODEA, dmPelsHeight) == offsetof(DisplaySettings, dmPelsHeight),
              "layout");
static_assert(offsetof(DEVMODEA, dmDisplayFrequency) ==
                  offsetof(DisplaySettings, dmDisplayFrequency),
              "layout");
static_assert(offsetof(DEVMODEA, dmPanningWidth) == sizeof(DisplaySettings), "layout");

namespace {

// From the version to the form name, and from the form name's end to the panning fields.
constexpr std::size_t kHeadBytes =
    offsetof(DEVMODEW, dmFormName) - offsetof(DEVMODEW, dmSpecVersion);
constexpr std::size_t kTailBytes =
    offsetof(DEVMODEW, dmPanningWidth) - offsetof(DEVMODEW, dmLogPixels);
static_assert(kHeadBytes == offsetof(DEVMODEA, dmFormName) - offsetof(DEVMODEA, dmSpecVersion),
              "layout");
static_assert(kTailBytes == sizeof(DisplaySettings) - offsetof(DisplaySettings, dmLogPixels),
              "layout");
// The wide record's size without its panning fields, as the portable record's is given.
constexpr WORD kWideRecordSize = static_cast<WORD>(offsetof(DEVMODEW, dmPanningWidth));

DEVMODEW ToWide(const DisplaySettings& mode) {
    DEVMODEW dm;
    std::memset(&dm, 0, sizeof dm);
    std::memcpy(&dm.dmSpecVersion, &mode.dmSpecVersion, kHeadBytes);
    std::memcpy(&dm.dmLogPixels, &mode.dmLogPixels, kTailBytes);
    dm.dmSize = kWideRecordSize;
    dm.dmDriverExtra = 0; // no private driver data follows the record
    return dm;
}

void FromWide(const DEVMODEW& dm, DisplaySettings& mode) {
    std::memset(&mode, 0, sizeof mode);
    std::memcpy(&mode.dmSpecVersion, &dm.dmSpecVersion, kHeadBytes);
    std::memcpy(&mode.dmLogPixels, &dm.dmLogPixels, kTailBytes);
    mode.dmSize = kDisplaySettingsSize;
}

class CWinDisplayDevice : public IDisplayDevice {
  public:
    int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) override {
        DEVMODEW dm;
        std::memset(&dm, 0, sizeof dm);
        dm.dmSize = kWideRecordSize;
        if (!EnumDisplaySettingsW(nullptr, static_cast<DWORD>(modeNum), &dm))
            return 0;
        FromWide(dm, mode);
        return 1;
    }

    long ChangeSettings(const DisplaySettings& mode) override {
        DEVMODEW dm = ToWide(mode);
        LONG result = ChangeDisplaySettingsW(&dm, CDS_FULLSCREEN);
        // A change of the colour depth alone keeps the current resolution. Some systems (Wine)
        // refuse a record without the size as a bad mode: name the current size then.
        if (result == DISP_CHANGE_BADMODE && !(dm.dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT))) {
            DEVMODEW current;
            std::memset(&current, 0, sizeof current);
            current.dmSize = kWideRecordSize;
            if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current)) {
                dm.dmFields |= DM_PELSWIDTH | DM_PELSHEIGHT;
                dm.dmPelsWidth = current.dmPelsWidth;
                dm.dmPelsHeight = current.dmPelsHeight;
                result = ChangeDisplaySettingsW(&dm, CDS_FULLSCREEN);
            }
        }
        return result;
    }
};

} // namespace

IDisplayDevice* WinDisplayDevice() {
    static CWinDisplayDevice device;
    return &device;
}
