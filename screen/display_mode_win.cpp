#include "screen/display_mode_win.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

// The portable record is the system's record without its panning fields.
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

class CWinDisplayDevice : public IDisplayDevice {
  public:
    int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) override {
        DEVMODEA dm;
        std::memset(&dm, 0, sizeof dm);
        dm.dmSize = kDisplaySettingsSize;
        if (!EnumDisplaySettingsA(nullptr, static_cast<DWORD>(modeNum), &dm))
            return 0;
        std::memcpy(&mode, &dm, sizeof mode);
        mode.dmSize = kDisplaySettingsSize;
        return 1;
    }

    long ChangeSettings(const DisplaySettings& mode) override {
        DEVMODEA dm;
        std::memset(&dm, 0, sizeof dm);
        std::memcpy(&dm, &mode, sizeof mode);
        dm.dmSize = kDisplaySettingsSize;
        dm.dmDriverExtra = 0; // no private driver data follows the record
        LONG result = ChangeDisplaySettingsA(&dm, CDS_FULLSCREEN);
        // A change of the colour depth alone keeps the current resolution. Some systems (Wine)
        // refuse a record without the size as a bad mode: name the current size then.
        if (result == DISP_CHANGE_BADMODE && !(dm.dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT))) {
            DEVMODEA current;
            std::memset(&current, 0, sizeof current);
            current.dmSize = kDisplaySettingsSize;
            if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current)) {
                dm.dmFields |= DM_PELSWIDTH | DM_PELSHEIGHT;
                dm.dmPelsWidth = current.dmPelsWidth;
                dm.dmPelsHeight = current.dmPelsHeight;
                result = ChangeDisplaySettingsA(&dm, CDS_FULLSCREEN);
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
