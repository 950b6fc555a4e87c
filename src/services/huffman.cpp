#include "services/huffman.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>

namespace morvath {
namespace {

constexpr std::string_view kStoredId{"HE0\r", 4};
constexpr std::string_view kCodedId{"HE3\r", 4};
// Identification (4), checksum (1), length (4), number of codes (2).
constexpr std::size_t kHeaderSize = 11;

std::string StoredStream(std::string_view data) {
    std::string out;
    out.reserve(kStoredId.size() + data.size());
    out.append(kStoredId);
    out.append(data);
    return out;
}

std::uint8_t Checksum(std::string_view data) {
    std::uint8_t x = 0;
    for (char c : data) x ^= static_cast<std::uint8_t>(c);
    return x;
}

void PutLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetLe(std::string_view s, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + i])) << (8 * i);
    return v;
}

class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void Put(std::uint32_t bits, int n) {
        acc_ |= static_cast<std::uint64_t>(bits) << used_;
        used_ += n;
        while (used_ >= 8) {
            out_.push_back(static_cast<char>(acc_ & 0xFF));
            acc_ >>= 8;
            used_ -= 8;
        }
    }
    void PutCode(const HuffmanCode& code) {
        int left = code.Count;
        for (std::size_t w = 0; left > 0; ++w) {
            int n = std::min(left, 32);
            Put(code.Data[w], n);
            left -= n;
        }
    }
    // Fills the last byte up with 0 bits.
    void Flush() {
        if (used_ > 0) out_.push_back(static_cast<char>(acc_ & 0xFF));
        acc_ = 0;
        used_ = 0;
    }

private:
    std::string& out_;
    std::uint64_t acc_ = 0;
    int used_ = 0;
};

using CodeTable = std::array<HuffmanCode, 256>;

// Codes from the encoding tree: a 0 bit to the left child, a 1 bit to the right one.
void CreateBitSequences(const std::array<HuffmanNode, kHuffmanNodes>& nodes, int node, const HuffmanCode& path,
                        CodeTable& codes) {
    const HuffmanNode& n = nodes[static_cast<std::size_t>(node)];
    if (n.Value > -1) {
        codes[static_cast<std::size_t>(n.Value)] = path;
        return;
    }
    HuffmanCode left = path;
    ++left.Count;
    CreateBitSequences(nodes, n.LeftNode, left, codes);
    HuffmanCode right = left;
    right.Data[path.Count / 32u] |= 1u << (path.Count % 32u);
    CreateBitSequences(nodes, n.RightNode, right, codes);
}

// ---- Decoding ----

struct CodeTree {
    std::array<HuffmanNode, kHuffmanNodes> nodes;
    int count = 1;  // node 0 is the root
};

enum class Header { Coded, Stored, UnknownId, EmptyCoded, Corrupt };

struct ParsedStream {
    std::uint8_t checksum = 0;
    std::int32_t length = 0;
    std::size_t dataStart = 0;
    CodeTree tree;
};

// Inserts one code into the decoding tree; false when the tree would outgrow its array.
bool CreateTree(CodeTree& t, int value, const HuffmanCode& code) {
    int node = 0;
    for (int i = 0; i < code.Count; ++i) {
        HuffmanNode& cur = t.nodes[static_cast<std::size_t>(node)];
        std::int16_t& child = code.Bit(i) ? cur.RightNode : cur.LeftNode;
        if (child == -1) {
            if (t.count == kHuffmanNodes) return false;
            HuffmanNode fresh;
            fresh.ParentNode = static_cast<std::int16_t>(node);
            t.nodes[static_cast<std::size_t>(t.count)] = fresh;
            child = static_cast<std::int16_t>(t.count++);
        }
        node = child;
    }
    t.nodes[static_cast<std::size_t>(node)].Value = static_cast<std::int16_t>(value);
    return true;
}

