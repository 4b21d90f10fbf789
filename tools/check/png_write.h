// Writing a preview picture as a PNG file: with libpng (png_write.cpp) natively, and through
// the Windows Imaging Component (png_write_win.cpp) on Windows.
#pragma once

#include "tools/check/menu_preview.h"

#include <string>

// Writes the picture as an 8-bit RGB PNG. Returns false with the reason in error, leaving no
// file behind.
bool WritePreviewPng(const std::string& path, const PreviewImage& image, std::string& error);
