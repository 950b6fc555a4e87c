// The compressed streams, the map archive reader and the packer that builds data/maps into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/random.h"
#include "platform/source_text.h"
#include "services/compression.h"
#include "services/huffman.h"
#include "services/map_archive.h"
#include "test_support.h"

using namespace morvath;

namespace {

const std::wstring kIntegrity = L": File is corrupt (integrity check failed)";
const std::wstring kNoId = L": File is either not compressed or corrupt (ID not found)";

std::vector<std::uint8_t> Vec(std::string_view s) { return {s.begin(), s.end()}; }
std::string Str(const std::vector<std::uint8_t>& v) { return {v.begin(), v.end()}; }

std::string Encode(std::string_view data) {
    clsCompresion c;
    auto v = Vec(data);
    c.EncodeByte(v, static_cast<std::int32_t>(v.size()));
    return Str(v);
}

// Decodes the first `length` bytes (all when negative) through the object, as the game does:
// what comes out and what was reported.
std::pair<std::string, std::wstring> Decode(std::string_view stream, int length = -1) {
    clsCompresion c;
    auto v = Vec(stream);
    c.DecodeByte(v, length < 0 ? static_cast<std::int32_t>(v.size()) : length);
    return {Str(v), c.Errors};
}

std::string Le(std::uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

// "xxxyz", written out by hand from the stream layout. The tie rule of the merge makes
// x = 0, z = 10, y = 11 (z, met later with the same weight as y, displaces the heavier x).
const std::string kHandStream = std::string("HE3\r") + "\x7B" + Le(5, 4) + Le(3, 2) +
                                "\x78\x01" "\x79\x02" "\x7A\x02" +
                                "\x0E"  // code bits x:0 y:1,1 z:1,0 from the low bit up
                                "\x38";  // data bits 0,0,0,1,1,1,0 and one padding bit

std::string RandomBytes(std::size_t n, int distinct) {
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(RandomInt(0, distinct));
    return s;
}

struct RawEntry {
    std::string name;  // cp1251 bytes
    std::string stream;
};

// An archive framed by hand from the layout, so the reader is not checked against our writer.
std::string RawArchive(const std::vector<RawEntry>& entries, int count = -1) {
    std::string out = Le(static_cast<std::uint32_t>(count < 0 ? static_cast<int>(entries.size()) : count), 2);
    for (const auto& e : entries) {
        out.push_back(static_cast<char>(e.name.size()));
        out += e.name + Le(static_cast<std::uint32_t>(e.stream.size()), 4) + e.stream;
    }
    return out;
}

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(fs::relative(e.path(), dir).string());
    std::sort(names.begin(), names.end());
    return names;
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

}  // namespace

// ---- Streams ----

TEST(HuffmanStream, KnownInputsEncodeToKnownStreamsAndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::pair<std::string, std::string> cases[] = {
        {"", "HE0\r"},
        {"G", "HE0\rG"},
        {std::string(1000, 'G'), "HE0\r" + std::string(1000, 'G')},
        // Whatever the counts, the lower byte is the first leaf, and the first pick is the 0 child.
        {"bbbba", std::string("HE3\r") + "a" + Le(5, 4) + Le(2, 2) + "a\x01" "b\x01" + "\x02" + "\x0F"},
        {"aaaab", std::string("HE3\r") + "b" + Le(5, 4) + Le(2, 2) + "a\x01" "b\x01" + "\x02" + "\x10"},
        {"xxxyz", kHandStream},
    };
    for (const auto& [data, stream] : cases) {
        EXPECT_EQ(Encode(data), stream) << data;
        EXPECT_EQ(Decode(stream), std::pair(data, std::wstring())) << data;
    }
    // Every value once: eight bits each, so the stream stays coded although the code table
    // makes it longer than the input.
    const std::string s = Encode(all);
    EXPECT_EQ(std::tuple(s.substr(0, 4), s.size(), Decode(s).first), std::tuple("HE3\r", 11u + 4 * 256, all));
    // Only the given length is encoded; the checksum takes every byte of whole words.
    clsCompresion z;
    auto v = Vec("aabbb-unused");
    z.EncodeByte(v, 5);
    EXPECT_EQ(Decode(Str(v)).first, "aabbb");
    EXPECT_EQ(HuffmanEncode("GGGGaaaaBBBB\r\nGG")[4], '\x07');
}

TEST(HuffmanStream, WhatTheDecoderTakesLeavesAndReports) {
    auto with = [](std::size_t at, std::string_view part) { return std::string(kHandStream).replace(at, part.size(), part); };
    const std::string header = std::string("HE3\r") + "\x7B" + Le(5, 4);
    std::string manyLongCodes = std::string("HE3\r") + '\0' + Le(1, 4) + Le(256, 2);
    for (int v = 0; v < 256; ++v) manyLongCodes += std::string(1, static_cast<char>(v)) + "\xFF";
    manyLongCodes += std::string(256 * 255 / 8, '\x55') + "\x01";
    struct Case {
        const char* what;
        std::string stream;
        int length;
        std::string decoded;
        std::wstring errors;
        bool walkCorrupt;  // the walk finds the same damage
    };
    const Case cases[] = {
        // A 1 in the padding would begin another y or z; bytes beyond the data bits are never read.
        {"padding bits", with(kHandStream.size() - 1, "\xB8"), -1, "xxxyz", L"", false},
        {"trailing bytes", kHandStream + "\xFF\xFF", -1, "xxxyz", L"", false},
        {"wrong checksum", with(4, std::string(1, '\0')), -1, "xxxyz", kIntegrity, false},
        {"no HE mark: the kind is not looked at", with(0, "Q").replace(2, 1, "7"), -1, "xxxyz", L"", false},
        {"a coded stream of no bytes is left", with(5, Le(0, 4)), -1, with(5, Le(0, 4)), L"", false},
        {"unknown kind, bytes beyond the length too", "HE7\rsomething", 6, "HE7\rsomething", kNoId, false},
        {"only the first bytes", "HE0\rabcdef", 7, "abc", L"", false},
        {"shorter than a header", "HE3\r\x7B", -1, "", kIntegrity, true},
        {"tiny", "H", -1, "", kIntegrity, true},
        {"three bytes", "HE0", -1, "", kIntegrity, true},
        {"negative length", header.substr(0, 5) + Le(0xFFFFFFFB, 4) + kHandStream.substr(9), -1, "", kIntegrity, true},
        {"too many codes", header + Le(257, 2) + std::string(600, '\x01'), -1, "", kIntegrity, true},
        {"negative count of codes", header + Le(0xFFFF, 2), -1, "", kIntegrity, true},
        {"pairs cut short", header + Le(3, 2) + "\x78\x01\x79", -1, "", kIntegrity, true},
        {"code bits cut short", header + Le(3, 2) + "\x78\x01\x79\x02\x7A\xFF", -1, "", kIntegrity, true},
        {"a value twice", header + Le(2, 2) + "x\x01" "x\x01" + "\x02" + "\x01", -1, "", kIntegrity, true},
        {"tree beyond 512 nodes", manyLongCodes, -1, "", kIntegrity, true},
        {"data bits cut short", kHandStream.substr(0, kHandStream.size() - 1), -1, "", kIntegrity, true},
        {"no codes at all", header + Le(0, 2) + "\xFF", -1, "", kIntegrity, true},
        // Only x has a code (0); the 1 bit after two x leads nowhere.
        {"bit leading nowhere", header + Le(1, 2) + "x\x01" + std::string(1, '\0') + "\x04", -1, "xx", kIntegrity, true},
        {"length beyond the data", header.substr(0, 5) + Le(0x7FFFFFFF, 4) + kHandStream.substr(9), -1, "xxxyzx",
         kIntegrity, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.stream, c.length), std::pair(c.decoded, c.errors)) << c.what;
        if (c.walkCorrupt) {
            const DecodedStream walk = HuffmanDecodeTreeWalk(c.stream);
            EXPECT_EQ(std::pair(walk.status, walk.data), std::pair(StreamStatus::Corrupt, c.decoded)) << c.what;
        }
    }
}

