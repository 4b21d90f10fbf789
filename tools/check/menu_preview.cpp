#include "tools/check/menu_preview.h"

#include "base/int_range.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct Glyph {
    int width;
    std::uint16_t rows[CPreviewFont::kHeight];
};

const Glyph kGlyphs[] = {
#include "tools/check/preview_font.inc"
};

const Glyph& GlyphOf(char ch) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 32 || c > 126)
        c = '?';
    return kGlyphs[c - 32];
}

// FrameRect: the one-pixel border inside the rectangle; nothing for an empty one.
void Frame(PreviewImage& image, const MenuRect& r, std::uint32_t color) {
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    image.Fill(MenuRect{r.left, r.top, r.right, r.top + 1}, color);
    image.Fill(MenuRect{r.left, r.bottom - 1, r.right, r.bottom}, color);
    image.Fill(MenuRect{r.left, r.top, r.left + 1, r.bottom}, color);
    image.Fill(MenuRect{r.right - 1, r.top, r.right, r.bottom}, color);
}

// The window's description fill, kDescriptionFill, as 0xRRGGBB.
std::uint32_t RgbOfColorRef(std::uint32_t colorRef) {
    return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}

} // namespace

void PreviewImage::Fill(const MenuRect& rect, std::uint32_t color) {
    int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    int right = std::min(rect.right, nWidth), bottom = std::min(rect.bottom, nHeight);
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* p = rgb.data() + (std::size_t(y) * std::size_t(nWidth) + left) * 3;
        for (int x = left; x < right; ++x) {
            *p++ = static_cast<std::uint8_t>(color >> 16);
            *p++ = static_cast<std::uint8_t>(color >> 8);
            *p++ = static_cast<std::uint8_t>(color);
        }
    }
}

void CPreviewFont::MeasureText(const char* text, int& width, int& height) {
    width = 0;
    for (const char* p = text; *p; ++p)
        width += GlyphOf(*p).width;
    height = kHeight;
}

void CPreviewFont::DrawText(PreviewImage& image, int x, int y, const char* text,
                            std::uint32_t color, const MenuRect& clip) const {
    WideInt left = x;
    for (const char* p = text; *p; ++p) {
        const Glyph& glyph = GlyphOf(*p);
        for (int row = 0; row < kHeight; ++row) {
            for (int col = 0; col < glyph.width && col < 16; ++col) {
                WideInt px = left + col, py = WideInt(y) + row;
                // Inside the clip, so one more still fits in an int.
                if ((glyph.rows[row] >> col & 1) && px >= clip.left && px < clip.right &&
                    py >= clip.top && py < clip.bottom)
                    image.Fill(MenuRect{int(px), int(py), int(px) + 1, int(py) + 1}, color);
            }
        }
        left += glyph.width;
    }
}