// Reads and checks everything before the data bits. A stream that does not start with the
// stored or an unknown identification is read as a coded stream, whatever its third byte.
Header ParseHeader(std::string_view s, ParsedStream& p) {
    if (s.size() >= 4 && s[0] == 'H' && s[1] == 'E' && s[3] == '\r') {
        if (s[2] == '0') return Header::Stored;
        if (s[2] != '3') return Header::UnknownId;
    }
    if (s.size() < kHeaderSize) return Header::Corrupt;
    p.checksum = static_cast<std::uint8_t>(s[4]);
    p.length = static_cast<std::int32_t>(GetLe(s, 5, 4));
    const int n = static_cast<std::int16_t>(GetLe(s, 9, 2));
    if (p.length == 0) return Header::EmptyCoded;
    if (p.length < 0 || n < 0 || n > 256) return Header::Corrupt;
    if (s.size() < kHeaderSize + 2 * static_cast<std::size_t>(n)) return Header::Corrupt;

    CodeTable codes;
    std::array<bool, 256> seen{};
    std::size_t totalBits = 0;
    for (int i = 0; i < n; ++i) {
        std::size_t at = kHeaderSize + 2 * static_cast<std::size_t>(i);
        auto value = static_cast<std::uint8_t>(s[at]);
        if (seen[value]) return Header::Corrupt;
        seen[value] = true;
        codes[value].Count = static_cast<std::uint8_t>(s[at + 1]);
        totalBits += codes[value].Count;
    }
    std::size_t codeStart = kHeaderSize + 2 * static_cast<std::size_t>(n);
    std::size_t codeBytes = (totalBits + 7) / 8;
    if (s.size() - codeStart < codeBytes) return Header::Corrupt;

    std::size_t bit = codeStart * 8;
    for (int v = 0; v < 256; ++v) {
        HuffmanCode& c = codes[static_cast<std::size_t>(v)];
        for (int i = 0; i < c.Count; ++i, ++bit) {
            if ((static_cast<std::uint8_t>(s[bit >> 3]) >> (bit & 7)) & 1u) {
                c.Data[static_cast<std::size_t>(i) / 32] |= 1u << (i % 32);
            }
        }
    }
    for (int v = 0; v < 256; ++v) {
        if (codes[static_cast<std::size_t>(v)].Count > 0 && !CreateTree(p.tree, v, codes[static_cast<std::size_t>(v)])) {
            return Header::Corrupt;
        }
    }
    p.dataStart = codeStart + codeBytes;
    return Header::Coded;
}

// The walk from the root to the next leaf, one bit at a time. False when a bit leads nowhere
// or the data end first.
inline bool WalkOne(const CodeTree& t, const std::uint8_t* s, std::size_t endBit, std::size_t& bit,
                    std::uint8_t& value) {
    int node = 0;
    for (;;) {
        if (bit >= endBit) return false;
        unsigned b = (s[bit >> 3] >> (bit & 7)) & 1u;
        ++bit;
        const HuffmanNode& n = t.nodes[static_cast<std::size_t>(node)];
        node = b ? n.RightNode : n.LeftNode;
        if (node < 0) return false;
        if (t.nodes[static_cast<std::size_t>(node)].Value > -1) {
            value = static_cast<std::uint8_t>(t.nodes[static_cast<std::size_t>(node)].Value);
            return true;
        }
    }
}

// Runs the header and settles every stream that has no data bits to decode; `parsed` is
// filled for the coded ones.
bool Prepare(std::string_view s, ParsedStream& parsed, DecodedStream& result) {
    switch (ParseHeader(s, parsed)) {
        case Header::Coded: return true;
        case Header::Stored: result = {StreamStatus::Decoded, std::string(s.substr(kStoredId.size()))}; return false;
        case Header::UnknownId: result = {StreamStatus::UnknownId, {}}; return false;
        case Header::EmptyCoded: result = {StreamStatus::EmptyCoded, {}}; return false;
        case Header::Corrupt: result = {StreamStatus::Corrupt, {}}; return false;
    }
    return false;
}

DecodedStream Finish(const ParsedStream& p, std::string data, bool broken) {
    bool ok = !broken && Checksum(data) == p.checksum;
    return {ok ? StreamStatus::Decoded : StreamStatus::Corrupt, std::move(data)};
}

// Every code is at least one bit long, so the data bits bound the output: a stream cannot
// make us allocate more than eight times its own size, whatever its header claims.
std::size_t OutputBound(std::string_view s, const ParsedStream& p) {
    return std::min<std::size_t>(static_cast<std::size_t>(p.length), (s.size() - p.dataStart) * 8);
}

// ---- Table-driven decoding ----
//
// The look-up table is built from the very tree the plain walk uses, so both give the same
// bytes, including on corrupt streams: anything the table cannot settle (a code longer than
// the table, a bit that leads nowhere, the last bits of the data) goes through WalkOne.

constexpr int kMaxTableBits = 12;
constexpr int kSymbolsPerEntry = 6;
constexpr int kLookupsPerLoad = 4;  // 4 x 12 bits fit the 57 bits one 64-bit load guarantees

