#pragma once
// A test process works in a scratch folder of its own: the tests' own files, Qt's runtime
// files and the sound system's all go there, and the folder goes when the process ends.
// A run leaves nothing behind, and two runs never meet.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace morvath {

class PrivateFolders {
public:
    PrivateFolders() {
        std::error_code ec;
        auto base = std::filesystem::temp_directory_path(ec);
        std::string pattern = ((ec ? std::filesystem::path("/tmp") : base) / "morvath-run-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return;
        path_ = pattern;
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR", "TEST_TMPDIR"}) ::setenv(name, pattern.c_str(), 1);
    }
    ~PrivateFolders() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }

private:
    std::filesystem::path path_;
};

}  // namespace morvath
