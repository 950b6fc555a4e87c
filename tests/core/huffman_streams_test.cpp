// The table-driven decoder against the plain tree walk over generated streams of every shape:
// both must give the same bytes and the same status, whatever the stream holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

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
    for (std::uint32_t v = 0, a = 1, b = 1; v < static_cast<std::uint32_t>(values); ++v, b += a, a = b - a) s.append(a, static_cast<char>(v * 7));
    for (std::size_t i = s.size() - 1; i > 0; --i) std::swap(s[i], s[static_cast<std::size_t>(RandomInt(0, static_cast<int>(i) + 1))]);
    return s;
}

// Grid rows: long runs of a few tiles, rare others.
std::string Grid(int n) {
    std::string s;
    while (static_cast<int>(s.size()) < n) {
        const int pick = RandomInt(0, 100);
        s.append(static_cast<std::size_t>(RandomInt(1, 30)), pick < 60 ? 'G' : pick < 85 ? 'B' : pick < 97 ? 'a' : "?9<!&{}"[RandomInt(0, 7)]);
        if (RandomInt(0, 8) == 0) s += "\r\n";
    }
    return s;
}

// A coded stream written by hand: any code lengths (up to the 255 a byte can state), codes and
// data bits at random, so overlapping, incomplete and over-full code tables all occur.
std::string Forged(int codes, int maxLength, int dataBytes) {
    std::string s = std::string("HE3\r") + static_cast<char>(RandomInt(0, 256)) + Le(static_cast<std::uint32_t>(RandomInt(1, 8 * dataBytes + 2)), 4) +
                    Le(static_cast<std::uint32_t>(codes), 2);
    int bits = 0;
    for (int i = 0; i < codes; ++i) {
        const int length = RandomInt(1, maxLength + 1);
        s += std::string{static_cast<char>(RandomInt(0, 256)), static_cast<char>(length)};
        bits += length;
    }
    return s + Bytes((bits + 7) / 8 + dataBytes, 256);
}

// Whether the table decoder, with the table it chooses and with tables of every size, gives
// what the walk gives, status included.
bool TablesDecodeAsTheWalk(const std::string& s) {
    const DecodedStream walk = HuffmanDecodeTreeWalk(s);
    for (int bits = 0; bits <= 8; ++bits) {
        const DecodedStream t = bits ? HuffmanDecode(s, bits) : HuffmanDecode(s);
        if (t.status != walk.status || t.data != walk.data) return false;
    }
    return true;
}

enum Harm { Whole, Forge, Damage, Cut };
const std::pair<Harm, std::string (*)()> kShapes[] = {
    {Whole, [] { return HuffmanEncode(Bytes(RandomInt(1, 3000), RandomInt(100, 250))); }},
    {Whole, [] { return HuffmanEncode(Bytes(RandomInt(2, 3000), 2)); }},
    {Whole, [] { return HuffmanEncode(Bytes(RandomInt(2, 5000), RandomInt(3, 12))); }},
    {Whole, [] { return HuffmanEncode(Grid(RandomInt(10, 20000))); }},
    {Whole, [] { return HuffmanEncode(Skewed(RandomInt(10, 32))); }},  // codes of 9 to 30 bits
    {Forge, [] { return Forged(RandomInt(1, 40), 8, RandomInt(1, 200)); }},
    {Forge, [] { return Forged(RandomInt(1, 257), 255, RandomInt(1, 100)); }},
    {Damage, [] { return HuffmanEncode(Grid(RandomInt(10, 20000))); }},
    {Damage, [] { return HuffmanEncode(Skewed(RandomInt(10, 24))); }},
    {Damage, [] { return HuffmanEncode(Bytes(RandomInt(1, 3000), 256)); }},
    {Cut, [] { return HuffmanEncode(Grid(RandomInt(10, 5000))); }},
    {Cut, [] { return HuffmanEncode(Bytes(RandomInt(2, 2000), RandomInt(2, 9))); }},
};

TEST(HuffmanStreams, TableDecoderMatchesTheWalkOnEveryShape) {
    SeedRandom(1401);
    for (const auto& [harm, make] : kShapes) {
        int decoded = 0;
        for (int round = 0; round < 16; ++round) {
            std::string s = make();
            for (int f = harm == Damage ? RandomInt(1, 4) : 0; f > 0; --f) s[static_cast<std::size_t>(RandomInt(4, static_cast<int>(s.size())))] ^= static_cast<char>(1 << RandomInt(0, 8));
            if (harm == Cut) s.resize(static_cast<std::size_t>(RandomInt(0, static_cast<int>(s.size()))));
            const DecodedStream walk = HuffmanDecodeTreeWalk(s);
            decoded += walk.status == StreamStatus::Decoded;
            // The table the decoder chooses, and one of each size in turn.
            for (const DecodedStream& table : {HuffmanDecode(s), HuffmanDecode(s, round % 8 + 1)}) {
                ASSERT_EQ(std::pair(table.status, table.data), std::pair(walk.status, walk.data)) << &make - &kShapes[0].second << ", round " << round;
            }
        }
        if (harm == Whole) EXPECT_EQ(decoded, 16) << &make - &kShapes[0].second;
    }
}

// Streams written by hand, with what the walk makes of them.
TEST(HuffmanStreams, HandWrittenStreamsDecodeAsTheWalkFindsThem) {
    const std::string head = std::string("HE3\r") + "\x7B" + Le(5, 4) + Le(3, 2);
    const std::pair<std::string, std::string> cases[] = {
        // The code lengths 1, 2, 2 fill the code space exactly, as a sound code's do, but x (0) is
        // also the start of y (00): the walk meets x first and never reaches y. Data 0 0 11 1 0.
        {head + "x\x01" "y\x02" "z\x02" + "\x18" + "\x1C", "xxz"},  // 10 leads nowhere
        {head + "x\x02" "y\x01" "z\x02" + "\x18" + "\x1C", "yyz"},  // the short code last
        {head + "x\x01" "y\x02" "z\x02" + "\x08" + "\x04", "xxzxx"},  // z is 10: 0 0 10 0 0
        // Codes x = 0, y = 10, z = 11 and the data x y y y, then 57 x and a y: with a table of one
        // bit, the walked y codes leave the run of x to start 7 bits into a byte, where a load holds
        // exactly the 57 bits the run takes; a 58th look-up would read a 0 from past the load.
        {std::string("HE3\r") + '\0' + Le(62, 4) + Le(3, 2) + "x\x01" "y\x02" "z\x02" + '\x1A' + "\x2A" + std::string(7, '\0') + "\x01",
         "xyyy" + std::string(57, 'x') + "y"},
    };
    for (const auto& [s, walked] : cases) EXPECT_EQ(std::pair(TablesDecodeAsTheWalk(s), HuffmanDecodeTreeWalk(s).data), std::pair(true, walked));
}

}  // namespace
