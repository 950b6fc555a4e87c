// Whole fights played headless: the engine, the panel's four actions and their texts. The
// random draws are pinned, on both sides of every threshold a draw meets. Then the characters
// themselves: their steps, their neighbours, their weapons, talk scripts, deaths and turns.
#include "game/fight.h"
#include "game/fight_panel.h"
#include "game/keymap.h"
#include "services/music.h"
#include "test_support.h"
#include "world/hooks.h"
#include "world/turn.h"

using namespace morvath;

namespace {

// Draws just above and just below a threshold k/7 of a "Rnd * 7" test.
constexpr double Above(int k) { return k / 7.0 + 1e-4; }
constexpr double Below(int k) { return k / 7.0 - 1e-4; }
const std::wstring kTown = L"\\music\\Town.mid", kFightTune = L"\\music\\Fight.mid";
const std::wstring kMiss = L"Ваш противник промахнулся!";

struct Fight : GameTest {
    Fight() {
        for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(40, L'G'));
        std::tie(h().HP, h().MaxHp, h().Strenght, h().MaxWeight, g().PlayerX, g().PlayerY) = std::tuple(50, 50, 10, 100, 10, 10);
        modMusicEngine::MusicName.clear();
    }
    const std::wstring& Tune() { return modMusicEngine::MusicName; }
    FightPanel& panel() { return g().gameScreen.fight; }

    std::shared_ptr<NPC> AddNpc(const std::wstring& name, double x, double y, double hp, int strength, bool good = false) {
        auto n = g().NPCs->Add();
        std::tie(n->NPCName, n->Symbol, n->X, n->Y, n->HP, n->Strenght, n->Weapon, n->Good) =
            std::tuple(name, L"m", static_cast<float>(x), static_cast<float>(y), hp, strength, L"A", good);
        return n;
    }
    // The panel as a started fight leaves it, without the start's own draws; the only enemy.
    std::shared_ptr<NPC> OnPanel(double hp, int strength, int weaponForce = 2) {
        g().NPCs->Clear();
        auto e = AddNpc(L"Волк", 11, 10, hp, strength);
        std::tie(panel().visible, panel().enemy, panel().EnemyStartHP, e->WeaponForce) = std::tuple(true, e, e->HP, weaponForce);
        return e;
    }
    std::string KillLog() { return ReadBytes(folder.path() / "monst.cnt").value_or(""); }
    // The status line's health.
    std::wstring Status() { return g().screen.lblInfo.substr(0, g().screen.lblInfo.find(L" Опыт")); }
};

TEST_F(Fight, TheEnemysBlow) {
    // Strength twice (r1 >= 0.5) or once, the axe's 2, less half the armour and luck, a tenth of
    // the mobility and twice the tactic, plus r2 * strength - 1; scaled by the enemy's share of
    // its health. The dodge: 7 * d1 + mobility (less the constitution) against the blow + 10 * d2.
    // The bars after it: the hero's of 50, the enemy's (half before, kept on a miss).
    struct Case { double strength, enemyHp, startHp, defence, luck, mobility; int tactic; double r1, r2, dodge1, dodge2; int hp; const wchar_t* text; double bar, enemyBar; };
    const Case cases[] = {
        {6, 20, 20, 4, 2, 10, 1, 0.5, 0.5, 0, 0, 40, L"Вам нанесли повреждение:10", 0.8, 1},
        {6, 20, 20, 4, 2, 10, 1, 0.4999, 0.5, 0, 0, 46, L"Вам нанесли повреждение:4", 0.92, 1},
        {6, 20, 20, 0, 0, 0, -2, 0.2, 0.5, 0, 0, 36, L"Вам нанесли повреждение:14", 0.72, 1},
        {20, 20, 40, 0, 0, 0, 0, 0.5, 0.25, 0, 0, 27, L"Вам нанесли повреждение:23", 0.54, 0.5},
        {6, 0.1, 0, 0, 0, 0, 0, 0.2, 0.5, 0, 0, 40, L"Вам нанесли повреждение:10", 0.8, 0.5},
        {0, 20, 20, 0, 0, 5, 0, 0, 0, 0, 0, 50, L"Вам нанесли незанчительное повреждение...", 1, 1},  // 0.5 rounds to 50
        {0, 20, 20, 0, 0, 2.5, 0, 0, 0, 0, 0, 49, L"Вам нанесли незанчительное повреждение...", 0.98, 1},
        {6, 20, 20, 40, 0, 0, 0, 0.9, 0.9, 0, 0, 50, L"Ваш противник промахнулся!", 0, 0.5},
        {6, 20, 20, 0, 0, 10, 0, 0.2, 0.5, 0.99, 0.79, 50, L"Ваш противник промахнулся!", 0, 0.5},
        {6, 20, 20, 0, 0, 10, 0, 0.2, 0.5, 0.99, 0.8, 41, L"Вам нанесли повреждение:9", 0.82, 1},
        // A dodge of exactly the blow plus 10 * d2 (3.5 + 10 against 8.5 + 5) does not avoid it; a blow of nothing misses.
        {6, 20, 20, 1, 0, 10, 0, 0.2, 0.5, 0.5, 0.5, 42, L"Вам нанесли повреждение:8", 0.84, 1},
        {0, 20, 20, 0, 0, 10, 0, 0, 0, 0, 0, 50, L"Ваш противник промахнулся!", 0, 0.5},
    };
    for (const Case& c : cases) {
        OnPanel(c.enemyHp, 0)->Strenght = c.strength;
        std::tie(panel().EnemyStartHP, panel().enemyLifeBar, panel().lifeBar, panel().lblLife) = std::tuple(static_cast<int>(c.startHp), 0.5, 0, L"");
        std::tie(h().HP, h().Defence, h().Luck, h().Mobility, h().HeroeTactic, h().Constitution) = std::tuple(50, c.defence, c.luck, c.mobility, c.tactic, c.dodge1 > 0 ? 0 : 100);
        PinnedDraws draws{c.r1, c.r2, c.dodge1, c.dodge2};
        EnemyAttack();
        EXPECT_EQ(std::tuple(int(h().HP), panel().lblFight, panel().lblLife, panel().lifeBar, panel().enemyLifeBar),
                  std::tuple(c.hp, c.text, c.bar > 0 ? L"HP: " + NumText(c.hp) : L"", c.bar, c.enemyBar));
    }
}

