#pragma once
// A test process works in a scratch folder of its own: the tests' own files, Qt's runtime
// files and the sound system's all go there, and the folder goes when the process ends.
// A run leaves nothing behind, and two runs never meet.
//
// Every change the game makes on the disk passes the platform's gate, and the folder keeps
// a watch there for as long as the process lives: a step that creates, writes, renames or
// removes anything outside the scratch folder (even through a link) fails the test that
// made it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/files.h"

namespace morvath {

class PrivateFolders {
public:
    PrivateFolders() {
        std::error_code ec;
        auto base = std::filesystem::temp_directory_path(ec);
        std::string pattern = ((ec ? std::filesystem::path("/tmp") : base) / "morvath-run-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return;
        path_ = std::filesystem::weakly_canonical(pattern, ec);
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR", "TEST_TMPDIR"}) ::setenv(name, pattern.c_str(), 1);
        WatchDisk([root = path_](const DiskCall& c) {
            if (c.step == DiskStep::SyncFolder || c.step == DiskStep::SyncAll || c.step == DiskStep::SyncFile) return true;
            for (const fs::path* p : {&c.path, c.from}) {
                if (p && !Inside(*p, root)) ADD_FAILURE() << "the game changed " << *p << ", outside the test's folder " << root;
            }
            return true;
        });
    }
    ~PrivateFolders() {
        WatchDisk(nullptr);
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }

private:
    // Where the entry lies once every link on its way is followed.
    static bool Inside(const fs::path& entry, const fs::path& root) {
        std::error_code ec;
        const fs::path real = fs::weakly_canonical(entry.parent_path(), ec) / entry.filename();
        const fs::path rel = real.lexically_relative(root);
        return !ec && !rel.empty() && *rel.begin() != "..";
    }

    std::filesystem::path path_;
};

}  // namespace morvath