TEST(HuffmanStream, RoundTripsOfManySizesAndAlphabets) {
    SeedRandom(101);
    for (std::size_t n : {1u, 2u, 3u, 7u, 8u, 9u, 31u, 255u, 256u, 4097u, 65536u, 200000u}) {
        for (int distinct : {2, 3, 17, 256}) {
            const std::string data = RandomBytes(n, distinct);
            const std::string s = Encode(data);
            const DecodedStream walk = HuffmanDecodeTreeWalk(s);
            ASSERT_EQ(std::tuple(Decode(s), walk.status, walk.data),
                      std::tuple(std::pair(data, std::wstring()), StreamStatus::Decoded, data))
                << n << " bytes of " << distinct << " values";
        }
    }
}

TEST(HuffmanStream, CodesLongerThanAnyTableDecode) {
    // Counts following the Fibonacci numbers give the deepest tree there is: codes of 24 bits.
    std::string data;
    for (std::uint32_t v = 0, a = 1, b = 1; v < 25; ++v, b += a, a = b - a) data.append(a, static_cast<char>('A' + v));
    SeedRandom(7);
    for (std::size_t i = data.size() - 1; i > 0; --i) {
        std::swap(data[i], data[static_cast<std::size_t>(RandomInt(0, static_cast<int>(i) + 1))]);
    }
    const std::string s = Encode(data);
    EXPECT_EQ(std::tuple(s.substr(0, 4), static_cast<int>(static_cast<std::uint8_t>(s[12])), Decode(s).first),
              std::tuple("HE3\r", 24, data));
    EXPECT_TRUE(TablesDecodeAsTheWalk(s));
}

