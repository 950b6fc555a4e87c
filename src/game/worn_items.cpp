#include "game/worn_items.h"

#include <array>

#include "game/items.h"
#include "game/keymap.h"
#include "script/cscript.h"
#include "world/equipment.h"
#include "world/game_state.h"
#include "world/item_templates.h"

namespace morvath {
namespace {

constexpr std::array<const wchar_t*, 6> kSlotPrefix = {L"Голова[A]:", L"Шея[B]:", L"Правая рука[C]:",
                                                       L"Левая рука[D]:", L"Тело[E]:", L"Ноги[F]:"};
// What each slot takes: a kind, or 0 for anything carried (the hands).
constexpr std::array<long, 6> kSlotKind = {kHead, kNeck, 0, 0, kBody, kLegs};

auto& Slot(int idx) { return modVarsAndMain.Equip[static_cast<std::size_t>(idx)]; }

bool ValidSlot(int idx) { return idx >= 0 && idx < static_cast<int>(kSlotPrefix.size()); }

// A head item's own script runs as it goes on (wear 1) or comes off (wear 2); a missing
// script changes nothing.
void RunWearScript(int idx, int mode, long itemType) {
    const std::wstring script = Slot(idx)[kEqScript].ToText();
    if (script.empty() || itemType != kHead) return;
    auto& g = modVarsAndMain;
    g.WearMode = mode;
    RunScriptFile(script);
    if (mode == 1) g.WearMode = 0;
}

}  // namespace

void REFRESHAtt() {
    auto& g = modVarsAndMain;
    for (int s = 0; s < static_cast<int>(kSlotPrefix.size()); ++s) {
        const auto& row = Slot(s);
        g.gameScreen.equip.captions[static_cast<std::size_t>(s)] =
            kSlotPrefix[static_cast<std::size_t>(s)] + row[kEqName].ToText() + L"[" + row[kEqWeaponPlus].ToText() +
            L"," + row[kEqDefendPlus].ToText() + L"]";
    }
    if (g.Player) g.Player->DoWeight();
}

void ChangeItem(int idx, long nw) {
    auto& g = modVarsAndMain;
    if (!ValidSlot(idx) || !g.Inventory) return;
    auto item = g.Inventory->Item(nw);
    if (!item) return;
    auto& row = Slot(idx);
    row[kEqName] = item->ItemName;
    row[kEqType] = static_cast<double>(item->ItemType);
    row[kEqInfo] = item->ItemInfo;
    row[kEqBalance] = static_cast<double>(item->itembalance);
    row[kEqScript] = item->ItemScript;
    row[kEqWeaponPlus] = static_cast<double>(item->WeaponPlus);
    row[kEqDefendPlus] = static_cast<double>(item->DefendPlus);
    row[kEqWeight] = item->Weight;
    row[kEqCritical] = static_cast<double>(item->Critical);
    row[kEqSkillPlus] = item->SkillPlus;
    ApplySkillPlus(item->SkillPlus, 1);
    RunWearScript(idx, 1, item->ItemType);
    // One piece goes on, and it is this very item that loses it: the script may have moved
    // the positions about, or taken the item already.
    if (!g.Inventory->Contains(item)) return;
    if (item->ItemCount < 1) {
        g.Inventory->Remove(item);
    } else {
        item->ItemCount -= 1;
    }
}

void RemItem(int idx) {
    auto& g = modVarsAndMain;
    if (!ValidSlot(idx) || !g.Inventory) return;
    auto& row = Slot(idx);
    auto item = g.Inventory->Add();
    g.CurItem = item;
    item->ItemName = row[kEqName].ToText();
    item->ItemType = row[kEqType].ToNumber();
    item->ItemInfo = row[kEqInfo].ToText();
    item->itembalance = row[kEqBalance].ToNumber();
    item->ItemScript = row[kEqScript].ToText();
    item->WeaponPlus = row[kEqWeaponPlus].ToNumber();
    item->DefendPlus = row[kEqDefendPlus].ToNumber();
    item->Weight = row[kEqWeight].ToNumber();
    item->Critical = row[kEqCritical].ToNumber();
    item->SkillPlus = row[kEqSkillPlus].ToText();
    ApplySkillPlus(item->SkillPlus, -1);
    RunWearScript(idx, 2, item->ItemType);
    for (int c = 0; c < static_cast<int>(Slot(idx).size()); ++c) {
        auto& cell = Slot(idx)[static_cast<std::size_t>(c)];
        const bool text = c == kEqName || c == kEqInfo || c == kEqScript || c == kEqSkillPlus;
        cell = text ? Variant(L"") : Variant(0);
    }
}

void ToggleSlot(int slot) {
    if (!ValidSlot(slot)) return;
    if (Slot(slot)[kEqName].ToText().empty()) {
        const long kind = kSlotKind[static_cast<std::size_t>(slot)];
        const int chosen = kind == 0 ? ChooseCarriedItem() : ChooseItemOfKind(kind);
        // Nothing chosen: the captions stay as they were.
        if (chosen == 0) return;
        ChangeItem(slot, chosen);
    } else {
        RemItem(slot);
    }
    REFRESHAtt();
    CalculateWeapons();
}

bool EquipScreenKey(int KeyCode) {
    auto& screen = modVarsAndMain.gameScreen.equip;
    if (KeyCode >= 'A' && KeyCode <= 'F') {
        ToggleSlot(KeyCode - 'A');
        return false;
    }
    const bool closes = KeyCode == kVkEscape;
    if (closes) screen.visible = false;
    REFRESHAtt();
    CalculateWeapons();
    return closes;
}

void CloseEquipScreenWithMagic() {
    auto& g = modVarsAndMain;
    auto& p = *g.Player;
    if (p.Profession == kPrince) {
        p.MConst = p.Science / 100.0 + p.Magic / 50;
    } else {
        p.MConst = p.Science / 50.0 + p.Magic / 25;
    }
    g.gameScreen.equip.visible = false;
}

}  // namespace morvath
