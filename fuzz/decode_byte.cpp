// Any bytes handed to the stream decoder: no crash, no read or write past a buffer, and the
// table-driven decoder gives exactly what the plain tree walk gives.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "services/compression.h"
#include "services/huffman.h"

using namespace morvath;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view s(reinterpret_cast<const char*>(data), size);
    DecodedStream walk = HuffmanDecodeTreeWalk(s);
    for (int bits : {0, static_cast<int>(size % 12) + 1}) {
        DecodedStream table = bits == 0 ? HuffmanDecode(s) : HuffmanDecode(s, bits);
        if (table.status != walk.status || table.data != walk.data) std::abort();
    }

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
    return 0;
}
