#pragma once
// The game's own byte compressor: a static Huffman code whose code table travels inside each
// stream. Two stream kinds exist: coded ("HE3" + CR, header, code table, code bits, data bits)
// and stored ("HE0" + CR, then the bytes as they are). Every number is little-endian and every
// bit area is filled from the least significant bit of each byte up.
#include <cstdint>
#include <string>
#include <string_view>

namespace morvath {

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

// The stream for `data`: coded, or stored when it holds one byte value only (every code would
// be empty) or when its codes would take more bytes than the data.
std::string HuffmanEncode(std::string_view data);

// Table-driven decoder: several bits, and usually several bytes, per table look-up.
DecodedStream HuffmanDecode(std::string_view stream);
// The same with a given table size (bits per look-up, 1 to 8), so tests can cover each.
DecodedStream HuffmanDecode(std::string_view stream, int tableBits);
// The plain walk through the code tree, one bit per step. Slow; it is the yardstick the
// table-driven decoder must match byte for byte, in tests and fuzzing.
DecodedStream HuffmanDecodeTreeWalk(std::string_view stream);

}  // namespace morvath