TEST_F(Fight, TheHerosDeathNamesTheKillerAndEndsTheFight) {
    OnPanel(20, 20);
    h().HP = 1;
    { PinnedDraws draws{0.5, 0.5, 0, 0}; EnemyAttack(); }
    EXPECT_EQ(std::tuple(panel().lblFight, g().hallOfFame.EnemyName, ui.Count(L"MsgBox|Morvath|Вас убили"), FightOn(), g().PlayerDead, panel().lifeBar),
              std::tuple(L"Вас убили ", L"Волк", 1, false, true, 0.0));
}

// Three wolves reach a hero of one hit point in one turn, and keys arrive inside every box:
// one death notice and one hall of fame, though the turn goes on after the hall of fame
// has closed. The wolves always land their blow and always strike first, so the first of
// them kills him as its fight starts: no fight tune.
TEST_F(Fight, OneDeathIsOneRecordWhateverKeysArriveMeanwhile) {
    struct HeldKeys : ScriptedFrontend {
        std::deque<int> keys{kVkReturn, kVkUp, 0, 'F', kVk5, 0, kVkReturn, kVkLeft};  // 0: the strike button
        void Press() {
            for (int i = 0; i < 3 && !keys.empty(); ++i) {
                const int key = keys.front();
                keys.pop_front();
                key ? PressKey(key, 0) : Strike();
            }
        }
        MsgResult MsgBox(const std::wstring& text, MsgButtons b, MsgIcon i, const std::wstring& title) override {
            Press();
            return ScriptedFrontend::MsgBox(text, b, i, title);
        }
        void ShowHallOfFame(bool modal) override {
            ScriptedFrontend::ShowHallOfFame(modal);
            Press();
        }
    } held;
    std::tie(h().HP, h().Mobility, h().Luck) = std::tuple(1, -100, -20);
    for (auto [x, y] : {std::pair{11, 10}, {9, 10}, {10, 11}}) AddNpc(L"Волк", x, y, 30, 60)->Tactic = kTacticApproach;
    PressKey(kVk5, 0);
    EXPECT_EQ(std::tuple(held.Count(L"MsgBox"), held.Count(L"ShowHallOfFame"), g().PlayerX, g().PlayerY, FightOn(), Tune()), std::tuple(1, 1, 10, 10, false, L""));
}

