// Decoding speed and peak memory of the program's GIF decoder against giflib's DGifSlurp and,
// when built in, against the decoder of commit e733321.
//
//   gifbench [--seconds S] FILE...        speed of all, then peak memory of ours and giflib's
//   gifbench --only tovak|giflib FILE...  one decoder, each file once (peak memory alone)
//
// Speed: each file is decoded over and over for about S seconds (default 1), the decoders
// taking turns in one process, and each decoder's fastest decode counts; megapixels per second
// count every frame's pixels. The decoder of e733321 is the one before strings were written in
// 8-byte pieces, built from the history (tests/bench/CMakeLists.txt): no image may decode slower
// than it did then. Peak memory: for each file and decoder the program runs itself with --only,
// nine times, and reports the median of those runs' resident memory at the end of decoding,
// counted page by page, and of their maximum resident sets as the kernel counts them (see
// PeakKib). The last lines give the smallest ratios and the largest difference of peaks.
#include "image/gif.h"

#ifdef GIFBENCH_E733321
#include "gif_e733321.h"
#endif

#include <gif_lib.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

using Decoder = double (*)(const char*, long*);

// The process's resident memory now in KiB, as /proc/self/smaps_rollup counts it from the page
// tables, or -1. Read without allocating, so that the reading touches no new page.
long ResidentKib() {
    const int fd = open("/proc/self/smaps_rollup", O_RDONLY);
    if (fd < 0)
        return -1;
    char text[4096];
    std::size_t len = 0;
    for (ssize_t n; len < sizeof text - 1 && (n = read(fd, text + len, sizeof text - 1 - len)) > 0;)
        len += std::size_t(n);
    close(fd);
    text[len] = 0;
    const char* rss = std::strstr(text, "\nRss:");
    return rss ? std::strtol(rss + 5, nullptr, 10) : -1;
}

// Decodes the file once; returns the pixels of all frames, 0 when it fails. With residentKib,
// stores ResidentKib() taken after decoding, while the decoded image is still held.
double DecodeTovak(const char* path, long* residentKib) {
    CGifImage image;
    image.Load(path);
    double pixels = 0;
    for (int i = 0; i < image.nFrames; ++i)
        pixels += double(image.pFrames[i]->nWidth) * image.pFrames[i]->nHeight;
    if (residentKib)
        *residentKib = ResidentKib();
    return pixels;
}

double DecodeGiflib(const char* path, long* residentKib) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path, &error);
    if (!gif)
        return 0;
    double pixels = 0;
    if (DGifSlurp(gif) == GIF_OK)
        for (int i = 0; i < gif->ImageCount; ++i)
            pixels +=
                double(gif->SavedImages[i].ImageDesc.Width) * gif->SavedImages[i].ImageDesc.Height;
    if (residentKib)
        *residentKib = ResidentKib();
    DGifCloseFile(gif, &error);
    return pixels;
}

#ifdef GIFBENCH_E733321
double DecodeReference(const char* path, long*) {
    return DecodeE733321(path);
}
constexpr Decoder kReference = DecodeReference;
constexpr bool kHaveReference = true;
#else
constexpr Decoder kReference = nullptr;
constexpr bool kHaveReference = false;
#endif

// Decodes a one-pixel image with both decoders, `last` last. A run with --only does this before
// its file: both decoders' code is then paged in in either run, so that the peak counts the
// memory each needs for the file, not which pages of the shared libraries its calls happen to
// touch (the kernel maps code in blocks around each page used; alone, either decoder's run of a
// 1 x 1 image peaked up to 0.15 MiB above the other's, depending on the layout). The decoder of
// the run goes last, so that its file is decoded where its own blocks were just freed, as in a
// program that decodes one image after another, in either run.
bool WarmUp(Decoder last) {
    static const unsigned char kOnePixel[] = {
        'G',  'I', 'F', '8', '9',  'a',  1, 0, 1, 0,    0x80, 0, 0,    0xFF, 0xFF,
        0xFF, 0,   0,   0,   0x21, 0xF9, 4, 1, 0, 0,    0,    0, 0x2C, 0,    0,
        0,    0,   1,   0,   1,    0,    0, 2, 2, 0x44, 1,    0, 0x3B};
    char path[] = "/tmp/gifbench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return false;
    const bool written = write(fd, kOnePixel, sizeof kOnePixel) == ssize_t(sizeof kOnePixel);
    close(fd);
    const Decoder first = last == DecodeTovak ? DecodeGiflib : DecodeTovak;
    const bool ok = written && first(path, nullptr) == 1 && last(path, nullptr) == 1;
    unlink(path);
    return ok;
}

