#include "services/huffman.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvath {
namespace {

// One node of the code tree. 256 leaves and 255 inner nodes are the most a code over bytes
// needs, hence the fixed array of kHuffmanNodes.
struct HuffmanNode {
    std::int16_t ParentNode = -1;
    std::int16_t RightNode = -1;  // reached by a 1 bit
    std::int16_t LeftNode = -1;   // reached by a 0 bit
    std::int16_t Value = -1;      // the byte of a leaf; -1 for an inner node
    std::int32_t Weight = 0;
};
constexpr int kHuffmanNodes = 512;

// A byte's code: Count bits (0 = the byte has no code), the bit taken at the root first,
// packed from the least significant bit of Data[0] up. 255 bits is the longest code a
// one-byte length can state.
struct HuffmanCode {
    std::uint8_t Count = 0;
    std::array<std::uint32_t, 8> Data{};
};

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

// XOR of all bytes, eight at a time: a byte at a time it would cost as much as decoding.
std::uint8_t Checksum(std::string_view data) {
    std::uint64_t wide = 0;
    std::size_t i = 0;
    for (; i + 8 <= data.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, data.data() + i, sizeof w);
        wide ^= w;
    }
    wide ^= wide >> 32;
    wide ^= wide >> 16;
    wide ^= wide >> 8;
    auto x = static_cast<std::uint8_t>(wide);
    for (; i < data.size(); ++i) x ^= static_cast<std::uint8_t>(data[i]);
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

// The decoding tree. Its nodes keep only what decoding reads (a node's children, reached by
// a 0 and a 1 bit, and the byte of a leaf); they are set up when created, so a stream with a
// small alphabet does not pay for clearing all 512.
struct TreeNode {
    std::int16_t child[2];
    std::int16_t value;  // -1 for an inner node
};

struct CodeTree {
    TreeNode nodes[kHuffmanNodes];
    int count = 1;  // node 0 is the root
};

enum class Header { Coded, Stored, UnknownId, EmptyCoded, Corrupt };

struct ParsedStream {
    std::uint8_t checksum = 0;
    std::int32_t length = 0;
    std::size_t dataStart = 0;
    // How many codes have each length from 1 to 12; longer ones are counted at 13.
    std::uint16_t lengthHistogram[14];
    CodeTree tree;
};

inline unsigned BitAt(const std::uint8_t* s, std::size_t bit) { return (s[bit >> 3] >> (bit & 7)) & 1u; }

// Inserts one code, read straight from the code bits, into the tree; false when the tree
// would outgrow its array.
bool CreateTree(CodeTree& t, int value, int length, const std::uint8_t* s, std::size_t& bit) {
    int node = 0;
    for (int i = 0; i < length; ++i) {
        std::int16_t& child = t.nodes[node].child[BitAt(s, bit++)];
        if (child == -1) {
            if (t.count == kHuffmanNodes) return false;
            t.nodes[t.count] = {{-1, -1}, -1};
            child = static_cast<std::int16_t>(t.count++);
        }
        node = child;
    }
    t.nodes[node].value = static_cast<std::int16_t>(value);
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

    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    std::uint8_t lengths[256];
    std::uint64_t seen[4] = {0, 0, 0, 0};
    std::size_t totalBits = 0;
    std::fill(std::begin(p.lengthHistogram), std::end(p.lengthHistogram), std::uint16_t{0});
    for (int i = 0; i < n; ++i) {
        const std::uint8_t* pair = bytes + kHeaderSize + 2 * i;
        const unsigned value = pair[0];
        const std::uint64_t flag = std::uint64_t{1} << (value & 63);
        if (seen[value >> 6] & flag) return Header::Corrupt;
        seen[value >> 6] |= flag;
        lengths[value] = pair[1];
        totalBits += pair[1];
        ++p.lengthHistogram[std::min<unsigned>(pair[1], 13)];
    }
    const std::size_t codeStart = kHeaderSize + 2 * static_cast<std::size_t>(n);
    const std::size_t codeBytes = (totalBits + 7) / 8;
    if (s.size() - codeStart < codeBytes) return Header::Corrupt;

    // Codes follow one another in ascending order of byte value.
    p.tree.nodes[0] = {{-1, -1}, -1};
    p.tree.count = 1;
    std::size_t bit = codeStart * 8;
    for (unsigned word = 0; word < 4; ++word) {
        for (std::uint64_t w = seen[word]; w != 0; w &= w - 1) {
            const unsigned value = word * 64 + static_cast<unsigned>(std::countr_zero(w));
            if (lengths[value] > 0 && !CreateTree(p.tree, static_cast<int>(value), lengths[value], bytes, bit)) {
                return Header::Corrupt;
            }
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
        node = t.nodes[node].child[BitAt(s, bit++)];
        if (node < 0) return false;
        if (t.nodes[node].value > -1) {
            value = static_cast<std::uint8_t>(t.nodes[node].value);
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
// One look-up on the next K bits gives every byte whose code ends within them and how many
// bits those codes take. The tables are built from the very tree the plain walk uses, so
// both give the same bytes, including on corrupt streams: whatever a table entry cannot
// settle (a code longer than K, a bit that leads nowhere, the last bits of the data) goes
// through WalkOne.

constexpr int kMaxTableBits = 12;
// Every code takes a bit at least, so an entry holds K <= 12 bytes at most.
constexpr unsigned kEntryBytes = 16;

// Level w (w = 0..K) holds the decoding of every w-bit pattern, at [2^w, 2^(w+1)). A w-bit
// pattern decodes as its first code followed by the decoding of the bits after it, a pattern
// of the level below; so each level is built from the lower ones, one cheap step per entry,
// and the top level is the look-up table.
struct DecodeTables {
    // The decoding's bytes, the first one first; stored whole into the output.
    struct alignas(16) Bytes {
        std::uint8_t b[kEntryBytes];
    };
    Bytes bytes[2 << kMaxTableBits];
    // The bits they take | how many bytes << 8; 0 = nothing decoded. The bits come first: the
    // look-up loop shifts by them, and the shift is the loop's critical path.
    std::uint16_t info[2 << kMaxTableBits];
};

// An entry's bytes with one more in front: a 16-byte shift by one byte.
inline void Prepend(const DecodeTables::Bytes& from, std::uint8_t value, DecodeTables::Bytes& to) {
#if defined(__SSE2__)
    __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(from.b));
    v = _mm_or_si128(_mm_slli_si128(v, 1), _mm_cvtsi32_si128(value));
    _mm_store_si128(reinterpret_cast<__m128i*>(to.b), v);
#else
    std::uint8_t tmp[kEntryBytes];
    tmp[0] = value;
    std::memcpy(tmp + 1, from.b, kEntryBytes - 1);
    std::memcpy(to.b, tmp, kEntryBytes);
#endif
}

DecodeTables& Tables() {
    thread_local auto tables = std::make_unique<DecodeTables>();
    return *tables;
}

struct Leaf {
    std::uint32_t code;  // the bits from the root, the first in the lowest bit
    unsigned length;
    std::uint8_t value;
};

// The leaves the walk can reach within `maxDepth` bits. A node that got a byte is a leaf even
// if a later (corrupt) code passed through it: the walk stops at the first byte it meets.
void CollectLeaves(const CodeTree& t, int node, unsigned depth, std::uint32_t code, unsigned maxDepth, Leaf* leaves,
                   int& count) {
    for (unsigned b = 0; b < 2; ++b) {
        const int child = t.nodes[node].child[b];
        if (child < 0) continue;
        const std::uint32_t c = code | b << depth;
        if (t.nodes[child].value > -1) {
            leaves[count++] = {c, depth + 1, static_cast<std::uint8_t>(t.nodes[child].value)};
        } else if (depth + 1 < maxDepth) {
            CollectLeaves(t, child, depth + 1, c, maxDepth, leaves, count);
        }
    }
}

void BuildTables(const CodeTree& tree, unsigned bits, DecodeTables& t) {
    // Each byte value is the value of one node at most, so 256 leaves at most.
    Leaf leaves[256];
    int count = 0;
    CollectLeaves(tree, 0, 0, 0, bits, leaves, count);
    t.info[1] = 0;
    for (unsigned w = 1; w <= bits; ++w) {
        const std::uint32_t level = 1u << w;
        std::fill(t.info + level, t.info + 2 * level, std::uint16_t{0});
        for (int i = 0; i < count; ++i) {
            const Leaf& leaf = leaves[i];
            if (leaf.length > w) continue;
            const std::uint32_t below = 1u << (w - leaf.length);
            const unsigned add = leaf.length | 1u << 8;
            const std::size_t step = std::size_t{1} << leaf.length;
            std::size_t d = level + leaf.code;
            for (std::uint32_t r = below; r < 2 * below; ++r, d += step) {
                Prepend(t.bytes[r], leaf.value, t.bytes[d]);
                t.info[d] = static_cast<std::uint16_t>(t.info[r] + add);
            }
        }
    }
}

// Whether a table pays, and how large: building one costs about two steps per top-level
// entry, a look-up a few cycles whatever it yields, the walk a few cycles per bit. The code
// lengths tell what a look-up yields: a code of length l stands for about 2^-l of the data.
// 0: no table, walk the tree (tiny streams, mostly).
int ChooseTableBits(const ParsedStream& p, std::size_t outputBytes) {
    double share[14], kraft = 0, meanLength = 0;
    for (int l = 1; l <= 13; ++l) {
        share[l] = p.lengthHistogram[l] / static_cast<double>(1u << l);
        kraft += share[l];
        meanLength += share[l] * l;
    }
    if (kraft <= 0) return 0;
    meanLength /= kraft;
    const double n = static_cast<double>(outputBytes);
    const double walkPerByte = meanLength * 4;
    int best = 0;
    double bestCost = n * walkPerByte;
    double longShare = 1;  // the part of the data whose codes do not fit the table
    for (int k = 1; k <= kMaxTableBits; ++k) {
        longShare -= share[k] / kraft;
        const double perLookup = std::max((k - meanLength / 2) / meanLength, 1.0);
        const double cost = 300 + 5.0 * (1u << k) + n * ((1 - longShare) * 9 / perLookup + longShare * (walkPerByte + 25));
        if (cost < bestCost) {
            bestCost = cost;
            best = k;
        }
    }
    return best;
}

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}


// Look-ups while the output is short of its length; returns where a table entry could not
// settle the next byte (the caller walks it) or the data end. An entry's bytes are stored
// whole, and a look-up may run past the length: the buffer has room for that and the caller
// cuts the result to the length; the walk would have stopped there with the same bytes.
template <int lookups>
void DecodeTable(const DecodeTables& t, unsigned bits, const std::uint8_t* bytes, std::size_t size, std::size_t& bit,
                 char* out, std::size_t& produced, std::size_t length) {
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    const DecodeTables::Bytes* entries = t.bytes + (std::size_t{1} << bits);
    const std::uint16_t* info = t.info + (std::size_t{1} << bits);
    const std::size_t endBit = size * 8;
    while (produced < length) {
        const std::size_t at = bit >> 3;
        std::uint64_t window;
        if (at + 8 <= size) {
            window = Load64(bytes + at);
        } else {
            // The last bytes: the missing ones read as 0 bits, which no look-up may use.
            std::uint8_t tail[8] = {};
            std::memcpy(tail, bytes + at, size - at);
            window = Load64(tail);
        }
        window >>= bit & 7;
        for (int k = 0; k < lookups; ++k) {
            const std::size_t i = window & mask;
            const unsigned e = info[i];
            const unsigned used = e & 0xFF;
            if (e == 0 || bit + used > endBit) return;
            std::memcpy(out + produced, entries[i].b, kEntryBytes);
            produced += e >> 8;
            window >>= e & 63;  // the same as `used`, said so that the shift takes `e` as it is
            bit += used;
        }
    }
}

DecodedStream DecodeWithTable(std::string_view s, const ParsedStream& p, int tableBits) {
    const std::size_t length = static_cast<std::size_t>(p.length);
    const std::size_t cap = OutputBound(s, p);
    std::string out;
    // Every byte takes a bit at least, so the output never passes `cap`; a round of look-ups
    // that starts short of it stores at most 6 whole entries.
    out.resize(cap + 6 * kEntryBytes);
    char* o = out.data();
    std::size_t produced = 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    const std::size_t size = s.size();
    const std::size_t endBit = size * 8;
    std::size_t bit = p.dataStart * 8;
    bool broken = false;

    DecodeTables* t = nullptr;
    if (tableBits > 0) {
        t = &Tables();
        BuildTables(p.tree, static_cast<unsigned>(tableBits), *t);
    }
    while (produced < length) {
        if (t && tableBits <= 9) {
            DecodeTable<6>(*t, static_cast<unsigned>(tableBits), bytes, size, bit, o, produced, length);
        } else if (t) {
            DecodeTable<4>(*t, static_cast<unsigned>(tableBits), bytes, size, bit, o, produced, length);
        }
        if (produced >= length) break;
        std::uint8_t v;
        if (!WalkOne(p.tree, bytes, endBit, bit, v)) {
            broken = true;
            break;
        }
        o[produced++] = static_cast<char>(v);
    }
    out.resize(std::min(produced, length));
    return Finish(p, std::move(out), broken);
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
    ParsedStream p;
    DecodedStream early;
    if (!Prepare(s, p, early)) return early;
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
    ParsedStream p;
    DecodedStream early;
    if (!Prepare(s, p, early)) return early;
    return DecodeWithTable(s, p, ChooseTableBits(p, OutputBound(s, p)));
}

DecodedStream HuffmanDecode(std::string_view s, int tableBits) {
    ParsedStream p;
    DecodedStream early;
    if (!Prepare(s, p, early)) return early;
    return DecodeWithTable(s, p, std::clamp(tableBits, 1, kMaxTableBits));
}

}  // namespace morvath
