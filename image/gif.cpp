// GIF decoding: the file parser behind CGifImage::Load and the LZW decoder behind DecodeLzw.
//
// The LZW decoder is resumable: Load hands it the image data a chunk at a time as it reads
// the sub-blocks, so decoding needs no buffer the size of the compressed data, and DecodeLzw
// runs the same code over a whole buffer at once.
#include "image/gif.h"

#include "base/utf.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;
constexpr int kMaxMinCodeSize = 8; // pixel codes must fit the 8-bit indices
// The decoder judges on each stretch of codes of about kJudgeBits bits (of at least
// kJudgeMinBits, so that a judgement rests on a few dozen codes) whether single bytes are best
// taken on a way of their own (see LzwDecoder::Decode).
constexpr std::uint64_t kJudgeBits = 4096;
constexpr std::uint64_t kJudgeMinBits = 256;

// A frame's rows may take at most 256 MiB. A GIF header can ask for 65535 x 65535 pixels; no
// animation of a packaged game is a fraction of that, and the cap keeps a damaged or hostile
// header from reserving gigabytes (or overflowing a 32-bit address space).
// Fuzzing builds use a lower cap: the sanitizers make every large allocation slow.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr std::uint64_t kMaxFrameBytes = std::uint64_t(1) << 22;
#else
constexpr std::uint64_t kMaxFrameBytes = std::uint64_t(1) << 28;
#endif

constexpr std::size_t kColorTableBytes = 256 * 4;

// A colour table shared by the frames of one file that have none of their own, kept in the
// image's list of them.
struct SharedColors {
    SharedColors* next;
    std::uint8_t colors[kColorTableBytes]; // blue, green, red, 0
};

std::uint32_t Load32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

int Le16(const std::uint8_t* p) {
    return p[0] | p[1] << 8;
}

// Where the decoded pixels go: a run of bytes up to the end of the current row, then the next
// row in file order (interlaced images come in four passes). A non-interlaced image without
// row padding is one run of width * height bytes.
class RowCursor {
  public:
    void Start(std::uint8_t* pixels, int stride, int width, int height, bool interlaced) {
        base_ = pixels;
        stride_ = stride;
        width_ = width;
        height_ = height;
        interlaced_ = interlaced;
        single_ = !interlaced && stride == width;
        row_ = 0;
        pass_ = 0;
        p = pixels;
        end = pixels +
              (single_ ? std::uint64_t(width) * std::uint64_t(height) : std::uint64_t(width));
    }

    // Moves to the next row once the current one is full; false when the frame is complete.
    bool NextRow() {
        if (p != end)
            return true;
        if (single_)
            return false;
        if (!interlaced_) {
            ++row_;
        } else {
            static const int kStep[4] = {8, 8, 4, 2};
            static const int kFirst[4] = {0, 4, 2, 1};
            row_ += kStep[pass_];
            while (row_ >= height_) {
                if (++pass_ == 4)
                    return false;
                row_ = kFirst[pass_];
            }
        }
        if (row_ >= height_)
            return false;
        p = base_ + std::uint64_t(row_) * std::uint64_t(stride_);
        end = p + width_;
        return true;
    }

    std::uint8_t* p = nullptr;   // next pixel to write
    std::uint8_t* end = nullptr; // end of the current run

  private:
    std::uint8_t* base_ = nullptr;
    int stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool interlaced_ = false;
    bool single_ = false; // the whole frame is one run
    int row_ = 0;
    int pass_ = 0;
};

// One code of the LZW table. A string is held as a chain of 8-byte pieces: `piece` holds its
// last ((length - 1) % 8) + 1 bytes, followed by zero bytes, and the rest of the string, whose
// length is a multiple of 8, is the string of the entry's prefix code (none while the string
// has at most 8 bytes). A string of up to 8 bytes is thus written with one 8-byte copy, and a
// longer one with one copy per 8 bytes.
//
// `link` holds the string's first byte (bits 0-7), the prefix code (bits 8-19) and the length
// - 1 (bits 20-31). The piece is read and written as one 64-bit word and the link as one 32-bit
// word: a code is often read right after it was defined, and a load that the processor can take
// whole from one pending store costs a few cycles, where one pieced together from several
// stores costs tens.
struct LzwEntry {
    std::uint8_t piece[8];
    std::uint8_t link[4];
};

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the LZW table's pieces are 64-bit words holding their first byte lowest"
#endif

constexpr int kLinkPrefixShift = 8;
constexpr int kLinkLengthShift = 20;
constexpr std::uint32_t kLinkPrefixBits = 0xFFFu << kLinkPrefixShift;

std::uint64_t LoadPiece(const LzwEntry& e) {
    std::uint64_t v;
    std::memcpy(&v, e.piece, 8);
    return v;
}

std::uint32_t LoadLink(const LzwEntry& e) {
    std::uint32_t v;
    std::memcpy(&v, e.link, 4);
    return v;
}

