// Display-mode switching: choosing a mode of the primary display that fits a selection,
// applying it while a game runs and going back to the desktop's mode. The matching rule and
// the state flags are plain logic; the system is reached through IDisplayDevice.
#pragma once

#include <cstdint>

// The 148-byte display settings record in the layout of the system's DEVMODEA without its
// panning fields. Only the named fields are read or written here; the rest travels unchanged
// between reading a mode and applying it.
struct DisplaySettings {
    std::uint8_t dmDeviceName[32];
    std::uint16_t dmSpecVersion;
    std::uint16_t dmDriverVersion;
    std::uint16_t dmSize;
    std::uint16_t dmDriverExtra;
    std::uint32_t dmFields;
    std::uint8_t dmPositionAndOrientation[16];
    std::uint8_t dmColorToFormName[42];
    std::uint16_t dmLogPixels;
    std::uint32_t dmBitsPerPel;
    std::uint32_t dmPelsWidth;
    std::uint32_t dmPelsHeight;
    std::uint32_t dmDisplayFlags;
    std::uint32_t dmDisplayFrequency;
    std::uint32_t dmIcmAndDither[6];
};
static_assert(sizeof(DisplaySettings) == 148, "the settings record is 148 bytes");

constexpr std::uint16_t kDisplaySettingsSize = 148;
constexpr std::uint32_t kDmBitsPerPel = 0x00040000;
constexpr std::uint32_t kDmPelsWidth = 0x00080000;
constexpr std::uint32_t kDmPelsHeight = 0x00100000;
constexpr std::uint32_t kDmDisplayFrequency = 0x00400000;
// The mode number that reads the current mode instead of listing one.
constexpr std::uint32_t kEnumCurrentSettings = 0xFFFFFFFFu;
constexpr long kDispChangeSuccessful = 0;

// The mode lister and mode setter of the primary display.
class IDisplayDevice {
  public:
    // Fills mode with mode number modeNum (0, 1, 2 ... or kEnumCurrentSettings); mode.dmSize
    // and mode.dmDeviceName (the display device, empty for the primary one) are set by the
    // caller and kept. 0 when there is no such mode or the reading failed.
    virtual int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) = 0;
    // Applies the mode as a temporary full-screen change to the display device that
    // mode.dmDeviceName names; kDispChangeSuccessful on success.
    virtual long ChangeSettings(const DisplaySettings& mode) = 0;

  protected:
    ~IDisplayDevice() = default;
};

class CDisplayMode {
  public:
    explicit CDisplayMode(IDisplayDevice* device);

    // The display device (its name as the system gives it, at most 31 characters; empty for
    // the primary one) that the next mode is chosen for, applied to and restored on. Ignored
    // while the game's mode is on, which is given back where it was taken first.
    void UseDevice(const char* name);

    // Prepares dmGame for a selection; applies nothing. bChangeResolution non-zero lets the
    // resolution change to fit nWidth by nHeight, zero lets only the colour depth change.
    // 1 on success, 0 when the current mode cannot be read or (resolution may change) no
    // mode fits.
    int CalcDisplayMode(int bChangeResolution, int nWidth, int nHeight, int nDepth);
    // Non-zero bToGame applies dmGame, zero restores dmDesktop. 1 when the display is in the
    // wanted mode (or already was), 0 when no mode is chosen or the system refused.
    int ChangeDisplayMode(int bToGame);
    // One greedy pass over the mode list; 1 with the mode copied to mode when one fits.
    int FindDisplayMode(int nWidth, int nHeight, int nDepth, DisplaySettings& mode);

    int bModeChosen = 0;
    int bDesktopSaved = 0;
    int bGameModeActive = 0;
    DisplaySettings dmDesktop{};
    DisplaySettings dmGame{};

  private:
    DisplaySettings EmptySettings() const;

    IDisplayDevice* pDevice;
    char szDevice[32] = "";
};

// The process's one switcher (defined with the other process-wide objects).
extern CDisplayMode g_DisplayMode;