TEST_F(Fight, TheHerosBlow) {
    // Strength once or twice, weapon times critical, half the luck, twice the tactic, less
    // r2 * the enemy's strength (4); all of it times the hero's share of his health.
    // A thousandth of the damage goes to the hero's strength (in ten-thousandths); the enemy's bar in thousandths.
    struct Case { int hp, weapon, tactic; double critical, luck, r1, r2, enemyHp; const wchar_t* life; double strength, bar; };
    const Case cases[] = {{50, 3, 1, 2, 2, 0.5, 0.5, 73, L"HP: 73", 100270, 730}, {50, 3, 1, 2, 2, 0.4999, 0.5, 83, L"HP: 83", 100170, 830},
                          {20, 0, 0, 0, 0, 0.2, 0.5, 96.8, L"HP: 96", 100032, 968}, {50, 0, 0, 0, 1, 0, 0, 89.5, L"HP: 89", 100105, 895}};
    for (const Case& c : cases) {
        auto wolf = OnPanel(100, 4);
        std::tie(h().HP, h().Strenght, h().WillPower, h().Weapon, h().Critical, h().Luck, h().HeroeTactic, h().Mobility) =
            std::tuple(c.hp, 10, 0, c.weapon, c.critical, c.luck, c.tactic, 100);  // the answer is dodged
        PinnedDraws draws{c.r1, c.r2, 0, 0, 0, 0.99, 0};
        Strike();
        EXPECT_EQ(std::tuple(std::round(wolf->HP * 10), std::round(h().Strenght * 1e4), std::round(panel().enemyLifeBar * 1e3), panel().EnemyLife, h().WillPower, FightOn(), draws.left()),
                  std::tuple(std::round(c.enemyHp * 10), c.strength, c.bar, c.life, 0.05, true, 0u));
    }
    // A blow of nothing misses, and the enemy still answers.
    auto wolf = OnPanel(30, 8);
    h().Strenght = h().Mobility = h().Luck = 0;
    PinnedDraws draws{0.5, 0.5, 0.5, 0.5, 0, 0};
    Strike();
    EXPECT_EQ(std::tuple(wolf->HP, panel().lblFight), std::tuple(30.0, L"Вам нанесли повреждение:21"));
}

TEST_F(Fight, ABadlyHurtEnemyMayPanicAfterABlow) {
    // The blow is 10 - 2 = 8, more than half of the enemy's start of 10; it answers only when it stays.
    struct Case { double breakDraw; int heroHp; bool panics; };
    for (const Case& c : {Case{Above(4), 50, true}, Case{Below(4), 50, false}, Case{Above(4), 25, false}}) {
        auto wolf = OnPanel(40, 4);
        std::tie(panel().EnemyStartHP, h().HP, g().screen.txtSpeech, modMusicEngine::MusicName) = std::tuple(10, c.heroHp, L"", L"");
        PinnedDraws draws{0.2, 0.5, c.breakDraw, 0, 0, 0, 0};
        Strike();
        EXPECT_EQ(std::tuple(panel().visible, int(wolf->Tactic), wolf->Good, h().HP < c.heroHp, wolf->X, g().screen.txtSpeech, Tune()),
                  c.panics ? std::tuple(false, kTacticFlee, false, false, 12.0f, Spoken(L"Волк в панике бежит от вас!"), kTown)
                           : std::tuple(true, 0, false, true, 11.0f, std::wstring(), std::wstring()));
    }
}

TEST_F(Fight, AKillRewardsLogsRunsTheDeathAndRemovesOnlyTheDead) {
    auto before = AddNpc(L"Стражник", 3, 3, 10, 5), wolf = AddNpc(L"Волк", 11, 10, 5, 7);
    std::tie(panel().visible, panel().enemy, panel().EnemyStartHP, wolf->WeaponForce, wolf->DieScript_File, modMusicEngine::MusicName) = std::tuple(true, wolf, 5, 2, L"wolf.die", kFightTune);
    auto after = AddNpc(L"Купец", 4, 4, 10, 5);
    w().setPosMap(13, 14, L"w");
    WriteFileAtomic(folder.path() / "scripts" / "wolf.die", EncodeCp1251(L"say(\"шкура\")\r\n"));
    { PinnedDraws draws{0.5, 0.5, Above(4)}; Strike(); }  // 9 * 0.5714: 5 thousandths of strength
    // The fight's tune stops and no other starts; the death script runs with the dead as its speaker.
    EXPECT_EQ(std::tuple(panel().lblFight, KillLog(), int(h().Exp), int(h().dMonsters), panel().visible, panel().enemyLifeBar, Tune(), modMusicEngine::MidiOpen()),
              std::tuple(L"Вы убили Волк", EncodeCp1251(L"Волк\r\n"), 1 + 3, 1, false, 0.0, kFightTune, false));
    EXPECT_EQ(std::tuple(int(g().ScriptNPCIndex), int(wolf->ScriptEvent), g().screen.txtSpeech, w().GetPosMap(14, 13), g().NPCs->Count()),
              std::tuple(2, 1, Spoken(L"Волк:шкура"), L"G", 2));
    EXPECT_EQ(std::tuple(std::round(h().Strenght * 1000), g().NPCs->Item(1), g().NPCs->Item(2)), std::tuple(10005.0, before, after));

    // The log grows a line per kill; whoever stands on the hero's cell fights next.
    OnPanel(1, 0)->NPCName = L"Медведь";
    AddNpc(L"Паук", 9, 10, 30, 10);
    auto onHero = AddNpc(L"Змея", 10, 10, 30, 10);
    h().Luck = 10;
    Strike();
    EXPECT_EQ(std::tuple(KillLog(), FightOn(), panel().enemy, int(g().EnemyIndex)), std::tuple(EncodeCp1251(L"Волк\r\nМедведь\r\n"), true, onHero, 2));
}

