#include "services/huffman.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

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
    std::size_t codeStart = 0;
    std::size_t dataStart = 0;
    std::uint8_t lengths[256];  // each byte value's code length, 0 = no code
    // The byte values that have a code, ascending: the order their codes follow one another.
    std::uint8_t coded[256];
    int codedCount = 0;
    unsigned longest = 0;
    std::size_t codeBits = 0;  // all code lengths together
};

inline unsigned BitAt(const std::uint8_t* s, std::size_t bit) { return (s[bit >> 3] >> (bit & 7)) & 1u; }

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

inline void Store64(char* p, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    std::memcpy(p, &v, sizeof v);
}

// Reads and checks everything before the data bits. A stream that does not start with the
// stored or an unknown identification is read as a coded stream, whatever its third byte.
Header ReadHeader(std::string_view s, ParsedStream& p) {
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

    std::fill(std::begin(p.lengths), std::end(p.lengths), std::uint8_t{0});
    bool seen[256] = {};
    // Our encoder lists the values ascending; any other order is put right by a scan.
    bool ascending = true;
    for (int i = 0; i < n; ++i) {
        const auto value = static_cast<std::uint8_t>(s[kHeaderSize + 2 * static_cast<std::size_t>(i)]);
        const auto length = static_cast<std::uint8_t>(s[kHeaderSize + 2 * static_cast<std::size_t>(i) + 1]);
        if (seen[value]) return Header::Corrupt;
        seen[value] = true;
        ascending &= p.codedCount == 0 || value > p.coded[p.codedCount - 1];
        if (length > 0) p.coded[p.codedCount++] = value;
        p.lengths[value] = length;
        p.codeBits += length;
        p.longest = std::max<unsigned>(p.longest, length);
    }
    if (!ascending) {
        p.codedCount = 0;
        for (int value = 0; value < 256; ++value) {
            if (p.lengths[value] > 0) p.coded[p.codedCount++] = static_cast<std::uint8_t>(value);
        }
    }
    p.codeStart = kHeaderSize + 2 * static_cast<std::size_t>(n);
    const std::size_t codeBytes = (p.codeBits + 7) / 8;
    if (s.size() - p.codeStart < codeBytes) return Header::Corrupt;
    p.dataStart = p.codeStart + codeBytes;
    return Header::Coded;
}

// Inserts every code longer than `shortest` bits, read straight from the code bits in
// ascending order of byte value, into the tree; false when the tree would outgrow its array.
bool BuildTree(const std::uint8_t* bytes, const ParsedStream& p, CodeTree& t, int shortest = 0) {
    t.nodes[0] = {{-1, -1}, -1};
    t.count = 1;
    std::size_t bit = p.codeStart * 8;
    for (int k = 0; k < p.codedCount; ++k) {
        const int value = p.coded[k];
        if (p.lengths[value] <= shortest) {
            bit += p.lengths[value];
            continue;
        }
        int node = 0;
        for (int i = 0; i < p.lengths[value]; ++i) {
            std::int16_t& child = t.nodes[node].child[BitAt(bytes, bit++)];
            if (child == -1) {
                if (t.count == kHuffmanNodes) return false;
                t.nodes[t.count] = {{-1, -1}, -1};
                child = static_cast<std::int16_t>(t.count++);
            }
            node = child;
        }
        t.nodes[node].value = static_cast<std::int16_t>(value);
    }
    return true;
}

