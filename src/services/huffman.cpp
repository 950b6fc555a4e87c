#include "services/huffman.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>
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

// XOR of all bytes, eight at a time into four words that do not wait for each other: a byte
// at a time it would cost as much as decoding.
std::uint8_t Checksum(std::string_view data) {
    std::uint64_t lanes[4] = {0, 0, 0, 0};
    std::size_t i = 0;
    for (; i + 32 <= data.size(); i += 32) {
        for (int k = 0; k < 4; ++k) {
            std::uint64_t w;
            std::memcpy(&w, data.data() + i + 8 * k, sizeof w);
            lanes[k] ^= w;
        }
    }
    std::uint64_t wide = lanes[0] ^ lanes[1] ^ lanes[2] ^ lanes[3];
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
    // The pairs of byte value and code length (0 = no code).
    const std::uint8_t* pairs = nullptr;
    int pairCount = 0;
    bool ascending = true;
    // Unless the values ascend: the values that have a pair, and their code lengths.
    std::uint64_t seen[4];
    std::uint8_t lengths[256];
    // The part of the code space the codes fill, in units of 2^-12 (a code longer than 12 bits
    // counts 2: too much for any complete code); that sum weighted by the lengths; and the
    // longest code.
    std::uint32_t space = 0;
    std::uint32_t weightedSpace = 0;
    unsigned longest = 0;
    CodeTree tree;  // built only by decoders that walk it
};

inline unsigned BitAt(const std::uint8_t* s, std::size_t bit) { return (s[bit >> 3] >> (bit & 7)) & 1u; }

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

// The bits from `bit` on, the next one lowest; at least 57 of them, the ones past the end of
// the stream read as 0.
inline std::uint64_t BitsFrom(const std::uint8_t* bytes, std::size_t size, std::size_t bit) {
    const std::size_t at = bit >> 3;
    if (at + 8 <= size) return Load64(bytes + at) >> (bit & 7);
    if (size < 8) {
        std::uint8_t tail[8] = {};
        std::memcpy(tail, bytes + at, size - at);
        return Load64(tail) >> (bit & 7);
    }
    // The last eight bytes, shifted down to the bit: the shift brings in the 0 bits.
    const std::size_t shift = (at + 8 - size) * 8 + (bit & 7);
    return shift < 64 ? Load64(bytes + size - 8) >> shift : 0;
}

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

// Reads and checks everything before the data bits, but builds no tree. A stream that does
// not start with the stored or an unknown identification is read as a coded stream,
// whatever its third byte.
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

    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    p.pairs = bytes + kHeaderSize;
    p.pairCount = n;
    // Our encoder lists the values in ascending order, which rules out a value given twice
    // at no cost; only pairs in any other order need the set of values seen.
    int previous = -1;
    bool ascending = true;
    std::size_t totalBits = 0;
    std::uint32_t space = 0, weightedSpace = 0;
    unsigned longest = 0;
    for (int i = 0; i < n; ++i) {
        const int value = p.pairs[2 * i];
        const unsigned length = p.pairs[2 * i + 1];
        ascending &= value > previous;
        previous = value;
        totalBits += length;
        longest = std::max(longest, length);
        const std::uint32_t share = length == 0 ? 0 : length <= 12 ? 4096u >> length : 8192u;
        space += share;
        weightedSpace += share * length;
    }
    p.ascending = ascending;
    if (!ascending) {
        std::fill(std::begin(p.seen), std::end(p.seen), std::uint64_t{0});
        for (int i = 0; i < n; ++i) {
            const unsigned value = p.pairs[2 * i];
            const std::uint64_t flag = std::uint64_t{1} << (value & 63);
            if (p.seen[value >> 6] & flag) return Header::Corrupt;
            p.seen[value >> 6] |= flag;
            p.lengths[value] = p.pairs[2 * i + 1];
        }
    }
    p.space = space;
    p.weightedSpace = weightedSpace;
    p.longest = longest;
    p.codeStart = kHeaderSize + 2 * static_cast<std::size_t>(n);
    const std::size_t codeBytes = (totalBits + 7) / 8;
    if (s.size() - p.codeStart < codeBytes) return Header::Corrupt;
    p.dataStart = p.codeStart + codeBytes;
    return Header::Coded;
}

// Calls `f(value, length)` for every byte value with a code, in the order their codes follow
// one another: ascending byte value.
template <typename F>
inline void ForEachCode(const ParsedStream& p, F f) {
    if (p.ascending) {
        for (int i = 0; i < p.pairCount; ++i) {
            if (p.pairs[2 * i + 1] > 0) f(unsigned{p.pairs[2 * i]}, unsigned{p.pairs[2 * i + 1]});
        }
        return;
    }
    for (unsigned word = 0; word < 4; ++word) {
        for (std::uint64_t w = p.seen[word]; w != 0; w &= w - 1) {
            const unsigned value = word * 64 + static_cast<unsigned>(std::countr_zero(w));
            if (p.lengths[value] > 0) f(value, p.lengths[value]);
        }
    }
}