TEST_F(Fight, TheCurse) {
    auto wolf = OnPanel(20, 5);
    std::tie(h().Mobility, h().Mana, g().CurseKnown) = std::tuple(100, 1.9, true);
    Curse();
    // Refusals cost nothing and the enemy does not answer them.
    EXPECT_EQ(std::tuple(panel().lblFight, double(h().Mana), wolf->HP, int(h().Exp)), std::tuple(L"У вас не хватает маны", 1.9, 20.0, 0));
    // Nine hit points for one point of mana, but it never kills.
    h().Mana = 5;
    struct Step { double hp, after; const wchar_t* life; int mana; };
    for (const Step& s : {Step{20, 11, L"HP: 11", 4}, Step{10.5, 0.1, L"HP: 0.1", 3}, Step{0.1, 0.1, L"HP: 0.1", 2}}) {
        wolf->HP = s.hp;
        Curse();
        EXPECT_EQ(std::tuple(std::round(wolf->HP * 1e6), panel().EnemyLife, int(h().Mana), FightOn(), int(h().Exp)), std::tuple(std::round(s.after * 1e6), s.life, s.mana, true, 5 - s.mana));
    }
}

TEST_F(Fight, FlightNeedsFourOnTheDiePlusLuck) {
    struct Case { double luck, draw; bool away; };
    for (const Case& c : {Case{0, Above(4), true}, Case{0, Below(4), false}, Case{4, 0, true}, Case{3, Below(1), false}, Case{3, Above(1), true}}) {
        auto guard = OnPanel(30, 5);
        std::tie(guard->Good, h().Luck, h().WillPower, h().Mobility, modMusicEngine::MusicName, panel().lblFight, g().screen.lblInfo) = std::tuple(true, c.luck, 1, 100, L"", L"", L"");
        // A failed flight is shown for a moment before the enemy's blow; a key then does nothing.
        std::wstring paused;
        ui.onPause = [&] { paused = panel().lblFight; PressKey(kVkUp, 0); };
        PinnedDraws draws{c.draw, 0, 0, 0.99, 0};
        Flee();
        if (c.away) Strike();  // the panel's buttons act on no fight once it is closed
        // The status line catches up when the fight is over.
        EXPECT_EQ(std::tuple(panel().visible, int(guard->Tactic), guard->Good, double(h().WillPower), Tune(), panel().lblFight, paused, int(g().PlayerY), guard->HP, Status()),
                  std::tuple(!c.away, c.away ? kTacticApproach : 0, !c.away, c.away ? 0.95 : 1, c.away ? kTown : L"", c.away ? L"" : kMiss,
                             c.away ? L"" : L"Сбежать не удаётся!", 10, 30.0, c.away ? L"ХП: 50" : L"")) << c.draw;
    }
}

TEST_F(Fight, TheAutomaticFight) {
    // Nobody can win: no strength lands no blow; a strength-0 enemy's fists never get through armour 10.
    std::tie(h().Strenght, h().Defence) = std::tuple(0, 10);
    auto tramp = OnPanel(20, 0, 0);
    FightAutomatically();
    EXPECT_EQ(std::tuple(FightOn(), tramp->HP, int(h().HP)), std::tuple(true, 20.0, 50));
    // It stops at the hero's death without another blow.
    std::tie(h().Strenght, h().HP) = std::tuple(0, 1);
    OnPanel(60, 30);
    FightAutomatically();
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox|Morvath|Вас убили"), FightOn()), std::tuple(1, false));
}

TEST_F(Fight, TheFKeyFightsTheFirstNeighbourInCollectionOrder) {
    AttackNearby();
    EXPECT_EQ(g().screen.txtSpeech, Spoken(L"Здесь не с кем сражаться"));
    h().Strenght = 0;  // no panic
    for (auto [x, y] : {std::pair{11, 10}, std::pair{9, 10}, std::pair{10, 11}, std::pair{10, 9}}) {
        g().NPCs->Clear();
        AddNpc(L"Угол", 11, 11, 30, 5);  // diagonal: not a neighbour
        auto n = AddNpc(L"Сосед", x, y, 30, 5);
        AddNpc(L"Справа", 11, 10, 30, 5);
        PinnedDraws draws{0, Above(5)};
        AttackNearby();
        EXPECT_EQ(std::tuple(FightOn(), panel().enemy, int(g().EnemyIndex)), std::tuple(true, n, 2)) << x << y;
    }
}

