// The GIF decoder against files written byte by byte.
#include "image/gif.h"
#include "support/gif_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

using namespace gifwriter;

namespace {

std::string TempPath(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(TOVAK_BINARY_DIR) / "gif-test-tmp";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

std::unique_ptr<CGifImage> LoadBytes(const Bytes& bytes, int* result = nullptr) {
    const std::string path = TempPath(
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".gif");
    EXPECT_TRUE(GifBuilder::WriteFile(path, bytes));
    auto image = std::make_unique<CGifImage>();
    const int n = image->Load(path.c_str());
    if (result)
        *result = n;
    return image;
}

// The frame's indices row by row, without the row padding.
Bytes Indices(const CGifFrame& frame) {
    Bytes out;
    for (int y = 0; y < frame.nHeight; ++y)
        out.insert(out.end(), frame.pBits + y * frame.nStride,
                   frame.pBits + y * frame.nStride + frame.nWidth);
    return out;
}

// Colour entry i as red, green, blue, reserved.
std::vector<int> Color(const CGifFrame& frame, int i) {
    const std::uint8_t* c = frame.pColors + i * 4;
    return {c[2], c[1], c[0], c[3]};
}

std::vector<int> PaletteEntry(int i, int salt = 0) {
    return {(i * 3 + salt) & 255, (i * 5 + 1 + salt) & 255, (i * 7 + 2 + salt) & 255, 0};
}

Bytes Codes(int minCodeSize, std::initializer_list<int> codes) {
    CodeWriter writer(minCodeSize);
    for (int c : codes)
        writer.Put(c);
    Bytes out = writer.Finish();
    out.insert(out.end(), 4, 0);
    return out;
}

} // namespace

TEST(GifFrame, CreateRefusesSizesItCannotHold) {
    CGifFrame frame;
    EXPECT_EQ(frame.Create(0, 5, 8), 0);
    EXPECT_EQ(frame.Create(5, 0, 8), 0);
    EXPECT_EQ(frame.Create(-3, 5, 8), 0);
    EXPECT_EQ(frame.Create(5, 5, 0), 0);
    EXPECT_EQ(frame.Create(5, 5, 9), 0);
    // 4 GiB of rows: refused before anything is allocated, on any build.
    EXPECT_EQ(frame.Create(65535, 65535, 8), 0);
    EXPECT_EQ(frame.pBits, nullptr);
    EXPECT_EQ(frame.pColors, nullptr);

    ASSERT_EQ(frame.Create(5, 3, 2), 1);
    ASSERT_EQ(frame.Create(8, 2, 1), 1); // replaces the first block without leaking
    EXPECT_EQ(frame.nStride, 8);
    EXPECT_EQ(frame.nTransparent, -1);
    GifBitmapInfo info;
    std::memset(&info, 0xEE, sizeof info);
    frame.GetBitmapInfo(&info);
    const GifBitmapInfoHeader& h = info.header;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 8);
    EXPECT_EQ(h.biHeight, -2);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 8); // always 8 bits per pixel, whatever the GIF's bit count
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 0u);
    EXPECT_EQ(h.biXPelsPerMeter, 11811);
    EXPECT_EQ(h.biYPelsPerMeter, 11811);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);
    // A frame made without a shared table has one of its own, all zero.
    EXPECT_EQ(frame.OwnColors(), frame.pColors);
    EXPECT_TRUE(std::all_of(info.colors, info.colors + sizeof info.colors,
                            [](std::uint8_t b) { return b == 0; }));

    // One that shares a table owns none and draws with a copy of the shared one.
    std::uint8_t shared[256 * 4];
    for (int i = 0; i < 256 * 4; ++i)
        shared[i] = std::uint8_t(i * 7);
    ASSERT_EQ(frame.Create(3, 3, 8, shared), 1);
    EXPECT_EQ(frame.pColors, shared);
    EXPECT_EQ(frame.OwnColors(), nullptr);
    frame.GetBitmapInfo(&info);
    EXPECT_EQ(info.header.biWidth, 3);
    EXPECT_EQ(std::memcmp(info.colors, shared, sizeof shared), 0);
}