// False when the tree would outgrow its array: the stream is corrupt.
bool BuildTree(const std::uint8_t* bytes, ParsedStream& p) {
    p.tree.nodes[0] = {{-1, -1}, -1};
    p.tree.count = 1;
    std::size_t bit = p.codeStart * 8;
    bool fits = true;
    ForEachCode(p, [&](unsigned value, unsigned length) {
        if (fits) fits = CreateTree(p.tree, static_cast<int>(value), static_cast<int>(length), bytes, bit);
    });
    return fits;
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
// filled, without its tree, for the coded ones.
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
// Two tables over the next K bits. The first-code table gives the code those bits start
// with; the many-bytes table gives every byte whose code ends within them, so one look-up
// usually yields several bytes, but it costs about two steps per entry to build, which only
// a long stream pays back.
//
// Both decoders must give the same bytes and the same status, damaged streams included. A
// stream whose codes are a complete prefix code of at most 12 bits (every stream our encoder
// writes, save for very skewed data) is decoded from the tables alone: each bit pattern is
// then exactly one code, as in the tree, and the tree need not be built. Any other code
// table (overlapping codes, gaps, longer codes) goes through the tree the plain walk builds:
// the tables hold the codes it reaches within K bits and the walk settles everything else.

constexpr int kMaxTableBits = 12;
// Every code takes a bit at least, so a many-bytes entry of a table up to 8 bits wide holds 8
// bytes at most: one 64-bit word to build and to store. Wider tables, up to 12 bits, have
// entries of two words; they cost about twice as much per entry to build, which only long
// streams pay back.
constexpr unsigned kNarrowBits = 8;
struct WideEntry {
    std::uint64_t low, high;
};
// What a look-up stores at most.
constexpr unsigned kEntryBytes = 16;
// A refill leaves 56 bits at least; the look-ups of a round take no more than that, save for
// codes longer than the table, which refill again.
constexpr unsigned kRoundBits = 56;
// What a round of look-ups started short of the end of the output may store beyond it: a
// look-up yields no more bytes than the table has bits (or one, for a longer code), so a
// round yields 56 at most, and its last entry is stored whole.
constexpr std::size_t kOutputSlack = kRoundBits + kEntryBytes;

// A first-code entry: the code's length | its byte << 8. The flag marks a pattern that starts
// a code longer than K; its byte then names the sub-table of the bits after the K.
// 0: no code (the tree's walk decides).
constexpr unsigned kLongerFlag = 0x80;

// The second chain of look-ups (see TwoChains) decodes at most this many bits at a time, so
// that its scratch stays bounded, and at least the other number: below that, the two chains
// save less than joining them costs.
constexpr std::size_t kSpanBits = std::size_t{1} << 14;
constexpr std::size_t kMinSpanBits = 64;

struct DecodeTables {
    // Level w (w = 0..K) of the many-bytes table holds the decoding of every w-bit pattern,
    // at [2^w, 2^(w+1)). A w-bit pattern decodes as its first code followed by the decoding
    // of the bits after it, a pattern of the level below; so each level is built from the
    // lower ones, one cheap step per entry, and the top level is the look-up table.
    // The bytes, the first one lowest; stored whole into the output.
    std::uint64_t narrow[2 << kNarrowBits];
    WideEntry wide[2 << kMaxTableBits];
    // The bits they take | how many bytes << 8; 0 = nothing decoded. The bits come first: the
    // look-up loop shifts by them, and the shift is the loop's critical path.
    std::uint16_t info[2 << kMaxTableBits];
    std::uint16_t first[1 << kMaxTableBits];
    // The sub-tables of the codes longer than K, 2^(longest - K) first-code entries each (the
    // length in them is the whole code's). At most 2^12 together: each stands for a K-bit
    // pattern.
    std::uint16_t longer[1 << kMaxTableBits];
    // The second chain of look-ups (see TwoChains): its bytes, and where each of its rounds
    // began and its output then (a round takes 4 bits at least).
    char spanOut[kSpanBits + kRoundBits + kOutputSlack];
    std::size_t spanMarkAt[kSpanBits / 4 + 2];
    char* spanMarkOut[kSpanBits / 4 + 2];
};

template <class Entry>
Entry* Entries(DecodeTables& t) {
    if constexpr (std::is_same_v<Entry, WideEntry>) {
        return t.wide;
    } else {
        return t.narrow;
    }
}
template <class Entry>
const Entry* Entries(const DecodeTables& t) {
    return Entries<Entry>(const_cast<DecodeTables&>(t));
}

DecodeTables& Tables() {
    thread_local auto tables = std::make_unique<DecodeTables>();
    return *tables;
}

inline void Store64(char* p, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    std::memcpy(p, &v, sizeof v);
}

// An entry's bytes with one more in front, and an entry stored into the output.
inline std::uint64_t Prepend(std::uint64_t e, unsigned value) { return e << 8 | value; }
inline WideEntry Prepend(const WideEntry& e, unsigned value) { return {e.low << 8 | value, e.high << 8 | e.low >> 56}; }
inline void StoreEntry(char* p, std::uint64_t e) { Store64(p, e); }
inline void StoreEntry(char* p, const WideEntry& e) {
    Store64(p, e.low);
    Store64(p + 8, e.high);
}

struct Leaf {
    std::uint32_t code;  // the bits from the root, the first in the lowest bit
    unsigned length;
    unsigned value;
};

// The many-bytes table, level by level, from the codes of at most K bits.
template <class Entry>
void BuildManyBytes(const Leaf* leaves, int count, unsigned bits, DecodeTables& t) {
    Entry* entries = Entries<Entry>(t);
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
                entries[d] = Prepend(entries[r], leaf.value);
                t.info[d] = static_cast<std::uint16_t>(t.info[r] + add);
            }
        }
    }
}

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

