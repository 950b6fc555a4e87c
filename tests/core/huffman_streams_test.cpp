// The table-driven decoder against the plain tree walk over generated streams of every shape:
// both must give the same bytes and the same status, whatever the stream holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/random.h"
#include "services/huffman.h"

using namespace morvath;

namespace {

std::string Le(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string Bytes(int n, int distinct) {
    std::string s(static_cast<std::size_t>(n), '\0');
    for (auto& c : s) c = static_cast<char>(RandomInt(0, distinct));
    return s;
}

// Counts growing as the Fibonacci numbers give the deepest code there is: `values` - 1 bits.
std::string Skewed(int values) {
    std::string s;
    std::uint32_t a = 1, b = 1;
    for (int v = 0; v < values; ++v) {
        s.append(a, static_cast<char>(v * 7));
        const std::uint32_t next = a + b;
        a = b;
        b = next;
    }
    for (std::size_t i = s.size() - 1; i > 0; --i) {
        std::swap(s[i], s[static_cast<std::size_t>(RandomInt(0, static_cast<int>(i) + 1))]);
    }
    return s;
}

// Grid rows: long runs of a few tiles, rare others.
std::string Grid(int n) {
    std::string s;
    while (static_cast<int>(s.size()) < n) {
        const int pick = RandomInt(0, 100);
        const char tile = pick < 60 ? 'G' : pick < 85 ? 'B' : pick < 97 ? 'a' : "?9<!&{}"[RandomInt(0, 7)];
        s.append(static_cast<std::size_t>(RandomInt(1, 30)), tile);
        if (RandomInt(0, 8) == 0) s += "\r\n";
    }
    return s;
}

// A coded stream written by hand: any code lengths (up to the 255 a byte can state), codes and
// data bits at random, so overlapping, incomplete and over-full code tables all occur.
std::string Forged(int codes, int maxLength, int dataBytes) {
    std::string s = std::string("HE3\r") + static_cast<char>(RandomInt(0, 256)) +
                    Le(static_cast<std::uint32_t>(RandomInt(1, 8 * dataBytes + 2)), 4) +
                    Le(static_cast<std::uint32_t>(codes), 2);
    int bits = 0;
    for (int i = 0; i < codes; ++i) {
        const int length = RandomInt(1, maxLength + 1);
        s += static_cast<char>(RandomInt(0, 256));
        s += static_cast<char>(length);
        bits += length;
    }
    return s + Bytes((bits + 7) / 8 + dataBytes, 256);
}

void Damage(std::string& s) {
    for (int f = RandomInt(1, 4); f > 0; --f) {
        const auto at = static_cast<std::size_t>(RandomInt(4, static_cast<int>(s.size())));
        s[at] = static_cast<char>(s[at] ^ (1 << RandomInt(0, 8)));
    }
}

struct Shape {
    const char* what;
    std::string (*make)();
    enum { Whole, Forged, Damaged, Cut } harm;
};

const Shape kShapes[] = {
    {"uniform bytes", [] { return HuffmanEncode(Bytes(RandomInt(1, 3000), RandomInt(100, 250))); }, Shape::Whole},
    {"two values", [] { return HuffmanEncode(Bytes(RandomInt(2, 3000), 2)); }, Shape::Whole},
    {"small alphabet", [] { return HuffmanEncode(Bytes(RandomInt(2, 5000), RandomInt(3, 12))); }, Shape::Whole},
    {"grid rows", [] { return HuffmanEncode(Grid(RandomInt(10, 20000))); }, Shape::Whole},
    {"codes of 9 to 30 bits", [] { return HuffmanEncode(Skewed(RandomInt(10, 32))); }, Shape::Whole},
    {"forged short codes", [] { return Forged(RandomInt(1, 40), 8, RandomInt(1, 200)); }, Shape::Forged},
    {"forged codes up to 255 bits", [] { return Forged(RandomInt(1, 257), 255, RandomInt(1, 100)); }, Shape::Forged},
    {"damaged grid rows", [] { return HuffmanEncode(Grid(RandomInt(10, 20000))); }, Shape::Damaged},
    {"damaged long codes", [] { return HuffmanEncode(Skewed(RandomInt(10, 24))); }, Shape::Damaged},
    {"damaged uniform bytes", [] { return HuffmanEncode(Bytes(RandomInt(1, 3000), 256)); }, Shape::Damaged},
    {"cut grid rows", [] { return HuffmanEncode(Grid(RandomInt(10, 5000))); }, Shape::Cut},
    {"cut small alphabet", [] { return HuffmanEncode(Bytes(RandomInt(2, 2000), RandomInt(2, 9))); }, Shape::Cut},
};

TEST(HuffmanStreams, TableDecoderMatchesTheWalkOnEveryShape) {
    SeedRandom(1401);
    for (const Shape& shape : kShapes) {
        int decoded = 0;
        for (int round = 0; round < 16; ++round) {
            std::string s = shape.make();
            if (shape.harm == Shape::Damaged) Damage(s);
            if (shape.harm == Shape::Cut) s.resize(static_cast<std::size_t>(RandomInt(0, static_cast<int>(s.size()))));
            const DecodedStream walk = HuffmanDecodeTreeWalk(s);
            decoded += walk.status == StreamStatus::Decoded;
            // The table the decoder chooses, and one of each size in turn.
            const int bits = round % 8 + 1;
            for (const DecodedStream& table : {HuffmanDecode(s), HuffmanDecode(s, bits)}) {
                ASSERT_EQ(std::pair(table.status, table.data), std::pair(walk.status, walk.data))
                    << shape.what << ", round " << round << ", " << bits << " bits";
            }
        }
        if (shape.harm == Shape::Whole) {
            EXPECT_EQ(decoded, 16) << shape.what;
        }
    }
}

// Codes x = 0, y = 10, z = 11 and the data x y y y, then 57 x and a y, written by hand: with a
// table of one bit, the walked y codes leave the run of x to start 7 bits into a byte, where a
// load holds exactly the 57 bits the run takes; a 58th look-up would read a 0 from past the
// load and take the y's first bit for an x.
TEST(HuffmanStreams, ALookUpRoundTakesNoMoreBitsThanItLoaded) {
    const std::string data = "xyyy" + std::string(57, 'x') + "y";
    // The bits 0 10 10 10, 57 zeros and 10, each byte filled from its lowest bit.
    const std::string stream = std::string("HE3\r") + '\0' + Le(62, 4) + Le(3, 2) + "x\x01" "y\x02" "z\x02" +
                               '\x1A' + "\x2A" + std::string(7, '\0') + "\x01";
    ASSERT_EQ(HuffmanDecodeTreeWalk(stream).data, data);
    for (int tableBits : {1, 2}) {
        const DecodedStream table = HuffmanDecode(stream, tableBits);
        EXPECT_EQ(std::pair(table.status, table.data), std::pair(StreamStatus::Decoded, data)) << tableBits;
    }
}

}  // namespace
