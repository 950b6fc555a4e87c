#pragma once
// The game screen's running state besides its texts: the view, the hero's pictures and the
// panels (fight, spell list, skill list). Rules change it; the window shows it.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/numbers.h"
#include "world/view.h"

namespace morvath {

struct NPC;

// The fight panel's labels and life bars; a fight is on exactly while it is visible.
struct FightPanel {
    bool visible = false;
    std::wstring lblFight;      // what the last exchange did
    std::wstring lblEnemyName;
    std::wstring EnemyWeapon;
    std::wstring Enemystr;      // "Сила: " & enemy strength
    std::wstring EnemyLife;     // "HP: " & enemy HP
    std::wstring lblLife;       // "HP: " & hero HP
    std::wstring lblStrenght;
    std::wstring Weapon;        // the right-hand item's name
    double enemyLifeBar = 1;    // SHPEnemyLife width as a part of the full bar
    double lifeBar = 1;         // shapeLife width as a part of the full bar
    unsigned focusSerial = 0;   // bumped when the strike button should take the keyboard
    // The enemy itself, not its position in NPCs: scripts add and remove characters, so the
    // panel closes when this object is no longer among them.
    std::shared_ptr<NPC> enemy;
    Integer EnemyStartHP;       // the enemy's HP when the fight started; scales both sides
};

// The spell list: options 0..4 cast a spell, 5 closes the list.
struct SpellList {
    static constexpr int kClose = 5;
    bool visible = false;
    std::array<bool, 6> optionVisible{false, false, false, false, false, true};
    int focus = kClose;         // the option holding the keyboard
    unsigned focusSerial = 0;   // bumped when the list is (re)opened
};

// The skill list (also the smithing choice list).
struct SkillList {
    bool visible = false;
    std::vector<std::wstring> lines;
    int ListIndex = -1;         // the selected line, -1 for none
    unsigned focusSerial = 0;
};

// The equipment screen: the six slot labels as REFRESHAtt last wrote them.
struct EquipScreen {
    bool visible = false;
    std::array<std::wstring, 6> captions;
};

struct GameScreenState {
    View view;
    HeroPictures hero;
    FightPanel fight;
    SpellList spells;
    SkillList skills;
    EquipScreen equip;
    bool programEnded = false;  // a quit key ended the program: closing the window is no death
};

}  // namespace morvath