TEST(HuffmanStream, OverlappingCodesDecodeAsTheWalkFindsThem) {
    // The code lengths 1, 2, 2 fill the code space exactly, as a sound code's do, but x (0) is
    // also the start of y (00): the walk meets x first and never reaches y. Data 0 0 11 1 0.
    const std::string header = std::string("HE3\r") + "\x7B" + Le(5, 4) + Le(3, 2);
    const std::pair<std::string, std::string> cases[] = {
        {header + "x\x01" "y\x02" "z\x02" + "\x18" + "\x1C", "xxz"},  // 10 leads nowhere
        {header + "x\x02" "y\x01" "z\x02" + "\x18" + "\x1C", ""},     // the short code last
        {header + "x\x01" "y\x02" "z\x02" + "\x08" + "\x04", "xxzxx"},  // z is 10: 0 0 10 0 0
    };
    for (const auto& [s, walked] : cases) {
        EXPECT_TRUE(TablesDecodeAsTheWalk(s)) << walked;
        if (!walked.empty()) {
            EXPECT_EQ(HuffmanDecodeTreeWalk(s).data, walked);
        }
    }
}

TEST(HuffmanStream, StringsGoThroughTheCodePage) {
    clsCompresion c;
    const std::wstring text = L"Вы не умеете читать! GGGGaaaa";
    const std::wstring coded = c.EncodeString(text);
    const std::wstring decoded = c.DecodeString(coded), stored = c.DecodeString(L"HE0\rЯ");
    EXPECT_EQ(std::tuple(coded.substr(0, 4), decoded, stored, c.Errors), std::tuple(L"HE3\r", text, L"Я", L""));
}

// ---- The object's helpers and file encoding ----

TEST(Compressor, SimplificateKeepsTheLastNameOfEitherKindOfPath) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\game\\maps\\data.uni", L"data.uni"}, {L"/tmp/game/saved/vira.map", L"vira.map"},
        {L"plain", L"plain"}, {L"dir\\", L""}};
    for (const auto& [path, name] : cases) EXPECT_EQ(clsCompresion::Simplificate(path), name);
}

TEST(Compressor, EncodeFileAppendsOneStreamPerCall) {
    TempDir dir;
    clsCompresion c;
    EXPECT_FALSE(clsCompresion::FileExist(dir.path()));
    c.EncodeFile(dir.path() / "none.txt", dir.path() / "out.bin");
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "empty.txt", ""));
    c.EncodeFile(dir.path() / "empty.txt", dir.path() / "out.bin");
    EXPECT_EQ(c.Errors, L"none.txt: File not found\r\nempty.txt: File empty");
    EXPECT_FALSE(FileExists(dir.path() / "out.bin"));

    ASSERT_TRUE(WriteFileAtomic(dir.path() / "a.txt", "xxxyz"));
    EXPECT_TRUE(clsCompresion::FileExist(dir.path() / "a.txt"));
    c.EncodeFile(dir.path() / "a.txt", dir.path() / "out.bin");
    c.EncodeFile(dir.path() / "a.txt", dir.path() / "out.bin");
    EXPECT_EQ(ReadBytes(dir.path() / "out.bin"), kHandStream + kHandStream);
}

// ---- The archive ----

class Archive : public ::testing::Test {
protected:
    fs::path archive() const { return dir.path() / "data.uni"; }
    fs::path out() const { return dir.path() / "saved"; }
    void SetUp() override { fs::create_directories(out()); }
    std::wstring Extract(const std::string& bytes) {
        EXPECT_TRUE(WriteFileAtomic(archive(), bytes));
        return c.ExtractAll(archive(), out());
    }
    std::optional<std::string> Saved(const std::string& name) const { return ReadBytes(out() / name); }

