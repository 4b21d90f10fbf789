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

// The device a record names (the system's names are ASCII), or null for the primary one.
const wchar_t* DeviceOf(const DisplaySettings& mode,
                        wchar_t (&name)[sizeof mode.dmDeviceName + 1]) {
    for (std::size_t i = 0; i < sizeof mode.dmDeviceName; ++i)
        name[i] = static_cast<wchar_t>(mode.dmDeviceName[i]);
    name[sizeof mode.dmDeviceName] = L'\0';
    return name[0] ? name : nullptr;
}

class CWinDisplayDevice : public IDisplayDevice {
  public:
    int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) override {
        wchar_t name[sizeof mode.dmDeviceName + 1];
        const wchar_t* device = DeviceOf(mode, name);
        std::uint8_t deviceName[sizeof mode.dmDeviceName];
        std::memcpy(deviceName, mode.dmDeviceName, sizeof deviceName);
        DEVMODEW dm;
        std::memset(&dm, 0, sizeof dm);
        dm.dmSize = kWideRecordSize;
        if (!EnumDisplaySettingsW(device, static_cast<DWORD>(modeNum), &dm))
            return 0;
        FromWide(dm, mode);
        std::memcpy(mode.dmDeviceName, deviceName, sizeof deviceName);
        return 1;
    }

    long ChangeSettings(const DisplaySettings& mode) override {
        wchar_t name[sizeof mode.dmDeviceName + 1];
        const wchar_t* device = DeviceOf(mode, name);
        DEVMODEW dm = ToWide(mode);
        LONG result = ChangeDisplaySettingsExW(device, &dm, nullptr, CDS_FULLSCREEN, nullptr);
        // A change of the colour depth alone keeps the current resolution. Some systems (Wine)
        // refuse a record without the size as a bad mode: name the current size then.
        if (result == DISP_CHANGE_BADMODE && !(dm.dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT))) {
            DEVMODEW current;
            std::memset(&current, 0, sizeof current);
            current.dmSize = kWideRecordSize;
            if (EnumDisplaySettingsW(device, ENUM_CURRENT_SETTINGS, &current)) {
                dm.dmFields |= DM_PELSWIDTH | DM_PELSHEIGHT;
                dm.dmPelsWidth = current.dmPelsWidth;
                dm.dmPelsHeight = current.dmPelsHeight;
                result = ChangeDisplaySettingsExW(device, &dm, nullptr, CDS_FULLSCREEN, nullptr);
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
