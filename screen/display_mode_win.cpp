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

// The device a record names, or null for the primary one.
const char* DeviceOf(const DisplaySettings& mode, char (&name)[sizeof mode.dmDeviceName + 1]) {
    std::memcpy(name, mode.dmDeviceName, sizeof mode.dmDeviceName);
    name[sizeof mode.dmDeviceName] = '\0';
    return name[0] ? name : nullptr;
}

class CWinDisplayDevice : public IDisplayDevice {
  public:
    int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) override {
        char name[sizeof mode.dmDeviceName + 1];
        const char* device = DeviceOf(mode, name);
        DEVMODEA dm;
        std::memset(&dm, 0, sizeof dm);
        dm.dmSize = kDisplaySettingsSize;
        if (!EnumDisplaySettingsA(device, static_cast<DWORD>(modeNum), &dm))
            return 0;
        std::memcpy(&mode, &dm, sizeof mode);
        mode.dmSize = kDisplaySettingsSize;
        std::memcpy(mode.dmDeviceName, name, sizeof mode.dmDeviceName);
        return 1;
    }

    long ChangeSettings(const DisplaySettings& mode) override {
        char name[sizeof mode.dmDeviceName + 1];
        const char* device = DeviceOf(mode, name);
        DEVMODEA dm;
        std::memset(&dm, 0, sizeof dm);
        std::memcpy(&dm, &mode, sizeof mode);
        dm.dmSize = kDisplaySettingsSize;
        dm.dmDriverExtra = 0; // no private driver data follows the record
        LONG result = ChangeDisplaySettingsExA(device, &dm, nullptr, CDS_FULLSCREEN, nullptr);
        // A change of the colour depth alone keeps the current resolution. Some systems (Wine)
        // refuse a record without the size as a bad mode: name the current size then.
        if (result == DISP_CHANGE_BADMODE && !(dm.dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT))) {
            DEVMODEA current;
            std::memset(&current, 0, sizeof current);
            current.dmSize = kDisplaySettingsSize;
            if (EnumDisplaySettingsA(device, ENUM_CURRENT_SETTINGS, &current)) {
                dm.dmFields |= DM_PELSWIDTH | DM_PELSHEIGHT;
                dm.dmPelsWidth = current.dmPelsWidth;
                dm.dmPelsHeight = current.dmPelsHeight;
                result = ChangeDisplaySettingsExA(device, &dm, nullptr, CDS_FULLSCREEN, nullptr);
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
