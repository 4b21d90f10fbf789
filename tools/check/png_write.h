// Writing a preview picture as a PNG file, with libpng where the build has it.
#pragma once

#include "tools/check/menu_preview.h"

#include <string>

// False when this build has no PNG library (the Windows builds).
bool PngWritingAvailable();

// Writes the picture as an 8-bit RGB PNG. Returns false with the reason in error.
bool WritePreviewPng(const std::string& path, const PreviewImage& image, std::string& error);
