// What the fuzz targets share: the error box of a program without windows, and the Windows
// program's codec stood in for with a single-byte code page.
#pragma once

#include "platform/profile.h"

// The Windows program's codec on a machine whose code page is ISO 8859-1: text is held in
// UTF-8, and a file without a mark is decoded from that code page before it is split.
IProfileTextCodec& Latin1ProfileCodec();
