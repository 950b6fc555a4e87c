#pragma once
// Helpers shared by the tests, and what nearly every test file uses: values compared as
// tuples, the code page and numbers as the game writes them, files, draws and the scripted
// player.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/cp1251.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "world/game_state.h"

namespace morvath {

// A text as the speech box shows it, waiting for the space bar.
inline std::wstring Spoken(const std::wstring& text) { return text + L"\r\n\r\n[пробел]"; }

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("morvath-test-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A fresh game folder with an empty \saved\ for the lifetime of the object; the previous
// game folder comes back afterwards.
class TempGameFolder {
public:
    TempGameFolder() : previous_(GameFolder()) {
        fs::create_directories(dir_.path() / "saved");
        fs::create_directories(dir_.path() / "scripts");
        SetGameFolder(dir_.path());
    }
    ~TempGameFolder() { SetGameFolder(previous_); }
    TempGameFolder(const TempGameFolder&) = delete;
    TempGameFolder& operator=(const TempGameFolder&) = delete;
    const fs::path& path() const { return dir_.path(); }
    fs::path saved(const std::string& name) const { return dir_.path() / "saved" / name; }

private:
    TempDir dir_;
    fs::path previous_;
};

// While it lives, the game's disk steps fail where `fails` says, as a full or broken disk
// would make them; the watch it replaces keeps watching every step.
class DiskFaults {
public:
    explicit DiskFaults(std::function<bool(const DiskCall&)> fails) {
        previous_ = WatchDisk([this, fails = std::move(fails)](const DiskCall& c) { return (!previous_ || previous_(c)) && !fails(c); });
    }
    ~DiskFaults() { WatchDisk(previous_); }
    DiskFaults(const DiskFaults&) = delete;
    DiskFaults& operator=(const DiskFaults&) = delete;

private:
    DiskWatch previous_;
};

// A fresh game with its roots, in a game folder of its own, with a scripted player.
struct GameTest : ::testing::Test {
    TempGameFolder folder;
    ScriptedFrontend ui;
    explicit GameTest(std::uint64_t seed = 7) {
        ResetGame();
        modVarsAndMain.CreateRoots();
        SeedRandom(seed);
    }
    ~GameTest() override { ResetGame(); }
    GameState& g() { return modVarsAndMain; }
    MainCharacter& h() { return *modVarsAndMain.Player; }
    World& w() { return *modVarsAndMain.TheWorld; }
};

}  // namespace morvath
