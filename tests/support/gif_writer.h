// Writes GIF files byte by byte for the tests: an LZW encoder with knobs for the unusual streams
// real encoders rarely produce, and a builder for the blocks around it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace gifwriter {

using Bytes = std::vector<std::uint8_t>;

struct LzwOptions {
    // Keep coding with the full table instead of sending a clear code when code 4095 is used.
    bool deferClear = false;
    // Send a clear code after every this many codes (0: only when the table is full).
    int clearEvery = 0;
    bool initialClear = true;
    bool endCode = true;
};

// Packs codes least significant bit first, growing the code size exactly when a decoder does.
class CodeWriter {
  public:
    explicit CodeWriter(int minCodeSize) : min_(minCodeSize) { Reset(); }

    void Put(int code) {
        acc_ |= std::uint64_t(code) << nbits_;
        nbits_ += size_;
        while (nbits_ >= 8) {
            out.push_back(std::uint8_t(acc_));
            acc_ >>= 8;
            nbits_ -= 8;
        }
        const int clear = 1 << min_;
        if (code == clear) {
            Reset();
            return;
        }
        if (code == clear + 1)
            return;
        if (!first_ && decoderNext_ < 4096)
            ++decoderNext_;
        first_ = false;
        if (decoderNext_ >= (1 << size_) && size_ < 12)
            ++size_;
    }

    Bytes Finish() {
        if (nbits_ > 0)
            out.push_back(std::uint8_t(acc_));
        acc_ = 0;
        nbits_ = 0;
        return out;
    }

    int size() const { return size_; }
    Bytes out;

  private:
    void Reset() {
        size_ = min_ + 1;
        decoderNext_ = (1 << min_) + 2;
        first_ = true;
    }
    int min_;
    int size_ = 0;
    int decoderNext_ = 0;
    bool first_ = true;
    std::uint64_t acc_ = 0;
    int nbits_ = 0;
};

inline Bytes LzwEncode(const Bytes& pixels, int minCodeSize, const LzwOptions& options = {}) {
    const int clear = 1 << minCodeSize;
    CodeWriter writer(minCodeSize);
    // Dictionary (prefix code, byte) -> code; entries of older generations count as empty.
    std::vector<std::uint32_t> stamp(4096 * 256, 0);
    std::vector<std::uint16_t> child(4096 * 256, 0);
    std::uint32_t generation = 1;
    int next = clear + 2;
    int sinceClear = 0;
    auto reset = [&] {
        ++generation;
        next = clear + 2;
        sinceClear = 0;
    };
    if (options.initialClear)
        writer.Put(clear);
    if (!pixels.empty()) {
        int current = pixels[0];
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const std::size_t key = std::size_t(current) * 256 + pixels[i];
            if (stamp[key] == generation) {
                current = child[key];
                continue;
            }
            writer.Put(current);
            ++sinceClear;
            if (next < 4096) {
                stamp[key] = generation;
                child[key] = std::uint16_t(next++);
            }
            if ((next == 4096 && !options.deferClear) ||
                (options.clearEvery > 0 && sinceClear >= options.clearEvery)) {
                writer.Put(clear);
                reset();
            }
            current = pixels[i];
        }
        writer.Put(current);
    }
    if (options.endCode)
        writer.Put(clear + 1);
    return writer.Finish();
}

