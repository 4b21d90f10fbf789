// libFuzzer target: CGifImage::Load on arbitrary bytes. The input goes through a file so that
// the fuzzer runs exactly what the program runs, file reading included.
#include "image/gif.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

const std::string& InputPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/tovak-gif-fuzz-" +
               std::to_string(getpid()) + ".gif";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f)
        std::abort();
    if (std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();

    CGifImage image;
    const int frames = image.Load(InputPath().c_str());
    if (frames != image.nFrames && frames != 0)
        std::abort();
    // Read every byte the frames claim to own, so that the sanitizers see any bad size.
    unsigned sum = 0;
    for (int i = 0; i < image.nFrames; ++i) {
        const CGifFrame& fr = *image.pFrames[i];
        if (fr.nWidth <= 0 || fr.nHeight <= 0 || fr.nStride < fr.nWidth || fr.nBitCount < 1 ||
            fr.nBitCount > 8 || !fr.pColors)
            std::abort();
        for (int y = 0; y < fr.nHeight; y += 1 + fr.nHeight / 64)
            for (int x = 0; x < fr.nStride; ++x)
                sum += fr.pBits[std::size_t(y) * std::size_t(fr.nStride) + std::size_t(x)];
        sum += fr.pBits[std::size_t(fr.nHeight) * std::size_t(fr.nStride) - 1];
        GifBitmapInfo info;
        fr.GetBitmapInfo(&info);
        for (std::size_t k = 0; k < 256 * 4; ++k)
            sum += fr.pColors[k] + info.colors[k];
    }
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
