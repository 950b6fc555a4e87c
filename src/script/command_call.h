#pragma once
// What every script command is handed: its arguments as texts, the name the script wrote,
// the run it belongs to, and the one way to report a missing argument.
#include <cstddef>
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

    // Argument i, or nullptr after reporting it missing. A command goes on with its next
    // step after a missing argument, so one call may miss several; the player is told once.
    const std::wstring* Arg(std::size_t i);
    // The "Argument not optional" box, also for an index out of range (a quest flag).
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

// Commands for characters, the world and the generators.
Variant CmdGenHouse(CommandCall&);

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

}  // namespace morvath