void StoreEntry(LzwEntry& e, std::uint64_t piece, std::uint32_t link) {
    std::memcpy(e.piece, &piece, 8);
    std::memcpy(e.link, &link, 4);
}

std::size_t LinkLengthM1(std::uint32_t link) {
    return link >> kLinkLengthShift;
}

std::uint32_t LinkPrefix(std::uint32_t link) {
    return (link & kLinkPrefixBits) >> kLinkPrefixShift;
}

std::uint8_t LinkFirst(std::uint32_t link) {
    return std::uint8_t(link);
}

// The entry for the string of code `prev` (piece and link given) followed by `last`: the byte
// goes in at the next place of prev's piece, or after a full piece starts a new one whose prefix
// is prev.
void Extend(std::uint64_t prevPiece, std::uint32_t prevLink, std::size_t prev, std::uint8_t last,
            std::uint64_t* piece, std::uint32_t* link) {
    const std::uint32_t longer = prevLink + (1u << kLinkLengthShift);
    const unsigned shift = (longer >> (kLinkLengthShift - 3)) & 0x38; // 8 * ((length - 1) % 8)
    // Most strings are short: a new piece is the exception.
    if (__builtin_expect(shift != 0, 1)) {
        *piece = prevPiece | std::uint64_t(last) << shift;
        *link = longer;
    } else {
        *piece = last;
        *link = (longer & ~kLinkPrefixBits) | std::uint32_t(prev) << kLinkPrefixShift;
    }
}

// Writes the string of the entry whose piece and link are given at dst: its last piece at
// dst + (length - 1) rounded down to a multiple of 8, then the pieces of the prefix chain in
// front of it. With wholePieces the last piece is copied as 8 bytes, writing up to 7 zero bytes
// past the string; otherwise it is copied exactly.
template <bool wholePieces>
void WriteString(const LzwEntry* table, std::uint64_t piece, std::uint32_t link,
                 std::uint8_t* dst) {
    const std::size_t m = LinkLengthM1(link);
    std::uint8_t* q = dst + (m & ~std::size_t(7));
    std::memcpy(q, &piece, wholePieces ? 8 : (m & 7) + 1);
    while (q != dst) {
        const LzwEntry& e = table[LinkPrefix(link)];
        piece = LoadPiece(e);
        link = LoadLink(e);
        q -= 8;
        std::memcpy(q, &piece, 8);
    }
}

// The LZW decoder with its code table.
class LzwDecoder {
  public:
    enum Status { kNeedData, kDone, kFailed };

    // Prepares to decode a frame. False when it cannot be decoded at all (no pixels, or a
    // minimum code size whose pixel codes do not fit a byte).
    bool Start(std::uint8_t* pixels, int minCodeSize, int stride, int width, int height,
               bool interlaced) {
        if (std::int64_t(width) * std::int64_t(height) <= 0 || width <= 0 || stride < width)
            return false;
        if (minCodeSize < 0 || minCodeSize > kMaxMinCodeSize)
            return false;
        out_.Start(pixels, stride, width, height, interlaced);
        clear_ = 1 << minCodeSize;
        minCodeSize_ = minCodeSize;
        // Decoding never writes below the clear code, so the single-byte entries of earlier
        // frames are still there: a small animation's frames do not set up 3 KiB each.
        for (int c = bytesSetUp_; c < clear_; ++c)
            StoreEntry(table_[c], std::uint64_t(c), std::uint32_t(c));
        bytesSetUp_ = clear_;
        // The clear and end codes are marked by a length no string has, so that the decoding
        // loop finds them on the way it takes for long strings, not by a test of every code.
        StoreEntry(table_[clear_], 0, kSpecialLink);
        StoreEntry(table_[clear_ + 1], 0, kSpecialLink);
        Reset();
        bits_ = 0;
        return true;
    }

    // Decodes every whole code in data[0, size), starting at bit *bitPos, which it moves past
    // the codes used (the bits of a code cut off at the end stay for the next call). Four
    // readable bytes must follow data[size].
    //
    // With zeroedRows the pixel rows must have been all zero before the frame's first call:
    // strings are then written in whole 8-byte pieces, which may write up to 7 zero bytes past
    // the string inside the current row, where nothing has been written yet. Without it no byte
    // past the last string is touched.
    template <bool zeroedRows>
    Status Decode(const std::uint8_t* data, std::size_t size, std::uint64_t* bitPos);

    // Bits consumed since Start.
    std::uint64_t Bits() const { return bits_; }

  private:
    static constexpr std::uint32_t kSpecialLink = 0xFFFu << kLinkLengthShift;

