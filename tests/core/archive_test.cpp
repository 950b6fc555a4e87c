// The compressed streams, the map archive reader and the packer that builds data/maps into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
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

// Decodes through the object, as the game does; `errors` gets what it reported.
std::string Decode(std::string_view stream, std::wstring* errors = nullptr) {
    clsCompresion c;
    auto v = Vec(stream);
    c.DecodeByte(v, static_cast<std::int32_t>(v.size()));
    if (errors) *errors = c.Errors;
    return Str(v);
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

// Text with a skewed alphabet, as map rows are.
std::string MapLikeText(std::size_t n) {
    static const std::string tiles = "GGGGGGGGGGGGGGGGaaaaaBBBBw?!9+#\r\n\xC0\xE1";
    std::string s(n, '\0');
    for (auto& c : s) c = tiles[static_cast<std::size_t>(RandomInt(0, static_cast<int>(tiles.size())))];
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

}  // namespace

// ---- Streams ----

TEST(HuffmanStream, EmptyAndSingleValueInputsAreStored) {
    EXPECT_EQ(Encode(""), "HE0\r");
    std::wstring errors;
    EXPECT_EQ(Decode("HE0\r", &errors), "");
    EXPECT_EQ(errors, L"");
    for (std::size_t n : {1u, 2u, 1000u}) {
        std::string same(n, 'G');
        EXPECT_EQ(Encode(same), "HE0\r" + same);
        EXPECT_EQ(Decode("HE0\r" + same), same);
    }
}

TEST(HuffmanStream, TwoValuesGetOneBitEachAndTheLowerOneIsZero) {
    // Whatever the counts, the lower byte is the first leaf, and the first pick is the 0 child.
    std::string mostlyHigh = Encode("bbbba");
    EXPECT_EQ(mostlyHigh, std::string("HE3\r") + "a" + Le(5, 4) + Le(2, 2) + "a\x01" "b\x01" + "\x02" + "\x0F");
    std::string mostlyLow = Encode("aaaab");
    EXPECT_EQ(mostlyLow, std::string("HE3\r") + "b" + Le(5, 4) + Le(2, 2) + "a\x01" "b\x01" + "\x02" + "\x10");
    EXPECT_EQ(Decode(mostlyHigh), "bbbba");
    EXPECT_EQ(Decode(mostlyLow), "aaaab");
}

TEST(HuffmanStream, HandWrittenStreamDecodesAndEncoderWritesTheSame) {
    std::wstring errors;
    EXPECT_EQ(Decode(kHandStream, &errors), "xxxyz");
    EXPECT_EQ(errors, L"");
    EXPECT_EQ(Encode("xxxyz"), kHandStream);
}

TEST(HuffmanStream, CodingIsKeptWhenOnlyTheTableMakesItLonger) {
    // Every value once: eight bits each, as many data bytes as input bytes, so the stream is
    // coded although the header and code table make it longer than the input.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    std::string s = Encode(all);
    EXPECT_EQ(s.substr(0, 4), "HE3\r");
    EXPECT_EQ(s.size(), 11u + 2 * 256 + 256 + 256);
    EXPECT_EQ(Decode(s), all);
}

// Streams decoded through the object as the game does: the first `length` bytes (all when
// negative), what comes out and what is reported.
TEST(HuffmanStream, WhatTheDecoderTakesAndWhatItLeaves) {
    auto with = [](std::size_t at, std::string_view part) { return std::string(kHandStream).replace(at, part.size(), part); };
    struct Case {
        const char* what;
        std::string stream;
        int length;
        std::string decoded;
        std::wstring errors;
    };
    const Case cases[] = {
        // A 1 in the padding would begin another y or z; bytes beyond the data bits are never read.
        {"padding bits", with(kHandStream.size() - 1, "\xB8"), -1, "xxxyz", L""},
        {"trailing bytes", kHandStream + "\xFF\xFF", -1, "xxxyz", L""},
        {"wrong checksum", with(4, std::string(1, '\0')), -1, "xxxyz", kIntegrity},
        {"no HE mark: the kind is not looked at", with(0, "Q") .replace(2, 1, "7"), -1, "xxxyz", L""},
        {"a coded stream of no bytes is left", with(5, Le(0, 4)), -1, with(5, Le(0, 4)), L""},
        {"unknown kind, bytes beyond the length too", "HE7\rsomething", 6, "HE7\rsomething", kNoId},
        {"only the first bytes", "HE0\rabcdef", 7, "abc", L""},
    };
    for (const Case& c : cases) {
        clsCompresion z;
        auto v = Vec(c.stream);
        z.DecodeByte(v, c.length < 0 ? static_cast<std::int32_t>(v.size()) : c.length);
        EXPECT_EQ(Str(v), c.decoded) << c.what;
        EXPECT_EQ(z.Errors, c.errors) << c.what;
    }
    clsCompresion z;
    auto v = Vec("aabbb-unused");
    z.EncodeByte(v, 5);
    EXPECT_EQ(Decode(Str(v)), "aabbb");
}

TEST(HuffmanStream, BrokenStreamsEndWithTheIntegrityMessage) {
    const std::string header = std::string("HE3\r") + "\x7B" + Le(5, 4);
    struct Case {
        const char* what;
        std::string stream;
        std::string decoded;  // what was decoded before the fault
    };
    std::string manyLongCodes = std::string("HE3\r") + '\0' + Le(1, 4) + Le(256, 2);
    for (int v = 0; v < 256; ++v) manyLongCodes += std::string(1, static_cast<char>(v)) + "\xFF";
    manyLongCodes += std::string(256 * 255 / 8, '\x55') + "\x01";
    std::string duplicate = header + Le(2, 2) + "x\x01" "x\x01" + "\x02" + "\x01";
    const std::vector<Case> cases = {
        {"shorter than a header", "HE3\r\x7B", ""},
        {"tiny", "H", ""},
        {"three bytes", "HE0", ""},
        {"negative length", std::string("HE3\r") + "\x7B" + Le(0xFFFFFFFB, 4) + kHandStream.substr(9), ""},
        {"too many codes", header + Le(257, 2) + std::string(600, '\x01'), ""},
        {"negative count of codes", header + Le(0xFFFF, 2), ""},
        {"pairs cut short", header + Le(3, 2) + "\x78\x01\x79", ""},
        {"code bits cut short", header + Le(3, 2) + "\x78\x01\x79\x02\x7A\xFF", ""},
        {"a value twice", duplicate, ""},
        {"tree beyond 512 nodes", manyLongCodes, ""},
        {"data bits cut short", kHandStream.substr(0, kHandStream.size() - 1), ""},
        {"no codes at all", header + Le(0, 2) + "\xFF", ""},
        // Only x has a code (0); the 1 bit after two x leads nowhere.
        {"bit leading nowhere", header + Le(1, 2) + "x\x01" + std::string(1, '\0') + "\x04", "xx"},
        {"length beyond the data", std::string("HE3\r") + "\x7B" + Le(0x7FFFFFFF, 4) + kHandStream.substr(9),
         "xxxyzx"},
    };
    for (const auto& c : cases) {
        std::wstring errors;
        EXPECT_EQ(Decode(c.stream, &errors), c.decoded) << c.what;
        EXPECT_EQ(errors, kIntegrity) << c.what;
        DecodedStream walk = HuffmanDecodeTreeWalk(c.stream);
        EXPECT_EQ(walk.status, StreamStatus::Corrupt) << c.what;
        EXPECT_EQ(walk.data, c.decoded) << c.what;
    }
}

TEST(HuffmanStream, RoundTripsOfManySizesAndAlphabets) {
    SeedRandom(101);
    for (std::size_t n : {1u, 2u, 3u, 7u, 8u, 9u, 31u, 100u, 255u, 256u, 1000u, 4097u, 65536u, 200000u}) {
        for (int distinct : {2, 3, 17, 256}) {
            std::string data = RandomBytes(n, distinct);
            std::string s = Encode(data);
            std::wstring errors;
            ASSERT_EQ(Decode(s, &errors), data) << n << " bytes of " << distinct << " values";
            ASSERT_EQ(errors, L"");
            DecodedStream walk = HuffmanDecodeTreeWalk(s);
            ASSERT_EQ(walk.status, StreamStatus::Decoded);
            ASSERT_EQ(walk.data, data);
        }
        std::string text = MapLikeText(n);
        ASSERT_EQ(Decode(Encode(text)), text);
    }
}

// Data whose counts follow the Fibonacci numbers: the deepest code tree there is, with codes
// of up to `values` - 1 bits.
std::string FibonacciData(int values) {
    std::string data;
    std::uint32_t a = 1, b = 1;
    for (int v = 0; v < values; ++v) {
        data.append(a, static_cast<char>('A' + v));
        std::uint32_t next = a + b;
        a = b;
        b = next;
    }
    SeedRandom(7);
    for (std::size_t i = data.size() - 1; i > 0; --i) {
        std::swap(data[i], data[static_cast<std::size_t>(RandomInt(0, static_cast<int>(i) + 1))]);
    }
    return data;
}

// Whether the table decoder gives what the walk gives, status included: with the table it
// chooses, and with tables of every size.
testing::AssertionResult TablesDecodeAsTheWalk(const std::string& s) {
    const DecodedStream walk = HuffmanDecodeTreeWalk(s);
    auto same = [&](const DecodedStream& table) { return table.status == walk.status && table.data == walk.data; };
    if (!same(HuffmanDecode(s))) return testing::AssertionFailure() << "the chosen table";
    for (int bits = 1; bits <= 8; ++bits) {
        if (!same(HuffmanDecode(s, bits))) return testing::AssertionFailure() << bits << " bits";
    }
    return testing::AssertionSuccess();
}

TEST(HuffmanStream, CodesLongerThanTheLookUpTableDecode) {
    // Codes up to 24 and up to 12 bits, beyond any table.
    for (int values : {25, 13}) {
        std::string data = FibonacciData(values);
        std::string s = Encode(data);
        ASSERT_EQ(s.substr(0, 4), "HE3\r");
        EXPECT_EQ(static_cast<std::uint8_t>(s[11 + 1]), values - 1);  // the rarest value's code length
        EXPECT_EQ(HuffmanDecodeTreeWalk(s).data, data);
        EXPECT_TRUE(TablesDecodeAsTheWalk(s)) << values << " values";
        // A damaged code table or damaged data still decode the same both ways.
        for (std::size_t at : {std::size_t{12}, std::size_t{40}, s.size() / 2, s.size() - 2}) {
            std::string damaged = s;
            damaged[at] = static_cast<char>(damaged[at] ^ 0x24);
            EXPECT_TRUE(TablesDecodeAsTheWalk(damaged)) << values << " values, damaged at " << at;
        }
    }
}

TEST(HuffmanStream, OverlappingCodesDecodeAsTheWalkFindsThem) {
    // The code lengths 1, 2, 2 fill the code space exactly, as a sound code's do, but x (0) is
    // also the start of y (00): the walk meets x first and never reaches y, and 10 leads
    // nowhere. Data 0 0 11 1 0: x, x, z, then a dead end.
    const std::string header = std::string("HE3\r") + "\x7B" + Le(5, 4) + Le(3, 2);
    const std::string xThenY = header + "x\x01" "y\x02" "z\x02" + "\x18" + "\x1C";
    // The same with the short code last: y (00) first, then x (0) on its way.
    const std::string yThenX = header + "x\x02" "y\x01" "z\x02" + "\x18" + "\x1C";
    // Here z is 10, so no pattern leads nowhere, and x still hides y: 0 0 10 0 0 is xxzxx.
    const std::string zAtTen = header + "x\x01" "y\x02" "z\x02" + "\x08" + "\x04";
    for (const auto& [what, s] : {std::pair{"x then y", xThenY}, std::pair{"y then x", yThenX},
                                  std::pair{"z at 10", zAtTen}}) {
        EXPECT_TRUE(TablesDecodeAsTheWalk(s)) << what;
    }
    EXPECT_EQ(HuffmanDecodeTreeWalk(zAtTen).data, "xxzxx");
    DecodedStream walk = HuffmanDecodeTreeWalk(xThenY);
    EXPECT_EQ(walk.status, StreamStatus::Corrupt);
    EXPECT_EQ(walk.data, "xxz");
}

TEST(HuffmanStream, StringsGoThroughTheCodePage) {
    clsCompresion c;
    const std::wstring text = L"Вы не умеете читать! GGGGaaaa";
    std::wstring coded = c.EncodeString(text);
    EXPECT_EQ(coded.substr(0, 4), L"HE3\r");
    EXPECT_EQ(c.DecodeString(coded), text);
    EXPECT_EQ(c.DecodeString(L"HE0\rЯ"), L"Я");
    EXPECT_EQ(c.Errors, L"");
}

// ---- The object's helpers and file encoding ----

TEST(Compressor, SimplificateAndAddError) {
    EXPECT_EQ(clsCompresion::Simplificate(L"C:\\game\\maps\\data.uni"), L"data.uni");
    EXPECT_EQ(clsCompresion::Simplificate(L"/tmp/game/saved/vira.map"), L"vira.map");
    EXPECT_EQ(clsCompresion::Simplificate(L"plain"), L"plain");
    EXPECT_EQ(clsCompresion::Simplificate(L"dir\\"), L"");
    clsCompresion c;
    c.AddError(L"a");
    c.AddError(L"b");
    EXPECT_EQ(c.Errors, L"a\r\nb");
}

TEST(Compressor, EncodeFileAppendsOneStreamPerCall) {
    TempDir dir;
    clsCompresion c;
    EXPECT_FALSE(clsCompresion::FileExist(dir.path() / "none.txt"));
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
        {L"vira.map", MapLikeText(5000)},
        {L"vira.crd", "4\r\n5\r\nwild\r\n12\r\n7\r\n"},
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

TEST_F(Archive, EmptyArchiveAndEmptyEntries) {
    EXPECT_EQ(Extract(RawArchive({})), L"");
    EXPECT_TRUE(FilesIn(out()).empty());

    ASSERT_TRUE(WriteFileAtomic(out() / "old.itm", "left from before"));
    EXPECT_EQ(Extract(RawArchive({{"old.itm", ""}, {"new.itm", ""}})), L"");
    EXPECT_EQ(Saved("old.itm"), "");
    EXPECT_EQ(Saved("new.itm"), "");
}

TEST_F(Archive, ExistingFilesAreReplacedWhateverTheirCase) {
    ASSERT_TRUE(WriteFileAtomic(out() / "vira.map", std::string(10000, 'Z')));
    ASSERT_TRUE(WriteFileAtomic(out() / "A1.MAP", "old"));
    EXPECT_EQ(Extract(RawArchive({{"vira.map", Encode("xxxyz")}, {"a1.map", "HE0\rnew"}})), L"");
    EXPECT_EQ(Saved("vira.map"), "xxxyz");
    EXPECT_EQ(Saved("A1.MAP"), "new");
    EXPECT_EQ(FilesIn(out()), (std::vector<std::string>{"A1.MAP", "vira.map"}));
}

TEST_F(Archive, BrokenEntriesAreWrittenReportedAndTheRestGoesOn) {
    std::string badSum = kHandStream;
    badSum[4] = 0;
    std::string cut = Encode(MapLikeText(3000));
    cut.resize(cut.size() / 2);
    EXPECT_EQ(Extract(RawArchive({{"sum.map", badSum}, {"odd.map", "HE9\rraw"}, {"cut.map", cut}, {"ok.map", kHandStream}})),
              L"sum.map" + kIntegrity + L"\r\nodd.map" + kNoId + L"\r\ncut.map" + kIntegrity);
    EXPECT_EQ(Saved("sum.map"), "xxxyz");
    EXPECT_EQ(Saved("odd.map"), "HE9\rraw");  // a stream of unknown kind is written raw
    EXPECT_EQ(Saved("cut.map")->size(), HuffmanDecodeTreeWalk(cut).data.size());
    EXPECT_EQ(Saved("ok.map"), "xxxyz");
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
    std::wstring errors = Extract(RawArchive(entries));
    EXPECT_EQ(errors, L"../evil.map: bad entry name\r\n..: bad entry name\r\n.: bad entry name\r\n"
                      L"sub/x.map: bad entry name\r\nsub\\x.map: bad entry name\r\nc:x.map: bad entry name\r\n"
                      L"a?b: bad entry name\r\n: bad entry name\r\nCON: bad entry name\r\n/tmp/abs.map: bad entry name");
    EXPECT_EQ(Saved("good.map"), "good");
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"data.uni", "saved", "saved/good.map", "saved/sub"}));
}

