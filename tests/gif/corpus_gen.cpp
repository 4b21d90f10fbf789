// Writes the hand-built part of the GIF test corpus: streams that exercise every corner of
// the LZW coding and of the block structure, made with the tests' own encoder.
//
//   gif_corpus_gen DIR [--small]
//
// NAME.gif is compared against giflib's decoding of NAME.ref.gif when that file exists (for
// streams giflib refuses but that decode to the same frames, e.g. stray bytes between blocks).
// --small writes only small files (fuzzing seeds).
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
    // A large drawing, odd width, interlaced.
    ImageOptions o;
    o.interlaced = true;
    GifBuilder g;
    g.Header(1501, 999, 6).Image(1501, 999, Smooth(1501, 999, 6), o).Trailer();
    Save("smooth-1501x999-interlaced", g);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--small") != 0)) {
        std::fprintf(stderr, "usage: gif_corpus_gen DIR [--small]\n");
        return 2;
    }
    gDir = argv[1];
    SmallFiles();
    if (argc == 2)
        LargeFiles();
    std::printf("gif_corpus_gen: %d files in %s\n", gCount, gDir.c_str());
    return 0;
}
