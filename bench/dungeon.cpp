// The generated places: one dungeon carved (rooms, corridors, staircase, exit); one populated
// dungeon written into the save folder (carving, the monster draw from a template file, five
// files); one level of the endless cave (maze, stairs, monsters). Runs in a temporary game
// folder, in memory where the system has a memory file system (/dev/shm): every file the
// game writes is synced to the disk, and a disk's sync time says nothing about the generator.
// Goal: a median of at most 5 ms each.
#include <benchmark/benchmark.h>

#include "platform/files.h"
#include "platform/random.h"
#include "world/dungeon.h"
#include "world/game_state.h"
#include "scratch.h"

using namespace morvath;

namespace {

class Folder {
public:
    Folder() : path_(MemoryFolder("dungeon")) {
        fs::create_directories(path_ / "saved");
        fs::create_directories(path_ / "maps");
        WriteFileAtomic(path_ / "maps" / "beasts.dat",
                        "\"Orc\",\"temp.tai\",4,14,\"M\",\"dog1.die\",#FALSE#,1,\"t\"\r\n"
                        "\"Spider\",\"temp.tai\",3,10,\"k\",\"spider.die\",#FALSE#,1,\"t\"\r\n");
        SetGameFolder(path_);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }

private:
    fs::path path_;
};

void BM_CarveDungeon(benchmark::State& state) {
    SeedRandom(1);
    for (auto _ : state) {
        const DungeonLayout d = CarveDungeon(28, 46);
        benchmark::DoNotOptimize(d.ExitX);
    }
}
BENCHMARK(BM_CarveDungeon)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Dungeon(benchmark::State& state) {
    Folder folder;
    ResetGame();
    modVarsAndMain.CreateRoots();
    SeedRandom(1);
    DungeonSpec spec;
    spec.StartX = 28;
    spec.StartY = 46;
    spec.DungeonName = L"lair";
    spec.UpTarget = L"wild";
    spec.ExitTarget = L"wild";
    spec.Populate = true;
    spec.MaxMonsters = 14;
    spec.MonsterTemplate = L"beasts.dat";
    for (auto _ : state) {
        if (!GenerateDungeon(spec)) {
            state.SkipWithError("the dungeon was not written");
            break;
        }
    }
}
BENCHMARK(BM_Dungeon)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Cave(benchmark::State& state) {
    Folder folder;
    ResetGame();
    modVarsAndMain.CreateRoots();
    modVarsAndMain.Player->Level = 5;
    SeedRandom(1);
    for (auto _ : state) {
        modVarsAndMain.TheWorld->InfLevel = 3;
        modVarsAndMain.TheWorld->Generate_Cave_World();
        benchmark::DoNotOptimize(modVarsAndMain.NPCs->Count());
    }
}
BENCHMARK(BM_Cave)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
