// gifinfo: decodes a GIF file with the program's decoder and prints what it holds, with hashes
// of every frame's indices and colours so that two decoders can be compared line by line.
//
//   gifinfo FILE
//   gifinfo --dump DIR FILE   also writes DIR/frame-I.pgm with each frame's indices
#include "image/gif.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Fnv1a {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    void Add(const std::uint8_t* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            hash ^= p[i];
            hash *= 0x100000001b3ull;
        }
    }
};

bool WritePgm(const std::string& path, const CGifFrame& frame) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fprintf(f, "P5\n%d %d\n255\n", frame.nWidth, frame.nHeight) > 0;
    for (int y = 0; ok && y < frame.nHeight; ++y)
        ok = std::fwrite(frame.pBits + std::size_t(y) * std::size_t(frame.nStride), 1,
                         std::size_t(frame.nWidth), f) == std::size_t(frame.nWidth);
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    const char* dumpDir = nullptr;
    const char* path = nullptr;
    if (argc == 2) {
        path = argv[1];
    } else if (argc == 4 && std::strcmp(argv[1], "--dump") == 0) {
        dumpDir = argv[2];
        path = argv[3];
    } else {
        std::fprintf(stderr, "usage: gifinfo [--dump DIR] FILE\n");
        return 2;
    }

    CGifImage image;
    image.Load(path);
    std::printf("image width=%d height=%d frames=%d\n", image.nWidth, image.nHeight, image.nFrames);
    for (int i = 0; i < image.nFrames; ++i) {
        const CGifFrame& f = *image.pFrames[i];
        Fnv1a pixels;
        for (int y = 0; y < f.nHeight; ++y)
            pixels.Add(f.pBits + std::size_t(y) * std::size_t(f.nStride), std::size_t(f.nWidth));
        Fnv1a palette;
        for (int c = 0; c < (1 << f.nBitCount); ++c) {
            const std::uint8_t rgb[3] = {f.pColors[c * 4 + 2], f.pColors[c * 4 + 1],
                                         f.pColors[c * 4]};
            palette.Add(rgb, 3);
        }
        std::printf("frame %d left=%d top=%d width=%d height=%d bits=%d transparent=%d delay=%d "
                    "dispose=%d pixels=%016" PRIx64 " palette=%016" PRIx64 "\n",
                    i, f.nLeft, f.nTop, f.nWidth, f.nHeight, f.nBitCount, f.nTransparent, f.nDelay,
                    f.bDispose ? 1 : 0, pixels.hash, palette.hash);
        if (dumpDir) {
            const std::string out = std::string(dumpDir) + "/frame-" + std::to_string(i) + ".pgm";
            if (!WritePgm(out, f)) {
                std::fprintf(stderr, "gifinfo: cannot write %s\n", out.c_str());
                return 1;
            }
        }
    }
    return image.nFrames > 0 ? 0 : 1;
}