// Decodes the file with each decoder in turn (today's, giflib's and, when built in, e733321's),
// round after round for about `seconds`, and keeps each decoder's fastest round: taking turns
// and the best time keeps other load on the machine out of the comparison. Returns false when
// the decoders disagree on the file's pixel count or one fails.
bool Speed(const char* path, double seconds, double* pixels, double best[3]) {
    const Decoder decoders[3] = {DecodeTovak, DecodeGiflib, kReference};
    const int count = kHaveReference ? 3 : 2;
    *pixels = DecodeTovak(path, nullptr); // also warms the file cache and the allocator
    for (int which = 1; which < count; ++which)
        if (*pixels <= 0 || decoders[which](path, nullptr) != *pixels)
            return false;
    best[0] = best[1] = best[2] = 1e30;
    const Clock::time_point start = Clock::now();
    for (int round = 0;; ++round) {
        for (int which = 0; which < count; ++which) {
            const Clock::time_point t0 = Clock::now();
            decoders[which](path, nullptr);
            const double t = std::chrono::duration<double>(Clock::now() - t0).count();
            if (t < best[which])
                best[which] = t;
        }
        if (round >= 2 && std::chrono::duration<double>(Clock::now() - start).count() >= seconds)
            return true;
    }
}

// Peak memory of one decoder on one file, in KiB: the medians of nine runs of this program with
// --only, which decode the file once.
//
// `resident` is what the run reports: its resident memory counted page by page from the page
// tables at the end of decoding, with the decoded image still held and the allocator told never
// to give freed memory back to the system, so that every page the decoding touched is still
// counted. It is the decoding's peak (neither decoder gives a block back before its end: strace
// of the set's runs shows no munmap, madvise or lowered brk between opening the file and the
// count), and at worst above it, never below: memory kept rather than returned can only raise
// the count.
//
// `maxRss` is the kernel's maximum resident set of the run. The kernel keeps a process's count
// of pages per processor and adds them up in batches of 32, so its figure moves in steps of
// 128 KiB: two runs whose true peaks are a page apart may read a step apart, or level when
// they are 30 pages apart. The figure of one run also varies by some tens of KiB with the
// address layout; the median is the figure most runs give.
struct Peak {
    long resident = -1;
    long maxRss = -1;
};