// First step: the one leaf each pattern of `bits` bits reaches, as value | length << 8, or 0
// when none is reached within those bits.
void FillSingle(const CodeTree& t, int node, int depth, std::uint32_t prefix, int bits, std::uint16_t* single) {
    const std::uint32_t size = 1u << bits;
    const HuffmanNode& n = t.nodes[static_cast<std::size_t>(node)];
    if (depth > 0 && n.Value > -1) {
        auto entry = static_cast<std::uint16_t>(n.Value | depth << 8);
        for (std::uint32_t j = prefix; j < size; j += 1u << depth) single[j] = entry;
        return;
    }
    if (depth == bits) {
        single[prefix] = 0;
        return;
    }
    for (unsigned b = 0; b < 2; ++b) {
        int child = b ? n.RightNode : n.LeftNode;
        std::uint32_t p = prefix | b << depth;
        if (child < 0) {
            for (std::uint32_t j = p; j < size; j += 1u << (depth + 1)) single[j] = 0;
        } else {
            FillSingle(t, child, depth + 1, p, bits, single);
        }
    }
}

// Entry layout: bytes 0..5 the decoded values, byte 6 how many, byte 7 the bits they take.
// Written whole to the output, so the buffer keeps 8 bytes of slack.
void FillMulti(const std::uint16_t* single, int bits, std::uint64_t* multi) {
    const std::uint32_t size = 1u << bits;
    for (std::uint32_t p = 0; p < size; ++p) {
        std::uint64_t e = 0;
        int count = 0, used = 0;
        while (count < kSymbolsPerEntry) {
            std::uint16_t s = single[p >> used];
            int len = s >> 8;
            // A shorter window still decides a code that fits it: its bits are all known.
            if (len == 0 || used + len > bits) break;
            e |= static_cast<std::uint64_t>(s & 0xFF) << (8 * count);
            ++count;
            used += len;
        }
        multi[p] = e | static_cast<std::uint64_t>(count) << 48 | static_cast<std::uint64_t>(used) << 56;
    }
}

// Small streams do not pay for a big table: the table should cost less than the decoding.
int ChooseTableBits(std::size_t outputBytes) {
    int bits = std::bit_width(outputBytes) - 2;
    return std::clamp(bits, 6, kMaxTableBits);
}

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

inline void StoreEntry(char* out, std::uint64_t e) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &e, sizeof e);
    } else {
        for (int i = 0; i < kSymbolsPerEntry; ++i) out[i] = static_cast<char>(e >> (8 * i));
    }
}

}  // namespace

std::string HuffmanEncode(std::string_view data) {
    if (data.empty() || data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return StoredStream(data);
    }
    std::array<std::uint32_t, 256> counts{};
    for (char c : data) ++counts[static_cast<std::uint8_t>(c)];

    std::array<HuffmanNode, kHuffmanNodes> nodes;
    int created = 0;
    for (int v = 0; v < 256; ++v) {
        if (counts[static_cast<std::size_t>(v)] == 0) continue;
        HuffmanNode& leaf = nodes[static_cast<std::size_t>(created++)];
        leaf.Value = static_cast<std::int16_t>(v);
        leaf.Weight = static_cast<std::int32_t>(counts[static_cast<std::size_t>(v)]);
    }
    // The stored order of the two lightest nodes decides which child gets the 0 bit, and the
    // codes depend on it; keep this exact tie rule or old archives decode differently.
    for (int roots = created; roots >= 2; --roots) {
        int a = -1, b = -1;
        for (int i = 0; i < created; ++i) {
            const HuffmanNode& n = nodes[static_cast<std::size_t>(i)];
            if (n.ParentNode != -1) continue;
            if (a < 0) { a = i; continue; }
            if (b < 0) { b = i; continue; }
            std::int32_t wa = nodes[static_cast<std::size_t>(a)].Weight;
            std::int32_t wb = nodes[static_cast<std::size_t>(b)].Weight;
            if (n.Weight < std::max(wa, wb)) (wa >= wb ? a : b) = i;
        }
        HuffmanNode& parent = nodes[static_cast<std::size_t>(created)];
        parent.Weight = nodes[static_cast<std::size_t>(a)].Weight + nodes[static_cast<std::size_t>(b)].Weight;
        parent.LeftNode = static_cast<std::int16_t>(a);
        parent.RightNode = static_cast<std::int16_t>(b);
        nodes[static_cast<std::size_t>(a)].ParentNode = static_cast<std::int16_t>(created);
        nodes[static_cast<std::size_t>(b)].ParentNode = static_cast<std::int16_t>(created);
        ++created;
    }

    CodeTable codes;
    CreateBitSequences(nodes, created - 1, HuffmanCode{}, codes);
    std::uint64_t dataBits = 0;
    int n = 0;
    for (int v = 0; v < 256; ++v) {
        dataBits += static_cast<std::uint64_t>(counts[static_cast<std::size_t>(v)]) * codes[static_cast<std::size_t>(v)].Count;
        if (codes[static_cast<std::size_t>(v)].Count > 0) ++n;
    }
    // Only the data bits are weighed against the input, not the header and code table.
    std::uint64_t dataBytes = (dataBits + 7) / 8;
    if (dataBytes == 0 || dataBytes > data.size()) return StoredStream(data);

    std::string out;
    out.reserve(kHeaderSize + 2 * static_cast<std::size_t>(n) + 8160 + static_cast<std::size_t>(dataBytes));
    out.append(kCodedId);
    out.push_back(static_cast<char>(Checksum(data)));
    PutLe(out, static_cast<std::uint32_t>(data.size()), 4);
    PutLe(out, static_cast<std::uint32_t>(n), 2);
    for (int v = 0; v < 256; ++v) {
        if (codes[static_cast<std::size_t>(v)].Count == 0) continue;
        out.push_back(static_cast<char>(v));
        out.push_back(static_cast<char>(codes[static_cast<std::size_t>(v)].Count));
    }
    BitWriter bits(out);
    for (const HuffmanCode& c : codes) bits.PutCode(c);
    bits.Flush();
    for (char c : data) bits.PutCode(codes[static_cast<std::uint8_t>(c)]);
    bits.Flush();
    return out;
}

