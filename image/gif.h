// The program's own GIF decoder: a GIF file becomes a list of frames, each an 8-bit
// device-independent bitmap (one byte per pixel, a 256-entry colour table). Frames without a
// colour table of their own share their file's global table, as the file does.
#pragma once

#include <cstddef>
#include <cstdint>

struct HDC__; // the Win32 device context type, so that this header needs no Win32 headers

// The published 40-byte BITMAPINFOHEADER layout, little-endian.
struct GifBitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(GifBitmapInfoHeader) == 40, "BITMAPINFOHEADER is 40 bytes");

// The published BITMAPINFO layout of an 8-bit bitmap: the header and 256 entries of blue, green,
// red, 0.
struct GifBitmapInfo {
    GifBitmapInfoHeader header;
    std::uint8_t colors[256 * 4];
};
static_assert(sizeof(GifBitmapInfo) == 40 + 256 * 4, "BITMAPINFO of 256 colours is 1064 bytes");

class CGifFrame {
  public:
    CGifFrame();
    ~CGifFrame();
    CGifFrame(const CGifFrame&) = delete;
    CGifFrame& operator=(const CGifFrame&) = delete;

    // Allocates the pixel rows, all zero, for a frame of the given size and bit count (1 to 8),
    // replacing any the frame had. With sharedColors (256 entries, which must outlive the frame)
    // the frame uses that colour table; without, it gets one of its own, all zero, which
    // OwnColors() gives to fill. Returns 0 when the size is not positive or the memory cannot be
    // had.
    int Create(int width, int height, int bitCount, const std::uint8_t* sharedColors = nullptr);

    // The frame's own colour table, null when it has none (it shares one, or has no rows).
    std::uint8_t* OwnColors() { return ownColors_ ? block_ : nullptr; }

    // Fills in the BITMAPINFO that draws the frame: its size (top row first), 8 bits per pixel
    // and a copy of its colour table. The frame must have rows.
    void GetBitmapInfo(GifBitmapInfo* info) const;

    // Draws the whole frame opaque with its top-left corner at (x, y). Windows only.
    int Draw(HDC__* dc, int x, int y) const;
    // Draws the whole frame opaque, stretched to width x height at (x, y): pixels repeated
    // when both factors are the same whole number, smoothed otherwise. Windows only.
    int DrawScaled(HDC__* dc, int x, int y, int width, int height) const;

    int nWidth = 0;
    int nHeight = 0;
    int nBitCount = 0;
    std::uint8_t* pBits = nullptr; // nHeight rows of nStride bytes, top row first
    // 256 entries of blue, green, red, 0: the frame's own table, or the one it shares with the
    // other frames of its file that have none, so not to be written through.
    const std::uint8_t* pColors = nullptr;
    int nStride = 0; // nWidth raised to the next multiple of 4
    int nTransparent = -1;
    int nLeft = 0;
    int nTop = 0;
    int nDelay = 0; // milliseconds
    int bDispose = 0;

  private:
    // One allocation: the frame's own colour table, if it has one, then the rows.
    std::uint8_t* block_ = nullptr;
    bool ownColors_ = false;
};

class CGifImage {
  public:
    CGifImage() = default;
    ~CGifImage();
    CGifImage(const CGifImage&) = delete;
    CGifImage& operator=(const CGifImage&) = delete;

    // Decodes the file and appends its frames. Returns the number of frames the image then
    // holds (0 when the file cannot be opened or is no GIF; the image is then unchanged).
    int Load(const char* path);
    // Appends a frame the image then owns; returns the new frame count.
    int AddFrame(CGifFrame* frame);

    int nWidth = 0;
    int nHeight = 0;
    CGifFrame** pFrames = nullptr;
    int nFrames = 0;

  private:
    int nCapacity = 0; // entries allocated in pFrames
    // The colour tables shared by frames without one of their own: one for each loaded file
    // that has such frames, in a list through the pointer each block starts with.
    void* pSharedColors = nullptr;
};

// Decodes GIF LZW data (codes packed least significant bit first) into the pixel rows. data
// holds dataSize bytes of codes followed by at least four zero bytes; no byte past them is
// read. Returns the number of bits consumed, or 0 when the frame fails.
int DecodeLzw(const std::uint8_t* data, std::size_t dataSize, std::uint8_t* pixels, int minCodeSize,
              int stride, int width, int height, int interlaced);