    // Writes the string whose last piece and link are given at p, which is in the current row,
    // exactly, going on in the next rows as far as it runs; whatever does not fit the frame is
    // dropped. Returns the next pixel to write, with the cursor at its row, or null when the
    // frame is full. Out of line: it is seldom needed, and the decoding loop keeps more of its
    // values in registers without it.
    __attribute__((noinline)) std::uint8_t* WriteAcrossRows(std::uint64_t piece, std::uint32_t link,
                                                            std::uint8_t* p) {
        std::uint8_t string[kTableSize]; // whole pieces of a string of at most 4094 bytes
        WriteString<true>(table_, piece, link, string);
        const std::size_t length = LinkLengthM1(link) + 1;
        std::size_t done = 0;
        for (;;) {
            std::size_t n = std::size_t(out_.end - p);
            if (n > length - done)
                n = length - done;
            std::memcpy(p, string + done, n);
            p += n;
            done += n;
            if (p == out_.end) {
                out_.p = p;
                if (!out_.NextRow())
                    return nullptr;
                p = out_.p;
            }
            if (done == length)
                return p;
        }
    }

    // After a clear code, and at the start, the next code is taken on its own: it has no
    // previous string and defines nothing.
    void Reset() {
        codeSize_ = minCodeSize_ + 1;
        nextFree_ = clear_ + 2;
        afterClear_ = true;
    }

    RowCursor out_;
    std::uint64_t bits_ = 0;
    int bytesSetUp_ = 0;    // entries [0, bytesSetUp_) hold their single byte
    bool bytesWay_ = false; // single bytes are taken on a way of their own (see Decode)
    // The stretch of codes that Decode judges next: from bit judgedPos_ of its data, which
    // wrote from pixel judgedP_ on.
    std::uint64_t judgedPos_ = 0;
    const std::uint8_t* judgedP_ = nullptr;
    int clear_ = 0;
    int minCodeSize_ = 0;
    int codeSize_ = 0;
    int nextFree_ = 0;
    bool afterClear_ = true;
    // The previous code and its entry, kept out of the table so that defining the next code
    // reads no memory.
    int prev_ = 0;
    std::uint64_t prevPiece_ = 0;
    std::uint32_t prevLink_ = 0;

    LzwEntry table_[kTableSize];
};

