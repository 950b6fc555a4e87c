// The compressed streams (the table-driven decoder checked against the plain tree walk), the
// map archive reader and the packer that builds data/maps into it; the cipher of the hall
// of fame and of the files it protects.
#include <algorithm>
#include <cstdint>

#include "platform/source_text.h"
#include "services/compression.h"
#include "services/crypto.h"
#include "services/file_cipher.h"
#include "services/huffman.h"
#include "services/map_archive.h"
#include "test_support.h"

using namespace morvath;

namespace {

const std::wstring kIntegrity = L": File is corrupt (integrity check failed)";
const std::wstring kNoId = L": File is either not compressed or corrupt (ID not found)";

std::string Encode(std::string_view data) {
    clsCompresion c;
    std::vector<std::uint8_t> v(data.begin(), data.end());
    c.EncodeByte(v, static_cast<std::int32_t>(v.size()));
    return {v.begin(), v.end()};
}

// Decodes the first `length` bytes (all when negative) through the object, as the game does:
// what comes out and what was reported.
std::pair<std::string, std::wstring> Decode(std::string_view stream, int length = -1) {
    clsCompresion c;
    std::vector<std::uint8_t> v(stream.begin(), stream.end());
    c.DecodeByte(v, length < 0 ? static_cast<std::int32_t>(v.size()) : length);
    return {{v.begin(), v.end()}, c.Errors};
}

std::string Le(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

// "xxxyz", written out by hand from the stream layout. The tie rule of the merge makes
// x = 0, z = 10, y = 11 (z, met later with the same weight as y, displaces the heavier x).
// Code bits x:0 y:1,1 z:1,0 from the low bit up; data bits 0,0,0,1,1,1,0 and one padding bit.
const std::string kHandStream = std::string("HE3\r") + "\x7B" + Le(5, 4) + Le(3, 2) + "\x78\x01" "\x79\x02" "\x7A\x02" + "\x0E" "\x38";

std::string RandomBytes(std::size_t n, int distinct = 256) {
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(RandomInt(0, distinct));
    return s;
}

// An archive framed by hand from the layout (names in cp1251), so the reader is not checked against our writer.
std::string RawArchive(const std::vector<std::pair<std::string, std::string>>& entries, int count = -1) {
    std::string out = Le(static_cast<std::uint32_t>(count < 0 ? static_cast<int>(entries.size()) : count), 2);
    for (const auto& [name, stream] : entries) out += static_cast<char>(name.size()) + name + Le(static_cast<std::uint32_t>(stream.size()), 4) + stream;
    return out;
}

// Counts growing as the Fibonacci numbers give the deepest code there is: `values` - 1 bits.
std::string Skewed(int values) {
    std::string s;
    for (std::uint32_t v = 0, a = 1, b = 1; v < static_cast<std::uint32_t>(values); ++v, b += a, a = b - a) s.append(a, static_cast<char>(v * 7));
    for (std::size_t i = s.size() - 1; i > 0; --i) std::swap(s[i], s[static_cast<std::size_t>(RandomInt(0, static_cast<int>(i) + 1))]);
    return s;
}

// A coded stream written by hand: any code lengths (up to the 255 a byte can state), codes and
// data bits at random, so overlapping, incomplete and over-full code tables all occur.
std::string Forged(int codes, int maxLength, int dataBytes) {
    std::string s = std::string("HE3\r") + static_cast<char>(RandomInt(0, 256)) + Le(static_cast<std::uint32_t>(RandomInt(1, 8 * dataBytes + 2)), 4) +
                    Le(static_cast<std::uint32_t>(codes), 2);
    int bits = 0;
    for (int i = 0, length = 0; i < codes; ++i, bits += length) s += std::string{static_cast<char>(RandomInt(0, 256)), static_cast<char>(length = RandomInt(1, maxLength + 1))};
    return s + RandomBytes((bits + 7) / 8 + dataBytes, 256);
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
    {Whole, [] { return HuffmanEncode(RandomBytes(RandomInt(1, 3000), RandomInt(100, 250))); }},
    {Whole, [] { return HuffmanEncode(RandomBytes(RandomInt(2, 3000), 2)); }},
    {Whole, [] { return HuffmanEncode(RandomBytes(RandomInt(2, 5000), RandomInt(3, 12))); }},
    {Whole, [] { return HuffmanEncode(RandomBytes(RandomInt(10, 20000), RandomInt(3, 6))); }},
    {Whole, [] { return HuffmanEncode(Skewed(RandomInt(10, 32))); }},  // codes of 9 to 30 bits
    {Forge, [] { return Forged(RandomInt(1, 40), 8, RandomInt(1, 200)); }},
    {Forge, [] { return Forged(RandomInt(1, 257), 255, RandomInt(1, 100)); }},
    {Damage, [] { return HuffmanEncode(RandomBytes(RandomInt(10, 20000), RandomInt(3, 6))); }},
    {Damage, [] { return HuffmanEncode(Skewed(RandomInt(10, 24))); }},
    {Damage, [] { return HuffmanEncode(RandomBytes(RandomInt(1, 3000), 256)); }},
    {Cut, [] { return HuffmanEncode(RandomBytes(RandomInt(10, 5000), 20)); }},
    {Cut, [] { return HuffmanEncode(RandomBytes(RandomInt(2, 2000), RandomInt(2, 9))); }},
};

std::string Hex(std::string_view bytes) {
    std::string s;
    for (unsigned char b : bytes) s += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
    return s;
}

// Without the envelope, the text is enciphered as a stranger's file would be.
std::string Encipher(std::string_view plain, bool envelope = true) {
    clsCrypto c;
    c.InBuffer(plain);
    c.Password(kFilePassPhrase);
    EXPECT_TRUE((!envelope || c.HashFile()) && c.GeneratePasswordKey() && (envelope ? c.EncryptFileData() && c.DestroySessionKey() : c.EncryptMessageData()));
    return c.OutBuffer();
}

std::pair<bool, std::string> Decipher(std::string_view cipher, std::wstring_view pass = kFilePassPhrase) {
    clsCrypto c;
    c.InBuffer(cipher);
    c.Password(pass);
    EXPECT_TRUE(c.GeneratePasswordKey());
    const bool ok = c.DecryptFileData();
    return {ok, c.OutBuffer()};
}

const std::wstring kCorrupted = L"MsgBox|Morvath|File has been corrupted since original encryption.";
const std::string kRecord = "\"Ivan\",0,12,3,\" was killed\",\"\"\r\n";

}  // namespace

TEST(HuffmanStream, KnownInputsEncodeToKnownStreamsAndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    // Whatever the counts, the lower byte is the first leaf, and the first pick is the 0 child.
    const std::pair<std::string, std::string> cases[] = {
        {"", "HE0\r"}, {"G", "HE0\rG"}, {std::string(1000, 'G'), "HE0\r" + std::string(1000, 'G')},
        {"bbbba", std::string("HE3\r") + "a" + Le(5, 4) + Le(2, 2) + "a\x01" "b\x01" + "\x02" + "\x0F"},
        {"aaaab", std::string("HE3\r") + "b" + Le(5, 4) + Le(2, 2) + "a\x01" "b\x01" + "\x02" + "\x10"},
        {"xxxyz", kHandStream},
        // A later node as heavy as the heavier of the two lightest does not displace it: a = 10, b = 11, c = 0.
        {"abbcc", std::string("HE3\r") + "a" + Le(5, 4) + Le(3, 2) + "a\x02" "b\x02" "c\x01" + "\x0D" + "\x3D"},
    };
    for (const auto& [data, stream] : cases) EXPECT_EQ(std::tuple(Encode(data), Decode(stream)), std::tuple(stream, std::pair(data, std::wstring()))) << data;
    // Every value once: eight bits each, so the stream stays coded although the code table
    // makes it longer than the input. Only the given length is encoded; the checksum takes every byte of whole words.
    const std::string s = Encode(all);
    clsCompresion z;
    std::vector<std::uint8_t> v{'a', 'a', 'b', 'b', 'b', '-', 'u'};
    z.EncodeByte(v, 5);
    EXPECT_EQ(std::tuple(s.substr(0, 4), s.size(), Decode(s).first, Decode(std::string(v.begin(), v.end())).first, HuffmanEncode("GGGGaaaaBBBB\r\nGG")[4]),
              std::tuple("HE3\r", 11u + 4 * 256, all, "aabbb", '\x07'));
}

TEST(HuffmanStream, WhatTheDecoderTakesLeavesAndReports) {
    auto with = [](std::size_t at, std::string_view part) { return std::string(kHandStream).replace(at, part.size(), part); };
    const std::string header = std::string("HE3\r") + "\x7B" + Le(5, 4);
    std::string manyLongCodes = std::string("HE3\r") + '\0' + Le(1, 4) + Le(256, 2);
    for (int v = 0; v < 256; ++v) manyLongCodes += std::string(1, static_cast<char>(v)) + "\xFF";
    manyLongCodes += std::string(256 * 255 / 8, '\x55') + "\x01";
    struct Case { const char* what; std::string stream; int length; std::string decoded; std::wstring errors; };
    const Case cases[] = {
        // A 1 in the padding would begin another y or z; bytes beyond the data bits are never read.
        {"padding bits", with(kHandStream.size() - 1, "\xB8"), -1, "xxxyz", L""},
        {"trailing bytes", kHandStream + "\xFF\xFF", -1, "xxxyz", L""},
        {"wrong checksum", with(4, std::string(1, '\0')), -1, "xxxyz", kIntegrity},
        {"no HE mark: the kind is not looked at", with(0, "Q").replace(2, 1, "7"), -1, "xxxyz", L""},
        {"a coded stream of no bytes is left", with(5, Le(0, 4)), -1, with(5, Le(0, 4)), L""},
        {"unknown kind, bytes beyond the length too", "HE7\rsomething", 6, "HE7\rsomething", kNoId},
        {"only the first bytes", "HE0\rabcdef", 7, "abc", L""},
        {"shorter than a header", "HE3\r\x7B", -1, "", kIntegrity},
        {"three bytes", "HE0", -1, "", kIntegrity},
        {"negative length", header.substr(0, 5) + Le(0xFFFFFFFB, 4) + kHandStream.substr(9), -1, "", kIntegrity},
        {"too many codes", header + Le(257, 2) + std::string(600, '\x01'), -1, "", kIntegrity},
        {"negative count of codes", header + Le(0xFFFF, 2), -1, "", kIntegrity},
        {"pairs cut short", header + Le(3, 2) + "\x78\x01\x79", -1, "", kIntegrity},
        {"code bits cut short", header + Le(3, 2) + "\x78\x01\x79\x02\x7A\xFF", -1, "", kIntegrity},
        {"a value twice", header + Le(2, 2) + "x\x01" "x\x01" + "\x02" + "\x01", -1, "", kIntegrity},
        {"tree beyond 512 nodes", manyLongCodes, -1, "", kIntegrity},
        {"data bits cut short", kHandStream.substr(0, kHandStream.size() - 1), -1, "", kIntegrity},
        {"no codes at all", header + Le(0, 2) + "\xFF", -1, "", kIntegrity},
        // Only x has a code (0); the 1 bit after two x leads nowhere.
        {"bit leading nowhere", header + Le(1, 2) + "x\x01" + std::string(1, '\0') + "\x04", -1, "xx", kIntegrity},
        {"length beyond the data", header.substr(0, 5) + Le(0x7FFFFFFF, 4) + kHandStream.substr(9), -1, "xxxyzx", kIntegrity},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.stream, c.length), std::pair(c.decoded, c.errors)) << c.what;
        EXPECT_TRUE(TablesDecodeAsTheWalk(c.stream)) << c.what;
    }
}