// Splits data into sub-blocks of at most `blockSize` bytes and a zero terminator.
inline Bytes SubBlocks(const Bytes& data, int blockSize = 255, bool terminator = true) {
    Bytes out;
    for (std::size_t i = 0; i < data.size(); i += std::size_t(blockSize)) {
        std::size_t n = data.size() - i < std::size_t(blockSize) ? data.size() - i : blockSize;
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    if (terminator)
        out.push_back(0);
    return out;
}

// Rows in the order an interlaced image stores them.
inline Bytes InterlaceRows(const Bytes& pixels, int width, int height) {
    Bytes out;
    static const int kFirst[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kFirst[pass]; y < height; y += kStep[pass])
            out.insert(out.end(), pixels.begin() + long(y) * width,
                       pixels.begin() + long(y + 1) * width);
    return out;
}

// A colour table of 2^bits entries (red, green, blue) that is easy to recognise.
inline Bytes Palette(int bits, int salt = 0) {
    Bytes out;
    for (int i = 0; i < (1 << bits); ++i) {
        out.push_back(std::uint8_t(i * 3 + salt));
        out.push_back(std::uint8_t(i * 5 + 1 + salt));
        out.push_back(std::uint8_t(i * 7 + 2 + salt));
    }
    return out;
}

struct ImageOptions {
    int left = 0;
    int top = 0;
    int localBits = 0; // 0: no local colour table
    int localSalt = 0;
    bool interlaced = false;
    int minCodeSize = 0; // 0: derived from the bit count (at least 2)
    LzwOptions lzw;
    int blockSize = 255;
};

class GifBuilder {
  public:
    // globalBits 0 writes no global colour table; sizeField is then put in the flags as is.
    GifBuilder& Header(int width, int height, int globalBits, int sizeField = 0) {
        Raw({'G', 'I', 'F', '8', '9', 'a'});
        Le16(width);
        Le16(height);
        if (globalBits > 0) {
            bytes.push_back(std::uint8_t(0x80 | 0x70 | (globalBits - 1)));
            bytes.push_back(0);
            bytes.push_back(0);
            Raw(Palette(globalBits));
        } else {
            bytes.push_back(std::uint8_t(sizeField & 7));
            bytes.push_back(0);
            bytes.push_back(0);
        }
        globalBits_ = globalBits > 0 ? globalBits : (sizeField & 7) + 1;
        return *this;
    }

    GifBuilder& Gce(int flags, int delay, int transparent) {
        Raw({0x21, 0xF9, 4, std::uint8_t(flags), std::uint8_t(delay), std::uint8_t(delay >> 8),
             std::uint8_t(transparent), 0});
        return *this;
    }

    GifBuilder& Extension(int label, const std::vector<Bytes>& blocks) {
        bytes.push_back(0x21);
        bytes.push_back(std::uint8_t(label));
        for (const Bytes& b : blocks) {
            bytes.push_back(std::uint8_t(b.size()));
            Raw(b);
        }
        bytes.push_back(0);
        return *this;
    }

    // The image descriptor, colour table and minimum code size, without data.
    GifBuilder& Descriptor(int width, int height, const ImageOptions& o, int minCodeSize) {
        bytes.push_back(0x2C);
        Le16(o.left);
        Le16(o.top);
        Le16(width);
        Le16(height);
        int flags = o.interlaced ? 0x40 : 0;
        if (o.localBits > 0)
            flags |= 0x80 | (o.localBits - 1);
        bytes.push_back(std::uint8_t(flags));
        if (o.localBits > 0)
            Raw(Palette(o.localBits, o.localSalt));
        bytes.push_back(std::uint8_t(minCodeSize));
        return *this;
    }

    // A whole image from its pixels in natural row order.
    GifBuilder& Image(int width, int height, const Bytes& pixels, const ImageOptions& o = {}) {
        const int bits = o.localBits > 0 ? o.localBits : globalBits_;
        const int minCodeSize = o.minCodeSize > 0 ? o.minCodeSize : (bits < 2 ? 2 : bits);
        Descriptor(width, height, o, minCodeSize);
        const Bytes order = o.interlaced ? InterlaceRows(pixels, width, height) : pixels;
        Raw(SubBlocks(LzwEncode(order, minCodeSize, o.lzw), o.blockSize));
        return *this;
    }

    GifBuilder& Trailer() {
        bytes.push_back(0x3B);
        return *this;
    }

    GifBuilder& Raw(const Bytes& b) {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }

    GifBuilder& Le16(int v) {
        bytes.push_back(std::uint8_t(v));
        bytes.push_back(std::uint8_t(v >> 8));
        return *this;
    }

    bool Save(const std::string& path) const { return WriteFile(path, bytes); }

    static bool WriteFile(const std::string& path, const Bytes& data) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f)
            return false;
        const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
        return std::fclose(f) == 0 && ok;
    }

    Bytes bytes;

  private:
    int globalBits_ = 1;
};

// Deterministic pseudo-random pixels below 2^bits, in runs so that strings repeat.
inline Bytes Pixels(int width, int height, int bits, std::uint32_t seed, int maxRun = 4) {
    Bytes out(std::size_t(width) * std::size_t(height));
    std::uint32_t x = seed * 2654435761u + 1;
    std::size_t i = 0;
    while (i < out.size()) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const std::uint8_t v = std::uint8_t((x >> 8) & ((1u << bits) - 1));
        std::size_t run = 1 + (x >> 24) % std::uint32_t(maxRun);
        for (; run > 0 && i < out.size(); --run)
            out[i++] = v;
    }
    return out;
}

} // namespace gifwriter
