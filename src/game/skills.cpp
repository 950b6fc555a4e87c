#include "game/skills.h"

#include <vector>

#include "game/fight.h"
#include "game/items.h"
#include "game/skill_rules.h"
#include "platform/random.h"
#include "script/story.h"
#include "world/game_state.h"
#include "world/speech.h"

namespace morvath {
namespace {

MainCharacter& Hero() { return *modVarsAndMain.Player; }

// The skills the dispatcher knows, in the order it tests their names. Any other name (the
// passive skills: reading, the chronicle, the ambush) runs nothing.
struct SkillEntry {
    const wchar_t* name;
    bool (*run)(int row);
};
const SkillEntry kSkillTable[] = {
    {L"Заговаривать болезнь", [](int) { return CureIllness(); }},
    {L"Знание трав", [](int) { return HerbLore(); }},
    {L"Врачевание", [](int) { return Healing(); }},
    {L"Кузнечное дело", [](int) { return Smithing(); }},
    {L"Освятить вещь", [](int) { return Consecrate(); }},
    {L"Готовить", [](int row) { return Cooking(row); }},
    {L"Воровство", [](int) { return Theft(); }},
    {L"Разжигать костер", [](int) { return Campfire(); }},
    {L"Алхимия", [](int) { return Alchemy(); }},
    {L"Ловить рыбу", [](int) { return Fishing(); }},
    {L"Стрелять из лука", [](int) { return BowShot(); }},
};

// What a thief takes at most from a victim, by its name.
double LootOf(const std::wstring& name) {
    if (name == L"Солдат") return 20;
    if (name == L"Воевода") return 100;
    if (name == L"Купец") return 400;
    if (name == L"Торговец") return 200;
    return 4;
}

}  // namespace

void ShowSkills() {
    auto& g = modVarsAndMain;
    if (g.Darkness) {
        Say(L"Здесь слишком темно...", L"");
        return;
    }
    auto& list = g.gameScreen.skills;
    list.lines.clear();
    list.rows.clear();
    // Every named row is offered, wherever it stands: a skill learned late, or after a gap,
    // is as usable as the first.
    for (std::size_t row = 0; row < g.Skills.size(); ++row) {
        std::wstring name = g.Skills[row][0].ToText();
        if (name.empty()) continue;
        list.lines.push_back(std::move(name));
        list.rows.push_back(static_cast<int>(row));
    }
    if (list.lines.empty()) {
        Say(L"Нет Умений!", L"");
        return;
    }
    list.ListIndex = -1;
    list.visible = true;
    ++list.focusSerial;
}

int SkillRowOfLine(int line) {
    const auto& rows = modVarsAndMain.gameScreen.skills.rows;
    if (line == -1) line = 0;
    if (line < 0 || static_cast<std::size_t>(line) >= rows.size()) return -1;
    return rows[static_cast<std::size_t>(line)];
}

void UseSkill(int index) {
    auto& g = modVarsAndMain;
    g.gameScreen.skills.visible = false;
    if (index == -1) index = 0;
    if (index < 0 || static_cast<std::size_t>(index) >= g.Skills.size() || !g.Player) return;
    const std::wstring name = g.Skills[static_cast<std::size_t>(index)][0].ToText();
    for (const auto& skill : kSkillTable) {
        if (name != skill.name) continue;
        if (!skill.run(index)) return;
        break;
    }
    if (g.Player) g.Player->DoWeight();
}

bool FacingOffset(int& dx, int& dy) {
    dx = dy = 0;
    switch (static_cast<int>(modVarsAndMain.FacingDir)) {
        case 1: dy = -1; return true;
        case 2: dy = 1; return true;
        case 3: dx = 1; return true;
        case 4: dx = -1; return true;
        default: return false;
    }
}

std::wstring GetFacingTile() {
    const auto& g = modVarsAndMain;
    int dx = 0, dy = 0;
    if (!FacingOffset(dx, dy) || !g.TheWorld) return L"";
    return g.TheWorld->GetPosMap(g.PlayerX + 3 + dx, g.PlayerY + 3 + dy);
}

void UseUpOnePiece(const std::shared_ptr<Item>& item) {
    auto& inventory = *modVarsAndMain.Inventory;
    if (!item || !inventory.Contains(item)) return;
    if (item->ItemCount < 1) {
        inventory.Remove(item);
    } else {
        item->ItemCount -= 1;
    }
}

std::shared_ptr<Item> AddCarried(const std::wstring& name, const std::wstring& info, long kind, double weight,
                                 const std::wstring& script) {
    auto& g = modVarsAndMain;
    auto item = g.Inventory->Add();
    item->ItemName = name;
    item->ItemInfo = info;
    item->ItemType = kind;
    item->Weight = weight;
    item->ItemScript = script;
    item->itembalance = 0;
    g.CurItem = item;
    return item;
}

void BuryKilled(const std::shared_ptr<NPC>& npc) {
    auto& g = modVarsAndMain;
    g.ScriptNPCIndex = g.NPCs->IndexOf(npc);
    npc->Died();
    if (g.NPCs) g.NPCs->Remove(npc);
}

bool CureIllness() {
    auto& hero = Hero();
    if (hero.Sick == 0) {
        Say(L"Вы не больны", L"");
    } else {
        hero.Sick = Int(hero.Sick / 4.0);
    }
    return true;
}

bool Healing() {
    auto& hero = Hero();
    const double h = Int(hero.MaxHp / 5.0);
    // No healing part of the way up to the maximum.
    if (hero.HP + h <= hero.MaxHp) hero.HP = hero.HP + h;
    if (hero.Sick != 0) hero.Sick = Int(hero.Sick / 1.5);
    return true;
}

bool Consecrate() {
    auto& g = modVarsAndMain;
    auto item = g.Inventory->Item(ChooseCarriedItem());
    if (!item) return false;
    if (item->ItemName == L"Амулет драконов") {
        if (Hero().WillPower < 8) {
            Say(L"Ваши руки дрожат...Слабая Сила Воли не позволяет вам сделать это...", L"");
        } else {
            EndingGoodStone();
            return false;
        }
    } else {
        item->itembalance = 1;
    }
    return true;
}

bool Theft() {
    auto& g = modVarsAndMain;
    int dx = 0, dy = 0;
    std::shared_ptr<NPC> victim;
    if (FacingOffset(dx, dy)) {
        for (const auto& npc : *g.NPCs) {
            if (npc->X == g.PlayerX + dx && npc->Y == g.PlayerY + dy) victim = npc;
        }
    }
    if (!victim) {
        Say(L"Здесь не у кого воровать...", L"");
        return true;
    }
    auto& hero = Hero();
    if (hero.Doom < 4) hero.Doom += 0.2;
    const double r1 = Rnd();
    const double r2 = Rnd();
    // A character that is already hostile watches the hero too closely to be robbed.
    if (r2 * (hero.Mobility + 1) + hero.Luck * r1 > 7 && victim->Tactic != kTacticApproach) {
        const long loot = static_cast<long>(Int(Rnd() * LootOf(victim->NPCName)));
        Say(L"Вам повезло! Вы своровали " + std::to_wstring(loot) + L" монет!", L"");
        g.Money = g.Money + loot;
        return true;
    }
    Say(L"Вас поймали на воровстве!", L"");
    if (victim->Good) AlarmSoldiers();
    victim->Good = false;
    StartFight(g.PlayerX + dx, g.PlayerY + dy);
    return true;
}

}  // namespace morvath
