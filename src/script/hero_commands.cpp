// Script commands for the hero, the carried items, the coins, the spells and the skills.
#include <cmath>
#include <memory>

#include "platform/numbers.h"
#include "script/command_call.h"
#include "script/script_text.h"
#include "world/game_state.h"
#include "world/speech.h"

namespace morvath {
namespace {

ItemCol* Carried() { return modVarsAndMain.Inventory.get(); }

// One piece of a carried stack leaves the hero; the last piece takes the item with it.
void TakeOnePiece(const std::shared_ptr<Item>& item) {
    if (!item || !Carried()) return;
    if (item->ItemCount < 1) {
        Carried()->Remove(item);
    } else {
        item->ItemCount -= 1;
    }
}

void Reweigh(bool checkLoad) {
    MainCharacter* hero = Hero();
    if (!hero) return;
    hero->DoWeight();
    if (checkLoad) hero->CheckWeight();
}

// The item the hero handed over or picked, taken one piece at a time.
void TakeCarriedAt(long index) {
    if (index == 0 || !Carried()) return;
    // A position that no longer holds an item (the script took it already) does nothing.
    TakeOnePiece(Carried()->Item(index));
    Reweigh(true);
}

// take and give of "money" in any case: the coins change by the amount (and may go below 0).
bool ChangeCoins(CommandCall& c, const std::wstring& name, double sign) {
    if (LCase(name) != L"money") return false;
    if (auto amount = c.Arg(1)) {
        if (auto n = StrictNumber(*amount)) modVarsAndMain.Money = static_cast<double>(modVarsAndMain.Money) + sign * *n;
    }
    return true;
}

// A sum the game would refuse as an overflow leaves the value as it was.
void AddFinite(double& field, double d) {
    double r = field + d;
    if (std::isfinite(r)) field = r;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Coins and carried items

Variant CmdHave(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return {};
    if (*name == L"money") {
        auto amount = c.Arg(1);
        if (!amount) return {};  // a test that failed is not a yes
        // The amount is read as a 16-bit whole number; a text that is none (not a number,
        // or beyond that range) fails the test rather than standing for the largest one.
        auto n = StrictNumber(*amount);
        if (!n || std::nearbyint(*n) < -32768 || std::nearbyint(*n) > 32767) return {};
        if (modVarsAndMain.Money >= CInt(*n)) return L"true";
        return {};
    }
    if (Carried()) {
        for (const auto& item : *Carried()) {
            if (item->ItemName == *name) return L"true";
        }
    }
    return {};
}

Variant CmdTake(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name || ChangeCoins(c, *name, -1) || !Carried()) return {};
    for (const auto& item : *Carried()) {
        if (item->ItemName == *name) {
            // One piece, not the whole stack: "take the herb" must not empty a bag of ten.
            TakeOnePiece(item);
            Reweigh(false);
            break;
        }
    }
    return {};
}

Variant CmdGive(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name || ChangeCoins(c, *name, 1)) return {};
    ItemCol* inv = Carried();
    if (!inv) return {};
    // Ten arguments describe the item. One that is missing is reported (once for the call)
    // and leaves its field at the default; the comparison that needs it fails, so such an
    // item stacks on nothing and comes as a new item.
    const std::wstring *type = c.Arg(1), *balanceText = c.Arg(2), *info = c.Arg(3), *script = c.Arg(4),
                       *weaponPlus = c.Arg(5), *defendPlus = c.Arg(6), *weight = c.Arg(7), *critical = c.Arg(8),
                       *skillPlus = c.Arg(9);