// Whether no entry is 0, four at a time.
bool AllSet(const std::uint16_t* entries, std::size_t count) {
    std::uint64_t zero = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t w;
        std::memcpy(&w, entries + i, sizeof w);
        zero |= (w - 0x0001000100010001) & ~w & 0x8000800080008000;
    }
    for (; i < count; ++i) zero |= entries[i] == 0;
    return zero == 0;
}

// Each code of at most K bits stands at its own bits, the pattern with 0 bits after it; this
// gives every other pattern the code it starts with. A pattern whose highest 1 bit is bit h-1
// starts with the same code as the pattern without that bit if that code is shorter than h
// bits, else with the code (if any) that stands at it. So each half-level is one plain pass
// over the patterns below it, with no branch (a loop per code, of as many steps as the code
// has patterns, would mispredict its end once per code).
void SpreadFirstCodes(std::uint16_t* first, unsigned bits) {
    for (unsigned h = 2; h <= bits; ++h) {
        const std::uint32_t half = 1u << (h - 1);
        std::uint32_t y = 0;
#if defined(__SSE2__)
        // Eight entries at a time; the lengths are 0 to 12 or the flag 0x80, all positive.
        const __m128i lengthMask = _mm_set1_epi16(0xFF);
        const __m128i zero = _mm_setzero_si128();
        const __m128i limit = _mm_set1_epi16(static_cast<short>(h));
        for (; y + 8 <= half; y += 8) {
            const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + y));
            const __m128i above = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + half + y));
            const __m128i length = _mm_and_si128(below, lengthMask);
            const __m128i shorter = _mm_and_si128(_mm_cmpgt_epi16(length, zero), _mm_cmplt_epi16(length, limit));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(first + half + y),
                             _mm_or_si128(_mm_and_si128(shorter, below), _mm_andnot_si128(shorter, above)));
        }
#endif
        for (; y < half; ++y) {
            const unsigned below = first[y];
            if ((below & 0xFF) - 1u < h - 1) first[half + y] = static_cast<std::uint16_t>(below);
        }
    }
}

// The first-code table and the sub-tables straight from the code bits, for a complete code of
// at most kMaxTableBits bits. False when two codes overlap: then it is no prefix code (and,
// being complete, it also leaves patterns without a code).
// The codes of at most K bits go to `leaves` as well, if given.
bool FillFirstCodes(const std::uint8_t* bytes, std::size_t size, const ParsedStream& p, unsigned bits,
                    unsigned subBits, DecodeTables& t, Leaf* leaves, int& count) {
    const std::uint32_t top = 1u << bits;
    std::fill(t.first, t.first + top, std::uint16_t{0});
    unsigned subTables = 0;
    bool overlap = false;
    std::size_t bit = p.codeStart * 8;
    ForEachCode(p, [&](unsigned value, unsigned length) {
        const std::uint32_t code = static_cast<std::uint32_t>(BitsFrom(bytes, size, bit)) & ((1u << length) - 1);
        bit += length;
        const auto entry = static_cast<std::uint16_t>(length | value << 8);
        if (length <= bits) {
            if (leaves) leaves[count++] = {code, length, value};
            t.first[code] = entry;  // spread over the patterns it starts below
            return;
        }
        std::uint16_t& head = t.first[code & (top - 1)];
        if (head == 0) {
            head = static_cast<std::uint16_t>(kLongerFlag | subTables << 8);
            std::fill_n(t.longer + (subTables << subBits), 1u << subBits, std::uint16_t{0});
            ++subTables;
        }
        if (!(head & kLongerFlag)) {  // a shorter code is a prefix of this one
            overlap = true;
            return;
        }
        std::uint16_t* sub = t.longer + ((head >> 8) << subBits);
        for (std::uint32_t i = code >> bits; i < (1u << subBits); i += 1u << (length - bits)) sub[i] = entry;
    });
    SpreadFirstCodes(t.first, bits);
    // The codes fill the code space exactly, so codes that overlap leave some pattern without
    // one: an entry still 0, here or in a sub-table. (Cheaper than a test at every entry.)
    return !overlap && AllSet(t.first, top) && AllSet(t.longer, subTables << subBits);
}

