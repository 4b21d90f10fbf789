// The primary display as the display-mode switcher sees it: EnumDisplaySettingsA and
// ChangeDisplaySettingsA.
#pragma once

#include "screen/display_mode.h"

// The process's one device object; it holds no state.
IDisplayDevice* WinDisplayDevice();
