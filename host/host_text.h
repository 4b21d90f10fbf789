// The texts the control host hands to the controls and reads from them: decisions kept apart
// from COM so that they can be checked without Windows.
#pragma once

#include <cstddef>

// Host kinds (nBrowserType).
constexpr int kHostWebBrowser = 1;
constexpr int kHostShockwave = 2;
constexpr int kHostFlash = 3;

// The ProgIDs of the controls that play Shockwave movies and web pages, by which the launch
// checks that they are installed and the host makes them.
constexpr const char* kShockwaveProgId = "SWCtl.SWCtl.1";
constexpr const char* kWebBrowserProgId = "Shell.Explorer.2";

inline bool IsValidHostKind(int nBrowserType) {
    return nBrowserType >= kHostWebBrowser && nBrowserType <= kHostFlash;
}

// The Flash quality text for nQuality 1..5; "high" for any other value.
const char* FlashQualityText(int nQuality);

// The Flash background colour text: 0xRRGGBB as lower-case hexadecimal, zero-padded to six
// digits (precision 6, as "%0.6x" gives). dst must hold at least 9 characters.
bool FormatFlashColor(char* dst, std::size_t size, unsigned long clrBackground);

// True when the address contains "closewindow." with the letters A to Z in any case (other
// characters compare exactly).
bool IsCloseWindowAddress(const char* address);

// One string setting of the Shockwave control: the interface slot that takes it and its value.
struct ShockwaveSetting {
    int nSlot;
    const char* value;
};
constexpr int kShockwaveSettingCount = 9;
// The nine settings in the order they are made.
extern const ShockwaveSetting kShockwaveSettings[kShockwaveSettingCount];

// Receives the text of a failure inside the control host and discards it: such failures are
// neither shown nor logged; the caller's result tells what happened.
void ReportFailure(const char* text);