TEST_F(Fight, StartingAFightSetsUpThePanelAndLuckDecidesWhoStrikesFirst) {
    std::tie(h().Strenght, h().HP, h().Mobility) = std::tuple(10.6, 40, 100);
    g().Equip[kSlotRightHand][kEqName] = L"Булава";
    g().screen.speechVisible = true;
    auto orc = AddNpc(L"Орк", 10, 11, 12.7, 7);
    { PinnedDraws draws{Below(5), Above(5)}; StartFight(10, 11); }
    // Health and strength are shown whole, cut down.
    EXPECT_EQ(std::tuple(panel().lblFight, panel().EnemyLife, panel().lblStrenght), std::tuple(L"Готов!", L"HP: 12", L"Сила: 10"));
    EXPECT_EQ(std::tuple(FightOn(), g().screen.speechVisible, int(panel().EnemyStartHP), int(orc->WeaponForce), panel().enemyLifeBar, int(g().EnemyIndex), Tune(), panel().lifeBar, h().WillPower),
              std::tuple(true, false, 13, 2, 1.0, 1, kFightTune, 0.8, 0.01));
    // The enemy strikes first while the die plus half the luck stays below five; here it misses.
    for (auto [luck, draw, first] : {std::tuple{0, Below(5), true}, std::tuple{2, Below(4), true}, std::tuple{2, Above(4), false}}) {
        h().Luck = luck;
        PinnedDraws draws{0, draw, 0, 0, 0.99, 0};
        StartFight(10, 11);
        EXPECT_EQ(panel().lblFight, first ? kMiss : L"Готов!") << luck;
    }
    // A health beyond what the starting health can hold is kept at its largest value.
    auto giant = AddNpc(L"Великан", 11, 10, 1e6, 7);
    StartFight(11, 10);
    EXPECT_EQ(std::tuple(panel().enemy, int(panel().EnemyStartHP)), std::tuple(giant, 32767));
    // Nobody on the cell: no fight, even with an old enemy index.
    CloseFightPanel();
    StartFight(12, 10);
    EXPECT_FALSE(FightOn());
}

TEST_F(Fight, AWeakEnemyMayFleeAtTheSightOfAHealthyStrongHero) {
    // The rat has less than half the hero's health and strength (20).
    struct Case { double draw; int heroHp, ratHp, ratStrength; bool flees; };
    for (const Case& c : {Case{Above(5), 50, 5, 2, true}, Case{Below(5), 50, 5, 2, false}, Case{Above(5), 25, 5, 2, false},
                          Case{Above(5), 50, 25, 2, false}, Case{Above(5), 50, 5, 10, false}}) {
        g().NPCs->Clear();
        std::tie(h().Strenght, h().HP, g().screen.txtSpeech, modMusicEngine::MusicName) = std::tuple(20, c.heroHp, L"", L"");
        auto rat = AddNpc(L"Крыса", 11, 10, c.ratHp, c.ratStrength, true);
        ui.msgAnswers.push_back(MsgResult::Yes);
        PinnedDraws draws{c.draw, 0.99, 0.99};
        StartFight(11, 10);
        // It ran before any question; every character took its turn, the rat one step away.
        EXPECT_EQ(std::tuple(FightOn(), int(rat->Tactic), rat->Good, g().screen.txtSpeech, ui.Count(L"MsgBox") == 0, Tune(), rat->X),
                  c.flees ? std::tuple(false, kTacticFlee, false, Spoken(L"Крыса испугался вашего вида и в панике бежит от вас!"), true, kTown, 12.0f)
                          : std::tuple(true, 0, true, std::wstring(), false, kFightTune, 11.0f)) << c.draw << " " << c.heroHp;
        CloseFightPanel();
    }
}

