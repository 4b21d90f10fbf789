// The displays as the display-mode switcher sees them: EnumDisplaySettingsA and
// ChangeDisplaySettingsExA on the device that each record names.
#pragma once

#include "screen/display_mode.h"

// The process's one device object; it holds no state.
IDisplayDevice* WinDisplayDevice();
