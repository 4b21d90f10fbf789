// Decodes GIF files with the program's decoder and with giflib and compares them frame by
// frame: size, position, bit count, colours, transparency, delay, disposal and every index.
//
//   gif_diff_tests [--strict] [--max N] PATH...
//
// PATH is a file or a directory searched recursively for *.gif. NAME.gif is compared with
// giflib's decoding of NAME.ref.gif when that exists. Files giflib refuses are skipped, or
// count as failures with --strict (for a corpus made to be valid). --max caps the files taken.
#include "image/gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Reference {
    int width = 0, height = 0;
    struct Frame {
        int left, top, width, height, bits, transparent, delay, dispose;
        std::vector<std::uint8_t> rgb; // 2^bits entries
        std::vector<std::uint8_t> pixels;
    };
    std::vector<Frame> frames;
};

// giflib's view of the file; false when giflib refuses it.
bool DecodeWithGiflib(const std::string& path, Reference* ref, std::string* why) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) {
        *why = GifErrorString(error);
        return false;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        *why = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return false;
    }
    // The size field of the screen descriptor, which giflib keeps only with a global table.
    int screenBits = 1;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::uint8_t head[11] = {};
        if (std::fread(head, 1, sizeof head, f) == sizeof head)
            screenBits = (head[10] & 7) + 1;
        std::fclose(f);
    }
    ref->width = gif->SWidth;
    ref->height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& s = gif->SavedImages[i];
        Reference::Frame f = {};
        f.left = s.ImageDesc.Left;
        f.top = s.ImageDesc.Top;
        f.width = s.ImageDesc.Width;
        f.height = s.ImageDesc.Height;
        const ColorMapObject* map = s.ImageDesc.ColorMap ? s.ImageDesc.ColorMap : gif->SColorMap;
        f.bits = s.ImageDesc.ColorMap ? map->BitsPerPixel : screenBits;
        for (int c = 0; c < (1 << f.bits); ++c) {
            if (map) {
                f.rgb.push_back(map->Colors[c].Red);
                f.rgb.push_back(map->Colors[c].Green);
                f.rgb.push_back(map->Colors[c].Blue);
            } else {
                f.rgb.insert(f.rgb.end(), 3, std::uint8_t(c)); // no table: grey
            }
        }
        // The last graphic control block before the image applies to it.
        f.transparent = -1;
        for (int e = 0; e < s.ExtensionBlockCount; ++e) {
            const ExtensionBlock& b = s.ExtensionBlocks[e];
            if (b.Function != GRAPHICS_EXT_FUNC_CODE || b.ByteCount < 4)
                continue;
            f.transparent = (b.Bytes[0] & 1) ? b.Bytes[3] : -1;
            f.dispose = (b.Bytes[0] & 0x1C) != 0;
            f.delay = (b.Bytes[1] | b.Bytes[2] << 8) * 10;
        }
        // DGifSlurp has already put interlaced rows in display order.
        f.pixels.assign(s.RasterBits, s.RasterBits + std::size_t(f.width) * std::size_t(f.height));
        ref->frames.push_back(std::move(f));
    }
    DGifCloseFile(gif, &error);
    return true;
}

std::string Compare(const CGifImage& image, const Reference& ref) {
    char buf[256];
    if (image.nWidth != ref.width || image.nHeight != ref.height)
        return "screen size differs";
    if (image.nFrames != int(ref.frames.size())) {
        std::snprintf(buf, sizeof buf, "%d frames, giflib %zu", image.nFrames, ref.frames.size());
        return buf;
    }
    for (int i = 0; i < image.nFrames; ++i) {
        const CGifFrame& f = *image.pFrames[i];
        const Reference::Frame& r = ref.frames[std::size_t(i)];
        const int got[] = {f.nLeft,     f.nTop,         f.nWidth, f.nHeight,
                           f.nBitCount, f.nTransparent, f.nDelay, f.bDispose};
        const int want[] = {r.left, r.top,         r.width, r.height,
                            r.bits, r.transparent, r.delay, r.dispose};
        static const char* const names[] = {"left", "top",         "width", "height",
                                            "bits", "transparent", "delay", "dispose"};
        for (int k = 0; k < 8; ++k)
            if (got[k] != want[k]) {
                std::snprintf(buf, sizeof buf, "frame %d: %s %d, giflib %d", i, names[k], got[k],
                              want[k]);
                return buf;
            }
        for (int c = 0; c < (1 << f.nBitCount); ++c) {
            const std::uint8_t* q = f.pColors + c * 4;
            if (q[2] != r.rgb[std::size_t(c) * 3] || q[1] != r.rgb[std::size_t(c) * 3 + 1] ||
                q[0] != r.rgb[std::size_t(c) * 3 + 2] || q[3] != 0) {
                std::snprintf(buf, sizeof buf, "frame %d: colour %d differs", i, c);
                return buf;
            }
        }
        for (int y = 0; y < f.nHeight; ++y) {
            const std::uint8_t* row = f.pBits + std::size_t(y) * std::size_t(f.nStride);
            const std::uint8_t* want_row = r.pixels.data() + std::size_t(y) * std::size_t(f.nWidth);
            if (std::memcmp(row, want_row, std::size_t(f.nWidth)) != 0) {
                int x = 0;
                while (row[x] == want_row[x])
                    ++x;
                std::snprintf(buf, sizeof buf, "frame %d: pixel (%d, %d) is %d, giflib %d", i, x, y,
                              row[x], want_row[x]);
                return buf;
            }
        }
    }
    return "";
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

int main(int argc, char** argv) {
    bool strict = false;
    std::size_t max = SIZE_MAX;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--strict") {
            strict = true;
        } else if (arg == "--max" && i + 1 < argc) {
            max = std::size_t(std::stoul(argv[++i]));
        } else if (fs::is_directory(arg)) {
            std::error_code ec;
            for (fs::recursive_directory_iterator it(arg, ec), end; !ec && it != end;
                 it.increment(ec)) {
                const std::string p = it->path().string();
                if (it->is_regular_file(ec) && EndsWith(p, ".gif") && !EndsWith(p, ".ref.gif"))
                    files.push_back(p);
            }
        } else if (fs::is_regular_file(arg)) {
            files.push_back(arg);
        } else {
            std::fprintf(stderr, "gif_diff_tests: no such file or directory: %s\n", arg.c_str());
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.size() > max)
        files.resize(max);

    int passed = 0, failed = 0, skipped = 0;
    for (const std::string& path : files) {
        std::string refPath = path.substr(0, path.size() - 4) + ".ref.gif";
        if (!fs::exists(refPath))
            refPath = path;
        Reference ref;
        std::string why;
        if (!DecodeWithGiflib(refPath, &ref, &why)) {
            if (strict) {
                std::printf("FAIL %s: giflib refuses it (%s)\n", path.c_str(), why.c_str());
                ++failed;
            } else {
                ++skipped;
            }
            continue;
        }
        CGifImage image;
        image.Load(path.c_str());
        const std::string diff = Compare(image, ref);
        if (diff.empty()) {
            ++passed;
        } else {
            std::printf("FAIL %s: %s\n", path.c_str(), diff.c_str());
            ++failed;
        }
    }
    std::printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
    return failed == 0 && (passed > 0 || !strict) ? 0 : 1;
}
