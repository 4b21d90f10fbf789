// PLACEHOLDER (not committed)
#include "image/gif.h"
CGifFrame::CGifFrame() {}
CGifFrame::~CGifFrame() {}
int CGifFrame::Create(int, int, int) { return 0; }
CGifImage::~CGifImage() {}
int CGifImage::Load(const char*) { return 0; }
int CGifImage::AddFrame(CGifFrame*) { return 0; }
int DecodeLzw(const std::uint8_t*, std::size_t, std::uint8_t*, int, int, int, int, int) { return 0; }