// The data bits as the look-up loops read them: a 64-bit buffer refilled without a branch, so
// that a refill adds no wait to the chain of look-ups (each look-up's shift waits for the one
// before). A refill reads eight bytes at `next`.
struct BitReader {
    const std::uint8_t* next;  // the first byte not yet in `buffer`
    std::uint64_t buffer;      // the next bits, the next one lowest; all of them stream bits
    // How many of them are counted as read: the low 6 bits. Take() subtracts whole table
    // entries, to save masking their bits out at every look-up; what that leaves above bit 5
    // is ignored.
    unsigned count;

    // At `bit`, which has eight bytes of the stream from its byte on.
    BitReader(const std::uint8_t* bytes, std::size_t bit)
        : next(bytes + (bit >> 3) + 7),
          buffer(Load64(bytes + (bit >> 3)) >> (bit & 7)),
          count(56 - static_cast<unsigned>(bit & 7)) {}
    std::size_t Bit(const std::uint8_t* bytes) const {
        return static_cast<std::size_t>(next - bytes) * 8 - (count & 63);
    }
    // At least 56 bits counted afterwards.
    void Refill() {
        const unsigned counted = count & 63;
        buffer |= Load64(next) << counted;
        next += (63 - counted) >> 3;
        count = counted | 56;
    }
    // The bits of a table entry: its low 6 bits, bits 6 and 7 being 0.
    void Take(unsigned entry) {
        buffer >>= entry & 63;
        count -= entry;
    }
};

// A round of look-ups starts with a refill and takes 56 bits at most; a code longer than K
// refills once more. A round therefore stays inside the stream when this many bytes are left
// at `next`: 8 for each refill, and at most 12 of the bits of a round of long codes.
constexpr std::size_t kRoundBytes = 32;

// The tables of a complete prefix code: every bit pattern starts with exactly one code.
// Copied by value into the loops, so that nothing of it is read again from memory after each
// byte stored.
struct CodeTables {
    const DecodeTables* t;
    unsigned bits;     // K
    unsigned subBits;  // the bits after the K of the longest code
    std::uint64_t mask;
    std::uint64_t subMask;

    CodeTables(const DecodeTables& tables, unsigned k, unsigned longest)
        : t(&tables),
          bits(k),
          subBits(longest > k ? longest - k : 0),
          mask((std::uint64_t{1} << k) - 1),
          subMask((std::uint64_t{1} << subBits) - 1) {}
    // The first code of the bits: its length | its byte << 8.
    unsigned First(std::uint64_t window) const {
        const unsigned e = t->first[window & mask];
        if (!(e & kLongerFlag)) return e;
        return t->longer[(e >> 8) << subBits | ((window >> bits) & subMask)];
    }
    // A code longer than K at the reader: its byte to `out`.
    char* Longer(BitReader& r, char* out) const {
        const unsigned e = First(r.buffer);
        *out = static_cast<char>(e >> 8);
        r.Take(e);
        r.Refill();
        return out + 1;
    }
};

// One look-up at the reader: its bytes to `out`, and the output's new end. The K of the table
// is a constant (kBits) in the common cases and read from `c` otherwise (kBits 0). Entries are
// stored whole, so `out` needs kEntryBytes of room.
// A round is `kLookUps` look-ups: as many as take 56 bits at most, when a code longer than K
// can come last (it refills).
template <int kBits, class Entry>
struct ManyBytesLookUp {
    CodeTables c;
    static constexpr bool kManyBytes = true;
    static constexpr int kLookUps = kBits ? (kRoundBits - kMaxTableBits) / kBits + 1 : 4;
    // The most bits a round takes: each code longer than K refills (the round stays inside the
    // stream) but takes its bits all the same.
    static constexpr unsigned kRoundMostBits = kLookUps * kMaxTableBits;
    std::size_t Index(std::uint64_t buffer) const {
        const unsigned bits = kBits ? kBits : c.bits;
        return (std::size_t{1} << bits) + (buffer & ((std::uint64_t{1} << bits) - 1));
    }
    void Store(char* out, std::size_t i) const { StoreEntry(out, Entries<Entry>(*c.t)[i]); }
    char* operator()(BitReader& r, char* out) const {
        const std::size_t i = Index(r.buffer);
        const unsigned e = c.t->info[i];
        StoreEntry(out, Entries<Entry>(*c.t)[i]);
        if (e == 0) [[unlikely]] return c.Longer(r, out);
        r.Take(e);
        return out + (e >> 8);
    }
};

