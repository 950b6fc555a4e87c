// Unpacking speed of the map archive: the table-driven decoder against the plain tree walk it
// replaces, and against zlib's inflate of the same files, each file a stream of its own as in
// the archive. Throughput counts decoded bytes. Then the whole unpacking of archives of 10 to
// 3,000 entries into an empty folder, as a new game does it, on a memory file system where
// the system has one: the time must grow with the entries, not with their square.
//
// Goals: the table-driven decoder at least 1.5x inflate; 1,000 entries unpacked in at most
// 50 ms.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/random.h"
#include "services/compression.h"
#include "services/huffman.h"
#include "services/map_archive.h"
#include "scratch.h"
#include "spread.h"

using namespace morvath;

namespace {

// ---- Generated locations: the tile mix of towns, forests and caves ----

void Patch(std::vector<std::string>& g, char tile, int size) {
    int h = static_cast<int>(g.size()), w = static_cast<int>(g[0].size());
    int cy = RandomInt(2, h - 2), cx = RandomInt(2, w - 2);
    for (int i = 0; i < size; ++i) {
        if (cy > 1 && cy < h - 2 && cx > 1 && cx < w - 2) g[static_cast<std::size_t>(cy)][static_cast<std::size_t>(cx)] = tile;
        cy += RandomInt(-1, 2);
        cx += RandomInt(-1, 2);
    }
}

void House(std::vector<std::string>& g) {
    int h = static_cast<int>(g.size()), w = static_cast<int>(g[0].size());
    int hh = RandomInt(4, 9), hw = RandomInt(5, 12);
    int y0 = RandomInt(3, h - hh - 3), x0 = RandomInt(3, w - hw - 3);
    for (int y = y0; y < y0 + hh; ++y) {
        for (int x = x0; x < x0 + hw; ++x) {
            bool wall = y == y0 || y == y0 + hh - 1 || x == x0 || x == x0 + hw - 1;
            g[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = wall ? 'C' : (RandomInt(0, 12) == 0 ? '!' : 'G');
        }
    }
    g[static_cast<std::size_t>(y0 + hh - 1)][static_cast<std::size_t>(x0 + hw / 2)] = '+';
}

std::string MapFile() {
    int h = 53 + RandomInt(0, 19), w = RandomInt(50, 121);
    std::vector<std::string> g(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), 'G'));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (y < 2 || x < 2 || y >= h - 2 || x >= w - 2) g[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'a';
        }
    }
    for (int i = RandomInt(3, 12); i > 0; --i) Patch(g, 'B', RandomInt(20, 300));
    for (int i = RandomInt(0, 4); i > 0; --i) Patch(g, 'D', RandomInt(20, 200));
    for (int i = RandomInt(0, 5); i > 0; --i) Patch(g, 'w', RandomInt(10, 150));
    for (int i = RandomInt(0, 6); i > 0; --i) House(g);
    static const std::string scatter = "?9<!&\x92{}";
    for (int i = RandomInt(5, 40); i > 0; --i) {
        g[static_cast<std::size_t>(RandomInt(2, h - 2))][static_cast<std::size_t>(RandomInt(2, w - 2))] =
            scatter[static_cast<std::size_t>(RandomInt(0, static_cast<int>(scatter.size())))];
    }
    std::string out;
    for (const auto& row : g) out += row + "\r\n";
    return out;
}

std::string CharFile() {
    static const std::vector<std::wstring> names = {L"Солдат", L"Крестьянин", L"Торговец", L"Волк", L"Разбойник", L"Монах"};
    std::wstring out;
    for (int i = RandomInt(0, 15); i > 0; --i) {
        out += L"\"" + names[static_cast<std::size_t>(RandomInt(0, static_cast<int>(names.size())))] + L"\"," +
               std::to_wstring(RandomInt(5, 60)) + L",\"%\"," + std::to_wstring(RandomInt(0, 4)) + L",\"М\"," +
               std::to_wstring(RandomInt(3, 90)) + L"," + std::to_wstring(RandomInt(3, 60)) + L"," +
               std::to_wstring(RandomInt(1, 20)) + L",\"soldier.tai\",\"\",\"\"," + (RandomInt(0, 2) ? L"#TRUE#" : L"#FALSE#") +
               L"\r\n";
    }
    return EncodeCp1251(out);
}

std::string CoordFile() {
    std::string out;
    for (int i = RandomInt(1, 8); i > 0; --i) {
        out += std::to_string(RandomInt(3, 90)) + "\r\n" + std::to_string(RandomInt(3, 60)) + "\r\nwild\r\n" +
               std::to_string(RandomInt(1, 90)) + "\r\n" + std::to_string(RandomInt(1, 60)) + "\r\n";
    }
    return out;
}

std::string ItemFile() {
    std::wstring out;
    for (int i = RandomInt(0, 6); i > 0; --i) {
        out += std::to_wstring(RandomInt(3, 90)) + L"," + std::to_wstring(RandomInt(3, 60)) +
               L",\"Меч\",1,\"Старый меч\",3.5,2,0,0,\"\",1,\"\"\r\n";
    }
    return EncodeCp1251(out);
}

struct Corpus {
    std::vector<std::string> files;    // the unpacked bytes
    std::vector<std::string> streams;  // our streams, as the archive holds them
    std::vector<std::string> deflated;
    std::size_t total = 0;
};

