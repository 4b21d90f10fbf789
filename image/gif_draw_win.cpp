// PLACEHOLDER (not committed)
#include "image/gif.h"
int CGifFrame::Draw(HDC__*, int, int) const { return 0; }