    TempDir dir;
    clsCompresion c;
};

TEST_F(Archive, WrittenFilesComeBackUnchanged) {
    SeedRandom(303);
    std::vector<MapArchiveEntry> files = {
        {L"vira.map", RandomBytes(5000, 40)},
        {L"vira.itm", ""},
        {L"тест.lst", EncodeCp1251(L"\"Солдат\",20,\"%\",0,\"М\",30,12,5,\"soldier.tai\",\"\",\"\",#TRUE#\r\n")},
        {L"noise.bin", RandomBytes(3000, 256)},
    };
    auto bytes = WriteMapArchive(files, nullptr);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(Extract(*bytes), L"");
    for (const auto& f : files) EXPECT_EQ(Saved(ToUtf8(f.name)), f.content) << ToUtf8(f.name);
    EXPECT_EQ(FilesIn(out()).size(), files.size());
}

TEST_F(Archive, EmptyArchivesAndEntriesAndFilesReplacedWhateverTheirCase) {
    EXPECT_EQ(Extract(RawArchive({})), L"");
    EXPECT_TRUE(FilesIn(out()).empty());

    ASSERT_TRUE(WriteFileAtomic(out() / "old.itm", "left from before"));
    ASSERT_TRUE(WriteFileAtomic(out() / "vira.map", std::string(10000, 'Z')));
    ASSERT_TRUE(WriteFileAtomic(out() / "A1.MAP", "old"));
    EXPECT_EQ(Extract(RawArchive({{"old.itm", ""}, {"new.itm", ""}, {"vira.map", kHandStream}, {"a1.map", "HE0\rnew"}})),
              L"");
    EXPECT_EQ(std::tuple(Saved("old.itm"), Saved("new.itm"), Saved("vira.map"), Saved("A1.MAP")),
              std::tuple("", "", "xxxyz", "new"));
    EXPECT_EQ(FilesIn(out()), (std::vector<std::string>{"A1.MAP", "new.itm", "old.itm", "vira.map"}));
}

TEST_F(Archive, BrokenEntriesAreWrittenReportedAndTheRestGoesOn) {
    std::string badSum = kHandStream;
    badSum[4] = 0;
    std::string cut = Encode(RandomBytes(3000, 40));
    cut.resize(cut.size() / 2);
    EXPECT_EQ(Extract(RawArchive({{"sum.map", badSum}, {"odd.map", "HE9\rraw"}, {"cut.map", cut}, {"ok.map", kHandStream}})),
              L"sum.map" + kIntegrity + L"\r\nodd.map" + kNoId + L"\r\ncut.map" + kIntegrity);
    // A stream of unknown kind is written raw.
    EXPECT_EQ(std::tuple(Saved("sum.map"), Saved("odd.map"), Saved("cut.map")->size(), Saved("ok.map")),
              std::tuple("xxxyz", "HE9\rraw", HuffmanDecodeTreeWalk(cut).data.size(), "xxxyz"));
    // A new extraction starts a new list.
    EXPECT_EQ(Extract(RawArchive({{"ok.map", kHandStream}})), L"");
}

TEST_F(Archive, NamesThatCouldLeaveTheFolderAreRefused) {
    fs::create_directories(out() / "sub");
    std::vector<RawEntry> entries;
    for (std::string name : {"../evil.map", "..", ".", "sub/x.map", "sub\\x.map", "c:x.map", "a\x01" "b", "", "CON",
                             "/tmp/abs.map"}) {
        entries.push_back({name, "HE0\rbad"});
    }
    entries.push_back({"good.map", "HE0\rgood"});
    EXPECT_EQ(Extract(RawArchive(entries)),
              L"../evil.map: bad entry name\r\n..: bad entry name\r\n.: bad entry name\r\n"
              L"sub/x.map: bad entry name\r\nsub\\x.map: bad entry name\r\nc:x.map: bad entry name\r\n"
              L"a?b: bad entry name\r\n: bad entry name\r\nCON: bad entry name\r\n/tmp/abs.map: bad entry name");
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"data.uni", "saved", "saved/good.map", "saved/sub"}));
}