template <bool zeroedRows>
LzwDecoder::Status LzwDecoder::Decode(const std::uint8_t* data, std::size_t size,
                                      std::uint64_t* bitPos) {
    // Sizes and codes are held in full-width registers, so that none needs widening to index.
    const std::uint64_t limit = std::uint64_t(size) * 8;
    const std::uint64_t startPos = *bitPos;
    std::uint64_t pos = startPos;
    std::size_t codeSize = std::size_t(codeSize_);
    std::size_t nextFree = std::size_t(nextFree_);
    std::size_t prev = std::size_t(prev_);
    std::uint64_t prevPiece = prevPiece_;
    std::uint32_t prevLink = prevLink_;
    std::size_t mask = (std::size_t(1) << codeSize) - 1;
    // Codes are read while a whole one is left: pos <= limit - codeSize.
    std::int64_t stop = std::int64_t(limit) - std::int64_t(codeSize);
    std::uint8_t* p = out_.p;
    std::uint8_t* end = out_.end;
    Status status = kNeedData;
    // Codes below this are taken on a way of their own for single bytes and the clear code (see
    // judge): the end code while that way pays, else 0.
    std::size_t literalsBelow = bytesWay_ ? std::size_t(clear_) + 1 : 0;
    judgedPos_ = pos;
    judgedP_ = p;

    // The code size grows once the next code to define needs another bit, up to 12 bits; once
    // the table is full no more codes are defined until a clear code.
    const auto grow = [&] {
        if (codeSize == std::size_t(kMaxCodeBits))
            return;
        ++codeSize;
        mask = (std::size_t(1) << codeSize) - 1;
        --stop;
    };
    const auto nextRow = [&] {
        out_.p = p;
        if (!out_.NextRow())
            return false;
        p = out_.p;
        end = out_.end;
        judgedPos_ = pos; // the pixels of a stretch are counted within a row
        judgedP_ = p;
        return true;
    };
    // Judges the stretch of codes decoded since the last judgement, once it is long enough
    // to tell, and sets where the decoding loop stops next: at the end of the data or of the
    // next stretch. Where most codes are single bytes (small noisy images, streams cleared
    // every few codes) those are best taken on a way of their own, which reads no table entry;
    // elsewhere a test that went either way in no pattern would cost more than it saves. A
    // stretch of fewer than nine pixels for eight codes counts as such: in noise, whose longer
    // strings are mostly of two bytes, seven codes in eight or more are single bytes. (Limits of
    // seven for six and five for four were measured too: they made the small random
    // animations, with 76 to 88 % single bytes, 4 to 12 % faster, and cost noise cleared every
    // 37 codes, with 80 % evenly, 10 to 20 %, and the other clear-heavy streams 2 to 5 %.)
    const auto judge = [&] {
        const std::uint64_t bits = pos - judgedPos_;
        if (bits >= kJudgeMinBits) {
            const std::uint64_t pixels = std::uint64_t(p - judgedP_);
            // pixels / codes < 9 / 8, with codes = bits / codeSize
            bytesWay_ = pixels * 8 * codeSize < bits * 9;
            literalsBelow = bytesWay_ ? std::size_t(clear_) + 1 : 0;
            judgedPos_ = pos;
            judgedP_ = p;
        }
        stop = std::int64_t(limit) - std::int64_t(codeSize);
        const std::int64_t stretchEnd = std::int64_t(judgedPos_ + kJudgeBits);
        if (stop > stretchEnd)
            stop = stretchEnd;
    };
    judge();

    for (;;) {
        if (afterClear_) {
            // The first code after a clear code (or at the start): a single byte, another
            // clear code, or the end code. Anything else comes from a damaged file: there is
            // no previous string to make sense of it.
            codeSize = std::size_t(codeSize_);
            nextFree = std::size_t(nextFree_);
            mask = (std::size_t(1) << codeSize) - 1;
            judge();
            if (std::int64_t(pos) > std::int64_t(limit) - std::int64_t(codeSize))
                break;
            const std::size_t code = (Load32(data + (pos >> 3)) >> (pos & 7)) & mask;
            pos += codeSize;
            if (code == std::size_t(clear_)) {
                Reset();
                continue;
            }
            if (code > std::size_t(clear_)) {
                status = code == std::size_t(clear_) + 1 ? kDone : kFailed;
                break;
            }
            afterClear_ = false;
            prev = code;
            prevPiece = code;
            prevLink = std::uint32_t(code);
            // With the smallest minimum code sizes the first free code already needs another
            // bit.
            if (nextFree > mask)
                grow();
            *p++ = std::uint8_t(code);
            if (p == end && !nextRow()) {
                status = kDone;
                break;
            }
        }

        // Every code here has a previous string.
        bool special = false;
        while (std::int64_t(pos) <= stop) {
            // 25 bits or more from the code's first bit: room for the next code too.
            const std::uint32_t word = Load32(data + (pos >> 3)) >> (pos & 7);
            std::size_t code = word & mask;
            pos += codeSize;

            if (code < literalsBelow) {
                const std::size_t clear = literalsBelow - 1;
                if (__builtin_expect(code == clear, 0)) {
                    // A clear code. The code after it, which has no previous string, is taken
                    // here when it is a single byte, as it should be; anything else, or the end
                    // of the data or the stretch, is left to the way for the first code after a
                    // clear code at the top.
                    Reset();
                    codeSize = std::size_t(codeSize_);
                    nextFree = std::size_t(nextFree_);
                    mask = (std::size_t(1) << codeSize) - 1;
                    judge();
                    if (std::int64_t(pos) > stop)
                        break;
                    const std::size_t first = (Load32(data + (pos >> 3)) >> (pos & 7)) & mask;
                    if (first >= clear)
                        break;
                    pos += codeSize;
                    afterClear_ = false;
                    prev = first;
                    prevPiece = first;
                    prevLink = std::uint32_t(first);
                    if (nextFree > mask)
                        grow();
                    *p++ = std::uint8_t(first);
                    if (p == end && !nextRow()) {
                        status = kDone;
                        break;
                    }
                    continue;
                }
                // Two single bytes in a row, when both entries they define fit the table at this
                // code size and the row has room for both: the second entry, a byte after a
                // byte, needs no extending.
                const std::size_t second = (word >> codeSize) & mask;
                if (((code | second) < clear) & (nextFree < mask) & (std::int64_t(pos) <= stop) &
                    (p + 1 < end)) {
                    std::uint64_t newPiece;
                    std::uint32_t newLink;
                    Extend(prevPiece, prevLink, prev, std::uint8_t(code), &newPiece, &newLink);
                    StoreEntry(table_[nextFree], newPiece, newLink);
                    const std::uint16_t two = std::uint16_t(code | second << 8);
                    StoreEntry(table_[nextFree + 1], two,
                               std::uint32_t(code) | 1u << kLinkLengthShift);
                    std::memcpy(p, &two, 2);
                    p += 2;
                    pos += codeSize;
                    nextFree += 2;
                    if (nextFree > mask)
                        grow();
                    prev = second;
                    prevPiece = second;
                    prevLink = std::uint32_t(second);
                    if (p == end && !nextRow()) {
                        status = kDone;
                        break;
                    }
                    continue;
                }
                // A single byte: always known, and no table entry to read.
                if (nextFree < std::size_t(kTableSize)) {
                    std::uint64_t newPiece;
                    std::uint32_t newLink;
                    Extend(prevPiece, prevLink, prev, std::uint8_t(code), &newPiece, &newLink);
                    StoreEntry(table_[nextFree], newPiece, newLink);
                    if (++nextFree > mask)
                        grow();
                }
                prev = code;
                prevPiece = code;
                prevLink = std::uint32_t(code);
                *p++ = std::uint8_t(code);
                if (p == end && !nextRow()) {
                    status = kDone;
                    break;
                }
                continue;
            }

            std::uint64_t piece = LoadPiece(table_[code]);
            std::uint32_t link = LoadLink(table_[code]);
            if (nextFree < std::size_t(kTableSize)) {
                // The next code is the previous string followed by the first byte of this one.
                // Only that code may be used before its definition: it then stands for the
                // previous string plus that string's first byte. (A larger code comes from a
                // damaged file and is taken as the next free code; a clear or end code defines
                // one too, never used.) The two cases are selected between rather than branched
                // on: in noisy images one code in five is the one being defined, in no pattern a
                // processor could predict.
                const bool known = code < nextFree;
                std::uint64_t newPiece;
                std::uint32_t newLink;
                Extend(prevPiece, prevLink, prev, LinkFirst(known ? link : prevLink), &newPiece,
                       &newLink);
                StoreEntry(table_[nextFree], newPiece, newLink);
                piece = known ? piece : newPiece;
                link = known ? link : newLink;
                code = known ? code : nextFree;
                if (++nextFree > mask)
                    grow();
            }
            prev = code;
            prevPiece = piece;
            prevLink = link;

            // Strings that end before the row does are written straight into it, so the row's
            // end needs no test on this way; near the end of the row strings go the slow way.
            const std::size_t m = LinkLengthM1(link);
            if (zeroedRows) {
                // Strings of up to 8 bytes, the commonest in noisy images: one 8-byte copy.
                // (Addresses: end - 8 may lie before the row in a narrow frame.)
                if (m < 8 && std::uintptr_t(p) + 8 < std::uintptr_t(end)) {
                    std::memcpy(p, &piece, 8);
                    p += m + 1;
                    continue;
                }
            }
            if (link == kSpecialLink) {
                special = true;
                break;
            }
            // Room for the string, and with whole pieces for its last piece too.
            if ((zeroedRows ? (m | 7) + 1 : m + 1) < std::size_t(end - p)) {
                WriteString<zeroedRows>(table_, piece, link, p);
                p += m + 1;
                continue;
            }
            out_.end = end;
            p = WriteAcrossRows(piece, link, p);
            if (!p) {
                p = out_.p;
                status = kDone; // the frame is full
                break;
            }
            end = out_.end;
            judgedPos_ = pos;
            judgedP_ = p;
        }
        if (!special) {
            // The data ran out, the frame is full, or a stretch ended.
            if (status != kNeedData ||
                std::int64_t(pos) > std::int64_t(limit) - std::int64_t(codeSize))
                break;
            judge();
            continue;
        }
        // A clear code or the end code.
        if (prev == std::size_t(clear_) + 1) {
            status = kDone;
            break;
        }
        Reset();
    }

    out_.p = p;
    out_.end = end;
    codeSize_ = int(codeSize);
    nextFree_ = int(nextFree);
    prev_ = int(prev);
    prevPiece_ = prevPiece;
    prevLink_ = prevLink;
    bits_ += pos - startPos;
    *bitPos = pos;
    return status;
}