TEST_F(Archive, MissingOrTruncatedArchiveIsReported) {
    EXPECT_EQ(c.ExtractAll(dir.path() / "maps" / "data.uni", out()), L"data.uni: File not found");
    EXPECT_EQ(c.ExtractAll(out(), out()), L"saved: File not found");

    const std::wstring broken = L"data.uni" + kIntegrity;
    std::string whole = RawArchive({{"a.map", "HE0\ra"}, {"b.map", Encode("xxxyz")}});
    std::size_t firstEnd = 2 + 1 + 5 + 4 + 5;
    // Cut anywhere in the second entry: the first is still unpacked, then the reading stops.
    for (std::size_t cut = firstEnd + 1; cut < whole.size(); ++cut) {
        fs::remove_all(out());
        fs::create_directories(out());
        EXPECT_EQ(Extract(whole.substr(0, cut)), broken) << cut;
        EXPECT_EQ(Saved("a.map"), "a") << cut;
        EXPECT_FALSE(Saved("b.map")) << cut;
    }
    EXPECT_EQ(Extract(""), broken);
    EXPECT_EQ(Extract("\x01"), broken);
    EXPECT_EQ(Extract(RawArchive({{"a.map", "HE0\ra"}}, 2)), broken);  // count beyond the entries

    std::string negative = Le(1, 2) + "\x05" "a.map" + Le(0xFFFFFFF0, 4) + std::string(40, 'x');
    EXPECT_EQ(Extract(negative), broken);
    // Bytes after the last counted entry are not read.
    EXPECT_EQ(Extract(RawArchive({{"a.map", "HE0\ra"}}) + "junk"), L"");
    // A negative count is a damaged header, not an empty archive.
    EXPECT_EQ(Extract(Le(0xFFFF, 2)), broken);
}

