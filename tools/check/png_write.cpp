#include "tools/check/png_write.h"

#include <png.h>

#include <cstring>

bool WritePreviewPng(const std::string& path, const PreviewImage& image, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.nWidth);
    png.height = static_cast<png_uint_32>(image.nHeight);
    png.format = PNG_FORMAT_RGB;
    // On failure libpng removes the file it began.
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr)) {
        error = png.message[0] ? png.message : "cannot write the file";
        png_image_free(&png);
        return false;
    }
    return true;
}
