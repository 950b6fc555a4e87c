#include "game/gathering.h"

#include "game/items.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/speech.h"

namespace morvath {
namespace {

bool KnowsSkill(const wchar_t* name) {
    for (const auto& row : modVarsAndMain.Skills) {
        if (row[0].ToText() == name) return true;
    }
    return false;
}

bool HoldsTool(const wchar_t* name) {
    const auto& e = modVarsAndMain.Equip;
    return e[kSlotRightHand][kEqName].ToText() == name || e[kSlotLeftHand][kEqName].ToText() == name;
}

void Reweigh() { modVarsAndMain.Player->DoWeight(); }

void SetTile(int col, int row, const wchar_t* tile) { modVarsAndMain.TheWorld->setPosMap(row, col, tile); }

void RecordSearched(int col, int row) {
    auto& places = modVarsAndMain.SearchedPlaces;
    if (places.size() < kMaxSearchedPlaces) places.push_back({col, row, 1});
}

bool AlreadySearched(int col, int row) {
    const auto& places = modVarsAndMain.SearchedPlaces;
    for (auto it = places.rbegin(); it != places.rend(); ++it) {
        if (it->X == col && it->Y == row) return it->flag == 1;
    }
    return false;
}

}  // namespace

void GatherInFront() {
    auto& g = modVarsAndMain;
    int col = g.PlayerX + 3, row = g.PlayerY + 3;
    switch (static_cast<int>(g.FacingDir)) {
        case 1: row -= 1; break;
        case 2: row += 1; break;
        case 3: col += 1; break;
        case 4: col -= 1; break;
        default: return;
    }
    g.CurTile = g.TheWorld->GetPosMap(col, row);
    GatherFromTile(g.CurTile, col, row);
}

void GatherFromTile(const std::wstring& tile, int col, int row) {
    if (tile == L"?") PickBerries(col, row);
    else if (tile == L"w") MineOre(col, row);
    else if (tile == L"B") ChopTree(col, row);
    else if (tile == L"!") SearchPlace(col, row);
}

void PickBerries(int col, int row) {
    const bool herbLore = KnowsSkill(L"Знание трав");
    SetTile(col, row, L"G");
    auto berry = NewCarried(L"Неизвестные ягоды", kFood, L"Какие-то красноватые ягоды", 0.07);
    berry->ItemScript = L"unkya.itm";
    if (herbLore) {
        static constexpr const wchar_t* kBerries[] = {L"Черника", L"Неизвестные ягоды", L"Земляника", L"Клюква",
                                                      L"Брусника", L"Волчья ягода", L"Бузина"};
        Randomize();
        const int k = static_cast<int>(Int(7 * Rnd()));
        berry->ItemName = kBerries[k];
        berry->ItemScript = k == 5 ? L"wolfya.itm" : L"yagoda.itm";
        berry->ItemInfo = L"Полезные ягоды";
        berry->ItemType = kBerry;
    }
    ShowInfo(L"Вы сорвали ягоды ");
    Reweigh();
}

void MineOre(int col, int row) {
    if (!HoldsTool(L"Кирка")) return;
    const int r4 = static_cast<int>(Int(4 * Rnd()));
    SetTile(col, row, L"G");
    if (r4 == 3) {
        NewCarried(L"Железная руда", kOre, L"Камень", 6.0);
        ShowInfo(L"Вы нашли руду...");
    }
    Reweigh();
}

void ChopTree(int col, int row) {
    if (!HoldsTool(L"Топор")) return;
    auto& hero = *modVarsAndMain.Player;
    const int r4 = static_cast<int>(Int(4 * Rnd()));
    SetTile(col, row, L"п");
    if (r4 == 2) {
        // The tree falls the wrong way: no wood, and the unlucky are hit.
        const double v = Int(7 * Rnd()) + hero.Luck;
        if (v < 4) {
            Say(L"На вас упало дерево!", L"");
            hero.HP = static_cast<double>(hero.HP) - 8 - hero.Luck;
        }
        return;
    }
    auto log = NewCarried(L"Бревно", kFuel, L"Деревянное полено", 0);
    log->WeaponPlus = 20;
    log->Critical = 100;
    log->Weight = Int(100 * Rnd()) + 20;
    ShowInfo(L"Вы срубили дерево...");
    Reweigh();
}

void SearchPlace(int col, int row) {
    auto& g = modVarsAndMain;
    if (AlreadySearched(col, row)) {
        Say(L"Тут ничего нет , вы уже искали", L"");
        return;
    }
    Randomize();
    const int k = static_cast<int>(Int(9 * Rnd()));
    RecordSearched(col, row);
    switch (k) {
        case 1: {
            auto food = NewCarried(L"Еда", kFood, L"Зерно и Хлеб", 0.5);
            food->ItemScript = L"food.itm";
            Say(L"Вы Нашли Еду", L"");
            break;
        }
        case 2:
            NewCarried(L"Дерево", kFuel, L"Крепкие дуб и осина", 0.7);
            Say(g.Messages[11], L"");
            break;
        case 3: {
            const int m = static_cast<int>(Int(7 * Rnd() + 1));
            g.Money = static_cast<double>(g.Money) + m;
            Say(g.Messages[16] + L"  - " + NumText(m) + L" штук", L"");
            break;
        }
        default:
            Say(g.Messages[13], L"");
            break;
    }
    Reweigh();
}

}  // namespace morvath