TEST(HuffmanStream, RoundTripsOfManySizesAndAlphabets) {
    SeedRandom(101);
    for (std::size_t n : {1u, 2u, 3u, 7u, 8u, 9u, 31u, 255u, 256u, 4097u, 65536u, 200000u}) {
        for (int distinct : {2, 3, 17, 256}) {
            const std::string data = RandomBytes(n, distinct), s = Encode(data);
            const DecodedStream walk = HuffmanDecodeTreeWalk(s);
            ASSERT_EQ(std::tuple(Decode(s), walk.status, walk.data), std::tuple(std::pair(data, std::wstring()), StreamStatus::Decoded, data)) << n << " of " << distinct;
        }
    }
}

TEST(HuffmanStream, TableDecoderMatchesTheWalkOnEveryShape) {
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
        EXPECT_TRUE(harm != Whole || decoded == 16) << &make - &kShapes[0].second;
    }
}

// Streams written by hand, with what the walk makes of them.
TEST(HuffmanStream, HandWrittenStreamsDecodeAsTheWalkFindsThem) {
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

TEST(HuffmanStream, StringsGoThroughTheCodePage) {
    clsCompresion c;
    const std::wstring text = L"Вы не умеете читать! GGGGaaaa", coded = c.EncodeString(text);
    EXPECT_EQ(std::tuple(coded.substr(0, 4), c.DecodeString(coded), c.DecodeString(L"HE0\rЯ"), c.Errors), std::tuple(L"HE3\r", text, L"Я", L""));
}

TEST(Compressor, FileNamesAndEncodingFiles) {
    const std::pair<const wchar_t*, const wchar_t*> names[] = {{L"C:\\game\\maps\\data.uni", L"data.uni"}, {L"/tmp/game/saved/vira.map", L"vira.map"}, {L"plain", L"plain"}, {L"dir\\", L""}};
    for (const auto& [path, name] : names) EXPECT_EQ(clsCompresion::Simplificate(path), name);
    // Each call appends a stream.
    TempDir dir;
    clsCompresion c;
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "empty.txt", "") && WriteFileAtomic(dir.path() / "a.txt", "xxxyz"));
    for (const char* name : {"none.txt", "empty.txt", "a.txt", "a.txt"}) c.EncodeFile(dir.path() / name, dir.path() / "out.bin");
    EXPECT_EQ(std::tuple(c.Errors, ReadBytes(dir.path() / "out.bin"), clsCompresion::FileExist(dir.path())),
              std::tuple(L"none.txt: File not found\r\nempty.txt: File empty", kHandStream + kHandStream, false));
}