TEST(GifLoad, MissingFileOrNoGifLeavesImageUnchanged) {
    CGifImage image;
    EXPECT_EQ(image.Load(TempPath("does-not-exist.gif").c_str()), 0);
    EXPECT_EQ(image.nWidth, 0);

    GifBuilder gif;
    gif.Header(4, 2, 2).Image(4, 2, Pixels(4, 2, 2, 1)).Trailer();
    const std::string good = TempPath("unchanged-good.gif");
    ASSERT_TRUE(gif.Save(good));
    ASSERT_EQ(image.Load(good.c_str()), 1);

    Bytes notGif = gif.bytes;
    notGif[1] = 'X';
    const std::string bad = TempPath("unchanged-bad.gif");
    ASSERT_TRUE(GifBuilder::WriteFile(bad, notGif));
    notGif[1] = 'I';
    notGif[2] = 'Z';
    EXPECT_EQ(image.Load(bad.c_str()), 0);
    EXPECT_EQ(image.nFrames, 1);
    EXPECT_EQ(image.nWidth, 4);
}

TEST(GifLoad, GiWithGarbageOrNothingAfterItGivesNoFrames) {
    int result = -1;
    auto image = LoadBytes({'G', 'I'}, &result);
    EXPECT_EQ(result, 0);
    Bytes garbage = {'G', 'I'};
    for (int i = 0; i < 600; ++i)
        garbage.push_back(std::uint8_t(i * 37 + 11));
    image = LoadBytes(garbage, &result);
    EXPECT_EQ(result, image->nFrames);
}

TEST(GifLoad, FramePositionStrideColoursAndPixels) {
    for (int width : {1, 5, 8, 13}) {
        SCOPED_TRACE(width);
        const Bytes pixels = Pixels(width, 3, 2, std::uint32_t(width));
        ImageOptions o;
        o.left = 300;
        o.top = 7;
        GifBuilder gif;
        gif.Header(320, 10, 2).Image(width, 3, pixels, o).Trailer();
        auto image = LoadBytes(gif.bytes);
        ASSERT_EQ(image->nFrames, 1);
        EXPECT_EQ(image->nWidth, 320);
        EXPECT_EQ(image->nHeight, 10);
        const CGifFrame& f = *image->pFrames[0];
        EXPECT_EQ(f.nStride, (width + 3) / 4 * 4);
        EXPECT_EQ(f.nLeft, 300);
        EXPECT_EQ(f.nTop, 7);
        EXPECT_EQ(f.nBitCount, 2);
        EXPECT_EQ(Indices(f), pixels);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Color(f, i), PaletteEntry(i));
        for (int i = 4; i < 256; ++i)
            EXPECT_EQ(Color(f, i), std::vector<int>({0, 0, 0, 0}));
    }
}

TEST(GifLoad, OneBitFrameKeepsEightBitRows) {
    const Bytes pixels = Pixels(9, 4, 1, 3);
    GifBuilder gif;
    gif.Header(9, 4, 1).Image(9, 4, pixels).Trailer();
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 1);
    const CGifFrame& f = *image->pFrames[0];
    EXPECT_EQ(f.nBitCount, 1);
    GifBitmapInfo info;
    f.GetBitmapInfo(&info);
    EXPECT_EQ(info.header.biBitCount, 8);
    EXPECT_EQ(Indices(f), pixels); // one byte per pixel, 0 or 1
    EXPECT_EQ(Color(f, 1), PaletteEntry(1));
    EXPECT_EQ(Color(f, 2), std::vector<int>({0, 0, 0, 0}));
}

TEST(GifLoad, LocalColourTableReplacesGlobalOne) {
    ImageOptions o;
    o.localBits = 3;
    o.localSalt = 40;
    const Bytes pixels = Pixels(6, 6, 3, 9);
    GifBuilder gif;
    gif.Header(6, 6, 1).Image(6, 6, pixels, o).Image(6, 6, Pixels(6, 6, 1, 2));
    gif.Image(2, 2, Pixels(2, 2, 1, 3)).Trailer();
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 3);
    EXPECT_EQ(image->pFrames[0]->nBitCount, 3);
    EXPECT_EQ(Indices(*image->pFrames[0]), pixels);
    EXPECT_EQ(Color(*image->pFrames[0], 7), PaletteEntry(7, 40));
    EXPECT_EQ(image->pFrames[1]->nBitCount, 1);
    EXPECT_EQ(Color(*image->pFrames[1], 1), PaletteEntry(1));
    EXPECT_EQ(Color(*image->pFrames[1], 2), std::vector<int>({0, 0, 0, 0}));
    // The frames without a table of their own share the global one; the other keeps its own.
    EXPECT_EQ(image->pFrames[2]->pColors, image->pFrames[1]->pColors);
    EXPECT_EQ(image->pFrames[0]->OwnColors(), image->pFrames[0]->pColors);
    EXPECT_EQ(image->pFrames[1]->OwnColors(), nullptr);
}

