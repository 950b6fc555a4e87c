#include "world/item_templates.h"

#include <cmath>

#include "platform/files.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "world/game_state.h"

namespace morvath {
namespace {

std::shared_ptr<Item> NewFloorItem(double x, double y) {
    auto& g = modVarsAndMain;
    auto item = g.TheWorld->mapItemCol->Add();
    g.CurItem = item;
    item->X = static_cast<float>(x);
    item->Y = static_cast<float>(y);
    return item;
}

}  // namespace

void DropRandomWeapons(double x, double y) {
    auto& g = modVarsAndMain;
    if (!g.TheWorld) return;
    Randomize();
    int n = static_cast<int>(Int(5 * Rnd()));
    // Both bonuses live for the whole call: a shield dropped after a sword keeps the
    // sword's attack bonus too.
    int attack = 0, defence = 0;
    while (n != 0) {
        Randomize();
        const auto& row = g.WeaponsTable[static_cast<std::size_t>(Int(40 * Rnd()))];
        --n;
        if (row[kWpName].ToText().empty()) continue;
        auto item = NewFloorItem(x, y);
        item->ItemName = row[kWpName].ToText();
        item->ItemScript.clear();
        item->ItemType = row[kWpType].ToNumber();
        if (item->ItemType == kWeapon) {
            attack = static_cast<int>(Int(3 * Rnd()));
        } else if (item->ItemType == kShield) {
            defence = static_cast<int>(Int(3 * Rnd()));
        }
        item->WeaponPlus = row[kWpWeaponPlus].ToNumber() + attack;
        item->DefendPlus = row[kWpDefendPlus].ToNumber() + defence;
        item->Critical = row[kWpCritical].ToNumber();
        item->Weight = row[kWpWeight].ToNumber();
        item->SkillPlus = row[kWpSkillPlus].ToText();
        item->ItemInfo = row[kWpInfo].ToText();
    }
}

void LoadMapItemFile(const std::wstring& file, double x, double y) {
    if (!modVarsAndMain.TheWorld || !IsPlainName(file)) return;
    const fs::path path = GamePath(L"\\maps\\" + file);
    auto bytes = ReadBytes(path);
    if (!bytes) return;
    Randomize();
    const double k = Int(static_cast<double>(bytes->size()) / 80);
    TextReader reader(std::move(*bytes));
    std::wstring header;
    if (!reader.ReadItem(header)) return;
    while (!reader.AtEnd()) {
        const bool taken = Int(Rnd() * (k + 3)) == 2;
        std::wstring name, info, script, skillPlus;
        double type = 0, attack = 0, defence = 0, critical = 0, weight = 0;
        if (!reader.ReadText(name) || !reader.ReadNumber(type) || !reader.ReadText(info) ||
            !reader.ReadText(script) || !reader.ReadNumber(attack) || !reader.ReadNumber(defence) ||
            !reader.ReadNumber(critical) || !reader.ReadText(skillPlus) || !reader.ReadNumber(weight)) {
            return;
        }
        if (!taken) continue;
        auto item = NewFloorItem(x, y);
        item->ItemName = name;
        item->ItemType = type;
        item->ItemInfo = info;
        item->ItemScript = script;
        item->WeaponPlus = attack;
        item->DefendPlus = defence;
        item->Critical = critical;
        item->SkillPlus = skillPlus;
        item->Weight = weight;
    }
}

void ApplySkillPlus(const std::wstring& code, int mode) {
    MainCharacter* hero = modVarsAndMain.Player.get();
    if (!hero || code.size() < 3) return;
    double sign = 0;
    if (code[2] == L'+') sign = 1;
    else if (code[2] == L'-') sign = -1;
    else return;
    // The amount is the last two characters whatever stands before them: "St+123" is 23,
    // and the sign character alone gives the direction.
    const double amount = mode * sign * std::fabs(Val(std::wstring_view(code).substr(code.size() - 2)));
    const std::wstring key = code.substr(0, 2);
    if (key == L"Lu") hero->Luck = static_cast<double>(hero->Luck) + amount;
    else if (key == L"Wi") hero->WillPower += amount;
    else if (key == L"Ma") hero->Magic += amount;
    else if (key == L"St") hero->Strenght += amount;
    else if (key == L"Ap" || key == L"Ch") hero->Appearance += amount;
    else if (key == L"Dx") hero->Mobility += amount;
}

void ResetSearchedPlaces() { modVarsAndMain.SearchedPlaces.clear(); }

}  // namespace morvath
