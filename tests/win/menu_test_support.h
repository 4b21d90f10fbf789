// Helpers of the title-screen tests: a small GIF writer for title images, folders with a
// configuration, and reading what the menu window shows.
#pragma once

#include "base/wide_win.h"
#include "driver/driver.h"
#include "base/config_names.h"
#include "support/gif_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace menutest {

// A picture of palette indices with its palette (at most 128 colours, as 0xRRGGBB).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> pixels; // row by row, top row first

    Picture(int w, int h, std::vector<std::uint32_t> colours)
        : width(w), height(h), palette(std::move(colours)),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0) {}
    void Fill(int left, int top, int right, int bottom, std::uint8_t index) {
        for (int y = top; y < bottom && y < height; ++y)
            for (int x = left; x < right && x < width; ++x)
                pixels[static_cast<std::size_t>(y) * width + x] = index;
    }
};

// Encodes a one-frame GIF with the picture's own 128-entry global palette.
inline std::string EncodeGif(const Picture& pic) {
    const int minCodeSize = 7;
    std::string out = "GIF89a";
    auto put16 = [&out](int v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    put16(pic.width);
    put16(pic.height);
    out += static_cast<char>(0x80 | (6 << 4) | 6); // global table of 128 entries, 7-bit colour
    out += '\0';                                   // background index
    out += '\0';                                   // aspect
    for (int i = 0; i < 128; ++i) {
        std::uint32_t c = i < static_cast<int>(pic.palette.size()) ? pic.palette[i] : 0;
        out += static_cast<char>((c >> 16) & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
        out += static_cast<char>(c & 0xFF);
    }
    out += ',';
    put16(0);
    put16(0);
    put16(pic.width);
    put16(pic.height);
    out += '\0'; // no local table, not interlaced
    out += static_cast<char>(minCodeSize);

    gifwriter::Bytes blocks = gifwriter::SubBlocks(gifwriter::LzwEncode(pic.pixels, minCodeSize));
    out.append(blocks.begin(), blocks.end());
    out += ';';
    return out;
}

// COLORREF of a 0xRRGGBB colour.
inline COLORREF Ref(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A test folder with tovak.ini (the text given, plus logging into log.txt) and images.
// The text should begin with the section [Settings].
struct Folder {
    std::string path;
    std::string log;

    Folder(const std::string& name, const std::string& ini) {
        path = bench::MakeTestFolder(name);
        log = bench::Join(path, "log.txt");
        // Logging is switched on in the first menu's section (the same section as settings).
        std::string logging = "debug=Y\r\ndebugfile=" + log + "\r\n";
        const std::string header = "[Settings]\r\n";
        std::string text = ini.compare(0, header.size(), header) == 0
                               ? header + logging + ini.substr(header.size())
                               : "[settings]\r\n" + logging + ini;
        EXPECT_TRUE(bench::WriteTextFile(bench::Join(path, kConfigFileName), text));
    }
    void AddGif(const std::string& name, const Picture& pic) const {
        EXPECT_TRUE(bench::WriteTextFile(bench::Join(path, name), EncodeGif(pic)));
    }
    std::vector<std::string> Log() const { return bench::ReadLogMessages(log); }
    bool Logged(const std::string& message) const { return bench::Contains(Log(), message); }
    int CountLogged(const std::string& message) const {
        int n = 0;
        for (const std::string& line : Log())
            n += line == message;
        return n;
    }
};

// Whether the three rings of a focus frame in that colour are on screen inside the rectangle
// (client coordinates), checked at the middle of each side.
inline bool FrameShown(HWND hwnd, RECT r, COLORREF colour) {
    for (int ring = 0; ring < 3; ++ring) {
        int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
        if (bench::ReadPixel(hwnd, midX, r.top + ring) != colour ||
            bench::ReadPixel(hwnd, midX, r.bottom - 1 - ring) != colour ||
            bench::ReadPixel(hwnd, r.left + ring, midY) != colour ||
            bench::ReadPixel(hwnd, r.right - 1 - ring, midY) != colour)
            return false;
    }
    return true;
}

// Whether the rectangle's outer three rings show the image colour (no frame).
inline bool FrameCleared(HWND hwnd, RECT r, COLORREF image) {
    for (int ring = 0; ring < 3; ++ring) {
        int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
        if (bench::ReadPixel(hwnd, midX, r.top + ring) != image ||
            bench::ReadPixel(hwnd, r.left + ring, midY) != image)
            return false;
    }
    return true;
}

// The size of one line of UTF-8 text in the system's message font in bold, in which the menu
// measures and draws its descriptions.
inline SIZE MeasureLine(const char* text) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    RECT r = {0, 0, 5, 25};
    DrawTextW(dc, Wide(text).c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Waits until the process has ended and gives its exit code, answering any error box with OK
// meanwhile (their texts are collected).
inline int WaitExitAnsweringBoxes(bench::TovakProcess& proc, std::vector<std::string>& texts,
                                  DWORD ms = 20000) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (!proc.Running())
            return proc.WaitExit(1000);
        bench::BoxInfo box;
        if (bench::WaitMessageBox(proc.Pid(), box, 200)) {
            texts.push_back(box.text);
            bench::PressButton(box.hwnd, IDOK);
            bench::WaitGone(box.hwnd, 5000);
        }
    }
    return proc.WaitExit(1000);
}

} // namespace menutest