TEST_F(Fight, AttackingAGoodCharacterAsksAndMayBeAnAmbush) {
    std::tie(h().Strenght, h().Mobility) = std::tuple(0, 100);  // no panic: nothing is weaker than no strength at all
    AddNpc(L"Стражник", 11, 10, 3, 2, true);
    ui.msgAnswers.push_back(MsgResult::No);
    StartFight(11, 10);
    EXPECT_EQ(std::tuple(ui.log.at(0), FightOn(), double(h().Doom)), std::tuple(L"MsgBox|Morvath|Вы действительно хотите драться с Стражник", false, 0.0));
    // The score: mobility / 7 + luck - 3 / 3 - 2 / 2 - Int(7 r1) + Int(7 r2); above zero,
    // however little, kills. Mobility 2.8 adds 0.4, -0.7 takes 0.1, 0.7 adds 0.1; draws of 0.99
    // take and give 6 each. Without the skill no luck ambushes.
    struct Case { bool skill; double mobility, luck, r1, r2; bool ambush; };
    for (const Case& c : {Case{false, 0, 20, 0, 0, false}, Case{true, 2.8, 2, 0, 0, true}, Case{true, 0, 2, 0, 0, false}, Case{true, -0.7, 2, 0, 0, false},
                          Case{true, 0, 2, 0, Above(1), true}, Case{true, 0, 2, Above(1), Above(1), false}, Case{true, 0.7, 2, .99, .99, true},
                          Case{true, 0, 2, .99, .99, false}}) {
        CloseFightPanel();
        g().NPCs->Clear();
        if (c.skill) g().Skills[9][0] = L"Подстерегать";  // learned late: any row of the table counts
        auto soldier = AddNpc(L"Солдат", 2, 2, 30, 8, true), guard = AddNpc(L"Стражник", 11, 10, 3, 2, true);
        std::tie(h().Mobility, h().Luck, h().Doom, h().Exp, h().Strenght) = std::tuple(c.mobility, c.luck, 0, 0, 0);
        fs::remove(folder.path() / "monst.cnt");
        ui.msgAnswers.push_back(MsgResult::Yes);
        PinnedDraws draws{0, c.r1, c.r2, Above(5), Above(5)};
        StartFight(11, 10);
        // Nobody saw an ambush; an open fight alarms the soldiers. 0.7 for attacking a good character, 1 for killing one.
        EXPECT_EQ(std::tuple(FightOn(), g().NPCs->Contains(guard), soldier->Good, int(soldier->Tactic), KillLog(), std::round(double(h().Doom) * 10)),
                  std::tuple(!c.ambush, !c.ambush, c.ambush, c.ambush ? 0 : kTacticApproach, c.ambush ? EncodeCp1251(L"Стражник\r\n") : "", c.ambush ? 17.0 : 7.0))
            << c.mobility << " " << c.r2;
        if (c.ambush) {
            EXPECT_EQ(std::tuple(int(h().Exp), int(g().ScriptNPCIndex), int(guard->ScriptEvent), g().screen.txtSpeech, int(h().dMonsters), std::round(double(h().Strenght) * 1000)),
                      std::tuple(1 + 1, 2, 1, Spoken(L"Вы подстерегли противника!"), 0, 6.0));
        }
    }
}

// In a turn, a character that hunts the hero and reaches him starts the fight; one still too far after
// its step, one next to him that never moves and one that runs do not.
TEST_F(Fight, OnlyAHunterThatReachesTheHeroInATurnStartsAFight) {
    h().Strenght = 0;  // no panic
    for (auto [tactic, x, fight] : {std::tuple{kTacticApproach, 12, true}, std::tuple{kTacticApproach, 15, false}, std::tuple{kTacticStay, 11, false},
                                    std::tuple{kTacticFlee, 11, false}}) {
        std::tie(panel().visible, panel().enemy) = std::tuple(false, nullptr);
        g().NPCs->Clear();
        auto wolf = AddNpc(L"Волк", x, 10, 20, 0);
        wolf->Tactic = tactic;
        PinnedDraws draws{0, Above(5)};  // not scared; the hero strikes first
        MoveAllNPCs();
        EXPECT_EQ(std::tuple(FightOn(), panel().enemy), std::tuple(fight, fight ? wolf : nullptr)) << tactic << " " << x;
    }
}

TEST_F(Fight, OnlySoldiersAreAlarmed) {
    auto s1 = AddNpc(L"Солдат", 1, 1, 10, 1, true), s2 = AddNpc(L"солдат", 1, 2, 10, 1, true), s3 = AddNpc(L"Солдаты", 1, 3, 10, 1, true);
    s1->Tactic = kTacticRandomWalk;
    AlarmSoldiers();
    EXPECT_EQ(std::tuple(int(s1->Tactic), s1->Good, s2->Good, s3->Good, int(s3->Tactic)), std::tuple(kTacticApproach, false, true, true, 0));
}

struct Characters : GameTest {
    Characters() : GameTest(11) {}

    // Rows in hero coordinates: character x of row y is the tile at (x, y), that is grid
    // column x + 3 of grid row y + 3. Everything around them is rock.
    void Grid(const std::vector<const wchar_t*>& rows) {
        for (int r = 0; r <= 20; ++r) w().SetRow(r, std::wstring(20, L'a'));
        int y = 0;
        for (const wchar_t* row : rows) w().SetRow(y++ + 3, L"aa" + std::wstring(row) + L"aaaa");
    }
    std::wstring At(double x, double y) { return w().GetPosMap(x + 3, y + 3); }