// ---- The packer ----

namespace {

// The bytes the game must find for each source file of a folder.
std::vector<MapArchiveEntry> ConvertedSources(const fs::path& folder) {
    std::vector<MapArchiveEntry> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& e : fs::directory_iterator(folder)) {
        if (e.path().filename() == ".keep") continue;
        files.push_back({FromUtf8(e.path().filename().string()), SourceTextToGame(*ReadBytes(e.path()), nullptr)});
    }
    return files;
}

}  // namespace

TEST(SourceText, BecomesCp1251WithCrlf) {
    wchar_t bad = L'x';
    EXPECT_EQ(SourceTextToGame("G\xD0\x90\nb\r\nc", &bad), "G\xC0\r\nb\r\nc");
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(SourceTextToGame("a\xE2\x98\x83", &bad), "a?");
    EXPECT_EQ(bad, L'\u2603');
    EXPECT_TRUE(IsSourceTextFile("x/vira.map"));
    EXPECT_FALSE(IsSourceTextFile("x/data.UNI"));
}

TEST_F(Archive, PackedFolderUnpacksToTheConvertedFiles) {
    const fs::path sources = fs::path(MORVATH_TEST_DATA) / "maps";
    std::vector<std::string> problems;
    auto bytes = PackMapFolder(sources, &problems);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(Extract(*bytes), L"");
    auto expected = ConvertedSources(sources);
    ASSERT_EQ(expected.size(), 5u);
    EXPECT_EQ(FilesIn(out()).size(), expected.size());
    for (const auto& f : expected) EXPECT_EQ(Saved(ToUtf8(f.name)), f.content) << ToUtf8(f.name);
    EXPECT_EQ(Saved("hut.tle"), "2\r\n#This is a TileSet type file.Do not remove this Line!'\r\n");
    EXPECT_EQ(Saved("hut.lst")->substr(0, 9), "\"\xD1\xEE\xEB\xE4\xE0\xF2\",");  // "Солдат" in cp1251
    // The packer is deterministic: the build does not churn the archive.
    EXPECT_EQ(PackMapFolder(sources, nullptr), bytes);
}

TEST_F(Archive, PackerRefusesWhatTheArchiveCannotHold) {
    EXPECT_EQ(PackMapFolder(dir.path() / "none", nullptr), Le(0, 2));

    fs::path src = dir.path() / "src";
    ASSERT_TRUE(WriteFileAtomic(src / "ok.map", "GG\n"));
    ASSERT_TRUE(WriteFileAtomic(src / ".keep", ""));
    EXPECT_EQ(PackMapFolder(src, nullptr), RawArchive({{"ok.map", Encode("GG\r\n")}}));

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
