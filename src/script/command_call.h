#pragma once
// What every script command is handed: its arguments as texts, the name the script wrote,
// the run it belongs to, and the one way to report a missing argument.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/variant.h"
#include "script/cscript.h"

namespace morvath {

struct NPC;
struct MainCharacter;

class CommandCall {
public:
    CommandCall(Cscript& run, std::wstring_view name, const std::vector<std::wstring>& args)
        : run(run), name(name), args(args) {}

    // Argument i, or nullptr after reporting it missing. A command reads an argument in
    // each step that needs it and goes on with its next step when it is missing.
    const std::wstring* Arg(std::size_t i);
    // True when all of these arguments are there; else a report for the step that needs
    // them.
    bool Have(std::initializer_list<std::size_t> indices);
    // The "Argument not optional" box, also for an index out of range (a quest flag). One
    // call shows it once however many of its steps fail: a script looping over a faulty
    // call must not bury the player under boxes.
    void ReportMissing();

    Cscript& run;
    std::wstring_view name;  // as the script wrote it
    const std::vector<std::wstring>& args;

private:
    bool reported_ = false;
};

// The character whose script runs, or nullptr when there is none.
NPC* Speaker();
// The hero, or nullptr before a game has been started or loaded.
MainCharacter* Hero();

using CommandHandler = Variant (*)(CommandCall&);

// Commands for dialogue, quests, control and plain values.
Variant CmdInput(CommandCall&);
Variant CmdYesNo(CommandCall&);
Variant CmdStar(CommandCall&);
Variant CmdSay(CommandCall&);
Variant CmdSay2(CommandCall&);
Variant CmdFinish(CommandCall&);
Variant CmdPrint(CommandCall&);
Variant CmdSpeak(CommandCall&);
Variant CmdShowFile(CommandCall&);
Variant CmdGetQ(CommandCall&);
Variant CmdSetQ(CommandCall&);
Variant CmdGetEvent(CommandCall&);
Variant CmdExe(CommandCall&);
Variant CmdInTalk(CommandCall&);
Variant CmdSkip(CommandCall&);
Variant CmdLCase(CommandCall&);
Variant CmdStrCpy(CommandCall&);
Variant CmdRnd(CommandCall&);

// Commands that drop things at the speaking character's feet.
Variant CmdGenWeap(CommandCall&);
Variant CmdGenItem(CommandCall&);

// Commands for the hero, items, money and skills.
Variant CmdHave(CommandCall&);
Variant CmdTake(CommandCall&);
Variant CmdGive(CommandCall&);
Variant CmdWantItem(CommandCall&);
Variant CmdRemove(CommandCall&);
Variant CmdGiveMoney(CommandCall&);
Variant CmdGiveItem(CommandCall&);
Variant CmdGives(CommandCall&);
Variant CmdHaveSpell(CommandCall&);
Variant CmdGetVar(CommandCall&);
Variant CmdPlusVar(CommandCall&);
Variant CmdSetVar(CommandCall&);
Variant CmdKill(CommandCall&);
Variant CmdHeal(CommandCall&);
Variant CmdILevel(CommandCall&);
Variant CmdGetLevel(CommandCall&);
Variant CmdGetPerson(CommandCall&);
Variant CmdGetSkill(CommandCall&);
Variant CmdGiveSkill(CommandCall&);
Variant CmdSkillPlus(CommandCall&);

// Commands for the characters of the location, its grid and table, the hero's travels and
// the generators.
Variant CmdRun(CommandCall&);
Variant CmdDied(CommandCall&);
Variant CmdRashByName(CommandCall&);
Variant CmdCMap(CommandCall&);
Variant CmdIMap(CommandCall&);
Variant CmdPut(CommandCall&);
Variant CmdAddLocation(CommandCall&);
Variant CmdLight(CommandCall&);
Variant CmdGetTurns(CommandCall&);
Variant CmdGetInfLevel(CommandCall&);
Variant CmdMoveWorld(CommandCall&);
Variant CmdGenHouse(CommandCall&);
Variant CmdGenDungeon(CommandCall&);

// Commands whose rules sit above the script language (the fight rules): the game registers
// them at start-up; until then a script calling them runs on quietly. Registering a name
// again replaces its handler.
void RegisterCommand(std::wstring_view lowerName, CommandHandler handler);
Variant CmdRegistered(CommandCall&);

}  // namespace morvath
