#pragma once
// Indexed pictures and the two file formats the game reads them in: 24-bit Windows BMP and
// GIF. Both writers are small and self-contained because the build must not depend on an
// image library, and the game only ever needs uncompressed BMP and one-frame GIF.
#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace morvath::pictures {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A picture as palette indices, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> index;
    std::uint8_t at(int x, int y) const { return index[static_cast<size_t>(y) * width + x]; }
};

namespace detail {

inline void Put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline void Check(const Picture& pic, const std::vector<Rgb>& palette) {
    if (pic.width <= 0 || pic.height <= 0 || pic.width > 0xFFFF || pic.height > 0xFFFF)
        throw std::invalid_argument("picture size out of range");
    if (pic.index.size() != static_cast<size_t>(pic.width) * pic.height)
        throw std::invalid_argument("picture data does not match its size");
    if (palette.empty() || palette.size() > 256) throw std::invalid_argument("palette must hold 1 to 256 colours");
    for (auto i : pic.index)
        if (i >= palette.size()) throw std::invalid_argument("pixel outside the palette");
}

// Packs variable-width codes least significant bit first into 255-byte sub-blocks.
class CodeWriter {
public:
    void Write(unsigned code, int bits) {
        acc_ |= static_cast<std::uint32_t>(code) << nbits_;
        nbits_ += bits;
        while (nbits_ >= 8) {
            bytes_ += static_cast<char>(acc_ & 0xFF);
            acc_ >>= 8;
            nbits_ -= 8;
        }
    }
    std::string Finish() {
        if (nbits_ > 0) bytes_ += static_cast<char>(acc_ & 0xFF);
        std::string out;
        for (size_t pos = 0; pos < bytes_.size(); pos += 255) {
            size_t n = std::min<size_t>(255, bytes_.size() - pos);
            out += static_cast<char>(n);
            out.append(bytes_, pos, n);
        }
        out += '\0';
        return out;
    }

private:
    std::string bytes_;
    std::uint32_t acc_ = 0;
    int nbits_ = 0;
};

}  // namespace detail

// Uncompressed 24-bit BMP, rows bottom-up and padded to four bytes, as every reader expects.
inline std::string EncodeBmp(const Picture& pic, const std::vector<Rgb>& palette) {
    detail::Check(pic, palette);
    const std::uint32_t stride = (static_cast<std::uint32_t>(pic.width) * 3 + 3) & ~3u;
    const std::uint32_t dataSize = stride * static_cast<std::uint32_t>(pic.height);
    std::string out;
    out += "BM";
    detail::Put32(out, 14 + 40 + dataSize);
    detail::Put32(out, 0);
    detail::Put32(out, 14 + 40);
    detail::Put32(out, 40);
    detail::Put32(out, static_cast<std::uint32_t>(pic.width));
    detail::Put32(out, static_cast<std::uint32_t>(pic.height));
    detail::Put16(out, 1);
    detail::Put16(out, 24);
    detail::Put32(out, 0);  // no compression
    detail::Put32(out, dataSize);
    detail::Put32(out, 2835);  // 72 dpi
    detail::Put32(out, 2835);
    detail::Put32(out, 0);
    detail::Put32(out, 0);
    for (int y = pic.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < pic.width; ++x) {
            const Rgb& c = palette[pic.at(x, y)];
            row += static_cast<char>(c.b);
            row += static_cast<char>(c.g);
            row += static_cast<char>(c.r);
        }
        row.resize(stride, '\0');
        out += row;
    }
    return out;
}

// One-frame GIF89a with a global colour table (padded to a power of two) and LZW data.
inline std::string EncodeGif(const Picture& pic, const std::vector<Rgb>& palette) {
    detail::Check(pic, palette);
    int tableBits = 1;
    while ((1u << tableBits) < palette.size()) ++tableBits;
    std::string out = "GIF89a";
    detail::Put16(out, static_cast<unsigned>(pic.width));
    detail::Put16(out, static_cast<unsigned>(pic.height));
    out += static_cast<char>(0x80 | ((tableBits - 1) << 4) | (tableBits - 1));
    out += '\0';  // background colour
    out += '\0';  // no aspect ratio
    for (unsigned i = 0; i < (1u << tableBits); ++i) {
        Rgb c = i < palette.size() ? palette[i] : Rgb{};
        out += static_cast<char>(c.r);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.b);
    }
    out += ',';
    detail::Put16(out, 0);
    detail::Put16(out, 0);
    detail::Put16(out, static_cast<unsigned>(pic.width));
    detail::Put16(out, static_cast<unsigned>(pic.height));
    out += '\0';  // not interlaced, no local table

    const int minBits = std::max(2, tableBits);
    out += static_cast<char>(minBits);
    const unsigned clear = 1u << minBits, endCode = clear + 1;
    detail::CodeWriter w;
    std::map<std::pair<unsigned, unsigned>, unsigned> dict;
    int bits = minBits + 1;
    unsigned next = clear + 2;
    w.Write(clear, bits);
    unsigned prefix = pic.index[0];
    for (size_t i = 1; i < pic.index.size(); ++i) {
        unsigned k = pic.index[i];
        auto found = dict.find({prefix, k});
        if (found != dict.end()) {
            prefix = found->second;
            continue;
        }
        w.Write(prefix, bits);
        // The reader widens its codes once the code it would assign next no longer fits, one
        // step behind the writer; widening here at the same point keeps both in step.
        if (next >= (1u << bits) && bits < 12) ++bits;
        if (next < 4095) {
            dict[{prefix, k}] = next++;
        } else {
            w.Write(clear, bits);
            dict.clear();
            bits = minBits + 1;
            next = clear + 2;
        }
        prefix = k;
    }
    w.Write(prefix, bits);
    if (next >= (1u << bits) && bits < 12) ++bits;
    w.Write(endCode, bits);
    out += w.Finish();
    out += ';';
    return out;
}

}  // namespace morvath::pictures