void RenderMenuPreview(const CMenuModel& model, const CGifImage& titleImage, CPreviewFont& font,
                       PreviewImage& out) {
    out.nWidth = std::max(titleImage.nWidth, 1);
    out.nHeight = std::max(titleImage.nHeight, 1);
    out.rgb.assign(std::size_t(out.nWidth) * std::size_t(out.nHeight) * 3, 0);
    if (titleImage.nFrames > 0) {
        const CGifFrame& frame = *titleImage.pFrames[0];
        int width = std::min(frame.nWidth, out.nWidth);
        int height = std::min(frame.nHeight, out.nHeight);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* src = frame.pBits + std::size_t(y) * std::size_t(frame.nStride);
            std::uint8_t* dst = out.rgb.data() + std::size_t(y) * std::size_t(out.nWidth) * 3;
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* color = frame.pColors + src[x] * 4; // blue, green, red
                *dst++ = color[2];
                *dst++ = color[1];
                *dst++ = color[0];
            }
        }
    }
    const MenuRect whole = {0, 0, out.nWidth, out.nHeight};
    for (int i = 0; i < model.nSelections; ++i) {
        const MenuSelection& sel = model.sel[i];
        std::uint32_t color = static_cast<std::uint32_t>(sel.clrFocus) & 0xFFFFFF;
        MenuRect hot = HotSpotRect(sel);
        for (int ring = 0; ring < 3; ++ring)
            Frame(out, InflatedRect(hot, -ring), color);
        if (hot.right <= hot.left || hot.bottom <= hot.top)
            continue;
        // The number on a tab of the frame's colour in the hot spot's top-left corner.
        std::string number = std::to_string(i + 1);
        int width = 0, height = 0;
        font.MeasureText(number.c_str(), width, height);
        MenuRect tab = {hot.left, hot.top,
                        std::min(SaturatedInt(WideInt(hot.left) + width + 6), hot.right),
                        std::min(SaturatedInt(WideInt(hot.top) + height), hot.bottom)};
        out.Fill(tab, color);
        font.DrawText(out, SaturatedInt(WideInt(hot.left) + 3), hot.top, number.c_str(), 0x000000,
                      tab);
    }
    for (int i = 0; i < model.nSelections; ++i) {
        MenuRect hot, box;
        CalcSelectionRects(model.sel[i], font, hot, box);
        if (box == kNoDescriptionBox)
            continue;
        Frame(out, box, 0x000000);
        MenuRect inner = InflatedRect(box, -1);
        out.Fill(inner, RgbOfColorRef(kDescriptionFill));
        int width = 0, height = 0;
        font.MeasureText(model.sel[i].strDesc, width, height);
        int x = SaturatedInt(inner.left + (WideInt(inner.right) - inner.left - width) / 2);
        int y = SaturatedInt(inner.top + (WideInt(inner.bottom) - inner.top - height) / 2);
        MenuRect clip = {std::max(inner.left, whole.left), std::max(inner.top, whole.top),
                         std::min(inner.right, whole.right), std::min(inner.bottom, whole.bottom)};
        font.DrawText(out, x, y, model.sel[i].strDesc, 0x000000, clip);
    }
}

PreviewImage ScalePreview(const PreviewImage& in, double scale) {
    PreviewImage out;
    out.nWidth = std::max(ScaleLength(in.nWidth, scale), 1);
    out.nHeight = std::max(ScaleLength(in.nHeight, scale), 1);
    out.rgb.assign(std::size_t(out.nWidth) * std::size_t(out.nHeight) * 3, 0);
    if (in.nWidth <= 0 || in.nHeight <= 0)
        return out;
    bool whole = scale == std::floor(scale);
    auto at = [&](int x, int y, int c) {
        x = std::clamp(x, 0, in.nWidth - 1);
        y = std::clamp(y, 0, in.nHeight - 1);
        return double(in.rgb[(std::size_t(y) * std::size_t(in.nWidth) + x) * 3 + c]);
    };
    std::uint8_t* p = out.rgb.data();
    for (int y = 0; y < out.nHeight; ++y) {
        // The source point under the middle of this pixel.
        double sy = (y + 0.5) / scale - 0.5;
        for (int x = 0; x < out.nWidth; ++x) {
            double sx = (x + 0.5) / scale - 0.5;
            for (int c = 0; c < 3; ++c) {
                double v;
                if (whole) {
                    v = at(int(x / scale), int(y / scale), c);
                } else {
                    int x0 = int(std::floor(sx)), y0 = int(std::floor(sy));
                    double fx = sx - x0, fy = sy - y0;
                    v = (at(x0, y0, c) * (1 - fx) + at(x0 + 1, y0, c) * fx) * (1 - fy) +
                        (at(x0, y0 + 1, c) * (1 - fx) + at(x0 + 1, y0 + 1, c) * fx) * fy;
                }
                *p++ = static_cast<std::uint8_t>(std::lround(v));
            }
        }
    }
    return out;
}
