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
        return ChangeDisplaySettingsA(&dm, CDS_FULLSCREEN);
    }
};

} // namespace

IDisplayDevice* WinDisplayDevice() {
    static CWinDisplayDevice device;
    return &device;
}