// A buffered reader over a file opened in binary mode. Like getc, it reports the end of the
// file only once a read has run into it.
class FileReader {
  public:
    explicit FileReader(std::FILE* file) : file_(file) {}

    int Get() {
        if (pos_ == len_ && !Fill())
            return -1;
        return buffer_[pos_++];
    }

    // Copies up to n bytes; returns how many there were.
    std::size_t Read(std::uint8_t* dst, std::size_t n) {
        std::size_t done = 0;
        while (done < n) {
            if (pos_ == len_ && !Fill())
                break;
            std::size_t k = len_ - pos_;
            if (k > n - done)
                k = n - done;
            std::memcpy(dst + done, buffer_ + pos_, k);
            pos_ += k;
            done += k;
        }
        return done;
    }

    void Skip(std::size_t n) {
        while (n > 0) {
            if (pos_ == len_ && !Fill())
                return;
            std::size_t k = len_ - pos_;
            if (k > n)
                k = n;
            pos_ += k;
            n -= k;
        }
    }

    // True once a read ran into the end of the file or a read error.
    bool Stopped() const { return stopped_; }

    // Reads a chain of sub-blocks up to and including its zero-length terminator, or up to the
    // end of the file, and hands their data to `take` as it goes. take(data, size) gets the data
    // not yet taken, followed by at least four readable bytes, and returns how many bytes at its
    // end to hand over again with the next data (at most three), or -1 to have the rest of the
    // chain skipped. The data is gathered in the reader's own buffer, each sub-block's bytes
    // moved down over the length bytes in front of them, so it needs no buffer of its own;
    // `take` is called each time the buffer is used up, and once at the end of the chain.
    template <class Take> void ReadSubBlocks(Take&& take) {
        std::size_t fill = 0; // data gathered at buffer_[0, fill); never past pos_
        for (;;) {
            while (pos_ < len_) {
                const std::size_t n = buffer_[pos_];
                if (n == 0) {
                    ++pos_;
                    take(static_cast<const std::uint8_t*>(buffer_), fill);
                    return;
                }
                if (n >= len_ - pos_)
                    break; // this sub-block runs past the buffer
                std::memmove(buffer_ + fill, buffer_ + pos_ + 1, n);
                fill += n;
                pos_ += 1 + n;
            }
            const int keep = take(static_cast<const std::uint8_t*>(buffer_), fill);
            if (keep < 0 || std::size_t(keep) > fill || keep > 3) {
                SkipSubBlocks();
                return;
            }
            // The bytes kept, then what is left of the buffer (the start of a sub-block: its
            // length byte and fewer bytes than that), then the next piece of the file, read in
            // the same size as always.
            std::memmove(buffer_, buffer_ + fill - std::size_t(keep), std::size_t(keep));
            const std::size_t tail = len_ - pos_;
            std::memmove(buffer_ + keep, buffer_ + pos_, tail);
            fill = std::size_t(keep);
            pos_ = fill;
            len_ = fill + tail;
            static_assert(3 + 255 <= kCarry, "room for the bytes kept and a sub-block's start");
            const std::size_t got = stopped_ ? 0 : std::fread(buffer_ + len_, 1, kRead, file_);
            if (got == 0) {
                // The file ends inside the chain: the last sub-block counts as far as it goes.
                stopped_ = true;
                if (pos_ < len_) {
                    std::memmove(buffer_ + fill, buffer_ + pos_ + 1, len_ - pos_ - 1);
                    fill += len_ - pos_ - 1;
                    pos_ = len_;
                }
                take(static_cast<const std::uint8_t*>(buffer_), fill);
                return;
            }
            len_ += got;
        }
    }