class Archive : public ::testing::Test {
protected:
    fs::path out() const { return dir.path() / "saved"; }
    std::wstring Extract(const std::string& bytes) {
        EXPECT_TRUE(WriteFileAtomic(dir.path() / "data.uni", bytes));
        return c.ExtractAll(dir.path() / "data.uni", out());
    }
    std::optional<std::string> Saved(const std::string& name) const { return ReadBytes(out() / name); }

    TempDir dir;
    clsCompresion c;
};

TEST_F(Archive, EmptyArchivesAndEntriesAndFilesReplacedWhateverTheirCase) {
    EXPECT_EQ(Extract(RawArchive({})), L"");
    ASSERT_TRUE(WriteFileAtomic(out() / "old.itm", "left from before") && WriteFileAtomic(out() / "A1.MAP", "old"));
    ASSERT_TRUE(WriteFileAtomic(out() / "vira.map", std::string(10000, 'Z')));
    EXPECT_EQ(Extract(RawArchive({{"old.itm", ""}, {EncodeCp1251(L"тест.itm"), ""}, {"vira.map", kHandStream}, {"a1.map", "HE0\rnew"}})), L"");
    EXPECT_EQ(std::tuple(Saved("old.itm"), Saved(ToUtf8(L"тест.itm")), Saved("vira.map"), Saved("A1.MAP"), std::distance(fs::directory_iterator(out()), {})),
              std::tuple("", "", "xxxyz", "new", 4));
}