TEST(GifLoad, NoGlobalTableGivesGreyColours) {
    GifBuilder gif;
    gif.Header(2, 2, 0, 0).Image(2, 2, {0, 1, 1, 0}).Trailer();
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 1);
    const CGifFrame& f = *image->pFrames[0];
    EXPECT_EQ(f.nBitCount, 1);
    EXPECT_EQ(Color(f, 0), std::vector<int>({0, 0, 0, 0}));
    EXPECT_EQ(Color(f, 1), std::vector<int>({1, 1, 1, 0}));
    EXPECT_EQ(Color(f, 2), std::vector<int>({0, 0, 0, 0}));

    GifBuilder grey;
    grey.Header(2, 1, 0, 7).Image(2, 1, {200, 7}).Trailer();
    image = LoadBytes(grey.bytes);
    ASSERT_EQ(image->nFrames, 1);
    EXPECT_EQ(image->pFrames[0]->nBitCount, 8);
    EXPECT_EQ(Color(*image->pFrames[0], 200), std::vector<int>({200, 200, 200, 0}));
}

TEST(GifLoad, GraphicControlAppliesToTheNextImageOnly) {
    const Bytes px = Pixels(3, 3, 2, 5);
    GifBuilder gif;
    gif.Header(3, 3, 2)
        .Gce(0x09, 50, 3) // disposal 2, transparent
        .Image(3, 3, px)
        .Image(3, 3, px) // no control block of its own
        .Gce(0x00, 7, 2) // index given but no transparency bit
        .Image(3, 3, px)
        .Gce(0x01, 1, 1)
        .Gce(0x04, 2, 0) // a later block replaces an earlier one
        .Image(3, 3, px)
        .Trailer();
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 4);
    const CGifFrame* const* f = image->pFrames;
    EXPECT_EQ(f[0]->nDelay, 500);
    EXPECT_EQ(f[0]->nTransparent, 3);
    EXPECT_EQ(f[0]->bDispose, 1);
    EXPECT_EQ(f[1]->nDelay, 0);
    EXPECT_EQ(f[1]->nTransparent, -1);
    EXPECT_EQ(f[1]->bDispose, 0);
    EXPECT_EQ(f[2]->nDelay, 70);
    EXPECT_EQ(f[2]->nTransparent, -1);
    EXPECT_EQ(f[2]->bDispose, 0);
    EXPECT_EQ(f[3]->nDelay, 20);
    EXPECT_EQ(f[3]->nTransparent, -1);
    EXPECT_EQ(f[3]->bDispose, 1);
}

TEST(GifLoad, ExtensionsOfAnyLengthAreSkipped) {
    const Bytes px = Pixels(4, 4, 2, 8);
    GifBuilder gif;
    gif.Header(4, 4, 2)
        .Extension(0xFE, {})                                // empty comment
        .Extension(0xFE, {Bytes(1, 'x'), Bytes(255, 0x2C)}) // bytes that look like blocks
        .Extension(0xFF, {Bytes{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'},
                          Bytes{1, 0, 0}})                   // loop forever
        .Extension(0x01, {Bytes(12, 0x3B), Bytes{'h', 'i'}}) // plain text
        .Extension(0x99, {Bytes(200, 0x21)})                 // unknown label
        .Image(4, 4, px)
        .Trailer();
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 1);
    EXPECT_EQ(Indices(*image->pFrames[0]), px);
}

