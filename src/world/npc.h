#pragma once
// A non-player character or monster of the current location. It stands on the grid as its
// one-character Symbol; its square turns back into "G" when it leaves or dies.
#include <string>

#include "platform/numbers.h"
#include "world/collections.h"

namespace morvath {

// Movement modes (`NPC::Tactic`); any value other than these approaches the hero.
enum NpcTactic : int {
    kTacticStay = 0,
    kTacticApproach = 1,
    kTacticRandomWalk = 2,
    kTacticFlee = 3,
};

// Why a character's script runs (`NPC::ScriptEvent`).
enum NpcScriptEvent : int {
    kEventTalk = 0,
    kEventDied = 1,
    kEventGiven = 2,
};

struct NPC {
    std::wstring NPCName;
    std::wstring Symbol;
    Integer Tactic;
    std::wstring Weapon;          // weapon code, see GetWeaponType
    float X = 0;                  // hero coordinates: grid column X + 3, row Y + 3
    float Y = 0;
    double HP = 0;
    Integer Strenght;
    std::wstring AIScript_File;   // talk script under \scripts\ (.tai)
    std::wstring DieScript_File;  // death script under \scripts\ (.die)
    std::wstring Last_Speech;     // when set, talking shows this instead of the talk script
    Integer WeaponForce;
    std::wstring WeaponName;
    Integer ScriptEvent;
    bool Good = false;            // peaceful; killing one makes the hero more evil

    // Speaks Last_Speech or runs the talk script.
    void ExecTalkAIScript();
    // One move by Tactic; `i` is the character's position in NPCs, handed on unchanged.
    void Do_Move(long i);
    // Sets WeaponName and returns the weapon's force.
    int GetWeaponType();
    // The character leaves its square.
    void run();
    // Death effects and the death script.
    void Died();
    // The hero stands on one of the eight squares around the character (the test that
    // starts a fight after an approaching step).
    bool AdjacentToHero() const;
    // Runs \scripts\ + file.
    void ExecScriptR(const std::wstring& scriptFile);

    std::wstring scriptText;      // filled by the script loaders
};

using NPCCol = Collection<NPC>;

}  // namespace morvath
