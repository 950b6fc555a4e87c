// The command dispatcher and the commands for dialogue, dialogs, quest flags, script
// control and plain values.
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "script/choice.h"
#include "script/command_call.h"
#include "script/script_text.h"
#include "script/story.h"
#include "world/game_state.h"
#include "world/speech.h"

namespace morvath {
namespace {

struct RegisteredCommand {
    std::wstring name;
    CommandHandler handler;
};

// Wiring of the program, not game state: a new game keeps it.
std::vector<RegisteredCommand>& RegisteredCommands() {
    static std::vector<RegisteredCommand> commands;
    return commands;
}

struct CommandEntry {
    std::wstring_view name;
    CommandHandler handler;
};

// In match order: the first name equal to the lower-cased call runs.
constexpr std::array<CommandEntry, 55> kCommands = {{
    {L"input", CmdInput},
    {L"yesno", CmdYesNo},
    {L"star", CmdStar},
    {L"fight", CmdRegistered},
    {L"say", CmdSay},
    {L"say2", CmdSay2},
    {L"finish", CmdFinish},
    {L"have", CmdHave},
    {L"run", CmdRun},
    {L"died", CmdDied},
    {L"cmap", CmdCMap},
    {L"imap", CmdIMap},
    {L"take", CmdTake},
    {L"give", CmdGive},
    {L"put", CmdPut},
    {L"genweap", CmdGenWeap},
    {L"genitem", CmdGenItem},
    {L"gives", CmdGives},
    {L"havespell", CmdHaveSpell},
    {L"getvar", CmdGetVar},
    {L"plusvar", CmdPlusVar},
    {L"setvar", CmdSetVar},
    {L"light", CmdLight},
    {L"showfile", CmdShowFile},
    {L"speak", CmdSpeak},
    {L"kill", CmdKill},
    {L"getperson", CmdGetPerson},
    {L"ilevel", CmdILevel},
    {L"getlevel", CmdGetLevel},
    {L"skip", CmdSkip},
    {L"heal", CmdHeal},
    {L"getskill", CmdGetSkill},
    {L"giveskill", CmdGiveSkill},
    {L"skillplus", CmdSkillPlus},
    {L"givemoney", CmdGiveMoney},
    {L"giveitem", CmdGiveItem},
    {L"wantitem", CmdWantItem},
    {L"addlocation", CmdAddLocation},
    {L"getturns", CmdGetTurns},
    {L"print", CmdPrint},
    {L"remove", CmdRemove},
    {L"getevent", CmdGetEvent},
    {L"rash", CmdRegistered},
    {L"rashbyname", CmdRashByName},
    {L"moveworld", CmdMoveWorld},
    {L"getinflevel", CmdGetInfLevel},
    {L"getq", CmdGetQ},
    {L"exe", CmdExe},
    {L"intalk", CmdInTalk},
    {L"setq", CmdSetQ},
    {L"gendungeon", CmdGenDungeon},
    {L"genhouse", CmdGenHouse},
    {L"lcase", CmdLCase},
    {L"strcpy", CmdStrCpy},
    {L"rnd", CmdRnd},
}};

// A quest flag number from a script: the 32-bit integer of the text. Nothing when the text
// is not a number; -1 (out of range) when it is a number outside the table.
std::optional<int> QuestIndex(const std::wstring& text) {
    auto n = StrictLong(text);
    if (!n) return std::nullopt;
    if (*n < 0 || *n >= static_cast<int>(modVarsAndMain.QuestFlags.size())) return -1;
    return *n;
}

// A file the script names for the text viewer: always inside the game folder, however the
// script spelled it, and never above it.
std::optional<fs::path> ViewerPath(std::wstring_view p) {
    if (TrimBlanks(p).empty()) return std::nullopt;
    std::size_t start = 0;
    for (std::size_t k = 0; k <= p.size(); ++k) {
        if (k < p.size() && (p[k] < 32 || p[k] == L':')) return std::nullopt;
        if (k == p.size() || p[k] == L'\\' || p[k] == L'/') {
            if (TrimBlanks(p.substr(start, k - start)) == L"..") return std::nullopt;
            start = k + 1;
        }
    }
    return GamePath(p);
}

}  // namespace

// ---------------------------------------------------------------------------------------

void RegisterCommand(std::wstring_view lowerName, CommandHandler handler) {
    for (auto& r : RegisteredCommands()) {
        if (r.name == lowerName) {
            r.handler = handler;
            return;
        }
    }
    RegisteredCommands().push_back({std::wstring(lowerName), handler});
}

Variant CmdRegistered(CommandCall& c) {
    for (const auto& r : RegisteredCommands()) {
        if (EqualsAsciiNoCase(c.name, r.name)) return r.handler(c);
    }
    return {};
}

const std::wstring* CommandCall::Arg(std::size_t i) {
    if (i < args.size()) return &args[i];
    ReportMissing();
    return nullptr;
}

bool CommandCall::Have(std::initializer_list<std::size_t> indices) {
    for (std::size_t i : indices) {
        if (i >= args.size()) {
            ReportMissing();
            return false;
        }
    }
    return true;
}

void CommandCall::ReportMissing() {
    if (reported_) return;
    reported_ = true;
    UI().MsgBox(L"Argument not optional in call to procedure: " + std::wstring(name), MsgButtons::Ok,
                MsgIcon::Critical, L"Script VM Error");
}

NPC* Speaker() {
    if (!modVarsAndMain.NPCs) return nullptr;
    return modVarsAndMain.NPCs->Item(modVarsAndMain.ScriptNPCIndex).get();
}

MainCharacter* Hero() { return modVarsAndMain.Player.get(); }

Variant Cscript::ExecCommand(std::wstring_view name, const std::vector<std::wstring>& args) {
    if (Stopped) return {};
    for (const auto& c : kCommands) {
        if (EqualsAsciiNoCase(name, c.name)) {
            CommandCall call(*this, name, args);
            return c.handler(call);
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------
// Dialogue and dialogs

Variant CmdInput(CommandCall& c) {
    auto prompt = c.Arg(0);
    if (!prompt) return {};
    return UI().InputBox(*prompt, L"Morvath", L"");
}

Variant CmdYesNo(CommandCall& c) {
    auto question = c.Arg(0);
    // A question that could not be asked counts as No.
    if (!question) return L"0";
    return UI().MsgBox(*question, MsgButtons::YesNo, MsgIcon::None, L"Morvath") == MsgResult::Yes ? L"1" : L"0";
}

Variant CmdSay(CommandCall& c) {
    auto text = c.Arg(0);
    NPC* who = Speaker();
    if (!text || !who) return {};
    Say(*text, who->NPCName + L":");
    return {};
}

Variant CmdSay2(CommandCall& c) {
    if (auto text = c.Arg(0)) Say(*text, L"");
    return {};
}

Variant CmdFinish(CommandCall& c) {
    auto text = c.Arg(0);
    NPC* who = Speaker();
    if (text && who) who->Last_Speech = *text;
    return {};
}

Variant CmdPrint(CommandCall& c) {
    if (auto text = c.Arg(0)) ShowInfo(*text);
    return {};
}

Variant CmdSpeak(CommandCall& c) {
    auto& screen = modVarsAndMain.screen;
    if (auto q = c.Arg(0)) screen.choiceQuestion = *q;
    ClearSpeech();
    if (auto a = c.Arg(1)) screen.choiceCaptions[0] = *a;
    if (auto a = c.Arg(2)) screen.choiceCaptions[1] = *a;
    // Scripts leave out the fourth argument: the box tells the author, and the third
    // option stays hidden (its caption was just cleared).
    if (auto a = c.Arg(3)) screen.choiceCaptions[2] = *a;
    return ShowChoiceDialog();
}

Variant CmdShowFile(CommandCall& c) {
    auto path = c.Arg(0);
    if (!path) return {};
    auto file = ViewerPath(*path);
    if (!file) return {};
    auto text = ReadWholeFile(*file);
    // A file that cannot be read shows nothing rather than an empty viewer.
    if (text) UI().ShowText(*text, true, L"...");
    return {};
}

// ---------------------------------------------------------------------------------------
// Quest flags, script control and the speaking character

Variant CmdGetQ(CommandCall& c) {
    auto a = c.Arg(0);
    if (!a) return L"0";
    auto n = QuestIndex(*a);
    if (!n) return L"0";
    if (*n < 0) {
        c.ReportMissing();
        return L"0";
    }
    int v = modVarsAndMain.QuestFlags[static_cast<std::size_t>(*n)];
    if (v != 0) return v;
    return L"0";
}

Variant CmdSetQ(CommandCall& c) {
    auto a = c.Arg(0);
    auto b = c.Arg(1);
    if (!a || !b) return {};
    auto n = QuestIndex(*a);
    if (!n) return {};
    if (*n < 0) {
        c.ReportMissing();
        return {};
    }
    if (auto v = StrictInteger(*b)) modVarsAndMain.QuestFlags[static_cast<std::size_t>(*n)] = *v;
    return {};
}

Variant CmdGetEvent(CommandCall&) {
    NPC* who = Speaker();
    if (!who) return {};
    return static_cast<int>(who->ScriptEvent);
}

Variant CmdExe(CommandCall& c) {
    auto file = c.Arg(0);
    // Held, not borrowed: the script it runs may remove the character from the location.
    auto who = modVarsAndMain.NPCs ? modVarsAndMain.NPCs->Item(modVarsAndMain.ScriptNPCIndex) : nullptr;
    if (!file || !who) return {};
    // Scripts are named by plain file names under \scripts\; a script that runs itself
    // ends when the nesting or the line budget runs out.
    if (!IsPlainName(*file) || !MayStartNestedRun()) return {};
    who->ExecScriptR(*file);
    return {};
}

Variant CmdInTalk(CommandCall& c) {
    if (auto kind = c.Arg(0)) SpecialNpcTalk(*kind);
    return {};
}

Variant CmdSkip(CommandCall& c) {
    c.run.Stopped = true;
    return {};
}

// ---------------------------------------------------------------------------------------
// Plain values

Variant CmdStar(CommandCall& c) {
    auto a = c.Arg(0);
    auto b = c.Arg(1);
    if (!a || !b) return {};
    double r = ScriptNumber(*a) * ScriptNumber(*b);
    if (!std::isfinite(r)) return {};
    return r;
}

Variant CmdLCase(CommandCall& c) {
    auto a = c.Arg(0);
    if (!a) return {};
    return LCase(*a);
}

Variant CmdStrCpy(CommandCall& c) {
    auto a = c.Arg(0);
    auto b = c.Arg(1);
    if (!a || !b) return {};
    return *a + *b;
}

Variant CmdRnd(CommandCall& c) {
    auto a = c.Arg(0);
    if (!a) return {};
    auto n = StrictNumber(*a);
    if (!n) return {};
    Randomize();
    return Int(Rnd() * *n);
}

}  // namespace morvath