template <int kBits, bool withLonger>
struct FirstCodeLookUp {
    CodeTables c;
    static constexpr bool kManyBytes = false;
    static constexpr int kLookUps = !kBits ? 4 : withLonger ? (kRoundBits - kMaxTableBits) / kBits + 1 : kRoundBits / kBits;
    static constexpr unsigned kRoundMostBits = kLookUps * (kBits && !withLonger ? kBits : kMaxTableBits);
    char* operator()(BitReader& r, char* out) const {
        const unsigned bits = kBits ? kBits : c.bits;
        const unsigned e = c.t->first[r.buffer & ((std::uint64_t{1} << bits) - 1)];
        if (withLonger && (e & kLongerFlag)) [[unlikely]] return c.Longer(r, out);
        *out = static_cast<char>(e >> 8);
        r.Take(e);
        return out + 1;
    }
};

// Where a decoding chain stands.
struct Chain {
    BitReader reader;
    char* out;
};

// Rounds of look-ups while the output is short of `outEnd`, the reader short of `stopBit` and
// the round inside the stream. A round may run past the length: the buffer has room for that
// and the caller cuts the result to the length; the walk would have stopped there with the
// same bytes. (The loops work on local copies: the output is char, which may alias anything.)
template <class LookUp>
void Rounds(const LookUp& lookUpRef, Chain& chain, std::size_t stopBit, const std::uint8_t* bytes,
            const std::uint8_t* end, const char* outEnd) {
    constexpr int lookups = LookUp::kLookUps;
    const LookUp lookUp = lookUpRef;
    BitReader r = chain.reader;
    char* out = chain.out;
    while (out < outEnd && r.Bit(bytes) < stopBit && r.next + kRoundBytes <= end) {
        r.Refill();
        for (int k = 0; k < lookups; ++k) out = lookUp(r, out);
    }
    chain.reader = r;
    chain.out = out;
}

// Decoding is a chain: each look-up needs the length of the one before. Two chains run side
// by side, so the second decodes from the middle of the data while the first decodes up to
// it. The middle is no code boundary, but a prefix code soon falls into step again: from some
// look-up on, the second decodes exactly what the first would. The first then goes on one
// byte at a time until it stands where one of the second's rounds began; the second's bytes
// from there on are the right ones.
struct Span {
    std::size_t start = 0;  // the bit the second chain began at
    std::size_t end = 0;    // the bit it stops at
    std::size_t marks = 0;  // how many rounds it made
};

template <class LookUp>
void TwoChains(const LookUp& lookUpRef, Chain& first, Chain& second, Span& span, const std::uint8_t* bytes,
               const std::uint8_t* end, const char* outEnd, DecodeTables& t) {
    constexpr int lookups = LookUp::kLookUps;
    const LookUp lookUp = lookUpRef;
    BitReader a = first.reader, b = second.reader;
    char* outA = first.out;
    char* outB = second.out;
    // Where each round of the second began, and its output then.
    std::size_t* markAt = t.spanMarkAt;
    char** markOut = t.spanMarkOut;
    std::size_t m = 0;
    const std::size_t middle = span.start, stop = span.end;
    for (;;) {
        const std::size_t bitB = b.Bit(bytes);
        if (!(outA < outEnd && a.Bit(bytes) < middle && bitB < stop && b.next + kRoundBytes <= end)) break;
        markAt[m] = bitB;
        markOut[m] = outB;
        ++m;
        a.Refill();
        b.Refill();
        for (int k = 0; k < lookups; ++k) {
            outA = lookUp(a, outA);
            outB = lookUp(b, outB);
        }
    }
    first = {a, outA};
    second = {b, outB};
    span.marks = m;
}

// The first chain, one byte at a time until it stands where a round of the second began;
// then the second's bytes from there join the output and `bit` is where the second stopped.
// False when that never happens within the span (the second chain's work is then lost, not
// wrong); `bit` is then where the first stands.
bool JoinChains(const CodeTables& c, const std::uint8_t* bytes, const Chain& first, const Chain& second,
                const Span& span, const DecodeTables& t, std::size_t& bit, char*& out, const char* outEnd) {
    BitReader r = first.reader;
    char* o = first.out;
    std::size_t at = r.Bit(bytes);
    std::size_t m = 0;
    bool joined = false;
    while (o < outEnd) {
        r.Refill();
        // Four codes of at most 12 bits fit the 56 bits of a refill.
        for (int k = 0; k < 4 && o < outEnd; ++k) {
            while (m < span.marks && t.spanMarkAt[m] < at) ++m;
            if (m == span.marks) goto done;
            if (t.spanMarkAt[m] == at) {
                const std::size_t take = std::min<std::size_t>(second.out - t.spanMarkOut[m], outEnd - o);
                std::memcpy(o, t.spanMarkOut[m], take);
                o += take;
                at = second.reader.Bit(bytes);
                joined = true;
                goto done;
            }
            const unsigned e = c.First(r.buffer);
            *o++ = static_cast<char>(e >> 8);
            r.Take(e);
            at += e & 0xFF;
        }
    }
done:
    bit = at;
    out = o;
    return joined || o >= outEnd;
}

