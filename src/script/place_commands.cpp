// Script commands for the characters of the location, its tile grid, floor items and table,
// the calendar, the hero's travels and the dungeon generator.
#include <memory>
#include <optional>

#include "platform/files.h"
#include "script/command_call.h"
#include "script/script_text.h"
#include "world/dungeon.h"
#include "world/game_state.h"
#include "world/houses.h"
#include "world/view.h"

namespace morvath {
namespace {

std::shared_ptr<NPC> HeldSpeaker() {
    auto& g = modVarsAndMain;
    return g.NPCs ? g.NPCs->Item(g.ScriptNPCIndex) : nullptr;
}

// A coordinate the script names: the whole part of its number; nothing for a text that
// is not a number.
std::optional<double> Coordinate(const std::wstring& text) {
    auto v = StrictNumber(text);
    if (!v) return std::nullopt;
    return Int(*v);
}

// A table entry keeps a number as a number (as a read table would), anything else as text.
Variant TableValue(const std::wstring& text) {
    if (auto v = StrictNumber(text)) return Variant(*v);
    return Variant(text);
}

// The generators' truth values: the words true and false in any case, or a number that is
// not zero; anything else is false.
bool TruthValue(const std::wstring& text) {
    const std::wstring word = LCase(TrimBlanks(text));
    if (word == L"true") return true;
    if (auto v = StrictNumber(text)) return *v != 0;
    return false;
}

void SetInteger(CommandCall& c, std::size_t i, Integer& field) {
    if (auto a = c.Arg(i)) {
        if (auto v = StrictInteger(*a)) field = *v;
    }
}

void SetText(CommandCall& c, std::size_t i, std::wstring& field) {
    if (auto a = c.Arg(i)) field = *a;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Characters

Variant CmdRun(CommandCall&) {
    auto who = HeldSpeaker();
    if (!who) return {};
    who->run();
    who->AIScript_File = L"blank.tai";
    return {};
}

Variant CmdDied(CommandCall&) {
    // Held, not borrowed: the death script may remove the character from the location.
    auto who = HeldSpeaker();
    if (who) who->Died();
    return {};
}

Variant CmdRashByName(CommandCall& c) {
    auto name = c.Arg(0);
    if (!name || !modVarsAndMain.NPCs) return {};
    for (const auto& npc : *modVarsAndMain.NPCs) {
        if (npc->NPCName == *name) {
            npc->Tactic = kTacticApproach;
            npc->Good = false;
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------
// Tiles, floor items and the location table

Variant CmdCMap(CommandCall& c) {
    auto x = c.Arg(0);
    auto y = c.Arg(1);
    auto ch = c.Arg(2);
    World* w = modVarsAndMain.TheWorld.get();
    if (!x || !y || !ch || !w) return {};
    auto col = Coordinate(*x);
    auto row = Coordinate(*y);
    if (col && row) w->setPosMap(*row + 3, *col + 3, *ch);
    return {};
}

Variant CmdIMap(CommandCall& c) {
    auto x = c.Arg(0);
    auto y = c.Arg(1);
    World* w = modVarsAndMain.TheWorld.get();
    if (!x || !y || !w) return {};
    auto col = Coordinate(*x);
    auto row = Coordinate(*y);
    if (!col || !row) return {};
    return w->GetPosMap(*col + 3, *row + 3);
}

Variant CmdPut(CommandCall& c) {
    auto who = HeldSpeaker();
    World* w = modVarsAndMain.TheWorld.get();
    if (!who || !w) return {};
    auto item = w->mapItemCol->Add();
    modVarsAndMain.CurItem = item;
    if (auto t = c.Arg(0)) item->ItemName = *t;
    if (auto t = c.Arg(1)) {
        if (auto v = StrictLong(*t)) item->ItemType = *v;
    }
    if (auto t = c.Arg(2)) {
        if (auto v = StrictLong(*t)) item->itembalance = *v;
    }
    if (auto t = c.Arg(3)) item->ItemInfo = *t;
    if (auto t = c.Arg(4)) item->ItemScript = *t;
    if (auto t = c.Arg(5)) {
        if (auto v = StrictInteger(*t)) item->WeaponPlus = *v;
    }
    if (auto t = c.Arg(6)) {
        if (auto v = StrictInteger(*t)) item->DefendPlus = *v;
    }
    if (auto t = c.Arg(7)) item->Weight = ScriptNumber(*t);
    if (auto t = c.Arg(8)) item->Critical = ScriptNumber(*t);
    if (auto t = c.Arg(9)) item->SkillPlus = *t;
    item->X = who->X;
    item->Y = who->Y;
    w->setPosMap(who->Y + 3, who->X + 3, L"9");
    return {};
}

Variant CmdAddLocation(CommandCall& c) {
    World* w = modVarsAndMain.TheWorld.get();
    if (!w || !c.Have({0, 1, 2, 3, 4})) return {};
    const auto& a = c.args;
    // The target becomes a file name when the hero steps there; "loc" names a script.
    if (!IsPlainName(a[2])) return {};
    if (a[2] == L"loc" && !IsPlainName(a[4])) return {};
    w->addLocation(TableValue(a[0]), TableValue(a[1]), Variant(a[2]), TableValue(a[3]), TableValue(a[4]));
    return {};
}

Variant CmdLight(CommandCall&) {
    DrawIt();
    modVarsAndMain.SkipRedraw = true;
    return {};
}

// ---------------------------------------------------------------------------------------
// Turns and depth

Variant CmdGetTurns(CommandCall&) {
    World* w = modVarsAndMain.TheWorld.get();
    if (!w) return {};
    // Whole game days reach far past 16 bits: day 40 is turn 39,000.
    const long turns = (static_cast<long>(w->Day) - 1) * 1000 + static_cast<long>(w->Turn);
    return static_cast<double>(turns);
}

Variant CmdGetInfLevel(CommandCall&) {
    World* w = modVarsAndMain.TheWorld.get();
    if (!w) return {};
    return static_cast<int>(w->InfLevel);
}

// ---------------------------------------------------------------------------------------
// Moving the hero

Variant CmdMoveWorld(CommandCall& c) {
    auto& g = modVarsAndMain;
    World* w = g.TheWorld.get();
    auto target = c.Arg(0);
    if (!w || !target || !g.NPCs) return {};
    const std::wstring id = *target;
    const bool generated = id == L"AG" || id == L"plain";
    // A place that cannot be entered changes nothing: the hero stays where he is.
    if (!generated && !LocationFilesExist(id)) return {};
    auto x = c.Arg(1);
    auto y = c.Arg(2);
    auto back = c.Arg(3);
    const bool goBack = back && *back == L"1";
    if (!goBack && (!x || !y)) return {};

    // What happened here since the hero came is kept, as at any door; when it cannot be, he
    // stays.
    if (!w->LeavePlace()) return {};

    const double fromX = g.PlayerX, fromY = g.PlayerY;
    w->WorldName = id;
    if (id == L"AG") {
        w->mapItemCol->Clear();
        w->Generate_Cave_World();
    } else if (id == L"plain") {
        w->mapItemCol->Clear();
        w->Generate_Plains();
    } else if (id == L"wild") {
        w->LoadWild(x ? Val(*x) : 0, y ? Val(*y) : 0);
    }
    // The tile under the hero in the grid now in memory: the ground just made, or the place
    // being left when a named place is loaded below.
    g.CurTile = w->GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    if (goBack) {
        g.PlayerX = g.ReturnX.ToNumber();
        g.PlayerY = static_cast<double>(g.ReturnY);
    } else {
        g.PlayerX = Val(*x);
        g.PlayerY = Val(*y);
    }
    g.ReturnX = Variant(fromX);
    g.ReturnY = fromY;
    if (!generated && id != L"wild") w->Load_World();
    DrawIt();
    return {};
}

// ---------------------------------------------------------------------------------------
// The generators: each run of a script has its own parameters, so a call that lacks an
// argument, or whose argument is not a number, keeps what an earlier call of the same run
// gave that field (nothing on the run's first call), never what another run gave it.

// genhouse(name; target; X; Y): a new house location whose way out leads to (X, Y) of target.
Variant CmdGenHouse(CommandCall& c) {
    auto& spec = c.run.HouseParams;
    SetText(c, 0, spec.HouseName);
    SetText(c, 1, spec.ExitTarget);
    SetInteger(c, 2, spec.ExitX);
    SetInteger(c, 3, spec.ExitY);
    CreateHouse(spec);
    return {};
}

Variant CmdGenDungeon(CommandCall& c) {
    auto& p = c.run.DungeonParams;
    SetInteger(c, 0, p.StartX);
    SetInteger(c, 1, p.StartY);
    SetText(c, 2, p.DungeonName);
    SetText(c, 3, p.UpTarget);
    SetInteger(c, 4, p.UpTargetX);
    SetInteger(c, 5, p.UpTargetY);
    SetText(c, 6, p.ExitTarget);
    SetInteger(c, 7, p.ExitTargetX);
    SetInteger(c, 8, p.ExitTargetY);
    if (auto a = c.Arg(9)) p.Populate = TruthValue(*a);
    SetInteger(c, 10, p.MonsterHPBonus);
    SetInteger(c, 11, p.MonsterStrengthBonus);
    SetText(c, 12, p.MonsterTemplate);
    SetInteger(c, 13, p.MaxMonsters);
    GenerateDungeon(p);
    return {};
}

}  // namespace morvath