    // Skips a chain of sub-blocks up to and including its zero-length terminator.
    void SkipSubBlocks() {
        for (;;) {
            const int n = Get();
            if (n <= 0)
                return;
            Skip(std::size_t(n));
        }
    }

  private:
    static constexpr std::size_t kRead = 4096; // bytes read at a time
    static constexpr std::size_t kCarry = 258; // see ReadSubBlocks

    bool Fill() {
        if (stopped_)
            return false;
        pos_ = 0;
        len_ = std::fread(buffer_, 1, kRead, file_);
        if (len_ == 0)
            stopped_ = true;
        return len_ > 0;
    }

    std::FILE* file_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool stopped_ = false;
    // A read, after up to kCarry bytes that ReadSubBlocks keeps in front of it, and four bytes
    // it hands out behind its data.
    std::uint8_t buffer_[kCarry + kRead + 4] = {};
};

// Everything one Load needs besides the frames, allocated once per call.
struct LoadState {
    explicit LoadState(std::FILE* file) : reader(file) {}

    FileReader reader;
    LzwDecoder lzw;
    // The global colour table (entries past the global bit count zero), which frames without a
    // table of their own share; set when an image keeps such a frame.
    SharedColors* global = nullptr;
    bool globalUsed = false;
    int globalBits = 1;
    bool gcePending = false;
    int gceFlags = 0;
    int gceDelay = 0;
    int gceTransparent = 0;
};

void ReadColorTable(FileReader& reader, std::uint8_t* table, int bits) {
    std::uint8_t rgb[256 * 3] = {};
    const std::size_t count = std::size_t(1) << bits;
    reader.Read(rgb, count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        table[i * 4 + 0] = rgb[i * 3 + 2];
        table[i * 4 + 1] = rgb[i * 3 + 1];
        table[i * 4 + 2] = rgb[i * 3 + 0];
        table[i * 4 + 3] = 0;
    }
}

// Reads the image data sub-blocks up to their terminator and feeds them to the decoder as they
// come (decoder null: just skips them). Returns true when the frame holds a picture: the
// decoder met the end code or filled the frame, or the data ran out after at least one code.
bool DecodeSubBlocks(LoadState& state, LzwDecoder* lzw) {
    if (!lzw) {
        state.reader.SkipSubBlocks();
        return false;
    }
    std::uint64_t bitPos = 0;
    LzwDecoder::Status status = LzwDecoder::kNeedData;
    state.reader.ReadSubBlocks([&](const std::uint8_t* data, std::size_t size) {
        if (status != LzwDecoder::kNeedData)
            return -1;
        status = lzw->Decode<true>(data, size, &bitPos);
        if (status != LzwDecoder::kNeedData)
            return -1; // the frame is complete or failed: the rest is skipped
        // The bytes of a code cut off at the end come again (never more than three).
        const std::size_t used = std::size_t(bitPos >> 3);
        bitPos &= 7;
        return int(size - used);
    });
    return status != LzwDecoder::kFailed && lzw->Bits() > 0;
}