// Rounds of look-ups from `bit` while they start before `roundEnd`: the caller makes sure that
// no such round reaches past the data or, reading on, past `end`.
template <class LookUp>
void DecodeBulk(const LookUp& lookUp, const std::uint8_t* bytes, const std::uint8_t* end, std::size_t roundEnd,
                std::size_t& bit, char*& out, const char* outEnd, DecodeTables& t) {
    while (out < outEnd && bit < roundEnd) {
        const std::size_t half = std::min((roundEnd - bit) / 2, kSpanBits);
        if (half < kMinSpanBits) break;
        Span span{bit + half, bit + 2 * half, 0};
        Chain a{BitReader(bytes, bit), out}, b{BitReader(bytes, span.start), t.spanOut};
        TwoChains(lookUp, a, b, span, bytes, end, outEnd, t);
        Rounds(lookUp, a, span.start, bytes, end, outEnd);
        if (a.out >= outEnd) {
            out = a.out;
            bit = a.reader.Bit(bytes);
            return;
        }
        if (!JoinChains(lookUp.c, bytes, a, b, span, t, bit, out, outEnd)) break;
    }
    if (out < outEnd && bit < roundEnd) {
        Chain a{BitReader(bytes, bit), out};
        Rounds(lookUp, a, roundEnd, bytes, end, outEnd);
        bit = a.reader.Bit(bytes);
        out = a.out;
    }
}

// The last bits, each code checked against the data end; false when the data end inside one.
template <class LookUp>
bool DecodeTail(const LookUp& lookUp, const std::uint8_t* bytes, std::size_t size, std::size_t& bit, char*& out,
                const char* outEnd, DecodeTables& t) {
    const CodeTables& c = lookUp.c;
    constexpr std::size_t kCopied = 64;
    const std::size_t from = bit >> 3;
    if (size - from <= kCopied) {  // always, after the bulk
        // The last bytes, copied with 0 bytes after them so that look-ups may read on.
        std::uint8_t copy[kCopied + kRoundBytes + 8] = {};
        std::memcpy(copy, bytes + from, size - from);
        const std::size_t endBit = (size - from) * 8;
        // Whole rounds while a round cannot reach past the data, then one look-up at a time.
        std::size_t at = bit - from * 8;
        if (endBit >= LookUp::kRoundMostBits) {
            DecodeBulk(lookUp, copy, copy + sizeof copy, endBit - LookUp::kRoundMostBits + 1, at, out, outEnd, t);
        }
        BitReader r(copy, at);
        char* o = out;
        bool whole = true;
        while (whole && o < outEnd) {
            r.Refill();
            // Four look-ups of at most 12 bits each fit the 56 bits of a refill.
            for (int k = 0; k < 4 && o < outEnd; ++k) {
                if constexpr (LookUp::kManyBytes) {
                    const std::size_t i = lookUp.Index(r.buffer);
                    const unsigned e = c.t->info[i];
                    if (e != 0 && at + (e & 63) <= endBit) {
                        lookUp.Store(o, i);
                        o += e >> 8;
                        r.Take(e);
                        at += e & 63;
                        continue;
                    }
                }
                const unsigned e = c.First(r.buffer);
                if (at + (e & 0xFF) > endBit) {
                    whole = false;
                    break;
                }
                *o++ = static_cast<char>(e >> 8);
                r.Take(e);
                at += e & 0xFF;
            }
        }
        bit = at + from * 8;
        out = o;
        return whole;
    }
    const std::size_t endBit = size * 8;
    while (out < outEnd) {
        const unsigned e = c.First(BitsFrom(bytes, size, bit));
        if (bit + (e & 0xFF) > endBit) return false;
        *out++ = static_cast<char>(e >> 8);
        bit += e & 0xFF;
    }
    return true;
}

