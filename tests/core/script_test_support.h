#pragma once
// A fresh game with a scripted player, and a way to run script text and watch it. Scripts
// report what they see through input(), whose prompts the scripted player logs.
#include "script/cscript.h"
#include "test_support.h"

namespace morvath {

// What a script showed through input(), in order.
using Seen_ = std::vector<std::wstring>;

// An item's fields in the order give() and put() take them.
inline std::wstring GivenFields(const Item& i) {
    return i.ItemName + L"|" + NumText(i.ItemType) + L"|" + NumText(i.itembalance) + L"|" + i.ItemInfo + L"|" + i.ItemScript + L"|" +
           NumText(i.WeaponPlus) + L"|" + NumText(i.DefendPlus) + L"|" + NumText(i.Weight) + L"|" + NumText(i.Critical) + L"|" + i.SkillPlus;
}

// "\n" in test text stands for the CR LF line end of script files.
inline std::wstring ScriptLines(std::wstring_view text) {
    std::wstring s;
    for (wchar_t c : text) {
        if (c == L'\n') s += L"\r\n";
        else s += c;
    }
    return s;
}

struct ScriptFixture : GameTest {
    const TempGameFolder& dir = folder;

    void Run(std::wstring_view text) {
        Cscript s;
        s.Script = ScriptLines(text);
        s.ScriptExecute();
    }
    // The prompts of every input() call, in order.
    Seen_ Seen() const {
        Seen_ r;
        for (const auto& l : ui.log) {
            if (l.starts_with(L"InputBox|Morvath|")) r.push_back(l.substr(17));
        }
        return r;
    }
    Seen_ RunAndSee(std::wstring_view text) {
        ui.log.clear();
        Run(text);
        return Seen();
    }
    void WriteScript(const std::string& name, std::wstring_view text) {
        ASSERT_TRUE(WriteFileAtomic(dir.path() / "scripts" / name, EncodeCp1251(ScriptLines(text))));
    }
    // A character of the location whose script is running.
    std::shared_ptr<NPC> AddSpeaker(const std::wstring& name) {
        auto npc = modVarsAndMain.NPCs->Add();
        npc->NPCName = name;
        modVarsAndMain.ScriptNPCIndex = static_cast<int>(modVarsAndMain.NPCs->Count());
        return npc;
    }
    int Boxes() const { return ui.Count(L"MsgBox|Script VM Error|"); }
};

}  // namespace morvath