// Moves rows decoded one after another (height rows of width bytes from pixels) to their places
// stride bytes apart, last row first so that no row is overwritten before it moves, and zeroes
// the padding after each.
void SpreadRows(std::uint8_t* pixels, int width, int stride, int height) {
    const std::size_t w = std::size_t(width), s = std::size_t(stride);
    for (std::size_t y = std::size_t(height); y-- > 0;) {
        std::memmove(pixels + y * s, pixels + y * w, w);
        std::memset(pixels + y * s + w, 0, s - w);
    }
}

void DecodeImage(CGifImage& image, LoadState& state) {
    FileReader& reader = state.reader;
    std::uint8_t desc[9] = {};
    const bool haveDesc = reader.Read(desc, sizeof desc) == sizeof desc;
    const int flags = desc[8];
    const int bits = (flags & 0x80) ? (flags & 7) + 1 : state.globalBits;

    // The graphic control extension read before this image applies to it alone.
    const bool gce = state.gcePending;
    state.gcePending = false;
    if (!haveDesc)
        return;

    // A frame with a colour table of its own holds it; the others share the global table.
    const bool local = (flags & 0x80) != 0;
    CGifFrame* frame = new (std::nothrow) CGifFrame;
    if (frame && !frame->Create(Le16(desc + 4), Le16(desc + 6), bits,
                                local ? nullptr : state.global->colors)) {
        delete frame;
        frame = nullptr;
    }

    if (local) {
        if (frame)
            ReadColorTable(reader, frame->OwnColors(), bits);
        else
            reader.Skip(std::size_t(3) << bits);
    }
    const int minCodeSize = reader.Get();

    if (frame) {
        frame->nLeft = Le16(desc);
        frame->nTop = Le16(desc + 2);
        if (gce) {
            frame->nTransparent = (state.gceFlags & 1) ? state.gceTransparent : -1;
            frame->bDispose = (state.gceFlags & 0x1C) != 0;
            frame->nDelay = state.gceDelay * 10;
        }
    }

    // Rows with padding after them (widths not a multiple of 4) are decoded as one run of
    // width * height bytes and spread out afterwards, so that strings run on from row to row
    // without stopping at every row's end, which in a narrow frame most of them would reach.
    const bool interlaced = (flags & 0x40) != 0;
    const bool spread = frame && !interlaced && frame->nStride != frame->nWidth;
    LzwDecoder* lzw = nullptr;
    if (frame && minCodeSize >= 0 &&
        state.lzw.Start(frame->pBits, minCodeSize, spread ? frame->nWidth : frame->nStride,
                        frame->nWidth, frame->nHeight, interlaced))
        lzw = &state.lzw;
    const bool decoded = DecodeSubBlocks(state, lzw);
    if (decoded && spread)
        SpreadRows(frame->pBits, frame->nWidth, frame->nStride, frame->nHeight);
    const int before = image.nFrames;
    if (frame && !(decoded && image.AddFrame(frame) > before))
        delete frame; // not decoded, or no memory to list it
    else if (frame && !local)
        state.globalUsed = true;
}

void ParseStream(CGifImage& image, LoadState& state) {
    FileReader& reader = state.reader;
    std::uint8_t screen[7] = {};
    reader.Read(screen, sizeof screen);
    image.nWidth = Le16(screen);
    image.nHeight = Le16(screen + 2);
    state.globalBits = (screen[4] & 7) + 1;
    std::uint8_t* colors = state.global->colors;
    if (screen[4] & 0x80) {
        ReadColorTable(reader, colors, state.globalBits);
    } else {
        // Without a global table the entries the frames can use are greys.
        for (int i = 0; i < (1 << state.globalBits); ++i) {
            colors[i * 4 + 0] = std::uint8_t(i);
            colors[i * 4 + 1] = std::uint8_t(i);
            colors[i * 4 + 2] = std::uint8_t(i);
        }
    }

    while (!reader.Stopped()) {
        const int c = reader.Get();
        if (c == 0x21) {
            const int label = reader.Get();
            if (label == 0xF9) {
                std::uint8_t gce[5] = {};
                reader.Read(gce, sizeof gce);
                reader.Get(); // terminator
                state.gcePending = true;
                state.gceFlags = gce[1];
                state.gceDelay = Le16(gce + 2);
                state.gceTransparent = gce[4];
            } else {
                reader.SkipSubBlocks();
            }
        } else if (c == 0x2C) {
            DecodeImage(image, state);
        } else if (c == 0x3B || c < 0) {
            break;
        }
        // Any other byte between blocks is ignored.
    }
}

} // namespace

CGifFrame::CGifFrame() = default;

CGifFrame::~CGifFrame() {
    std::free(block_);
}

