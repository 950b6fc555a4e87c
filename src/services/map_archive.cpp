#include "services/map_archive.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <limits>

#include "platform/cp1251.h"
#include "platform/source_text.h"
#include "services/huffman.h"

namespace morvath {
namespace {

void PutLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool StorableName(const std::wstring& name) {
    if (!IsPlainName(name) || name.size() > 255) return false;
    return std::all_of(name.begin(), name.end(), [](wchar_t c) { return UnicodeToCp1251(c) >= 0; });
}

}  // namespace

std::optional<std::string> WriteMapArchive(const std::vector<MapArchiveEntry>& files,
                                           std::vector<std::string>* problems) {
    auto problem = [&](std::string text) {
        if (problems) problems->push_back(std::move(text));
    };
    bool ok = true;
    if (files.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        problem("too many files for one archive: " + std::to_string(files.size()));
        return std::nullopt;
    }
    std::string out;
    PutLe(out, static_cast<std::uint32_t>(files.size()), 2);
    for (const auto& f : files) {
        if (!StorableName(f.name)) {
            problem(ToUtf8(f.name) + ": not a plain Windows-1251 file name of at most 255 characters");
            ok = false;
            continue;
        }
        std::string stream = f.content.empty() ? std::string() : HuffmanEncode(f.content);
        if (stream.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            problem(ToUtf8(f.name) + ": too large for the archive");
            ok = false;
            continue;
        }
        std::string name = EncodeCp1251(f.name);
        out.push_back(static_cast<char>(name.size()));
        out += name;
        PutLe(out, static_cast<std::uint32_t>(stream.size()), 4);
        out += stream;
    }
    if (!ok) return std::nullopt;
    return out;
}

std::optional<std::string> PackMapFolder(const fs::path& folder, std::vector<std::string>* problems) {
    std::vector<std::string> found;
    std::vector<fs::path> paths;
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            if (entry.path().filename() == ".keep") continue;
            if (entry.is_directory()) {
                found.push_back(entry.path().string() + ": a folder cannot go into the map archive");
                continue;
            }
            paths.push_back(entry.path());
        }
        if (ec) found.push_back(folder.string() + ": " + ec.message());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<MapArchiveEntry> files;
    for (const auto& p : paths) {
        auto bytes = ReadBytes(p);
        if (!bytes) {
            found.push_back(p.string() + ": cannot read");
            continue;
        }
        MapArchiveEntry e{FromUtf8(p.filename().string()), std::move(*bytes)};
        if (IsSourceTextFile(p)) {
            wchar_t bad = 0;
            e.content = SourceTextToGame(e.content, &bad);
            if (bad != 0) {
                char code[16];
                std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad));
                found.push_back(p.string() + ": has a character outside Windows-1251 (" + code + ")");
            }
        }
        files.push_back(std::move(e));
    }
    auto archive = WriteMapArchive(files, &found);
    if (problems) problems->insert(problems->end(), found.begin(), found.end());
    if (!found.empty()) return std::nullopt;
    return archive;
}

}  // namespace morvath