DecodedStream HuffmanDecodeTreeWalk(std::string_view s) {
    auto parsed = std::make_unique<ParsedStream>();
    DecodedStream early;
    if (!Prepare(s, *parsed, early)) return early;
    const ParsedStream& p = *parsed;
    std::string out;
    out.reserve(OutputBound(s, p));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    std::size_t bit = p.dataStart * 8;
    const std::size_t endBit = s.size() * 8;
    bool broken = false;
    while (out.size() < static_cast<std::size_t>(p.length)) {
        std::uint8_t v;
        if (!WalkOne(p.tree, bytes, endBit, bit, v)) {
            broken = true;
            break;
        }
        out.push_back(static_cast<char>(v));
    }
    return Finish(p, std::move(out), broken);
}

DecodedStream HuffmanDecode(std::string_view s) {
    // Sized by the bytes a coded stream states; a wrong length only costs speed.
    std::size_t stated = s.size() >= 9 ? GetLe(s, 5, 4) & 0x7FFFFFFFu : 0;
    return HuffmanDecode(s, ChooseTableBits(std::min(stated, (s.size()) * 8)));
}

DecodedStream HuffmanDecode(std::string_view s, int tableBits) {
    tableBits = std::clamp(tableBits, 1, kMaxTableBits);
    auto parsed = std::make_unique<ParsedStream>();
    DecodedStream early;
    if (!Prepare(s, *parsed, early)) return early;
    const ParsedStream& p = *parsed;

    const std::uint32_t tableSize = 1u << tableBits;
    auto single = std::make_unique_for_overwrite<std::uint16_t[]>(tableSize);
    auto multi = std::make_unique_for_overwrite<std::uint64_t[]>(tableSize);
    FillSingle(p.tree, 0, 0, 0, tableBits, single.get());
    FillMulti(single.get(), tableBits, multi.get());
    const std::uint64_t mask = tableSize - 1;

    const std::size_t cap = OutputBound(s, p);
    std::string out(cap + 8, '\0');
    char* o = out.data();
    std::size_t produced = 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    const std::size_t size = s.size();
    const std::size_t endBit = size * 8;
    std::size_t bit = p.dataStart * 8;
    bool broken = false;

    while (produced < static_cast<std::size_t>(p.length)) {
        // Fast path: while 8 whole bytes remain to load and the output has room for the most
        // the look-ups below can give, no bounds need checking inside.
        while ((bit >> 3) + 8 <= size && produced + kLookupsPerLoad * kSymbolsPerEntry <= cap) {
            std::uint64_t window = Load64(bytes + (bit >> 3)) >> (bit & 7);
            int k = 0;
            for (; k < kLookupsPerLoad; ++k) {
                std::uint64_t e = multi[window & mask];
                unsigned count = static_cast<unsigned>(e >> 48) & 0xFF;
                if (count == 0) break;
                unsigned used = static_cast<unsigned>(e >> 56);
                StoreEntry(o + produced, e);
                produced += count;
                window >>= used;
                bit += used;
            }
            if (k < kLookupsPerLoad) break;
        }
        if (produced >= static_cast<std::size_t>(p.length)) break;
        std::uint8_t v;
        if (!WalkOne(p.tree, bytes, endBit, bit, v)) {
            broken = true;
            break;
        }
        o[produced++] = static_cast<char>(v);
    }
    out.resize(produced);
    return Finish(p, std::move(out), broken);
}

}  // namespace morvath
