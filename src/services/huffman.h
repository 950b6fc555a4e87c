#pragma once
// The game's own byte compressor: a static Huffman code whose code table travels inside each
// stream. Two stream kinds exist: coded ("HE3" + CR, header, code table, code bits, data bits)
// and stored ("HE0" + CR, then the bytes as they are). Every number is little-endian and every
// bit area is filled from the least significant bit of each byte up.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvath {

// One node of the code tree. 256 leaves and 255 inner nodes are the most a code over bytes
// needs, hence the fixed array of kHuffmanNodes.
struct HuffmanNode {
    std::int16_t ParentNode = -1;
    std::int16_t RightNode = -1;  // reached by a 1 bit
    std::int16_t LeftNode = -1;   // reached by a 0 bit
    std::int16_t Value = -1;      // the byte of a leaf; -1 for an inner node
    std::int32_t Weight = 0;
};
inline constexpr int kHuffmanNodes = 512;

// A byte's code: Count bits (0 = the byte has no code), the bit taken at the root first,
// packed from the least significant bit of Data[0] up. 255 bits is the longest code a
// one-byte length can state.
struct HuffmanCode {
    std::uint8_t Count = 0;
    std::array<std::uint32_t, 8> Data{};
    int Bit(int i) const { return static_cast<int>((Data[static_cast<std::size_t>(i) / 32] >> (i % 32)) & 1u); }
};

enum class StreamStatus {
    Decoded,    // every byte decoded (or a stored stream), checksum right
    UnknownId,  // "HE", a kind other than "0" or "3", CR: not ours, the input stays as it was
    EmptyCoded, // a coded stream that states 0 bytes: the input stays as it was
    Corrupt,    // checksum wrong or the stream broken: `data` holds what was decoded before
};

struct DecodedStream {
    StreamStatus status = StreamStatus::Decoded;
    // The decoded bytes; empty for UnknownId and EmptyCoded, whose callers keep their input.
    std::string data;
};

// The stream for `data`: coded, or stored when coding would not save anything.
std::string HuffmanEncode(std::string_view data);

// Table-driven decoder: several bits, and usually several bytes, per table look-up.
DecodedStream HuffmanDecode(std::string_view stream);
// The same with an explicit table size (bits per look-up, 1 to 12); for measurements.
DecodedStream HuffmanDecode(std::string_view stream, int tableBits);
// The plain walk through the code tree, one bit per step. Slow; it is the yardstick the
// table-driven decoder must match byte for byte, in tests and fuzzing.
DecodedStream HuffmanDecodeTreeWalk(std::string_view stream);

}  // namespace morvath
