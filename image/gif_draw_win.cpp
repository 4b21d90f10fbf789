// Drawing a decoded GIF frame with GDI.
#include <windows.h>

#include "image/gif.h"

int CGifFrame::Draw(HDC__* dc, int x, int y) const {
    return SetDIBitsToDevice(dc, x, y, DWORD(nWidth), DWORD(nHeight), 0, 0, 0, UINT(nHeight), pBits,
                             reinterpret_cast<const BITMAPINFO*>(pBitmapInfo), DIB_RGB_COLORS);
}