    // An equal item (name, balance, script, bonuses, weight) is already carried: one more
    // piece on its stack. A balance that is not a number matches nothing.
    const auto balance = balanceText ? StrictNumber(*balanceText) : std::nullopt;
    std::shared_ptr<Item> match;
    if (balance && script && weaponPlus && defendPlus && weight) {
        for (const auto& item : *inv) {
            if (item->ItemName == *name && item->itembalance == *balance && item->ItemScript == *script &&
                item->WeaponPlus == ScriptNumber(*weaponPlus) && item->DefendPlus == ScriptNumber(*defendPlus) &&
                item->Weight == ScriptNumber(*weight)) {
                match = item;
            }
        }
    }
    if (match) {
        match->ItemCount += 1;
    } else {
        auto item = inv->Add();
        modVarsAndMain.CurItem = item;
        item->ItemName = *name;
        // One field at a time: a text that is not a number leaves that field at its default.
        if (auto v = type ? StrictLong(*type) : std::nullopt) item->ItemType = *v;
        if (auto v = balanceText ? StrictLong(*balanceText) : std::nullopt) item->itembalance = *v;
        if (info) item->ItemInfo = *info;
        if (script) item->ItemScript = *script;
        if (auto v = weaponPlus ? StrictInteger(*weaponPlus) : std::nullopt) item->WeaponPlus = *v;
        if (auto v = defendPlus ? StrictInteger(*defendPlus) : std::nullopt) item->DefendPlus = *v;
        if (weight) item->Weight = ScriptNumber(*weight);
        if (critical) item->Critical = ScriptNumber(*critical);
        if (skillPlus) item->SkillPlus = *skillPlus;
    }
    Reweigh(true);
    return {};
}

Variant CmdWantItem(CommandCall&) {
    TakeCarriedAt(modVarsAndMain.GivenItemIndex);
    return {};
}

Variant CmdRemove(CommandCall&) {
    // In an item's own script, that item (if the script has not taken it already);
    // elsewhere the item the player last picked in the inventory list (0: none was picked).
    if (auto subject = modVarsAndMain.ScriptItem) {
        if (Carried() && Carried()->Contains(subject)) {
            TakeOnePiece(subject);
            Reweigh(true);
        }
        return {};
    }
    TakeCarriedAt(modVarsAndMain.PickedIndex);
    return {};
}

Variant CmdGiveMoney(CommandCall&) { return static_cast<int>(modVarsAndMain.GivenMoney); }

Variant CmdGiveItem(CommandCall&) {
    long index = modVarsAndMain.GivenItemIndex;
    if (index == 0) return L"0";
    auto item = Carried() ? Carried()->Item(index) : nullptr;
    if (!item) return {};
    return item->ItemName;
}

// ---------------------------------------------------------------------------------------
// Spells

Variant CmdGives(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return {};
    if (*name == L"CutSpell") modVarsAndMain.CutSpellKnown = true;
    else if (*name == L"Lighting") modVarsAndMain.LightningKnown = true;
    else if (*name == L"Darkness") modVarsAndMain.Darkness = true;
    return {};
}

Variant CmdHaveSpell(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return L"false";
    std::wstring key = LCase(*name);
    bool known = (key == L"lighting" && modVarsAndMain.LightningKnown) ||
                 (key == L"cutspell" && modVarsAndMain.CutSpellKnown);
    return known ? L"true" : L"false";
}

// ---------------------------------------------------------------------------------------
// Hero values by key

Variant CmdGetVar(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return {};
    std::wstring key = LCase(*name);
    auto& g = modVarsAndMain;
    if (key == L"local") return g.ScriptLocal;
    if (key == L"wear") return static_cast<int>(g.WearMode);
    if (key == L"darkness") return g.Darkness ? 1 : 0;
    MainCharacter* hero = Hero();
    if (!hero) return {};
    // The game's signed number text: " 2" for 2, so scripts compare it as a number.
    if (key == L"doom") return StrNum(hero->Doom);
    if (key == L"luck") return static_cast<int>(hero->Luck);
    if (key == L"mud") return static_cast<int>(hero->Science);
    if (key == L"maxhp") return static_cast<int>(hero->MaxHp);
    return {};
}

namespace {

bool IsPlusVarKey(const std::wstring& key) {
    return key == L"doom" || key == L"hungry" || key == L"poison" || key == L"strenght" || key == L"sick" ||
           key == L"hp" || key == L"mana" || key == L"luck";
}

bool IsSetVarKey(const std::wstring& key) {
    return key == L"local" || key == L"darkness" || key == L"doom" || key == L"strenght" || key == L"mana" ||
           key == L"hungry" || key == L"poison" || key == L"sick" || key == L"hp";
}

}  // namespace

Variant CmdPlusVar(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return {};
    // Only the keys that change something read the amount.
    std::wstring key = LCase(*name);
    if (!IsPlusVarKey(key)) return {};
    MainCharacter* hero = Hero();
    auto amount = c.Arg(1);
    // Hunger tests the amount first. A test that cannot be made is not passed, so the
    // other branch runs, and it needs the amount as well.
    if (key == L"hungry" && !amount) c.Arg(1);
    if (!amount || !hero) return {};
    const double d = ScriptNumber(*amount);
    if (key == L"doom") {
        AddFinite(hero->Doom, d);
    } else if (key == L"hungry") {
        // Food lowers hunger; below -60 the hero cannot eat more.
        if (hero->Hungry + d < -60) {
            Say(L"Вы обьеты - в вас больше ничего не влезает!", L"");
        } else {
            hero->Hungry = hero->Hungry + d;
        }
    } else if (key == L"poison") {
        hero->Poison = hero->Poison + d;
    } else if (key == L"strenght") {
        AddFinite(hero->Strenght, d);
    } else if (key == L"sick") {
        hero->Sick = hero->Sick + d;
    } else if (key == L"hp") {
        hero->HP = hero->HP + d;
    } else if (key == L"mana") {
        if (auto n = StrictNumber(*amount)) AddFinite(hero->Mana, *n);
    } else if (key == L"luck") {
        if (auto n = StrictNumber(*amount)) hero->Luck = hero->Luck + *n;
    }
    return {};
}

Variant CmdSetVar(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return {};
    std::wstring key = LCase(*name);
    if (!IsSetVarKey(key)) return {};
    auto value = c.Arg(1);
    if (!value) return {};
    auto& g = modVarsAndMain;
    if (key == L"local") {
        g.ScriptLocal = ScriptNumber(*value);
        return {};
    }
    if (key == L"darkness") {
        g.Darkness = *value != L"0";
        return {};
    }
    MainCharacter* hero = Hero();
    if (!hero) return {};
    // The number at the start of the text ("12abc" is 12, "abc" is 0); the 16-bit fields
    // round it, halves to even.
    const double v = ScriptNumber(*value);
    if (key == L"doom") hero->Doom = v;
    else if (key == L"strenght") hero->Strenght = v;
    else if (key == L"mana") hero->Mana = v;
    else if (key == L"hungry") hero->Hungry = v;
    else if (key == L"poison") hero->Poison = v;
    else if (key == L"sick") hero->Sick = v;
    else hero->HP = v;
    return {};
}

// ---------------------------------------------------------------------------------------
// Hero state

Variant CmdKill(CommandCall&) {
    // The upkeep rules notice the death.
    if (MainCharacter* hero = Hero()) hero->HP = -1;
    return {};
}

Variant CmdHeal(CommandCall&) {
    if (MainCharacter* hero = Hero()) hero->HP = static_cast<int>(hero->MaxHp);
    return {};
}

Variant CmdILevel(CommandCall&) {
    // The experience at which the next level is due.
    if (MainCharacter* hero = Hero()) hero->Exp = (static_cast<int>(hero->Level) + 1) * 4;
    return {};
}

Variant CmdGetLevel(CommandCall&) {
    MainCharacter* hero = Hero();
    if (!hero) return {};
    return static_cast<int>(hero->Level);
}

Variant CmdGetPerson(CommandCall&) {
    MainCharacter* hero = Hero();
    if (!hero) return {};
    return static_cast<int>(hero->Profession);
}

// ---------------------------------------------------------------------------------------
// Skills: every row counts, row 0 too (each person's first skill is there).

Variant CmdGetSkill(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return {};
    for (const auto& row : modVarsAndMain.Skills) {
        if (row[0].ToText() == *name) return 1;
    }
    return 0;
}

Variant CmdGiveSkill(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name) return {};
    auto& skills = modVarsAndMain.Skills;
    for (const auto& row : skills) {
        if (row[0].ToText() == *name) return {};
    }
    for (auto& row : skills) {
        if (row[0].ToText().empty()) {
            row[0] = *name;
            // The count never passes the table's last row, even when this filled a gap.
            if (modVarsAndMain.LastSkillIndex < static_cast<int>(skills.size()) - 1) modVarsAndMain.LastSkillIndex += 1;
            break;
        }
    }
    return {};
}

Variant CmdSkillPlus(CommandCall& c) {
    c.Arg(0);  // read, and nothing more: scripts may call it harmlessly
    return {};
}

}  // namespace morvath