int CGifFrame::Create(int width, int height, int bitCount, const std::uint8_t* sharedColors) {
    std::free(block_);
    block_ = nullptr;
    ownColors_ = false;
    pBits = nullptr;
    pColors = nullptr;
    nWidth = nHeight = nBitCount = nStride = 0;
    nTransparent = -1;
    nDelay = nLeft = nTop = bDispose = 0;

    if (width <= 0 || height <= 0 || bitCount < 1 || bitCount > 8)
        return 0;
    const std::uint64_t stride = (std::uint64_t(width) + 3) & ~std::uint64_t(3);
    const std::uint64_t bytes = stride * std::uint64_t(height);
    const std::size_t colorBytes = sharedColors ? 0 : kColorTableBytes;
    if (bytes > kMaxFrameBytes || bytes > std::numeric_limits<std::size_t>::max() - colorBytes)
        return 0;

    // One zeroed allocation for the frame's own colour table, if any, and the rows: a frame
    // costs one allocation, not two. Zeroed rows cost nothing extra for fresh pages and leave
    // no stale memory in a frame whose data stops early. The rows start at a multiple of 8.
    static_assert(kColorTableBytes % 8 == 0, "the rows stay aligned");
    block_ = static_cast<std::uint8_t*>(std::calloc(colorBytes + std::size_t(bytes), 1));
    if (!block_)
        return 0;
    ownColors_ = !sharedColors;
    pColors = sharedColors ? sharedColors : block_;
    pBits = block_ + colorBytes;
    nWidth = width;
    nHeight = height;
    nBitCount = bitCount;
    nStride = int(stride);
    return 1;
}

void CGifFrame::GetBitmapInfo(GifBitmapInfo* info) const {
    GifBitmapInfoHeader& header = info->header;
    header = {};
    header.biSize = sizeof(GifBitmapInfoHeader);
    header.biWidth = nWidth;
    header.biHeight = -nHeight; // top row first
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biXPelsPerMeter = 11811; // 300 dots per inch
    header.biYPelsPerMeter = 11811;
    if (pColors)
        std::memcpy(info->colors, pColors, sizeof info->colors);
    else
        std::memset(info->colors, 0, sizeof info->colors);
}

CGifImage::~CGifImage() {
    for (int i = 0; i < nFrames; ++i)
        delete pFrames[i];
    delete[] pFrames;
    // The frames that shared these tables are gone.
    for (SharedColors* s = static_cast<SharedColors*>(pSharedColors); s;) {
        SharedColors* next = s->next;
        delete s;
        s = next;
    }
}

int CGifImage::AddFrame(CGifFrame* frame) {
    if (!frame)
        return nFrames;
    // The array grows by doubling, so that a file of many frames costs no quadratic copying;
    // only the first nFrames entries are in use.
    if (nFrames == nCapacity) {
        if (nCapacity > std::numeric_limits<int>::max() / 2)
            return nFrames;
        const int capacity = nCapacity < 8 ? 8 : nCapacity * 2;
        CGifFrame** frames = new (std::nothrow) CGifFrame*[std::size_t(capacity)];
        if (!frames)
            return nFrames;
        for (int i = 0; i < nFrames; ++i)
            frames[i] = pFrames[i];
        delete[] pFrames;
        pFrames = frames;
        nCapacity = capacity;
    }
    pFrames[nFrames] = frame;
    return ++nFrames;
}

int CGifImage::Load(const char* path) {
    std::FILE* file = OpenFileUtf8(path, "rb");
    if (!file)
        return 0;
    std::setvbuf(file, nullptr, _IONBF, 0); // FileReader does the buffering
    LoadState* state = new (std::nothrow) LoadState(file);
    SharedColors* global = new (std::nothrow) SharedColors(); // all zero
    if (!state || !global) {
        delete global;
        delete state;
        std::fclose(file);
        return 0;
    }
    state->global = global;
    // Only "GI" is checked; the version that follows is not looked at.
    std::uint8_t signature[6] = {};
    const bool gif = state->reader.Read(signature, sizeof signature) >= 2 && signature[0] == 'G' &&
                     signature[1] == 'I';
    if (gif)
        ParseStream(*this, *state);
    // The global table stays while a frame of the image shares it.
    if (state->globalUsed) {
        global->next = static_cast<SharedColors*>(pSharedColors);
        pSharedColors = global;
    } else {
        delete global;
    }
    delete state;
    std::fclose(file);
    return gif ? nFrames : 0;
}

int DecodeLzw(const std::uint8_t* data, std::size_t dataSize, std::uint8_t* pixels, int minCodeSize,
              int stride, int width, int height, int interlaced) {
    LzwDecoder lzw;
    if (!lzw.Start(pixels, minCodeSize, stride, width, height, interlaced != 0))
        return 0;
    std::uint64_t bitPos = 0;
    if (lzw.Decode<false>(data, dataSize, &bitPos) == LzwDecoder::kFailed)
        return 0;
    const std::uint64_t bits = lzw.Bits();
    return bits > std::uint64_t(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                 : int(bits);
}