TEST(GifLoad, SecondLoadAppendsFrames) {
    GifBuilder a;
    a.Header(4, 4, 2).Image(4, 4, Pixels(4, 4, 2, 1)).Image(2, 2, Pixels(2, 2, 2, 2)).Trailer();
    GifBuilder b;
    const Bytes px = Pixels(7, 3, 3, 3);
    b.Header(7, 3, 3).Image(7, 3, px).Trailer();
    const std::string pa = TempPath("append-a.gif"), pb = TempPath("append-b.gif");
    ASSERT_TRUE(a.Save(pa));
    ASSERT_TRUE(b.Save(pb));
    CGifImage image;
    EXPECT_EQ(image.Load(pa.c_str()), 2);
    EXPECT_EQ(image.Load(pb.c_str()), 3);
    EXPECT_EQ(image.nWidth, 7);
    EXPECT_EQ(Indices(*image.pFrames[2]), px);
    // Each file's frames keep that file's global table: a's has 4 entries, b's 8.
    EXPECT_EQ(image.pFrames[1]->pColors, image.pFrames[0]->pColors);
    EXPECT_EQ(Color(*image.pFrames[1], 4), std::vector<int>({0, 0, 0, 0}));
    EXPECT_EQ(Color(*image.pFrames[2], 4), PaletteEntry(4));
}

TEST(GifLoad, MissingTrailerAndStrayBytesBetweenBlocks) {
    const Bytes p1 = Pixels(5, 5, 3, 1), p2 = Pixels(5, 5, 3, 2);
    GifBuilder gif;
    gif.Header(5, 5, 3)
        .Raw({0x00, 0xFF, 'x'})
        .Image(5, 5, p1)
        .Raw({0x3A, 0x01})
        .Gce(0x01, 3, 4)
        .Raw({0x7F})
        .Image(5, 5, p2); // and no trailer
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 2);
    EXPECT_EQ(Indices(*image->pFrames[0]), p1);
    EXPECT_EQ(Indices(*image->pFrames[1]), p2);
    EXPECT_EQ(image->pFrames[1]->nTransparent, 4);
}

TEST(GifLoad, EmptyAndHugeFramesAreDroppedAndParsingGoesOn) {
    const Bytes px = Pixels(3, 2, 2, 4);
    GifBuilder gif;
    gif.Header(3, 2, 2);
    gif.Gce(0x01, 9, 1).Descriptor(0, 7, {}, 2).Raw(SubBlocks(Codes(2, {4, 5})));
    gif.Descriptor(65535, 65535, {}, 2).Raw(SubBlocks(LzwEncode(Pixels(300, 300, 2, 1), 2)));
    gif.Image(3, 2, px).Trailer();
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 1);
    EXPECT_EQ(Indices(*image->pFrames[0]), px);
    EXPECT_EQ(image->pFrames[0]->nTransparent, -1); // the control block went with the 0x7 frame
}

TEST(GifLoad, DataAcrossManySubBlocksAndReadChunks) {
    // Enough data to cross the decoder's read chunks at every possible bit offset.
    const Bytes px = Pixels(257, 301, 8, 6, 2);
    for (int blockSize : {1, 7, 254, 255}) {
        SCOPED_TRACE(blockSize);
        ImageOptions o;
        o.blockSize = blockSize;
        GifBuilder gif;
        gif.Header(257, 301, 8).Image(257, 301, px, o).Trailer();
        auto image = LoadBytes(gif.bytes);
        ASSERT_EQ(image->nFrames, 1);
        EXPECT_EQ(Indices(*image->pFrames[0]), px);
    }
}

TEST(GifLoad, TruncatedFilesKeepWhatWasRead) {
    const Bytes p1 = Pixels(20, 10, 4, 1), p2 = Pixels(20, 10, 4, 2);
    GifBuilder gif;
    gif.Header(20, 10, 4).Gce(0x01, 5, 0).Image(20, 10, p1).Image(20, 10, p2).Trailer();
    for (std::size_t cut = 0; cut <= gif.bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        auto image = LoadBytes(Bytes(gif.bytes.begin(), gif.bytes.begin() + long(cut)));
        ASSERT_LE(image->nFrames, 2);
        if (image->nFrames == 2) {
            EXPECT_EQ(Indices(*image->pFrames[0]), p1);
        }
    }
    EXPECT_EQ(LoadBytes(gif.bytes)->nFrames, 2);
}

