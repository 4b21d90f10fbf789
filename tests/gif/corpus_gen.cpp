// Writes the hand-built part of the GIF test corpus: streams that exercise every corner of
// the LZW coding and of the block structure, made with the tests' own encoder.
//
//   gif_corpus_gen DIR [--small | --bench]
//
// NAME.gif is compared against giflib's decoding of NAME.ref.gif when that file exists (for
// streams giflib refuses but that decode to the same frames, e.g. stray bytes between blocks).
// --small writes only small files (fuzzing seeds). --bench writes instead the encoder's part of
// gifbench's image set (tests/bench/make_bench_set.sh).
#include "support/gif_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace gifwriter;

namespace {

std::string gDir;
int gCount = 0;

void Save(const std::string& name, const GifBuilder& gif) {
    if (!gif.Save(gDir + "/" + name + ".gif")) {
        std::fprintf(stderr, "gif_corpus_gen: cannot write %s\n", name.c_str());
        std::exit(1);
    }
    ++gCount;
}

// A smooth picture (bands and rings) of 2^bits colours, like drawn art.
Bytes Smooth(int w, int h, int bits) {
    Bytes out(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = (x / 7 + (y / 5) * 3 +
                           ((x - w / 2) * (x - w / 2) + (y - h / 3) * (y - h / 3)) / 900);
            out[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                std::uint8_t(v & ((1 << bits) - 1));
        }
    return out;
}

void SmallFiles() {
    // Every bit count, global table, widths on and off multiples of four.
    for (int bits = 1; bits <= 8; ++bits)
        for (int w : {1, 3, 4, 7, 16}) {
            GifBuilder g;
            g.Header(w, 5, bits)
                .Image(w, 5, Pixels(w, 5, bits, std::uint32_t(bits * 31 + w)))
                .Trailer();
            Save("bits" + std::to_string(bits) + "-w" + std::to_string(w), g);
        }
    // Local tables only, and local tables that differ from the global one.
    for (int bits : {1, 2, 5, 8}) {
        ImageOptions o;
        o.localBits = bits;
        o.localSalt = 17;
        GifBuilder g;
        g.Header(9, 6, 0, 2).Image(9, 6, Pixels(9, 6, bits, std::uint32_t(bits)), o).Trailer();
        Save("local-only-" + std::to_string(bits), g);
        GifBuilder m;
        m.Header(9, 6, 3)
            .Image(9, 6, Pixels(9, 6, 3, 1))
            .Image(9, 6, Pixels(9, 6, bits, 2), o)
            .Trailer();
        Save("local-mixed-" + std::to_string(bits), m);
    }
    // No colour table at all: the grey table stands in.
    for (int field : {0, 3, 7}) {
        GifBuilder g;
        g.Header(5, 4, 0, field).Image(5, 4, Pixels(5, 4, field + 1, 3)).Trailer();
        Save("no-table-" + std::to_string(field), g);
    }
    // Interlaced, heights 1 to 10 with odd widths.
    for (int h = 1; h <= 10; ++h) {
        ImageOptions o;
        o.interlaced = true;
        const int w = 2 * h + 1;
        GifBuilder g;
        g.Header(w, h, 4).Image(w, h, Pixels(w, h, 4, std::uint32_t(h)), o).Trailer();
        Save("interlaced-h" + std::to_string(h), g);
    }
    // Animation: control blocks on some frames, offsets, extensions of every kind.
    {
        GifBuilder g;
        g.Header(20, 16, 4).Extension(
            0xFF, {Bytes{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'}, Bytes{1, 0, 0}});
        g.Extension(0xFE, {Bytes(40, 'c'), Bytes(255, 'd')});
        g.Gce(0x05, 10, 3).Image(20, 16, Pixels(20, 16, 4, 1));
        ImageOptions o;
        o.left = 4;
        o.top = 3;
        g.Image(9, 7, Pixels(9, 7, 4, 2), o);
        g.Extension(0x01, {Bytes{0, 0, 0, 0, 20, 0, 16, 0, 8, 8, 1, 0}, Bytes{'h', 'e', 'y'}});
        g.Gce(0x08, 0, 0).Gce(0x0D, 250, 15);
        o.localBits = 2;
        o.interlaced = true;
        g.Image(11, 9, Pixels(11, 9, 2, 3), o);
        g.Gce(0x00, 65535, 0).Image(20, 16, Pixels(20, 16, 4, 4));
        g.Extension(0xFE, {Bytes{'e', 'n', 'd'}}).Trailer();
        Save("animated", g);
    }
    // Streams: clear codes mid-stream, a full table used without clearing, no end code,
    // one-byte sub-blocks, a minimum code size of 1 for two colours.
    const Bytes px = Pixels(61, 47, 8, 5, 3);
    for (int every : {1, 2, 50, 1000}) {
        ImageOptions o;
        o.lzw.clearEvery = every;
        GifBuilder g;
        g.Header(61, 47, 8).Image(61, 47, px, o).Trailer();
        Save("clear-every-" + std::to_string(every), g);
    }
    {
        ImageOptions o;
        o.lzw.endCode = false;
        o.lzw.initialClear = false;
        o.blockSize = 1;
        GifBuilder g;
        g.Header(61, 47, 8).Image(61, 47, px, o).Trailer();
        Save("no-end-code-one-byte-blocks", g);
    }
    {
        ImageOptions o;
        o.minCodeSize = 1;
        GifBuilder g;
        g.Header(33, 31, 1).Image(33, 31, Pixels(33, 31, 1, 9, 5), o).Trailer();
        Save("min-code-size-1", g);
    }
    // Stray bytes between blocks and a missing trailer: giflib refuses both, so they are
    // compared with the clean file.
    {
        GifBuilder clean, stray;
        clean.Header(12, 8, 3);
        stray.Header(12, 8, 3).Raw({0x00, 0x7E});
        clean.Gce(0x01, 4, 2);
        stray.Gce(0x01, 4, 2).Raw({0x3A});
        clean.Image(12, 8, Pixels(12, 8, 3, 1));
        stray.Image(12, 8, Pixels(12, 8, 3, 1)).Raw({0xFF, 0x00, 0x01});
        clean.Image(12, 8, Pixels(12, 8, 3, 2)).Trailer();
        stray.Image(12, 8, Pixels(12, 8, 3, 2)).Trailer();
        Save("stray-bytes", stray);
        Save("stray-bytes.ref", clean);
        GifBuilder open = clean;
        open.bytes.pop_back();
        Save("no-trailer", open);
        Save("no-trailer.ref", clean);
    }
}

// A large drawing, odd width, interlaced.
void SmoothInterlaced() {
    ImageOptions o;
    o.interlaced = true;
    GifBuilder g;
    g.Header(1501, 999, 6).Image(1501, 999, Smooth(1501, 999, 6), o).Trailer();
    Save("smooth-1501x999-interlaced", g);
}

// An animation of `frames` frames of 256-colour noise on a screen of width x height, each frame
// 1 x 1 to the screen's size at a random place inside it (the same for a given seed).
void RandomFrames(int frames, int width, int height, std::uint32_t seed) {
    std::uint32_t x = seed * 2654435761u + 7;
    const auto next = [&x](int n) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return int(x % std::uint32_t(n));
    };
    GifBuilder g;
    g.Header(width, height, 8);
    for (int f = 0; f < frames; ++f) {
        const int w = 1 + next(width), h = 1 + next(height);
        ImageOptions o;
        o.left = next(width - w + 1);
        o.top = next(height - h + 1);
        g.Gce(0x04, 6, 0).Image(w, h, Pixels(w, h, 8, std::uint32_t(f) + seed * 1000, 2), o);
    }
    g.Trailer();
    Save("anim-random-" + std::to_string(frames) + "x" + std::to_string(width) + "x" +
             std::to_string(height),
         g);
}

void LargeFiles() {
    // Noise at every minimum code size, so that the code size crosses every boundary up to
    // 12 bits, with and without clearing a full table.
    for (int bits = 1; bits <= 8; ++bits) {
        const Bytes px = Pixels(190, 170, bits, std::uint32_t(bits), 2);
        GifBuilder g;
        g.Header(190, 170, bits).Image(190, 170, px).Trailer();
        Save("sizes-" + std::to_string(bits), g);
        ImageOptions o;
        o.lzw.deferClear = true;
        GifBuilder d;
        d.Header(190, 170, bits).Image(190, 170, px, o).Trailer();
        Save("deferred-clear-" + std::to_string(bits), d);
        o.lzw.clearEvery = 9000; // full for a while, then cleared
        GifBuilder c;
        c.Header(190, 170, bits).Image(190, 170, px, o).Trailer();
        Save("deferred-then-clear-" + std::to_string(bits), c);
    }
    // Clear codes after every code, and every few codes, over data of several 4 KiB pieces: clear
    // codes and the codes after them fall on the boundaries where the decoder stops and resumes.
    for (int every : {1, 3}) {
        ImageOptions o;
        o.lzw.clearEvery = every;
        GifBuilder g;
        g.Header(200, 100, 8).Image(200, 100, Pixels(200, 100, 8, 21, 2), o).Trailer();
        Save("clear-every-" + std::to_string(every) + "-200x100", g);
    }
    // Noise of single pixels cleared every few codes, where nearly every code is a single byte,
    // in rows with padding; and small frames of noise of random sizes.
    for (int bits : {2, 8}) {
        ImageOptions o;
        o.lzw.clearEvery = 37;
        GifBuilder g;
        g.Header(231, 170, bits).Image(231, 170, Pixels(231, 170, bits, 29, 1), o).Trailer();
        Save("noise-clear37-" + std::to_string(bits), g);
    }
    RandomFrames(40, 50, 40, 9);
    // Many tiny frames, as a small animation has.
    {
        GifBuilder g;
        g.Header(16, 16, 4);
        for (int f = 0; f < 40; ++f)
            g.Gce(0x04, 5, 0).Image(16, 16, Pixels(16, 16, 4, std::uint32_t(f + 100), 6));
        g.Trailer();
        Save("anim-40x16x16", g);
    }
    SmoothInterlaced();
}

// Images for gifbench that each lean on one path of the decoder: a full code table used for a
// long stretch, clear codes every few codes, many tiny frames, the smallest code sizes.
void BenchFiles() {
    // Noise of 256 colours whose encoder keeps coding with the full table instead of clearing:
    // after the first 3840 codes every code is a 12-bit one, anywhere in the table.
    ImageOptions deferred;
    deferred.lzw.deferClear = true;
    {
        GifBuilder g;
        g.Header(1500, 1500, 8).Image(1500, 1500, Pixels(1500, 1500, 8, 11, 2), deferred).Trailer();
        Save("noise-1500x1500-deferred", g);
    }
    {
        GifBuilder g;
        g.Header(320, 320, 8).Image(320, 320, Pixels(320, 320, 8, 12, 2), deferred).Trailer();
        Save("noise-320x320-deferred", g);
    }
    // Noise whose encoder clears every 37 codes: the table never grows past 9-bit codes.
    {
        ImageOptions o;
        o.lzw.clearEvery = 37;
        GifBuilder g;
        g.Header(240, 160, 8).Image(240, 160, Pixels(240, 160, 8, 13, 3), o).Trailer();
        Save("noise-240x160-clear37", g);
    }
    // Small noise cleared at fixed intervals, as old encoders do: short strings, codes of 9 and
    // 10 bits, and a clear code every few dozen codes.
    struct Cleared {
        int width, height, every;
    };
    for (const Cleared c : {Cleared{64, 48, 13}, Cleared{200, 150, 37}, Cleared{320, 200, 100},
                            Cleared{480, 320, 250}}) {
        ImageOptions o;
        o.lzw.clearEvery = c.every;
        GifBuilder g;
        g.Header(c.width, c.height, 8)
            .Image(c.width, c.height, Pixels(c.width, c.height, 8, std::uint32_t(c.every), 2), o)
            .Trailer();
        Save("noise-" + std::to_string(c.width) + "x" + std::to_string(c.height) + "-clear" +
                 std::to_string(c.every),
             g);
    }
    // Animations of noise whose frames have random sizes and places on the screen, most far
    // narrower than it, each with a control block: strings run across a row's end far more
    // often than in a wide picture.
    RandomFrames(30, 80, 60, 1);
    RandomFrames(100, 40, 30, 2);
    RandomFrames(60, 160, 120, 3);
    // Animations: 200 frames of 16 x 16 (a sprite's), 30 frames of 160 x 120 that each change
    // part of the picture, with control blocks.
    {
        GifBuilder g;
        g.Header(16, 16, 4);
        for (int f = 0; f < 200; ++f)
            g.Gce(0x04, 5, 0).Image(16, 16, Pixels(16, 16, 4, std::uint32_t(f + 1), 6));
        g.Trailer();
        Save("anim-200x16x16", g);
    }
    {
        GifBuilder g;
        g.Header(160, 120, 6);
        const Bytes base = Smooth(160, 120, 6);
        for (int f = 0; f < 30; ++f) {
            Bytes px = base;
            const Bytes spot = Pixels(40, 30, 6, std::uint32_t(f + 7), 3);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    px[std::size_t(y + (f * 3) % 90) * 160 + std::size_t(x + (f * 4) % 120)] =
                        spot[std::size_t(y) * 40 + std::size_t(x)];
            g.Gce(0x04, 8, 0).Image(160, 120, px);
        }
        g.Trailer();
        Save("anim-30x160x120", g);
    }
    // Two colours in long runs (text or line art): minimum code size 2, long strings.
    {
        Bytes px(std::size_t(1920) * 1080);
        for (int y = 0; y < 1080; ++y)
            for (int x = 0; x < 1920; ++x) {
                const int dx = x - 960, dy = y - 540;
                const bool ring = ((dx * dx + dy * dy) / 4000) % 3 == 0;
                const bool bar = (y / 40) % 5 == 0 && (x / 300) % 2 == 0;
                px[std::size_t(y) * 1920 + std::size_t(x)] = std::uint8_t(ring != bar);
            }
        GifBuilder g;
        g.Header(1920, 1080, 1).Image(1920, 1080, px).Trailer();
        Save("runs-1920x1080-2", g);
    }
    SmoothInterlaced();
    // A large drawing of 256 colours, not interlaced.
    {
        GifBuilder g;
        g.Header(2048, 2048, 8).Image(2048, 2048, Smooth(2048, 2048, 8)).Trailer();
        Save("smooth-2048x2048", g);
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool small = argc == 3 && std::strcmp(argv[2], "--small") == 0;
    const bool bench = argc == 3 && std::strcmp(argv[2], "--bench") == 0;
    if (argc < 2 || argc > 3 || (argc == 3 && !small && !bench)) {
        std::fprintf(stderr, "usage: gif_corpus_gen DIR [--small | --bench]\n");
        return 2;
    }
    gDir = argv[1];
    if (bench) {
        BenchFiles();
    } else {
        SmallFiles();
        if (!small)
            LargeFiles();
    }
    std::printf("gif_corpus_gen: %d files in %s\n", gCount, gDir.c_str());
    return 0;
}
