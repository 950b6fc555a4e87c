#pragma once
// The game's whole running state in one place: the model roots, the hero's position, the
// equipment and skills tables, quest flags, spell flags and the values handed between
// screens and scripts. Every subsystem reads and writes it directly, as the game's rules are
// written that way; tests start from a clean slate with ResetGame().
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/numbers.h"
#include "platform/variant.h"
#include "world/item.h"
#include "world/main_character.h"
#include "world/npc.h"
#include "world/screen_state.h"
#include "world/world.h"

namespace morvath {

// Columns of the equipment table, copied from the equipped Item.
enum EquipColumn : int {
    kEqName = 0, kEqType = 1, kEqInfo = 2, kEqBalance = 3, kEqScript = 4,
    kEqWeaponPlus = 5, kEqDefendPlus = 6, kEqWeight = 7, kEqCritical = 8, kEqSkillPlus = 9,
};
// Slots (rows) of the equipment table.
enum EquipSlot : int { kSlotHead = 0, kSlotNeck = 1, kSlotRightHand = 2, kSlotLeftHand = 3, kSlotBody = 4, kSlotLegs = 5 };

// What the game screen shows besides the view; rules write it, the window renders it.
struct ScreenText {
    std::wstring lblII;         // the info line
    std::wstring lblInfo;       // the status line
    std::wstring txtSpeech;     // the speech box's text
    bool speechVisible = false; // the speech box is showing
    std::array<std::wstring, 3> choiceCaptions;  // the choice dialog's three options
    unsigned speechSerial = 0;  // counts the texts said: a new one takes the keyboard
    std::wstring choiceQuestion;                 // the choice dialog's question
};

// Bounds on script runs, shared by a run and every run it starts (exe, died): a script that
// loops for ever or runs itself must end its run, not freeze the game.
struct ScriptRunState {
    int depth = 0;               // runs active right now (nested ones included)
    long long linesLeft = 0;     // lines the outermost run and its nested runs may still take
    long long lineBudget = 1000000;  // lines granted to each outermost run
};

struct SearchedPlace {
    int X = 0;
    int Y = 0;
    int flag = 0;
};

// Values handed to the hall of fame before it opens.
struct HallOfFameRequest {
    std::wstring EnemyName;  // the killer's name
    std::wstring win;        // an ending's epitaph
    bool writehf = false;    // add a record when the form opens
};

struct GameState {
    std::shared_ptr<MainCharacter> Player;
    std::shared_ptr<World> TheWorld;
    std::shared_ptr<NPCCol> NPCs;
    std::shared_ptr<ItemCol> Inventory;
    std::shared_ptr<NPC> CurNPC;
    std::shared_ptr<Item> CurItem;
    // The carried item whose own script is running (using it): remove() takes a piece of
    // this item, whatever the script did to the positions before.
    std::shared_ptr<Item> ScriptItem;

    Integer PlayerX;
    Integer PlayerY;
    Integer FacingDir;     // 1 up, 2 down, 3 right, 4 left
    Variant ReturnX;
    Integer ReturnY;
    Long Money;

    std::array<std::array<Variant, 10>, 6> Equip;   // [slot][column]
    std::array<std::array<Variant, 3>, 21> Skills;  // [row][name, kept value, data text]
    Integer LastSkillIndex;
    std::array<Integer, 50> QuestFlags{};

    bool CutSpellKnown = false;
    bool LightningKnown = false;
    bool FireballKnown = false;
    bool CurseKnown = false;
    bool HealingKnown = false;
    bool NightKnown = false;

    bool Darkness = false;
    bool SkipRedraw = false;
    Integer ResurrectionsLeft;
    bool PlayerDead = false;
    bool KeepSaveOnDeath = false;
    std::wstring CurTile;
    Integer WearMode;
    Integer PickedIndex;
    Integer ChoiceResult;
    Integer ScriptNPCIndex;
    Variant ScriptLocal;
    Integer GivenMoney;
    Integer GivenItemIndex;
    Integer EnemyIndex;
    bool ForgeChoice = false;
    std::shared_ptr<Item> ForgeIngot;  // the ingot on the anvil while the forge's choices show
    std::array<std::wstring, 17> Messages;
    // Jars already searched in this location (at most 100 recorded); emptied whenever a
    // location is loaded.
    std::vector<SearchedPlace> SearchedPlaces;
    // The weapon table of \maps\weapons.dat: [row][name, attack, defence, critical, weight,
    // bonus code, kind, description].
    std::array<std::array<Variant, 8>, 81> WeaponsTable;
    // The person's intro text, set by character creation and shown by the staged start.
    std::wstring IntroText;

    ScreenText screen;
    GameScreenState gameScreen;
    Integer LastSpell;          // the spell Z repeats: 1..5, 6 after "Закрыть"
    bool AnimationRunning = false;  // a spell or arrow is flying: the game screen takes no keys
    bool GameOverRunning = false;   // the game-over pass is under way (it closes the game screen)
    bool RunEnded = false;          // the run went to the hall of fame: it is over for good
    std::vector<std::wstring> LostPlaces;  // places whose changes could not be written, since the last save
    HallOfFameRequest hallOfFame;
    ScriptRunState scriptRun;

    // Creates the four model roots afresh (a new game or a load does this).
    void CreateRoots();
};

// The one instance.
extern GameState modVarsAndMain;

// Back to the state of a program that has just started: every value cleared, no model roots.
void ResetGame();
// Forgets every searched jar (a location was loaded).
void ResetSearchedPlaces();

// The game folder's settings file.
fs::path IniPath();

}  // namespace morvath