TEST_F(Archive, BrokenEntriesAreWrittenReportedAndTheRestGoesOn) {
    std::string cut = Encode(RandomBytes(3000, 40));
    cut.resize(cut.size() / 2);
    EXPECT_EQ(Extract(RawArchive({{"sum.map", std::string(kHandStream).replace(4, 1, 1, '\0')}, {"odd.map", "HE9\rraw"}, {"cut.map", cut}, {"ok.map", kHandStream}})),
              L"sum.map" + kIntegrity + L"\r\nodd.map" + kNoId + L"\r\ncut.map" + kIntegrity);
    // A stream of unknown kind is written raw.
    EXPECT_EQ(std::tuple(Saved("sum.map"), Saved("odd.map"), Saved("cut.map")->size(), Saved("ok.map")),
              std::tuple("xxxyz", "HE9\rraw", HuffmanDecodeTreeWalk(cut).data.size(), "xxxyz"));
    // A new extraction starts a new list.
    EXPECT_EQ(Extract(RawArchive({{"ok.map", kHandStream}})), L"");
}

TEST_F(Archive, NamesThatCouldLeaveTheFolderAreRefused) {
    // Which names may be written is the file layer's rule; a refused one is shown without its control characters.
    EXPECT_EQ(Extract(RawArchive({{"../evil.map", "HE0\rbad"}, {"sub\\x.map", "HE0\rbad"}, {"a\x01" "b\x7F", "HE0\rbad"}, {"good.map", "HE0\rgood"}})),
              L"../evil.map: bad entry name\r\nsub\\x.map: bad entry name\r\na?b?: bad entry name");
    EXPECT_EQ(std::tuple(Saved("good.map"), std::distance(fs::recursive_directory_iterator(dir.path()), {})), std::tuple("good", 3));  // and the archive and its folder
}