// A complete prefix code: its bulk by the chosen table, then the tail.
bool DecodeComplete(const CodeTables& c, bool manyBytes, const std::uint8_t* bytes, std::size_t size,
                    std::size_t& bit, char*& out, const char* outEnd, DecodeTables& t) {
    bool whole = false;
    auto bulk = [&](auto lookUp) {
        // The stream itself while a round stays kRoundBytes short of its end; the rest from a copy.
        const std::size_t roundEnd = size >= kRoundBytes + 7 ? (size - kRoundBytes - 7) * 8 : 0;
        DecodeBulk(lookUp, bytes, bytes + size, roundEnd, bit, out, outEnd, t);
        whole = DecodeTail(lookUp, bytes, size, bit, out, outEnd, t);
    };
    // The K of the tables the chooser picks, as constants; any other (tests) as a variable.
    if (manyBytes) {
        switch (c.bits) {
            case 7: bulk(ManyBytesLookUp<7, std::uint64_t>{c}); break;
            case 8: bulk(ManyBytesLookUp<8, std::uint64_t>{c}); break;
            case 10: bulk(ManyBytesLookUp<10, WideEntry>{c}); break;
            case 11: bulk(ManyBytesLookUp<11, WideEntry>{c}); break;
            case 12: bulk(ManyBytesLookUp<12, WideEntry>{c}); break;
            default:
                if (c.bits > kNarrowBits) {
                    bulk(ManyBytesLookUp<0, WideEntry>{c});
                } else {
                    bulk(ManyBytesLookUp<0, std::uint64_t>{c});
                }
                break;
        }
    } else if (c.subBits > 0) {
        if (c.bits == 8) {
            bulk(FirstCodeLookUp<8, true>{c});
        } else {
            bulk(FirstCodeLookUp<0, true>{c});
        }
    } else {
        switch (c.bits) {
            case 5: bulk(FirstCodeLookUp<5, false>{c}); break;
            case 6: bulk(FirstCodeLookUp<6, false>{c}); break;
            case 7: bulk(FirstCodeLookUp<7, false>{c}); break;
            case 8: bulk(FirstCodeLookUp<8, false>{c}); break;
            case 9: bulk(FirstCodeLookUp<9, false>{c}); break;
            case 10: bulk(FirstCodeLookUp<10, false>{c}); break;
            default: bulk(FirstCodeLookUp<0, false>{c}); break;
        }
    }
    return whole;
}

// Any other code, with the tree the walk builds: many-bytes look-ups where the table has an
// entry, the walk everywhere else and at the end of the data.
template <class Entry>
bool DecodeWithTree(const CodeTree& tree, const DecodeTables* t, unsigned bits, const std::uint8_t* bytes,
                    std::size_t size, std::size_t& bit, char* out, std::size_t& produced, std::size_t length) {
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    while (produced < length) {
        if (t) {
            const Entry* entries = Entries<Entry>(*t) + (std::size_t{1} << bits);
            const std::uint16_t* info = t->info + (std::size_t{1} << bits);
            while (produced < length && (bit >> 3) + 8 <= size) {
                const std::uint64_t window = Load64(bytes + (bit >> 3)) >> (bit & 7);
                const std::size_t i = window & mask;
                const unsigned e = info[i];
                if (e == 0) break;
                StoreEntry(out + produced, entries[i]);
                produced += e >> 8;
                bit += e & 63;
            }
            if (produced >= length) break;
        }
        std::uint8_t v;
        if (!WalkOne(tree, bytes, size * 8, bit, v)) return false;
        out[produced++] = static_cast<char>(v);
    }
    return true;
}

struct Plan {
    unsigned bits = 0;  // K; 0: no table, the walk decodes every byte
    bool manyBytes = false;
};

// A complete prefix code (the code lengths fill the code space exactly) of at most 12 bits:
// the tables alone decode it.
bool TablesAlone(const ParsedStream& p) { return p.space == 1u << kMaxTableBits; }

// Which table, and how large. Rough costs in nanoseconds, measured on the maps: a look-up
// about 1.7 whatever it yields (two chains side by side); an entry of the first-code table 0.1
// to build, one of the many-bytes table 0.6 (two words: 1.2), and it has two per top entry; a
// code longer than the table 5 more. The code lengths tell what a look-up yields: a code of
// length l stands for about 2^-l of the data.
Plan ChoosePlan(const ParsedStream& p, std::size_t outputBytes, bool fast) {
    const double n = static_cast<double>(outputBytes);
    if (fast) {
        // One byte per look-up unless the stream is long enough for the many-bytes table to
        // pay for itself.
        Plan best{p.longest, false};
        const double meanLength = static_cast<double>(p.weightedSpace) / (1u << kMaxTableBits);
        // What an 8-bit many-bytes table would save at best, against its building: most
        // streams end here.
        if (n * 1.7 * (1 - meanLength / (8 - meanLength / 2)) < 0.6 * (2 << 8)) return best;
        double bestCost = 0.1 * (1u << p.longest) + n * 1.7;
        std::uint32_t histogram[kMaxTableBits + 1] = {};
        ForEachCode(p, [&](unsigned, unsigned length) { ++histogram[length]; });
        double longShare = 1;  // the part of the data whose codes do not fit the table
        for (unsigned k = 1; k <= kMaxTableBits; ++k) {
            longShare -= histogram[k] / static_cast<double>(1u << k);
            if (k < 6) continue;
            const double perLookup = std::max((k - meanLength / 2) / meanLength, 1.0);
            const double build = (k <= kNarrowBits ? 0.6 : 1.2) * (2u << k) + 0.1 * (1u << k);
            const double cost = build + n * (1 - longShare) * 1.7 / perLookup + n * longShare * 6.7;
            if (cost < bestCost) {
                bestCost = cost;
                best = {k, true};
            }
        }
        return best;
    }
    // Codes the walk settles: the tables only as far as they save walking. Uncommon (damaged
    // or very skewed streams), so the estimate is coarser.
    double share[14] = {}, kraft = 0, meanLength = 0;
    ForEachCode(p, [&](unsigned, unsigned length) {
        share[std::min(length, 13u)] += 1.0 / std::ldexp(1.0, static_cast<int>(length));
    });
    for (int l = 1; l <= 13; ++l) {
        kraft += share[l];
        meanLength += share[l] * l;
    }
    if (kraft <= 0) return {};
    meanLength /= kraft;
    const double walkPerByte = meanLength * 2.5;
    Plan best;
    double bestCost = n * walkPerByte;
    double longShare = 1;
    for (unsigned k = 1; k <= kMaxTableBits; ++k) {
        longShare -= share[k] / kraft;
        const double perLookup = std::max((k - meanLength / 2) / meanLength, 1.0);
        const double build = (k <= kNarrowBits ? 0.6 : 1.2) * (2u << k);
        const double cost = 100 + build + n * ((1 - longShare) * 3 / perLookup + longShare * (walkPerByte + 10));
        if (cost < bestCost) {
            bestCost = cost;
            best = {k, true};
        }
    }
    return best;
}

