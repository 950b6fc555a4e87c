// Any bytes handed to the stream decoder: no crash, no read or write past a buffer, and the
// table-driven decoder gives exactly what the plain tree walk gives.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "services/compression.h"
#include "services/huffman.h"

using namespace morvath;

namespace {

DecodedStream SameFromBoth(std::string_view s, int bits) {
    DecodedStream walk = HuffmanDecodeTreeWalk(s);
    // The table the decoder chooses, and a table of the given size.
    for (const DecodedStream& table : {HuffmanDecode(s), HuffmanDecode(s, bits)}) {
        if (table.status != walk.status || table.data != walk.data) std::abort();
    }
    return walk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view s(reinterpret_cast<const char*>(data), size);
    const int bits = static_cast<int>(size % 8) + 1;
    DecodedStream walk = SameFromBoth(s, bits);

    clsCompresion c;
    std::vector<std::uint8_t> bytes(data, data + size);
    c.DecodeByte(bytes, static_cast<std::int32_t>(size));
    bool reported = !c.Errors.empty();
    bool expected = walk.status == StreamStatus::UnknownId || walk.status == StreamStatus::Corrupt;
    if (reported != expected) std::abort();

    // Whatever decoded must survive a round trip through the encoder.
    if (walk.status == StreamStatus::Decoded) {
        DecodedStream again = HuffmanDecode(HuffmanEncode(walk.data));
        if (again.status != StreamStatus::Decoded || again.data != walk.data) std::abort();
    }

    // The input as data: it must come back, and its stream, damaged where the input says,
    // must still decode the same both ways. Random bytes seldom make a valid coded stream;
    // this reaches the look-up tables with every kind of code.
    std::string stream = HuffmanEncode(s);
    if (HuffmanDecode(stream).data != s) std::abort();
    if (size >= 3 && stream.size() > 4) {
        std::size_t at = 4 + (data[0] | data[1] << 8) % (stream.size() - 4);
        stream[at] = static_cast<char>(stream[at] ^ data[2]);
        SameFromBoth(stream, bits);
        SameFromBoth(std::string_view(stream).substr(0, stream.size() - data[1] % 4), bits);
    }
    return 0;
}
