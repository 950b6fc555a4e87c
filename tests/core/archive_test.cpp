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

std::string RandomBytes(std::size_t n, int distinct) {
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

std::vector<std::string> FilesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) names.push_back(fs::relative(e.path(), dir).string());
    std::sort(names.begin(), names.end());
    return names;
}

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
        {"tiny", "H", -1, "", kIntegrity},
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
        if (c.errors == kIntegrity) {
            const DecodedStream walk = HuffmanDecodeTreeWalk(c.stream);
            EXPECT_EQ(std::pair(walk.status, walk.data), std::pair(StreamStatus::Corrupt, c.decoded)) << c.what;
        }
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
    void SetUp() override { fs::create_directories(out()); }
    std::wstring Extract(const std::string& bytes) {
        EXPECT_TRUE(WriteFileAtomic(dir.path() / "data.uni", bytes));
        return c.ExtractAll(dir.path() / "data.uni", out());
    }
    std::optional<std::string> Saved(const std::string& name) const { return ReadBytes(out() / name); }

    TempDir dir;
    clsCompresion c;
};

TEST_F(Archive, WrittenFilesComeBackUnchanged) {
    SeedRandom(303);
    std::vector<MapArchiveEntry> files = {
        {L"vira.map", RandomBytes(5000, 40)}, {L"vira.itm", ""},
        {L"тест.lst", EncodeCp1251(L"\"Солдат\",20,\"%\",0,\"М\",30,12,5,\"soldier.tai\",\"\",\"\",#TRUE#\r\n")}, {L"noise.bin", RandomBytes(3000, 256)}};
    EXPECT_EQ(Extract(WriteMapArchive(files, nullptr).value()), L"");
    for (const auto& f : files) EXPECT_EQ(Saved(ToUtf8(f.name)), f.content) << ToUtf8(f.name);
    EXPECT_EQ(FilesIn(out()).size(), files.size());
}

TEST_F(Archive, EmptyArchivesAndEntriesAndFilesReplacedWhateverTheirCase) {
    EXPECT_EQ(Extract(RawArchive({})) + std::to_wstring(FilesIn(out()).size()), L"0");
    ASSERT_TRUE(WriteFileAtomic(out() / "old.itm", "left from before") && WriteFileAtomic(out() / "A1.MAP", "old"));
    ASSERT_TRUE(WriteFileAtomic(out() / "vira.map", std::string(10000, 'Z')));
    EXPECT_EQ(Extract(RawArchive({{"old.itm", ""}, {"new.itm", ""}, {"vira.map", kHandStream}, {"a1.map", "HE0\rnew"}})), L"");
    EXPECT_EQ(std::tuple(Saved("old.itm"), Saved("new.itm"), Saved("vira.map"), Saved("A1.MAP"), FilesIn(out())),
              std::tuple("", "", "xxxyz", "new", std::vector<std::string>{"A1.MAP", "new.itm", "old.itm", "vira.map"}));
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
    fs::create_directories(out() / "sub");
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::string name : {"../evil.map", "..", ".", "sub/x.map", "sub\\x.map", "c:x.map", "a\x01" "b", "", "CON", "/tmp/abs.map"}) entries.push_back({name, "HE0\rbad"});
    entries.push_back({"good.map", "HE0\rgood"});
    EXPECT_EQ(Extract(RawArchive(entries)),
              L"../evil.map: bad entry name\r\n..: bad entry name\r\n.: bad entry name\r\nsub/x.map: bad entry name\r\nsub\\x.map: bad entry name\r\n"
              L"c:x.map: bad entry name\r\na?b: bad entry name\r\n: bad entry name\r\nCON: bad entry name\r\n/tmp/abs.map: bad entry name");
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"data.uni", "saved", "saved/good.map", "saved/sub"}));
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