// `tableBits` 0: chosen from the stream; `manyBytes` then chosen too.
DecodedStream DecodeWithTables(std::string_view s, ParsedStream& p, int tableBits, bool manyBytes) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
    const std::size_t size = s.size();
    const std::size_t length = static_cast<std::size_t>(p.length);
    const std::size_t cap = OutputBound(s, p);

    bool fast = TablesAlone(p);
    Plan plan = tableBits > 0 ? Plan{static_cast<unsigned>(tableBits), manyBytes} : ChoosePlan(p, cap, fast);
    DecodeTables& t = Tables();
    // Each byte value has one code at most, so 256 leaves at most.
    Leaf leaves[256];
    int count = 0;
    if (fast) {
        if (plan.bits == 0) plan = {p.longest, false};
        // A first-code table wider than the longest code would only repeat itself.
        if (!plan.manyBytes) plan.bits = std::min(plan.bits, p.longest);
        fast = FillFirstCodes(bytes, size, p, plan.bits, p.longest > plan.bits ? p.longest - plan.bits : 0, t,
                              plan.manyBytes ? leaves : nullptr, count);
    }
    if (!fast) {
        if (!BuildTree(bytes, p)) return {StreamStatus::Corrupt, {}};
        count = 0;
        if (plan.bits > 0) CollectLeaves(p.tree, 0, 0, 0, plan.bits, leaves, count);
        // Without the many bytes a first-code table would only ever hand over to the walk.
        plan.manyBytes = true;
    }
    const bool wide = plan.bits > kNarrowBits;
    if (plan.bits > 0 && plan.manyBytes) {
        if (wide) {
            BuildManyBytes<WideEntry>(leaves, count, plan.bits, t);
        } else {
            BuildManyBytes<std::uint64_t>(leaves, count, plan.bits, t);
        }
    }

    std::string out;
    out.resize(cap + kOutputSlack);
    std::size_t bit = p.dataStart * 8;
    bool whole;
    std::size_t produced = 0;
    if (fast) {
        char* o = out.data();
        // The output stops at `cap`: short of the length only when every data bit is a code
        // of one bit, and then the walk runs out of bits for the next byte.
        whole = DecodeComplete(CodeTables(t, plan.bits, p.longest), plan.manyBytes, bytes, size, bit, o,
                               out.data() + cap, t);
        produced = static_cast<std::size_t>(o - out.data());
        whole = whole && produced >= length;
    } else {
        const DecodeTables* tables = plan.bits > 0 ? &t : nullptr;
        whole = wide ? DecodeWithTree<WideEntry>(p.tree, tables, plan.bits, bytes, size, bit, out.data(), produced, length)
                     : DecodeWithTree<std::uint64_t>(p.tree, tables, plan.bits, bytes, size, bit, out.data(), produced,
                                                     length);
    }
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
    if (!BuildTree(bytes, p)) return {StreamStatus::Corrupt, {}};
    std::string out;
    out.reserve(OutputBound(s, p));
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
    for (std::size_t at = 0; at < s.size(); at += 64) __builtin_prefetch(s.data() + at);
    ParsedStream p;
    DecodedStream early;
    if (!Prepare(s, p, early)) return early;
    return DecodeWithTables(s, p, 0, false);
}

DecodedStream HuffmanDecode(std::string_view s, int tableBits, bool manyBytesPerLookUp) {
    ParsedStream p;
    DecodedStream early;
    if (!Prepare(s, p, early)) return early;
    return DecodeWithTables(s, p, std::clamp(tableBits, 1, kMaxTableBits), manyBytesPerLookUp);
}

}  // namespace morvath
