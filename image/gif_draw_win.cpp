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