    std::shared_ptr<NPC> Put(double x, double y, int tactic) {
        auto n = modVarsAndMain.NPCs->Add();
        std::tie(n->NPCName, n->Symbol, n->X, n->Y, n->Tactic) = std::tuple(L"Волк", L"W", static_cast<float>(x), static_cast<float>(y), tactic);
        w().setPosMap2(y + 3, x + 3, n->Symbol);
        return n;
    }
    void Hero(int x, int y) { std::tie(modVarsAndMain.PlayerX, modVarsAndMain.PlayerY) = std::tuple(x, y); }
};

}  // namespace

// One step from (2, 2): straight when it can, else sliding along one axis, else a random
// step (the pinned draws: 0 to 1/3 is 0, then 1, then -1) onto the floor only, never onto
// the hero. The symbol moves with the character.
TEST_F(Characters, StepsAndTheirDetours) {
    struct Case { std::vector<const wchar_t*> grid; int heroX, heroY, tactic; std::vector<double> draws; float x, y; };
    const std::vector<const wchar_t*> open(6, L"GGGGGG");
    const std::vector<const wchar_t*> boxed = {L"aaaaa", L"aaaaa", L"aaGaa", L"aaaaa", L"aaaaa", L"GGGGG"};
    const std::vector<const wchar_t*> walled = {L"GGGaa", L"GGGaa", L"GGGaa", L"aaaaa", L"aaaaa", L"aaaaa"};
    const Case cases[] = {
        {open, 5, 5, kTacticApproach, {}, 3, 3},
        {{L"GGGGGG", L"GGGGGG", L"GGGGGG", L"GGGaGG", L"GGGGGG", L"GGGGGG"}, 5, 5, kTacticApproach, {}, 3, 2},
        {{L"GGGGGG", L"GGGGGG", L"GGGaGG", L"GG9aGG", L"GGGGGG", L"GGGGGG"}, 5, 5, kTacticApproach, {}, 2, 3},  // onto the heap
        {open, 3, 3, kTacticApproach, {}, 2, 2},
        {open, 0, 0, kTacticFlee, {}, 3, 3},
        {open, 2, 0, kTacticFlee, {}, 2, 3},  // straight above it: straight down
        {boxed, 4, 5, kTacticApproach, {0.5, 0.5}, 2, 2},
        {walled, 4, 5, kTacticApproach, {0.9, 0.9}, 1, 1},
        {open, 0, 5, kTacticRandomWalk, {0.5, 0.9}, 3, 1},
        {walled, 0, 5, kTacticRandomWalk, {0.5, 0.5}, 2, 2},
        {open, 2, 1, kTacticRandomWalk, {0, 0.9}, 2, 2},
        {open, 2, 1, kTacticStay, {0.5, 0.5}, 2, 2},
    };
    for (const Case& c : cases) {
        Grid(c.grid);
        modVarsAndMain.NPCs->Clear();
        Hero(c.heroX, c.heroY);
        auto n = Put(2, 2, c.tactic);
        PinnedDraws draws(c.draws);
        n->Do_Move(1);
        const bool moved = c.x != 2 || c.y != 2;
        EXPECT_EQ(std::tuple(n->X, n->Y, At(c.x, c.y), moved ? At(2, 2) : L"G"), std::tuple(c.x, c.y, L"W", L"G")) << &c - cases;
    }
}

TEST_F(Characters, TheAdjacencyTestCoversTheEightSquaresAround) {
    Hero(5, 5);
    NPC n;
    std::string seen;
    for (int i = 0; i < 26; ++i) {
        std::tie(n.X, n.Y) = i < 25 ? std::tuple(float(3 + i % 5), float(3 + i / 5)) : std::tuple(5.5f, 5.0f);
        seen += n.AdjacentToHero() ? '1' : '0';
    }
    EXPECT_EQ(seen, "00000011100101001110000000");
}

TEST_F(Characters, WeaponCodes) {
    NPC n;
    PinnedDraws draws{0, 0.9999};
    // Latin A, its Cyrillic look-alike, the diamond sword, a sword of force 0 to 8.
    for (auto [code, type, name] : {std::tuple{L"A", 2, L"Топор"}, std::tuple{L"А", 1, L"Кулак"}, std::tuple{L"З", 20, L"Алмазный меч"},
                                    std::tuple{L"М", 0, L"Меч"}, std::tuple{L"М", 8, L"Меч"}}) {
        n.Weapon = code;
        EXPECT_EQ(std::tuple(int(n.GetWeaponType()), n.WeaponName), std::tuple(type, name)) << type;
    }
}