TEST(GifLoad, DataEndingWithoutEndCode) {
    const Bytes px = Pixels(16, 16, 4, 3);
    LzwOptions noEnd;
    noEnd.endCode = false;
    const Bytes whole = LzwEncode(px, 4, noEnd);
    GifBuilder full;
    full.Header(16, 16, 4).Descriptor(16, 16, {}, 4).Raw(SubBlocks(whole)).Trailer();
    auto image = LoadBytes(full.bytes);
    ASSERT_EQ(image->nFrames, 1);
    EXPECT_EQ(Indices(*image->pFrames[0]), px);

    // Half the data: the frame is kept, decoded as far as the data goes, the rest index 0.
    GifBuilder half;
    half.Header(16, 16, 4)
        .Descriptor(16, 16, {}, 4)
        .Raw(SubBlocks(Bytes(whole.begin(), whole.begin() + long(whole.size() / 2))))
        .Image(16, 16, px)
        .Trailer();
    image = LoadBytes(half.bytes);
    ASSERT_EQ(image->nFrames, 2);
    const Bytes got = Indices(*image->pFrames[0]);
    std::size_t same = 0;
    while (same < got.size() && got[same] == px[same])
        ++same;
    EXPECT_GT(same, 16u);
    EXPECT_LT(same, got.size());
    for (std::size_t i = same; i < got.size(); ++i)
        EXPECT_EQ(got[i], 0) << i;
}

TEST(GifLoad, MinimumCodeSizeAboveEightDropsTheFrame) {
    const Bytes px = Pixels(4, 4, 2, 2);
    GifBuilder gif;
    gif.Header(4, 4, 2);
    gif.Descriptor(4, 4, {}, 9).Raw(SubBlocks(Codes(9, {512, 1, 513})));
    gif.Descriptor(4, 4, {}, 200).Raw(SubBlocks(Bytes(40, 0)));
    gif.Image(4, 4, px).Trailer();
    auto image = LoadBytes(gif.bytes);
    ASSERT_EQ(image->nFrames, 1);
    EXPECT_EQ(Indices(*image->pFrames[0]), px);
}

TEST(DecodeLzw, CodeDefinedByItsOwnUse) {
    // a, b, "ab", then the code being defined: "ab" + its first byte = a, b, a.
    const Bytes data = Codes(2, {4, 0, 1, 6, 8, 5});
    std::uint8_t px[9] = {};
    EXPECT_EQ(DecodeLzw(data.data(), data.size() - 4, px, 2, 9, 9, 1, 0), 3 + 3 + 3 + 3 + 4 + 4);
    const std::uint8_t want[9] = {0, 1, 0, 1, 0, 1, 0, 0, 0};
    EXPECT_EQ(std::memcmp(px, want, 9), 0);
}

TEST(DecodeLzw, CodeAboveNextFree) {
    std::uint8_t px[8] = {};
    // Straight after a clear there is no string to extend: the frame fails.
    Bytes data = Codes(2, {4, 6, 5});
    EXPECT_EQ(DecodeLzw(data.data(), data.size() - 4, px, 2, 8, 8, 1, 0), 0);
    data = Codes(2, {4, 7, 5});
    EXPECT_EQ(DecodeLzw(data.data(), data.size() - 4, px, 2, 8, 8, 1, 0), 0);
    // Later a code past the next free one is taken as that one.
    data = Codes(2, {4, 3, 7, 5});
    EXPECT_GT(DecodeLzw(data.data(), data.size() - 4, px, 2, 8, 8, 1, 0), 0);
    const std::uint8_t want[8] = {3, 3, 3, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(px, want, 8), 0);
}

TEST(DecodeLzw, EndCodeOrDataEndBeforeTheFrameIsFull) {
    std::uint8_t px[12];
    std::memset(px, 0xEE, sizeof px);
    Bytes data = Codes(3, {8, 1, 2, 9, 3});
    EXPECT_EQ(DecodeLzw(data.data(), data.size() - 4, px, 3, 4, 4, 3, 0), 4 * 4);
    EXPECT_EQ(px[0], 1);
    EXPECT_EQ(px[1], 2);
    EXPECT_EQ(px[2], 0xEE); // not reached: left as it was

    // Without an end code, decoding stops at the last whole code of the data.
    data = Codes(4, {16, 1, 2, 3}); // 20 bits
    data.resize(data.size() - 4);
    data.pop_back(); // 16 bits left: the third pixel code is cut
    data.insert(data.end(), 4, 0);
    std::memset(px, 0xEE, sizeof px);
    EXPECT_EQ(DecodeLzw(data.data(), data.size() - 4, px, 4, 4, 4, 3, 0), 3 * 5);
    EXPECT_EQ(px[1], 2);
    EXPECT_EQ(px[2], 0xEE);

    const Bytes none(4, 0);
    EXPECT_EQ(DecodeLzw(none.data(), 0, px, 3, 4, 4, 3, 0), 0);
    EXPECT_EQ(DecodeLzw(data.data(), data.size() - 4, px, 3, 4, 0, 3, 0), 0);
}

