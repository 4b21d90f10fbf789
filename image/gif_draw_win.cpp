// Drawing a decoded GIF frame with GDI.
#include <windows.h>

#include "image/gif.h"

static_assert(sizeof(GifBitmapInfoHeader) == sizeof(BITMAPINFOHEADER), "the same header");
static_assert(alignof(GifBitmapInfo) >= alignof(BITMAPINFO), "a BITMAPINFO's alignment");

// The bitmap's header and colours are put together on the stack for each drawing: frames that
// share their colour table keep no copy of it.
int CGifFrame::Draw(HDC__* dc, int x, int y) const {
    if (!pBits)
        return 0;
    GifBitmapInfo info;
    GetBitmapInfo(&info);
    return SetDIBitsToDevice(dc, x, y, DWORD(nWidth), DWORD(nHeight), 0, 0, 0, UINT(nHeight), pBits,
                             reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

int CGifFrame::DrawScaled(HDC__* dc, int x, int y, int width, int height) const {
    if (width == nWidth && height == nHeight)
        return Draw(dc, x, y);
    if (!pBits || nWidth <= 0 || nHeight <= 0)
        return 0;
    GifBitmapInfo info;
    GetBitmapInfo(&info);
    bool whole = width % nWidth == 0 && height % nHeight == 0 && width / nWidth == height / nHeight;
    int previousMode = SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
    POINT previousOrigin;
    SetBrushOrgEx(dc, 0, 0, &previousOrigin); // HALFTONE needs the brush origin set after it
    int lines = StretchDIBits(dc, x, y, width, height, 0, 0, nWidth, nHeight, pBits,
                              reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    SetStretchBltMode(dc, previousMode);
    return lines;
}