TEST_F(Archive, MissingOrTruncatedArchiveIsReported) {
    EXPECT_EQ(c.ExtractAll(dir.path() / "maps" / "data.uni", out()) + c.ExtractAll(out(), out()), L"data.uni: File not foundsaved: File not found");
    const std::wstring broken = L"data.uni" + kIntegrity;
    const std::string whole = RawArchive({{"a.map", "HE0\ra"}, {"b.map", kHandStream}});
    // Cut anywhere in the second entry: the first is still unpacked, then the reading stops.
    for (std::size_t cut = 2 + 1 + 5 + 4 + 5 + 1; cut < whole.size(); ++cut) {
        fs::remove(out() / "a.map");
        EXPECT_EQ(Extract(whole.substr(0, cut)), broken);
        EXPECT_EQ(std::tuple(Saved("a.map"), Saved("b.map").has_value()), std::tuple("a", false)) << cut;
    }
    const std::pair<std::string, std::wstring> cases[] = {
        {"", broken}, {"\x01", broken},
        {RawArchive({{"a.map", "HE0\ra"}}, 2), broken},  // count beyond the entries
        {Le(1, 2) + "\x05" "a.map" + Le(0xFFFFFFF0, 4) + std::string(40, 'x'), broken},
        {RawArchive({{"a.map", "HE0\ra"}}) + "junk", L""},  // bytes after the last entry are not read
        {Le(0xFFFF, 2), broken},  // a negative count is a damaged header, not an empty archive
    };
    for (const auto& [bytes, errors] : cases) EXPECT_EQ(Extract(bytes), errors) << bytes.size();
}

TEST(SourceText, BecomesCp1251WithCrlf) {
    wchar_t bad = L'x', bad2 = L'x';
    const std::string good = SourceTextToGame("G\xD0\x90\nb\r\nc", &bad), snow = SourceTextToGame("a\xE2\x98\x83", &bad2);
    EXPECT_EQ(std::tuple(good, bad, snow, bad2, IsSourceTextFile("x/vira.map"), IsSourceTextFile("x/data.UNI")), std::tuple("G\xC0\r\nb\r\nc", L'\0', "a?", L'\u2603', true, false));
}