TEST(DecodeLzw, InterlacedRowOrder) {
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {10, {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}},
        {3, {0, 2, 1}},
        {2, {0, 1}},
        {1, {0}},
        {5, {0, 4, 2, 1, 3}}};
    for (const auto& [height, order] : cases) {
        SCOPED_TRACE(height);
        Bytes stored; // file row i is all i
        for (int i = 0; i < height; ++i)
            stored.insert(stored.end(), 3, std::uint8_t(i));
        Bytes data = LzwEncode(stored, 4);
        data.insert(data.end(), 4, 0);
        std::vector<std::uint8_t> px(std::size_t(4 * height), 0xEE);
        ASSERT_GT(DecodeLzw(data.data(), data.size() - 4, px.data(), 4, 4, 3, height, 1), 0);
        for (int i = 0; i < height; ++i) {
            EXPECT_EQ(px[std::size_t(order[i] * 4)], i) << "file row " << i;
            EXPECT_EQ(px[std::size_t(order[i] * 4 + 2)], i);
            EXPECT_EQ(px[std::size_t(order[i] * 4 + 3)], 0xEE); // padding untouched
        }
    }
}

TEST(DecodeLzw, EveryCodeSizeWithAndWithoutClears) {
    for (int bits = 1; bits <= 8; ++bits) {
        for (int minCodeSize : {bits, bits < 2 ? 2 : bits}) {
            for (int clearEvery : {0, 1, 97}) {
                for (bool deferClear : {false, true}) {
                    SCOPED_TRACE(::testing::Message()
                                 << bits << " bits, min " << minCodeSize << ", clear every "
                                 << clearEvery << (deferClear ? ", deferred" : ""));
                    const int w = 151, h = 97;
                    const Bytes px = Pixels(w, h, bits, std::uint32_t(bits * 7 + clearEvery));
                    LzwOptions o;
                    o.clearEvery = clearEvery ? clearEvery : (deferClear ? 20000 : 0);
                    o.deferClear = deferClear;
                    Bytes data = LzwEncode(px, minCodeSize, o);
                    data.insert(data.end(), 4, 0);
                    std::vector<std::uint8_t> rows(std::size_t(152 * h));
                    ASSERT_GT(DecodeLzw(data.data(), data.size() - 4, rows.data(), minCodeSize, 152,
                                        w, h, 0),
                              0);
                    for (int y = 0; y < h; ++y)
                        ASSERT_EQ(std::memcmp(&rows[std::size_t(y * 152)], &px[std::size_t(y * w)],
                                              std::size_t(w)),
                                  0)
                            << "row " << y;
                }
            }
        }
    }
}

TEST(GifLoad, NoisyFramesAndFrequentClearsDecodeWhole) {
    // Noise of single pixels makes codes that are nearly all single bytes, which the decoder
    // takes on a way of its own once it has seen a stretch of them, two at a time where it can;
    // clear codes every few codes, code sizes growing between them, narrow rows with padding,
    // and frames that change from noise to long runs and back go through it. Every row must
    // come out whole, its padding zero.
    struct Case {
        int bits, clearEvery, width, height;
    };
    for (const Case& c :
         {Case{8, 7, 61, 40}, Case{8, 13, 3, 300}, Case{8, 37, 200, 150}, Case{8, 250, 97, 120},
          Case{8, 0, 1, 900}, Case{2, 11, 45, 30}, Case{5, 300, 70, 70}}) {
        SCOPED_TRACE(::testing::Message() << c.bits << " bits, clear every " << c.clearEvery << ", "
                                          << c.width << " x " << c.height);
        Bytes px = Pixels(c.width, c.height, c.bits, std::uint32_t(c.clearEvery + c.width), 1);
        // Long runs in the middle third.
        for (std::size_t i = px.size() / 3; i < px.size() * 2 / 3; ++i)
            px[i] = std::uint8_t(i / 50 % 3);
        ImageOptions o;
        o.lzw.clearEvery = c.clearEvery;
        GifBuilder gif;
        gif.Header(c.width, c.height, c.bits).Image(c.width, c.height, px, o).Trailer();
        auto image = LoadBytes(gif.bytes);
        ASSERT_EQ(image->nFrames, 1);
        const CGifFrame& f = *image->pFrames[0];
        EXPECT_EQ(Indices(f), px);
        for (int y = 0; y < f.nHeight; ++y)
            for (int x = f.nWidth; x < f.nStride; ++x)
                ASSERT_EQ(f.pBits[y * f.nStride + x], 0) << "padding of row " << y;
    }
}