// The files of 1,200 locations, five each.
const std::vector<MapArchiveEntry>& Entries() {
    static const std::vector<MapArchiveEntry> entries = [] {
        SeedRandom(4101);
        std::vector<MapArchiveEntry> e;
        for (int loc = 0; loc < 1200; ++loc) {
            std::wstring id = L"loc" + std::to_wstring(loc);
            e.push_back({id + L".map", MapFile()});
            e.push_back({id + L".lst", CharFile()});
            e.push_back({id + L".crd", CoordFile()});
            e.push_back({id + L".itm", ItemFile()});
            e.push_back({id + L".tle", "0\r\n#This is a TileSet type file.Do not remove this Line!'\r\n"});
        }
        return e;
    }();
    return entries;
}

const Corpus& TheCorpus() {
    static const Corpus corpus = [] {
        const std::vector<MapArchiveEntry>& entries = Entries();
        Corpus c;
        // Through the archive writer, so the streams are exactly those the packer ships.
        auto archive = WriteMapArchive(entries, nullptr);
        if (!archive) throw std::runtime_error("archive");
        std::size_t pos = 2;
        auto le = [&](int n) {
            std::uint32_t v = 0;
            for (int i = 0; i < n; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>((*archive)[pos++])) << (8 * i);
            return v;
        };
        for (const auto& e : entries) {
            std::uint32_t nameLength = le(1);
            pos += nameLength;
            std::uint32_t size = le(4);
            c.streams.push_back(archive->substr(pos, size));
            pos += size;
            c.files.push_back(e.content);
            c.total += e.content.size();
            uLongf len = compressBound(e.content.size());
            std::string z(len, '\0');
            compress2(reinterpret_cast<Bytef*>(z.data()), &len, reinterpret_cast<const Bytef*>(e.content.data()),
                      e.content.size(), Z_DEFAULT_COMPRESSION);
            z.resize(len);
            c.deflated.push_back(std::move(z));
        }
        return c;
    }();
    return corpus;
}

// Decodes every entry, or only the location grids (".map"), the bulk of an archive's bytes.
template <typename Decode>
void Run(benchmark::State& state, Decode decode, const std::vector<std::string>& inputs) {
    const Corpus& c = TheCorpus();
    const bool gridsOnly = state.range(0) != 0;
    std::size_t total = 0, packed = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (gridsOnly && i % 5 != 0) continue;
        total += c.files[i].size();
        packed += inputs[i].size();
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (gridsOnly && i % 5 != 0) continue;
            std::string out = decode(inputs[i], c.files[i].size());
            if (out.size() != c.files[i].size()) state.SkipWithError("wrong size");
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * total));
    state.counters["MB"] = static_cast<double>(total) / 1e6;
    state.counters["packed_pct"] = 100.0 * static_cast<double>(packed) / static_cast<double>(total);
}

void BM_TableDecoder(benchmark::State& state) {
    Run(state, [](const std::string& s, std::size_t) { return HuffmanDecode(s).data; }, TheCorpus().streams);
}

void BM_TreeWalk(benchmark::State& state) {
    Run(state, [](const std::string& s, std::size_t) { return HuffmanDecodeTreeWalk(s).data; }, TheCorpus().streams);
}

void BM_ZlibInflate(benchmark::State& state) {
    z_stream z{};
    inflateInit(&z);
    Run(
        state,
        [&](const std::string& in, std::size_t size) {
            std::string out(size, '\0');
            inflateReset(&z);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
            z.avail_in = static_cast<uInt>(in.size());
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = static_cast<uInt>(out.size());
            if (inflate(&z, Z_FINISH) != Z_STREAM_END) out.clear();
            return out;
        },
        TheCorpus().deflated);
    inflateEnd(&z);
}

// All files as one long stream: the decoders' own speed once a table is paid for.
const std::string& OneStream(std::size_t* size) {
    static const std::string all = [] {
        std::string s;
        for (const auto& f : TheCorpus().files) s += f;
        return s;
    }();
    static const std::string stream = HuffmanEncode(all);
    *size = all.size();
    return stream;
}

template <DecodedStream (*decode)(std::string_view)>
void BM_OneStream(benchmark::State& state) {
    std::size_t size;
    const std::string& stream = OneStream(&size);
    for (auto _ : state) {
        std::string out = decode(stream).data;
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

DecodedStream TableDecode(std::string_view s) { return HuffmanDecode(s); }

// The first N entries unpacked into an empty folder, as the staged start does it: one flush
// of the disk for them all.
void BM_ExtractAll(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    const std::vector<MapArchiveEntry> entries(Entries().begin(), Entries().begin() + static_cast<std::ptrdiff_t>(n));
    const auto archive = WriteMapArchive(entries, nullptr);
    const fs::path folder = MemoryFolder("archive");
    const fs::path archiveFile = folder / "data.uni";
    const fs::path saved = folder / "saved";
    fs::create_directories(saved);
    if (!archive || !WriteFileAtomic(archiveFile, *archive)) {
        state.SkipWithError("the archive was not written");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        RemoveFilesIn(saved);
        state.ResumeTiming();
        SyncBatch batch(saved);
        clsCompresion reader;
        if (!reader.ExtractAll(archiveFile, saved).empty()) state.SkipWithError("the archive did not unpack");
    }
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(saved)) files += entry.is_regular_file() ? 1 : 0;
    if (files != n) state.SkipWithError("not every entry was unpacked");
    state.counters["entries"] = static_cast<double>(n);
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace

// Argument 0: the whole archive; 1: the location grids only.
BENCHMARK(BM_TableDecoder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeWalk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OneStream, TableDecode)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OneStream, HuffmanDecodeTreeWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractAll)->Arg(10)->Arg(100)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->Apply(Spread);

BENCHMARK_MAIN();