// The walk from a node (the root unless told) to the next leaf, one bit at a time. False when a bit leads nowhere
// or the data end first.
inline bool WalkOne(const CodeTree& t, const std::uint8_t* s, std::size_t endBit, std::size_t& bit,
                    std::uint8_t& value, int node = 0) {
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

// Settles every stream that has no data bits to decode; false then, with `result` set.
bool Prepare(std::string_view s, ParsedStream& parsed, DecodedStream& result) {
    switch (ReadHeader(s, parsed)) {
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
// One table over the next K bits gives every byte whose code ends within them, so a look-up
// usually yields several bytes. It must hold exactly the codes the walk reaches within K bits.
// Those are the codes of at most K bits themselves unless two of them overlap (one is the
// start of another, which only a damaged code table has); then they are read off the tree.
// Where no code ends within K bits the walk itself takes one step; the tree is built for
// that only when it is first needed.

// Every code takes a bit at least, so an entry of an 8-bit table holds 8 bytes at most: one
// 64-bit word to build and to store.
constexpr unsigned kMaxTableBits = 8;
// A load of 64 bits shifted down to the next bit holds 57 bits at least: a round of look-ups
// takes no more.
constexpr unsigned kRoundBits = 57;
// A round started short of the length yields a byte per bit at most, and its last entry is
// stored whole.
constexpr std::size_t kOutputSlack = kRoundBits + 8;

struct DecodeTables {
    // Level w (w = 0..K) holds the decoding of every w-bit pattern, at [2^w, 2^(w+1)). A w-bit
    // pattern decodes as its first code followed by the decoding of the bits after it, a
    // pattern of a lower level; so each level is built from the lower ones, one cheap step per
    // entry, and the top level is the look-up table. The lower levels decode the last bits.
    // The bytes, the first one lowest.
    std::uint64_t bytes[2 << kMaxTableBits];
    // The bits they take | how many bytes << 8; 0 = no code ends within the bits.
    std::uint16_t info[2 << kMaxTableBits];
};

struct Leaf {
    std::uint32_t code;  // the bits from the root, the first in the lowest bit
    unsigned length;
    unsigned value;
};

// The codes the walk reaches within `maxDepth` bits. A node that got a byte is a leaf even if
// a later (corrupt) code passed through it: the walk stops at the first byte it meets.
void CollectLeaves(const CodeTree& t, int node, unsigned depth, std::uint32_t code, unsigned maxDepth, Leaf* leaves,
                   int& count) {
    for (unsigned b = 0; b < 2; ++b) {
        const int child = t.nodes[node].child[b];
        if (child < 0) continue;
        const std::uint32_t c = code | b << depth;
        if (t.nodes[child].value > -1) {
            leaves[count++] = {c, depth + 1, static_cast<unsigned>(t.nodes[child].value)};
        } else if (depth + 1 < maxDepth) {
            CollectLeaves(t, child, depth + 1, c, maxDepth, leaves, count);
        }
    }
}

// The codes of at most `maxLength` bits, read from the code bits, shortest first.
int ShortCodes(const std::uint8_t* s, const ParsedStream& p, unsigned maxLength, Leaf* leaves) {
    int next[kMaxTableBits + 2] = {};
    for (int k = 0; k < p.codedCount; ++k) {
        if (p.lengths[p.coded[k]] <= maxLength) ++next[p.lengths[p.coded[k]] + 1];
    }
    for (unsigned l = 2; l <= maxLength + 1; ++l) next[l] += next[l - 1];
    std::size_t bit = p.codeStart * 8;
    for (int k = 0; k < p.codedCount; ++k) {
        const unsigned value = p.coded[k];
        const unsigned length = p.lengths[value];
        if (length <= maxLength) {
            std::uint32_t code = 0;
            for (unsigned i = 0; i < length; ++i) code |= BitAt(s, bit + i) << i;
            leaves[next[length]++] = {code, length, value};
        }
        bit += length;
    }
    return next[maxLength];
}

// False when two codes reach the same top entry: they overlap.
bool BuildTable(const Leaf* leaves, int count, unsigned bits, DecodeTables& t) {
    bool apart = true;
    t.bytes[1] = 0;
    t.info[1] = 0;
    for (unsigned w = 1; w <= bits; ++w) {
        const std::uint32_t level = 1u << w;
        std::fill(t.info + level, t.info + 2 * level, std::uint16_t{0});
        for (int i = 0; i < count && leaves[i].length <= w; ++i) {
            const Leaf& leaf = leaves[i];
            const std::uint32_t below = 1u << (w - leaf.length);
            const unsigned add = leaf.length | 1u << 8;
            std::size_t d = level + leaf.code;
            for (std::uint32_t r = below; r < 2 * below; ++r, d += std::size_t{1} << leaf.length) {
                apart &= t.info[d] == 0;
                t.bytes[d] = t.bytes[r] << 8 | leaf.value;
                t.info[d] = static_cast<std::uint16_t>(t.info[r] + add);
            }
        }
    }
    return apart;
}

// The table's K: at most the longest code (a wider table only repeats itself), and smaller
// only for tiny streams: a narrower table costs less to build (about 2^(K+1) steps) but sends
// more codes to the walk, whose tree costs as much again.
unsigned ChooseTableBits(const ParsedStream& p, std::size_t outputBytes) {
    unsigned bits = std::clamp(p.longest, 1u, kMaxTableBits);
    while (bits > 1 && (std::size_t{1} << bits) > 8 * outputBytes) --bits;
    return bits;
}

// The walk, for codes longer than the table: from the node the table's bits lead to, found
// once per pattern. The tree is built at its first step. Unless the table was read off the
// tree, it holds every code of at most K bits, and none of them starts a pattern the table
// has no entry for: the walk's tree then needs the longer codes only.
struct LongCodes {
    LongCodes(const std::uint8_t* stream, const ParsedStream& parsed, CodeTree& codeTree)
        : s(stream), p(parsed), tree(codeTree) {}
    const std::uint8_t* s;
    const ParsedStream& p;
    CodeTree& tree;
    bool built = false;
    bool ready = false;
    std::int16_t resume[1 << kMaxTableBits];  // -2: not looked for yet; -1: leads nowhere

    // Takes the code starting with the K-bit `pattern` at `bit`, when the table has none.
    bool Step(std::size_t pattern, unsigned bits, std::size_t endBit, std::size_t& bit, std::uint8_t& value) {
        if (!ready) {
            if (!built) built = BuildTree(s, p, tree, static_cast<int>(bits));
            std::fill(resume, resume + (std::size_t{1} << bits), std::int16_t{-2});
            ready = true;
        }
        std::int16_t& node = resume[pattern];
        if (node == -2) {
            int n = 0;
            for (unsigned i = 0; i < bits && n >= 0; ++i) n = tree.nodes[n].child[(pattern >> i) & 1];
            node = static_cast<std::int16_t>(n);
        }
        if (node < 0) return false;
        bit += bits;
        return WalkOne(tree, s, endBit, bit, value, node);
    }
};

// Decodes from bit `at` until `length` bytes are out; false when the data break off first.
bool DecodeData(const DecodeTables& t, unsigned bits, LongCodes& walk, std::size_t size, std::size_t at, char* out,
                std::size_t length, std::size_t& produced) {
    const std::uint8_t* s = walk.s;
    const std::size_t endBit = size * 8;
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    const std::uint64_t* entries = t.bytes + (std::size_t{1} << bits);
    const std::uint16_t* info = t.info + (std::size_t{1} << bits);
    const unsigned perRound = kRoundBits / bits;
    char* o = out;
    char* const end = out + length;
    std::size_t miss = 0;  // the K bits the table has no code for
    while (o < end) {
        if ((at >> 3) + 8 <= size) {
            // A round: one load, then look-ups as long as the loaded bits last.
            std::uint64_t window = Load64(s + (at >> 3)) >> (at & 7);
            unsigned n = 0;
            for (; n < perRound; ++n) {
                const std::size_t i = window & mask;
                const unsigned e = info[i];
                if (e == 0) {
                    miss = i;
                    break;
                }
                Store64(o, entries[i]);
                o += e >> 8;
                at += e & 0xFF;
                window >>= e & 0xFF;
            }
            if (n == perRound || o >= end) continue;
        } else {
            // The last bytes, the bits past the end read as 0. With fewer bits left than the
            // table takes, the level of that many bits decodes every code that ends within
            // them, and no code can follow.
            std::uint8_t tail[8] = {};
            std::memcpy(tail, s + (at >> 3), size - (at >> 3));
            const std::size_t left = endBit - at;
            const std::uint64_t window = Load64(tail) >> (at & 7);
            const std::size_t level = std::size_t{1} << std::min<std::size_t>(left, bits);
            const std::size_t i = level + (window & (level - 1));
            const unsigned e = t.info[i];
            Store64(o, t.bytes[i]);
            o += e >> 8;
            at += e & 0xFF;
            if (left < bits) break;
            if (e != 0) continue;
            miss = i - level;
        }
        std::uint8_t v;
        if (!walk.Step(miss, bits, endBit, at, v)) break;
        *o++ = static_cast<char>(v);
    }
    produced = static_cast<std::size_t>(o - out);
    return o >= end;
}

// `tableBits` 0: chosen from the stream.
DecodedStream DecodeWithTable(std::string_view s, int tableBits) {
    ParsedStream p;
    DecodedStream early;
    if (!Prepare(s, p, early)) return early;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    thread_local CodeTree tree;
    // Each code bit adds a node at most, so with fewer code bits than the tree has room for
    // it waits until a code needs it; otherwise it is built first, as the walk does, so that
    // one too large ends the stream before any byte.
    LongCodes walk(bytes, p, tree);
    if (p.codeBits >= kHuffmanNodes) {
        if (!BuildTree(bytes, p, tree)) return {StreamStatus::Corrupt, {}};
        walk.built = true;
    }
    const std::size_t length = static_cast<std::size_t>(p.length);
    const std::size_t cap = OutputBound(s, p);
    const unsigned bits = tableBits > 0 ? static_cast<unsigned>(std::clamp<int>(tableBits, 1, kMaxTableBits))
                                        : ChooseTableBits(p, cap);
    thread_local DecodeTables tables;
    // Each byte value has one code at most, so 256 leaves at most.
    Leaf leaves[256];
    if (!BuildTable(leaves, ShortCodes(bytes, p, bits, leaves), bits, tables)) {
        if (!walk.built) walk.built = BuildTree(bytes, p, tree);
        int count = 0;
        CollectLeaves(tree, 0, 0, 0, bits, leaves, count);
        std::sort(leaves, leaves + count, [](const Leaf& a, const Leaf& b) { return a.length < b.length; });
        BuildTable(leaves, count, bits, tables);
    }

    std::string out;
    out.resize(cap + kOutputSlack);
    std::size_t produced = 0;
    const bool whole = DecodeData(tables, bits, walk, s.size(), p.dataStart * 8, out.data(), length, produced);
    out.resize(std::min(produced, length));
    return Finish(p, std::move(out), !whole);
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
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    CodeTree tree;
    if (!BuildTree(bytes, p, tree)) return {StreamStatus::Corrupt, {}};
    std::string out;
    out.reserve(OutputBound(s, p));
    std::size_t bit = p.dataStart * 8;
    const std::size_t endBit = s.size() * 8;
    bool broken = false;
    while (out.size() < static_cast<std::size_t>(p.length)) {
        std::uint8_t v;
        if (!WalkOne(tree, bytes, endBit, bit, v)) {
            broken = true;
            break;
        }
        out.push_back(static_cast<char>(v));
    }
    return Finish(p, std::move(out), broken);
}

DecodedStream HuffmanDecode(std::string_view s) {
    // Archive streams are read once: ask for all their lines at once rather than one by one.
    for (std::size_t at = 0; at < s.size(); at += 64) __builtin_prefetch(s.data() + at);
    return DecodeWithTable(s, 0);
}

DecodedStream HuffmanDecode(std::string_view s, int tableBits) { return DecodeWithTable(s, std::max(tableBits, 1)); }

}  // namespace morvath
