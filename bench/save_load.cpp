// Saving and loading the whole save set with a full 71 x 71 location: the quit keys and the
// load button wait on these. Then a world of 60 such locations, of which the hero has left N
// since the last save (their files wait in the save folder's staging): a save, and a door
// passed, must cost about the same after 30 places as after one.
// Goals: a save after 30 places at most twice a save after one; a door after 30 places no
// dearer than after one.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "platform/file_set.h"
#include "platform/files.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/save_set.h"
#include "spread.h"

using namespace morvath;

namespace {

class BenchFolder {
public:
    BenchFolder() {
        path_ = fs::temp_directory_path() / ("morvath-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(path_ / "saved");
        SetGameFolder(path_);
    }
    ~BenchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }

private:
    fs::path path_;
};

// A busy game: a full grid, a crowded location, a full location table, a heavy pack and a
// full skills table.
void FillGame() {
    ResetGame();
    SeedRandom(1);
    auto& g = modVarsAndMain;
    g.CreateRoots();
    World& w = *g.TheWorld;
    w.WorldName = L"N1";
    w.MapType = 0;
    const std::wstring tiles = L"GGGGaЊп9q#+!d";
    for (int r = 0; r <= 70; ++r) {
        std::wstring row;
        for (int c = 0; c < 71; ++c) row += tiles[static_cast<std::size_t>(RandomInt(0, static_cast<int>(tiles.size())))];
        w.SetRow(r, row);
    }
    w.LocCount = -1;
    for (int i = 0; i < 31; ++i) w.addLocation(i, 3, L"N" + std::to_wstring(i), 10 + i, 12);
    for (int i = 0; i < 60; ++i) {
        auto n = g.NPCs->Add();
        n->NPCName = L"Житель " + std::to_wstring(i);
        n->Symbol = L"Ж";
        n->HP = 6.5 + i;
        n->Tactic = i % 4;
        n->Weapon = L"М";
        n->X = static_cast<float>(i % 50 + 6);
        n->Y = static_cast<float>(i / 2 + 6);
        n->Strenght = 3;
        n->AIScript_File = L"man.tai";
        n->DieScript_File = L"man.die";
        n->Last_Speech = i % 3 ? L"" : L"Ступай своей дорогой, путник.";
        n->Good = i % 2;
    }
    for (int i = 0; i < 80; ++i) {
        auto it = w.mapItemCol->Add();
        it->X = 20.5f + static_cast<float>(i % 30);
        it->Y = static_cast<float>(i % 40);
        it->ItemName = L"Камень " + std::to_wstring(i);
        it->ItemType = 11;
        it->ItemInfo = L"Тяжёлый, серый камень";
        it->Weight = 3.25;
    }
    auto& h = *g.Player;
    h.PlayerName = L"Ратибор";
    h.Profession = kPrince;
    h.HP = 20;
    h.MaxHp = 25;
    h.Strenght = 7.125;
    for (int i = 0; i < 40; ++i) {
        auto it = g.Inventory->Add();
        it->ItemName = L"Хлеб";
        it->ItemInfo = L"Чёрствый, но съедобный";
        it->ItemType = 4;
        it->ItemCount = i % 5;
        it->Weight = 0.5;
    }
    for (int r = 0; r <= 20; ++r) {
        g.Skills[r][0] = Variant(L"Умение " + std::to_wstring(r));
        g.Skills[r][1] = r;
        g.Skills[r][2] = Variant(L"Мясо волка,Мясо медведя");
    }
    g.Equip[kSlotRightHand] = {Variant(L"Меч"), 1, Variant(L"Старый"), 0, Variant(L""), 5, 0, 2.5, 30, Variant(L"St+02")};
}

void BM_SaveGame(benchmark::State& state) {
    BenchFolder folder;
    FillGame();
    for (auto _ : state) {
        if (!SaveGame()) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond);

void BM_LoadGame(benchmark::State& state) {
    BenchFolder folder;
    FillGame();
    if (!SaveGame()) state.SkipWithError("save failed");
    for (auto _ : state) {
        modVarsAndMain.CreateRoots();
        if (!LoadGame()) state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);

constexpr int kPlaces = 60;

std::wstring PlaceName(int i) { return L"L" + std::to_wstring(i); }

// Every place of the world written and committed, each with a door on the cell (5, 5) that
// leads to the next place's same cell; the hero stands there in place 0.
void FillWorld() {
    FillGame();
    auto& g = modVarsAndMain;
    World& w = *g.TheWorld;
    for (int i = 0; i < kPlaces; ++i) {
        w.WorldName = PlaceName(i);
        w.ClearLocations();
        w.LocCount = -1;
        w.addLocation(5, 5, PlaceName((i + 1) % kPlaces), 5, 5);
        w.SaveChars();
        w.SaveItems();
        w.SaveMap();
        w.SaveCoords();
    }
    SaveFolder().Commit();
    w.WorldName = PlaceName(0);
    w.Load_World();
    g.PlayerX = 5;
    g.PlayerY = 5;
}

// The hero has left `n` places since the last save: what leaving writes is staged.
void LeavePlaces(int n) {
    World& w = *modVarsAndMain.TheWorld;
    const std::wstring here = w.WorldName;
    for (int i = 0; i < n; ++i) {
        w.WorldName = PlaceName(kPlaces - 1 - i);
        w.SaveChars();
        w.SaveMap();
        w.SaveItems();
    }
    w.WorldName = here;
}

void BM_SaveAfterPlaces(benchmark::State& state) {
    BenchFolder folder;
    FillWorld();
    for (auto _ : state) {
        state.PauseTiming();
        LeavePlaces(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        if (!SaveGame()) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveAfterPlaces)->Arg(1)->Arg(5)->Arg(20)->Arg(30)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->Apply(Spread);

// Through the door of place 0 into place 1, and back by the same cell.
void BM_DoorAfterPlaces(benchmark::State& state) {
    BenchFolder folder;
    FillWorld();
    World& w = *modVarsAndMain.TheWorld;
    LeavePlaces(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::wstring next = w.WorldName == PlaceName(0) ? PlaceName(1) : PlaceName(0);
        w.ClearLocations();
        w.LocCount = -1;
        w.addLocation(5, 5, next, 5, 5);
        w.checkplace();
        if (w.WorldName != next) state.SkipWithError("the door did not lead on");
    }
}
BENCHMARK(BM_DoorAfterPlaces)->Arg(1)->Arg(30)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true)->Apply(Spread);

}  // namespace

BENCHMARK_MAIN();
