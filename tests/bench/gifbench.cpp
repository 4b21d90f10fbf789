// Decoding speed and peak memory of the program's GIF decoder against giflib's DGifSlurp.
//
//   gifbench [--seconds S] FILE...        both decoders: speed, then peak memory of each
//   gifbench --only tovak|giflib FILE...  one decoder, each file once (peak memory alone)
//
// Speed: each file is decoded over and over for about S seconds (default 1) per decoder, in one
// process; megapixels per second count every frame's pixels. Peak memory: the program runs
// itself once per decoder with --only and reports that run's maximum resident set size.
#include "image/gif.h"

#include <gif_lib.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Decodes the file once; returns the pixels of all frames, 0 when it fails.
double DecodeTovak(const char* path) {
    CGifImage image;
    image.Load(path);
    double pixels = 0;
    for (int i = 0; i < image.nFrames; ++i)
        pixels += double(image.pFrames[i]->nWidth) * image.pFrames[i]->nHeight;
    return pixels;
}

double DecodeGiflib(const char* path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path, &error);
    if (!gif)
        return 0;
    double pixels = 0;
    if (DGifSlurp(gif) == GIF_OK)
        for (int i = 0; i < gif->ImageCount; ++i)
            pixels +=
                double(gif->SavedImages[i].ImageDesc.Width) * gif->SavedImages[i].ImageDesc.Height;
    DGifCloseFile(gif, &error);
    return pixels;
}

using Decoder = double (*)(const char*);

// Megapixels per second over repeated decodes lasting at least `seconds`.
double Speed(Decoder decode, const char* path, double seconds, double* pixelsOut) {
    decode(path); // warm the file cache and the allocator
    double pixels = 0;
    int runs = 0;
    const Clock::time_point start = Clock::now();
    double elapsed = 0;
    do {
        pixels += decode(path);
        ++runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds || runs < 3);
    *pixelsOut = pixels;
    return pixels / 1e6 / elapsed;
}

// Maximum resident set of a run of this program with --only, in KiB.
long PeakKib(const char* self, const char* which, const std::vector<char*>& files) {
    std::vector<char*> args = {const_cast<char*>(self), const_cast<char*>("--only"),
                               const_cast<char*>(which)};
    args.insert(args.end(), files.begin(), files.end());
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execv("/proc/self/exe", args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 1.0;
    const char* only = nullptr;
    std::vector<char*> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
        else
            files.push_back(argv[i]);
    }
    if (files.empty() ||
        (only && std::strcmp(only, "tovak") != 0 && std::strcmp(only, "giflib") != 0)) {
        std::fprintf(stderr, "usage: gifbench [--seconds S] [--only tovak|giflib] FILE...\n");
        return 2;
    }

    if (only) {
        const Decoder decode = std::strcmp(only, "tovak") == 0 ? DecodeTovak : DecodeGiflib;
        for (char* f : files)
            if (decode(f) <= 0) {
                std::fprintf(stderr, "gifbench: %s decodes no frame with %s\n", f, only);
                return 1;
            }
        return 0;
    }

    // Peak memory first, before this process has touched any image.
    const long tovakKib = PeakKib(argv[0], "tovak", files);
    const long giflibKib = PeakKib(argv[0], "giflib", files);

    double tovakTime = 0, giflibTime = 0, totalPixels = 0;
    for (char* f : files) {
        double tp = 0, gp = 0;
        const double t = Speed(DecodeTovak, f, seconds, &tp);
        const double g = Speed(DecodeGiflib, f, seconds, &gp);
        if (tp <= 0 || gp <= 0) {
            std::printf("%s: not decoded by both, skipped\n", f);
            continue;
        }
        const double mp = DecodeTovak(f) / 1e6;
        totalPixels += mp;
        tovakTime += mp / t;
        giflibTime += mp / g;
        std::printf("%s: %.2f Mpixels tovak=%.1f MP/s giflib=%.1f MP/s ratio=%.2f\n", f, mp, t, g,
                    t / g);
    }
    if (totalPixels > 0)
        std::printf("total: %.2f Mpixels tovak=%.1f MP/s giflib=%.1f MP/s ratio=%.2f\n",
                    totalPixels, totalPixels / tovakTime, totalPixels / giflibTime,
                    giflibTime / tovakTime);
    std::printf("peak memory: tovak=%ld KiB giflib=%ld KiB (all files, one decode each)\n",
                tovakKib, giflibKib);
    return 0;
}