TEST_F(Archive, PackerRefusesWhatTheArchiveCannotHold) {
    EXPECT_EQ(PackMapFolder(dir.path() / "none", nullptr), Le(0, 2));
    const fs::path src = dir.path() / "src";
    const std::pair<const char*, const char*> files[] = {{"ok.map", "GG\n"}, {"a.lst", "\"\xD0\xAF\"\n"}, {"b.bmp", "x\n"}, {".keep", ""}};
    for (auto [name, text] : files) ASSERT_TRUE(WriteFileAtomic(src / name, text));
    // Text converted, pictures as they are, in name order so the build does not churn the archive.
    EXPECT_EQ(PackMapFolder(src, nullptr), RawArchive({{"a.lst", Encode("\"\xDF\"\r\n")}, {"b.bmp", Encode("x\n")}, {"ok.map", Encode("GG\r\n")}}));
    // A name outside the code page, a folder, text outside the code page; a name longer than its one length byte holds.
    std::vector<std::string> problems;
    ASSERT_TRUE(WriteFileAtomic(src / "snow\xE2\x98\x83.map", "G\n") && WriteFileAtomic(src / "text.map", "\xE2\x98\x83\n"));
    fs::create_directories(src / "inner");
    EXPECT_EQ(std::tuple(PackMapFolder(src, &problems).has_value(), WriteMapArchive({{std::wstring(256, L'n'), "G"}}, &problems).has_value(),
                         WriteMapArchive({{std::wstring(255, L'n'), "G"}}, &problems).has_value()),
              std::tuple(false, false, true));
    EXPECT_EQ(problems.size(), 4u);
}

TEST(GameFolder, MapArchiveHoldsTheMapSources) {
    const auto shipped = ReadBytes(fs::path(MORVATH_GAME_DIR) / "maps" / "data.uni");
    ASSERT_TRUE(shipped);
    EXPECT_EQ(shipped, PackMapFolder(fs::path(MORVATH_TEST_DATA) / ".." / ".." / "data" / "maps", nullptr));
}

// The platform provider's own conformance vector: a 40-bit key from an MD2 hash, salted with
// zeros to 16 bytes. Without the salt or with other effective bits the output differs, so
// this pins the parameters that make files from the original platform readable.
TEST(Cipher, ReproducesTheBaseProvidersCheckVector) {
    // The MD2 digest of the bytes 0, 1, ... 1999 taken modulo 256.
    const std::string key = crypto_detail::DeriveRc2Key("\xd5\xe1\xa7\xe9\xac\x38\xc1\x27\xf7\x73\x1d\xba\x81\x16\x98\xe0");
    const std::string plain("\0\1\2\3\4\5\6\7\10\11\12\13\14", 13);
    const auto out = crypto_detail::Rc2(key, plain, true).value_or("");
    EXPECT_EQ(std::pair(Hex(out), crypto_detail::Rc2(key, out, false)), std::pair(std::string("c09ae42f0a476711fb1887ce0c7507b1"), std::optional(plain)));
}

// A file written today must stay readable by every later build: any change to the key
// derivation, the envelope or the padding shows here. "16", the 16 digest bytes and the text, padded to whole blocks.
TEST(Cipher, EnvelopeOfAKnownTextIsStableAndTextsOfAnySizeRoundTrip) {
    ScriptedFrontend ui;
    EXPECT_EQ(Hex(Encipher(kRecord)), "3c302a140185868cea8db4935258c4fa5f0b08011b955d4a11e583f0fc03d11afa8c7a598ae56a1c0230fc96c3d64fece2d27e4fe7538f7a");
    SeedRandom(7);
    for (const std::string& plain : {std::string(), RandomBytes(40 * 1024 + 3)}) {
        const std::string cipher = Encipher(plain);
        EXPECT_EQ(std::tuple(cipher.size(), cipher.find(plain.substr(0, 64)) == std::string::npos || plain.empty(), Decipher(cipher)),
                  std::tuple((plain.size() + 18) / 8 * 8 + 8, true, std::pair(true, plain)));
    }
    EXPECT_TRUE(ui.log.empty());
}

