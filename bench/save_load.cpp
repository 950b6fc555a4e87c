// Saving and loading the whole save set with a full 71 x 71 location: the quit keys and the
// load button wait on these.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "platform/files.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/save_set.h"

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

}  // namespace

BENCHMARK_MAIN();
