// The preview of a menu: its title image with every hot spot framed in its focus colour and
// numbered, and every description box where the menu window would show it.
#pragma once

#include "image/gif.h"
#include "menu/menu_layout.h"

#include <cstdint>
#include <vector>

// An RGB picture, three bytes a pixel, top row first.
struct PreviewImage {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint8_t> rgb;
    void Fill(const MenuRect& rect, std::uint32_t color); // 0xRRGGBB, clipped to the picture
};

// A bitmap font of the printable ASCII characters, sized like the menu window's default font;
// other characters are measured and drawn as '?'.
class CPreviewFont : public IMenuTextMeasure {
  public:
    static constexpr int kHeight = 16;
    void MeasureText(const char* text, int& width, int& height) override;
    // Draws one line with its top-left corner at (x, y), clipped to clip and to the picture.
    void DrawText(PreviewImage& image, int x, int y, const char* text, std::uint32_t color,
                  const MenuRect& clip) const;
};

// The menu as its window shows it: the first frame of the title image at 0,0 (black where the
// frame does not reach), then the three-pixel focus frame of each hot spot with its number,
// then each description box (framed in black, filled in the window's yellow, the text centred).
void RenderMenuPreview(const CMenuModel& model, const CGifImage& titleImage, CPreviewFont& font,
                       PreviewImage& out);

// The picture at a scale (a monitor's DPI / 96), as the window draws its title image at it:
// pixels repeated for a whole factor, interpolated between the nearest four otherwise.
PreviewImage ScalePreview(const PreviewImage& in, double scale);
