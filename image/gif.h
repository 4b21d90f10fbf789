// The program's own GIF decoder: a GIF file becomes a list of frames, each an 8-bit
// device-independent bitmap (header, 256-entry colour table, one byte per pixel).
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

class CGifFrame {
  public:
    CGifFrame();
    ~CGifFrame();
    CGifFrame(const CGifFrame&) = delete;
    CGifFrame& operator=(const CGifFrame&) = delete;

    // Allocates the bitmap block and the pixel rows for a frame of the given size and bit count
    // (1 to 8), replacing any the frame had. Returns 0 when the size is not positive or the
    // memory cannot be had.
    int Create(int width, int height, int bitCount);

    // Draws the whole frame opaque with its top-left corner at (x, y). Windows only.
    int Draw(HDC__* dc, int x, int y) const;

    int nWidth = 0;
    int nHeight = 0;
    int nBitCount = 0;
    std::uint8_t* pBits = nullptr;   // nHeight rows of nStride bytes, top row first
    std::uint8_t* pColors = nullptr; // 256 entries of blue, green, red, 0; inside pBitmapInfo
    int nStride = 0;                 // nWidth raised to the next multiple of 4
    int nTransparent = -1;
    int nLeft = 0;
    int nTop = 0;
    int nDelay = 0; // milliseconds
    int bDispose = 0;
    std::uint8_t* pBitmapInfo = nullptr; // GifBitmapInfoHeader followed by the colour table
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
};

// Decodes GIF LZW data (codes packed least significant bit first) into the pixel rows. data
// holds dataSize bytes of codes followed by at least four zero bytes; no byte past them is
// read. Returns the number of bits consumed, or 0 when the frame fails.
int DecodeLzw(const std::uint8_t* data, std::size_t dataSize, std::uint8_t* pixels, int minCodeSize,
              int stride, int width, int height, int interlaced);