TEST_F(Archive, MissingOrTruncatedArchiveIsReported) {
    EXPECT_EQ(c.ExtractAll(dir.path() / "maps" / "data.uni", out()), L"data.uni: File not found");
    EXPECT_EQ(c.ExtractAll(out(), out()), L"saved: File not found");

    const std::wstring broken = L"data.uni" + kIntegrity;
    const std::string whole = RawArchive({{"a.map", "HE0\ra"}, {"b.map", kHandStream}});
    // Cut anywhere in the second entry: the first is still unpacked, then the reading stops.
    for (std::size_t cut = 2 + 1 + 5 + 4 + 5 + 1; cut < whole.size(); ++cut) {
        fs::remove_all(out());
        fs::create_directories(out());
        const std::wstring errors = Extract(whole.substr(0, cut));
        EXPECT_EQ(std::tuple(errors, Saved("a.map"), Saved("b.map").has_value()), std::tuple(broken, "a", false)) << cut;
    }
    const std::pair<std::string, std::wstring> cases[] = {
        {"", broken},
        {"\x01", broken},
        {RawArchive({{"a.map", "HE0\ra"}}, 2), broken},  // count beyond the entries
        {Le(1, 2) + "\x05" "a.map" + Le(0xFFFFFFF0, 4) + std::string(40, 'x'), broken},
        {RawArchive({{"a.map", "HE0\ra"}}) + "junk", L""},  // bytes after the last entry are not read
        {Le(0xFFFF, 2), broken},  // a negative count is a damaged header, not an empty archive
    };
    for (const auto& [bytes, errors] : cases) EXPECT_EQ(Extract(bytes), errors) << bytes.size();
}

// ---- The packer ----

TEST(SourceText, BecomesCp1251WithCrlf) {
    wchar_t bad = L'x', bad2 = L'x';
    const std::string good = SourceTextToGame("G\xD0\x90\nb\r\nc", &bad), snow = SourceTextToGame("a\xE2\x98\x83", &bad2);
    EXPECT_EQ(std::tuple(good, bad, snow, bad2), std::tuple("G\xC0\r\nb\r\nc", L'\0', "a?", L'\u2603'));
    EXPECT_TRUE(IsSourceTextFile("x/vira.map"));
    EXPECT_FALSE(IsSourceTextFile("x/data.UNI"));
}

TEST_F(Archive, PackerRefusesWhatTheArchiveCannotHold) {
    EXPECT_EQ(PackMapFolder(dir.path() / "none", nullptr), Le(0, 2));

    fs::path src = dir.path() / "src";
    ASSERT_TRUE(WriteFileAtomic(src / "ok.map", "GG\n"));
    ASSERT_TRUE(WriteFileAtomic(src / "a.lst", "\"\xD0\xAF\"\n"));
    ASSERT_TRUE(WriteFileAtomic(src / "b.bmp", "x\n"));
    ASSERT_TRUE(WriteFileAtomic(src / ".keep", ""));
    // Text converted, pictures as they are, in name order so the build does not churn the archive.
    EXPECT_EQ(PackMapFolder(src, nullptr),
              RawArchive({{"a.lst", Encode("\"\xDF\"\r\n")}, {"b.bmp", Encode("x\n")}, {"ok.map", Encode("GG\r\n")}}));

    std::vector<std::string> problems;
    ASSERT_TRUE(WriteFileAtomic(src / "snow\xE2\x98\x83.map", "G\n"));
    fs::create_directories(src / "inner");
    ASSERT_TRUE(WriteFileAtomic(src / "text.map", "\xE2\x98\x83\n"));
    EXPECT_FALSE(PackMapFolder(src, &problems));
    EXPECT_EQ(problems.size(), 3u);

    // Only the one-byte name length limits a name; no file system here has names that long.
    problems.clear();
    EXPECT_FALSE(WriteMapArchive({{std::wstring(256, L'n'), "G"}}, &problems));
    EXPECT_TRUE(WriteMapArchive({{std::wstring(255, L'n'), "G"}}, &problems));
    EXPECT_EQ(problems.size(), 1u);
}

TEST(GameFolder, MapArchiveHoldsTheMapSources) {
    const fs::path sources = fs::path(MORVATH_TEST_DATA) / ".." / ".." / "data" / "maps";
    auto shipped = ReadBytes(fs::path(MORVATH_GAME_DIR) / "maps" / "data.uni");
    ASSERT_TRUE(shipped);
    EXPECT_EQ(shipped, PackMapFolder(sources, nullptr));
}