// Any changed byte, a cut text or a wrong pass phrase: one box, and no plain text comes back.
TEST(Cipher, DamageOrAWrongPassPhraseFailsCleanly) {
    const std::string cipher = Encipher(kRecord);
    const std::wstring pass(kFilePassPhrase);
    std::vector<std::pair<std::string, std::wstring>> cases = {
        {cipher.substr(0, cipher.size() - 1), pass}, {cipher.substr(0, 8), pass}, {"", pass}, {cipher, L"Black Rain"},
        {cipher, L""}, {cipher, L"Чёрный Дождь"}, {cipher, pass.substr(0, 104) + L"!"}};
    for (std::size_t pos : {std::size_t{0}, std::size_t{17}, std::size_t{30}, cipher.size() - 9, cipher.size() - 1}) {
        for (int flip : {0x01, 0x80}) cases.push_back({cipher, pass}), cases.back().first[pos] ^= static_cast<char>(flip);
    }
    for (const auto& [text, phrase] : cases) {
        ScriptedFrontend ui;
        const auto [ok, out] = Decipher(text, phrase);
        // Either the padding shows the damage, or the digest does and nothing is returned.
        const bool decryptBox = ui.log.at(0).starts_with(L"MsgBox|VB Crypto|Error ") && ui.log[0].ends_with(L" during CryptDecrypt!");
        EXPECT_TRUE(ui.log.size() == 1 && !ok && out.find(kRecord) == std::string::npos && (decryptBox || (ui.log[0] == kCorrupted && out.empty()))) << ui.log[0];
    }
}

// Deciphered text that is no envelope: the first two characters are the digest's length and
// must be digits; a length running past the end is damage too.
TEST(Cipher, TextThatIsNoEnvelopeIsReportedAsCorrupted) {
    const std::string md5 = crypto_detail::Md5("data").value();
    for (const std::string& plain : {"xy" + md5 + "data", std::string("1"), std::string(""), "99" + md5 + "data", "+6" + md5 + "data", "08" + md5 + "data", "16" + md5 + "data"}) {
        ScriptedFrontend ui;
        const bool good = plain.starts_with("16");
        const auto d = Decipher(Encipher(plain, false));
        EXPECT_EQ(std::tuple(d, ui.log), std::tuple(std::pair(good, std::string(good ? "data" : "")), good ? std::vector<std::wstring>{} : std::vector{kCorrupted})) << plain;
    }
}

TEST(Cipher, StepsOutOfOrderFailWithTheirOwnBox) {
    ScriptedFrontend ui;
    clsCrypto c;
    c.InBuffer("text");
    EXPECT_FALSE(c.EncryptMessageData() || c.DecryptMessageData() || c.DestroySessionKey());
    EXPECT_EQ(ui.log.size(), 3u);
    EXPECT_TRUE(ui.log.at(0).ends_with(L" during CryptEncrypt!") && ui.log.at(1).ends_with(L" during CryptDecrypt!") &&
                ui.log.at(2) == L"MsgBox|VB Crypto|" + c.ErrorMsg() && c.ErrorMsg().ends_with(L" during CryptDestroyKey!"));
}

TEST(FileCipher, FilesRoundTripInPlaceAndWhatCannotBeDecipheredStays) {
    ScriptedFrontend ui;
    TempDir dir;
    const fs::path file = dir.path() / "Hiscore";
    std::string damaged = Encipher(kRecord);
    damaged[20] ^= 0x10;
    // Beyond sixteen bits of length, and nothing at all: an empty result removes the file. A
    // damaged or plain file stays as it was, with one box; a missing one stays missing.
    SeedRandom(3);
    struct Case { std::string content; bool encipher, missing; };
    for (const Case& c : {Case{RandomBytes(40000), true, false}, Case{"", true, false}, Case{damaged, false, false}, Case{kRecord, false, false}, Case{"", false, true}}) {
        const auto boxes = ui.log.size();
        ASSERT_TRUE((c.missing || WriteFileAtomic(file, c.content)) && (!c.encipher || EncryptFileInPlace(file)));
        const bool ok = DecryptFileInPlace(file);
        EXPECT_EQ(std::tuple(ok, ReadBytes(file), ui.log.size() - boxes),
                  std::tuple(c.encipher, c.content.empty() ? std::nullopt : std::optional(c.content), c.encipher || c.missing ? 0u : 1u));
        fs::remove(file);
    }
}