TEST(DecodeLzw, FullTableWithoutClearKeepsDecoding) {
    // Noise fills the table early; the encoder then goes on with the full table and the
    // decoder must keep using it as it is.
    const int w = 400, h = 300;
    const Bytes px = Pixels(w, h, 8, 11, 1);
    LzwOptions o;
    o.deferClear = true;
    Bytes data = LzwEncode(px, 8, o);
    data.insert(data.end(), 4, 0);
    std::vector<std::uint8_t> rows(px.size());
    ASSERT_GT(DecodeLzw(data.data(), data.size() - 4, rows.data(), 8, w, w, h, 0), 0);
    EXPECT_EQ(rows, px);
}

TEST(GifLoad, DataStoppingMidFrameTouchesNothingPastItsLastPixel) {
    // Alternating pixels make strings of every length up to 12, so that some cross a row end
    // and some are spelled in more than one 8-byte piece; the data (with its end code) stops
    // after each possible pixel count, so the last string ends anywhere in a row. What the
    // data does not reach stays as it was (zero in a loaded frame), and so does the padding.
    struct Layout {
        int width, height;
        bool interlaced;
    };
    for (const Layout& l : {Layout{16, 12, false}, Layout{13, 12, false}, Layout{13, 12, true}}) {
        const int stride = (l.width + 3) & ~3;
        std::vector<int> rowOfFileRow; // the frame row each row of the data fills
        for (int pass = 0; pass < (l.interlaced ? 4 : 1); ++pass) {
            static const int kFirst[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
            for (int y = l.interlaced ? kFirst[pass] : 0; y < l.height;
                 y += l.interlaced ? kStep[pass] : 1)
                rowOfFileRow.push_back(y);
        }
        Bytes order(std::size_t(l.width * l.height)); // pixels in the order of the data
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = std::uint8_t(1 + i % 2);
        for (std::size_t n = 1; n <= order.size(); ++n) {
            SCOPED_TRACE(::testing::Message()
                         << l.width << (l.interlaced ? "i" : "") << " n=" << n);
            Bytes want(std::size_t(stride * l.height), 0);
            for (std::size_t i = 0; i < n; ++i)
                want[std::size_t(rowOfFileRow[i / std::size_t(l.width)] * stride) +
                     i % std::size_t(l.width)] = order[i];
            const Bytes codes = LzwEncode(Bytes(order.begin(), order.begin() + long(n)), 4);

            GifBuilder gif;
            ImageOptions o;
            o.interlaced = l.interlaced;
            gif.Header(l.width, l.height, 4).Descriptor(l.width, l.height, o, 4);
            gif.Raw(SubBlocks(codes)).Trailer();
            auto image = LoadBytes(gif.bytes);
            ASSERT_EQ(image->nFrames, 1);
            ASSERT_TRUE(std::equal(want.begin(), want.end(), image->pFrames[0]->pBits));

            // DecodeLzw on rows that were not zero: it leaves them as they were.
            Bytes data = codes;
            data.insert(data.end(), 4, 0);
            Bytes rows(want.size(), 0xEE);
            ASSERT_GT(DecodeLzw(data.data(), codes.size(), rows.data(), 4, stride, l.width,
                                l.height, l.interlaced),
                      0);
            for (std::size_t i = 0; i < want.size(); ++i)
                ASSERT_EQ(rows[i], want[i] ? want[i] : 0xEE) << i;
        }
    }
}
