// What the fuzz targets share: the error box of a program without windows, and the held text
// of the Windows program stood in for by a single-byte code page.
#pragma once

#include "platform/profile.h"

// A single-byte code page (ISO 8859-1): UTF-8 files are converted, and characters beyond it
// become '?', as the Windows program's code page makes of what it cannot hold.
IProfileTextCodec& Latin1ProfileCodec();
