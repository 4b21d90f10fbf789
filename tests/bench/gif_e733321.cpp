// Compiled with the header of commit e733321 and its class names mapped to names of their own
// (tests/bench/CMakeLists.txt), so that it calls that commit's decoder, not today's.
#include "image/gif.h"

#include "gif_e733321.h"

double DecodeE733321(const char* path) {
    CGifImage image;
    image.Load(path);
    double pixels = 0;
    for (int i = 0; i < image.nFrames; ++i)
        pixels += double(image.pFrames[i]->nWidth) * image.pFrames[i]->nHeight;
    return pixels;
}