Peak PeakKib(const char* which, char* file) {
    char* args[] = {const_cast<char*>("gifbench"), const_cast<char*>("--only"),
                    const_cast<char*>(which), file, nullptr};
    constexpr int kRuns = 9;
    long resident[kRuns], maxRss[kRuns];
    for (int run = 0; run < kRuns; ++run) {
        int out[2];
        if (pipe(out) != 0)
            return {};
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execv("/proc/self/exe", args);
            _exit(127);
        }
        close(out[1]);
        char text[512];
        std::size_t len = 0;
        for (ssize_t n;
             len < sizeof text - 1 && (n = read(out[0], text + len, sizeof text - 1 - len)) > 0;)
            len += std::size_t(n);
        text[len] = 0;
        close(out[0]);
        int status = 0;
        rusage usage = {};
        if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            return {};
        const char* figure = std::strstr(text, "resident=");
        resident[run] = figure ? std::strtol(figure + 9, nullptr, 10) : -1;
        maxRss[run] = usage.ru_maxrss;
    }
    std::sort(resident, resident + kRuns);
    std::sort(maxRss, maxRss + kRuns);
    Peak peak;
    peak.resident = resident[kRuns / 2];
    peak.maxRss = maxRss[kRuns / 2];
    return peak;
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
        // Freed memory stays in the process, so that the resident count after decoding still
        // holds every page the decoding used (see PeakKib).
        mallopt(M_TRIM_THRESHOLD, -1);
        if (!WarmUp(decode)) {
            std::fprintf(stderr, "gifbench: cannot decode the one-pixel image\n");
            return 1;
        }
        // What the warm-up freed goes back to the system: the file's decoding counts the pages
        // it uses, not the ones the other decoder left behind.
        malloc_trim(0);
        for (char* f : files) {
            long kib = -1;
            if (decode(f, &kib) <= 0) {
                std::fprintf(stderr, "gifbench: %s decodes no frame with %s\n", f, only);
                return 1;
            }
            std::printf("%s: %s resident=%ld KiB at the end of decoding\n", f, only, kib);
        }
        return 0;
    }

    // Peak memory first, while this process is still small: a child starts with its parent's
    // resident set as its maximum.
    std::vector<Peak> tovakKib, giflibKib;
    for (char* f : files) {
        tovakKib.push_back(PeakKib("tovak", f));
        giflibKib.push_back(PeakKib("giflib", f));
    }

    double tovakTime = 0, giflibTime = 0, referenceTime = 0, totalPixels = 0;
    double smallest = 0, smallestReference = 0, largestPeak = 0;
    const char* smallestFile = nullptr;
    const char* smallestReferenceFile = nullptr;
    const char* largestPeakFile = nullptr;
    for (std::size_t i = 0; i < files.size(); ++i) {
        char* f = files[i];
        double pixels = 0, best[3] = {};
        if (!Speed(f, seconds, &pixels, best)) {
            std::printf("%s: not decoded alike by all, skipped\n", f);
            continue;
        }
        const double tovakSec = best[0], giflibSec = best[1], referenceSec = best[2];
        const double mp = pixels / 1e6;
        totalPixels += mp;
        tovakTime += tovakSec;
        giflibTime += giflibSec;
        referenceTime += referenceSec;
        const Peak& t = tovakKib[i];
        const Peak& g = giflibKib[i];
        const double peakDiff =
            g.resident > 0 ? 100.0 * double(t.resident - g.resident) / double(g.resident) : 0;
        std::printf("%s: %.2f Mpixels tovak=%.1f MP/s giflib=%.1f MP/s ratio=%.2f", f, mp,
                    mp / tovakSec, mp / giflibSec, giflibSec / tovakSec);
        if (kHaveReference)
            std::printf(" e733321=%.1f MP/s over-e733321=%.2f", mp / referenceSec,
                        referenceSec / tovakSec);
        std::printf(" peak tovak=%ld KiB giflib=%ld KiB (%+.2f%%) maxrss tovak=%ld KiB giflib=%ld "
                    "KiB\n",
                    t.resident, g.resident, peakDiff, t.maxRss, g.maxRss);
        if (!largestPeakFile || peakDiff > largestPeak) {
            largestPeak = peakDiff;
            largestPeakFile = f;
        }
        if (!smallestFile || giflibSec / tovakSec < smallest) {
            smallest = giflibSec / tovakSec;
            smallestFile = f;
        }
        if (!smallestReferenceFile || referenceSec / tovakSec < smallestReference) {
            smallestReference = referenceSec / tovakSec;
            smallestReferenceFile = f;
        }
    }
    if (totalPixels > 0) {
        std::printf("total: %.2f Mpixels tovak=%.1f MP/s giflib=%.1f MP/s ratio=%.2f", totalPixels,
                    totalPixels / tovakTime, totalPixels / giflibTime, giflibTime / tovakTime);
        if (kHaveReference)
            std::printf(" e733321=%.1f MP/s over-e733321=%.2f", totalPixels / referenceTime,
                        referenceTime / tovakTime);
        std::printf("\n");
    }
    if (smallestFile)
        std::printf("smallest ratio: %.2f (%s)\n", smallest, smallestFile);
    if (kHaveReference && smallestReferenceFile)
        std::printf("smallest over e733321: %.2f (%s)\n", smallestReference, smallestReferenceFile);
    if (largestPeakFile)
        std::printf("largest peak over giflib's: %+.2f%% (%s)\n", largestPeak, largestPeakFile);
    return 0;
}