// A last speech is spoken instead of the talk script; scripts are read item by item; a
// script outside the folder is never read.
TEST_F(Characters, TalkScripts) {
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "scripts" / "talk.tai", EncodeCp1251(L"say(\"Привет\")\r\nfirst,second\r\n\"quoted, with comma\"\r\n")));
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "scripts" / "x.tai", "x"));
    auto n = Put(1, 1, kTacticStay);
    std::tie(n->NPCName, n->AIScript_File, n->Last_Speech) = std::tuple(L"Стражник", L"talk.tai", L"Проходи.");
    n->ExecTalkAIScript();
    EXPECT_EQ(std::tuple(modVarsAndMain.screen.txtSpeech, n->scriptText), std::tuple(L"Стражник:Проходи.\r\n\r\n[пробел]", L""));
    n->Last_Speech.clear();
    n->ExecTalkAIScript();
    n->ExecScriptR(L"..\\scripts\\x.tai");
    EXPECT_EQ(n->scriptText, L"say(\"Привет\")\r\nfirst\r\nsecond\r\nquoted, with comma\r\n");
    n->ExecScriptR(L"x.tai");
    EXPECT_EQ(n->scriptText, L"x\r\n");
}

// Removing the dead is the caller's; a good one's death marks the hero. A square that holds
// things shows their heap again when its character dies, runs or steps off.
TEST_F(Characters, DyingAndFleeingFreeTheSquare) {
    Grid({L"GGG", L"GGG", L"GGG"});
    Hero(5, 5);
    for (auto [x, y] : {std::pair(1.0f, 1.0f), {0.0f, 0.0f}, {2.0f, 0.0f}}) {
        auto heap = w().mapItemCol->Add();
        std::tie(heap->X, heap->Y) = std::tuple(x, y);
    }
    modVarsAndMain.Player->Doom = 2;
    auto good = Put(1, 1, kTacticStay);
    std::tie(good->Good, good->DieScript_File) = std::tuple(true, L"none.die");
    good->Died();
    Put(2, 2, kTacticStay)->Died();
    Put(0, 0, kTacticStay)->run();
    PinnedDraws down{0, 0.5};
    Put(2, 0, kTacticRandomWalk)->Do_Move(4);
    EXPECT_EQ(std::tuple(At(1, 1) + At(2, 2) + At(0, 0) + At(2, 0) + At(2, 1), int(good->ScriptEvent), modVarsAndMain.Player->Doom, int(modVarsAndMain.NPCs->Count())),
              std::tuple(L"9G99W", kEventDied, 3.0, 4));
}

// In a turn every character moves once, in order, while it is still one of the place's: the
// fight a hunter starts may take characters away, before or after it in the collection, move
// one to the end or bring a new one, which waits for the next turn. Walkers A, B, C (and the
// newcomer) step right (pinned draws: 0.5 is 1, 0 is 0); the hunter H reaches the hero.
TEST_F(Characters, ATurnMovesEachCharacterStillThereOnce) {
    static std::function<void(NPCCol&)> fight;
    const auto installed = Hooks().startFight;
    Hooks().startFight = [](double, double) {
        fight(*modVarsAndMain.NPCs);
        auto newcomer = modVarsAndMain.NPCs->Add();
        std::tie(newcomer->Symbol, newcomer->Y, newcomer->Tactic) = std::tuple(L"W", 5.0f, kTacticRandomWalk);
    };
    // The collection is A H B C.
    const std::pair<std::function<void(NPCCol&)>, const char*> cases[] = {
        {[](NPCCol&) {}, "ABC"}, {[](NPCCol& c) { c.RemoveAt(2); }, "ABC"}, {[](NPCCol& c) { c.RemoveAt(3); }, "A C"},
        {[](NPCCol& c) { c.RemoveAt(1); }, "ABC"}, {[](NPCCol& c) { c.RemoveAt(1), c.RemoveAt(2); }, "A C"},
        {[](NPCCol& c) { c.Append(c.Item(3)), c.RemoveAt(3); }, "ABC"}, {[](NPCCol& c) { c.Clear(); }, "A  "}};
    for (const auto& [remove, moved] : cases) {
        Grid(std::vector<const wchar_t*>(6, L"GGGGGG"));
        modVarsAndMain.NPCs->Clear();
        Hero(0, 0);
        const auto a = Put(0, 2, kTacticRandomWalk);
        Put(1, 0, kTacticApproach);
        const auto b = Put(0, 3, kTacticRandomWalk), c = Put(0, 4, kTacticRandomWalk);
        fight = remove;
        PinnedDraws draws{0.5, 0, 0.5, 0, 0.5, 0, 0.5, 0};
        MoveAllNPCs();
        const std::string seen = {a->X == 1 ? 'A' : ' ', b->X == 1 ? 'B' : ' ', c->X == 1 ? 'C' : ' '};
        EXPECT_EQ(std::pair(seen, At(1, 5)), std::pair(std::string(moved), std::wstring(L"G"))) << moved;
    }
    Hooks().startFight = installed;
}
