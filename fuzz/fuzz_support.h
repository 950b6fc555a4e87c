#pragma once
// What the file-reader fuzz targets share: a private game folder, and one input cut into
// the files it stands for.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <stdlib.h>
#include <vector>

#include "platform/files.h"

namespace morvath::fuzz {

// A game folder with \saved\ and \scripts\ under the system's temporary folder, made once
// per process and removed when it ends.
class FuzzGameFolder {
public:
    FuzzGameFolder() {
        std::string pattern = (fs::temp_directory_path() / "morvath-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        fs::create_directories(path_ / "saved");
        fs::create_directories(path_ / "scripts");
        SetGameFolder(path_);
    }
    ~FuzzGameFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    static FuzzGameFolder& Get() {
        static FuzzGameFolder folder;
        return folder;
    }

private:
    fs::path path_;
};

// The input's parts, separated by NUL bytes (no game file holds one); a part that is not
// there is a missing file.
inline std::vector<std::optional<std::string_view>> SplitParts(const std::uint8_t* data, std::size_t size,
                                                              std::size_t parts) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    std::vector<std::optional<std::string_view>> out(parts);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < parts && pos <= in.size(); ++i) {
        std::size_t end = in.find('\0', pos);
        if (end == std::string_view::npos) end = in.size();
        out[i] = in.substr(pos, end - pos);
        pos = end + 1;
    }
    return out;
}

// Writes a part into \saved\, or removes the file for a missing part.
inline void PutSaved(const std::wstring& name, const std::optional<std::string_view>& part) {
    fs::path p = GamePath(L"\\saved\\" + name);
    if (part) WriteFileAtomic(p, *part);
    else RemoveFile(p);
}

}  // namespace morvath::fuzz
