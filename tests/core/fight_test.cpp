// Whole fights played headless: the engine, the panel's four actions and their texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "game/fight.h"
#include "game/fight_panel.h"
#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "services/music.h"
#include "test_support.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

GameState& G() { return modVarsAndMain; }

// The next n numbers the random source will hand out for a seed; the source is left seeded
// so that the rule under test draws exactly these.
std::vector<double> Draws(std::uint64_t seed, int n) {
    SeedRandom(seed);
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(Rnd());
    SeedRandom(seed);
    return v;
}

// The first seed whose draws satisfy the condition, with the source seeded by it.
std::vector<double> DrawsWhere(int n, const std::function<bool(const std::vector<double>&)>& ok) {
    for (std::uint64_t seed = 1; seed < 100000; ++seed) {
        auto d = Draws(seed, n);
        if (ok(d)) return d;
    }
    ADD_FAILURE() << "no seed found";
    return std::vector<double>(static_cast<std::size_t>(n), 0.0);
}

struct Fight : ::testing::Test {
    TempDir dir;
    fs::path oldFolder = GameFolder();
    ScriptedFrontend ui;

    void SetUp() override {
        ResetGame();
        SetGameFolder(dir.path());
        G().CreateRoots();
        for (int row = 0; row <= 40; ++row) G().TheWorld->SetRow(row, std::wstring(40, L'G'));
        auto& h = hero();
        h.HP = 50;
        h.MaxHp = 50;
        h.Strenght = 10;
        h.MaxWeight = 100;
        G().PlayerX = 10;
        G().PlayerY = 10;
        modMusicEngine::MusicName.clear();
    }
    const std::wstring& Tune() { return modMusicEngine::MusicName; }
    void TearDown() override { SetGameFolder(oldFolder); }

    MainCharacter& hero() { return *G().Player; }
    FightPanel& panel() { return G().gameScreen.fight; }

    std::shared_ptr<NPC> AddNpc(const std::wstring& name, double x, double y, double hp, int strength,
                                bool good = false) {
        auto n = G().NPCs->Add();
        n->NPCName = name;
        n->Symbol = L"m";
        n->X = static_cast<float>(x);
        n->Y = static_cast<float>(y);
        n->HP = hp;
        n->Strenght = strength;
        n->Weapon = L"A";
        n->Good = good;
        return n;
    }

    // The panel as a started fight leaves it, without the start's own draws.
    void OnPanel(const std::shared_ptr<NPC>& e, int weaponForce) {
        panel().visible = true;
        panel().enemy = e;
        panel().EnemyStartHP = e->HP;
        e->WeaponForce = weaponForce;
    }

    // The hero can neither dodge nor be spared by the dodge roll.
    void NoDodge() { hero().Constitution = 200; }
    void AlwaysDodge() { hero().Constitution = -200; }

    std::string KillLog() {
        auto b = ReadBytes(dir.path() / "monst.cnt");
        return b ? *b : std::string();
    }
};

// ---------------------------------------------------------------- the enemy's blow

TEST_F(Fight, EnemyBlowFollowsStrengthWeaponArmourLuckMobilityAndTactic) {
    auto wolf = AddNpc(L"Волк", 11, 10, 20, 6);
    OnPanel(wolf, 2);
    NoDodge();
    hero().Defence = 4;
    hero().Luck = 2;
    hero().Mobility = 10;
    hero().HeroeTactic = 1;
    for (std::uint64_t seed : {3u, 8u, 21u}) {
        hero().HP = 50;
        auto r = Draws(seed, 2);
        // Strength once or twice, the axe's 2, less half the armour and luck, a tenth of the
        // mobility, twice the tactic, plus a random share of strength less one.
        double d = Int(2 * r[0] + 1) * 6 + 2 - 4 / 2.0 - 2 / 2.0 - 10 / 10.0 - 2 * 1 + (r[1] * 6 - 1);
        EnemyAttack();
        EXPECT_EQ(hero().HP, CInt(50 - d)) << seed;
        EXPECT_EQ(panel().lblFight, L"Вам нанесли повреждение:" + NumText(Int(d)));
        EXPECT_EQ(panel().lblLife, L"HP: " + NumText(CInt(50 - d)));
        EXPECT_DOUBLE_EQ(panel().lifeBar, CInt(50 - d) / 50.0);
    }
}

TEST_F(Fight, TheStealthyTacticMakesTheHeroTakeMoreAsTheGameHasAlwaysDoneIt) {
    auto wolf = AddNpc(L"Волк", 11, 10, 20, 6);
    OnPanel(wolf, 2);
    NoDodge();
    hero().HeroeTactic = -2;
    auto r = Draws(5, 2);
    double d = Int(2 * r[0] + 1) * 6 + 2 + 4 + (r[1] * 6 - 1);
    EnemyAttack();
    EXPECT_EQ(hero().HP, CInt(50 - d));
}

TEST_F(Fight, AWoundedEnemyHitsInProportionToItsHealth) {
    auto wolf = AddNpc(L"Волк", 11, 10, 40, 20);
    OnPanel(wolf, 2);
    NoDodge();
    hero().HP = 100;
    hero().MaxHp = 100;
    auto r = Draws(11, 2);
    double full = Int(2 * r[0] + 1) * 20 + 2 + (r[1] * 20 - 1);
    wolf->HP = 20;  // half of what it started with
    EnemyAttack();
    EXPECT_EQ(hero().HP, CInt(100 - full / 2));
}

TEST_F(Fight, AnEnemyThatStartedBelowHalfAHitPointHitsUnscaledAndKeepsItsBar) {
    // The curse leaves 0.1 hit points; such an enemy that fled and is fought again has a
    // starting health of 0, which must not turn the blow into nonsense.
    auto wolf = AddNpc(L"Волк", 11, 10, 0.1, 6);
    OnPanel(wolf, 2);
    EXPECT_EQ(panel().EnemyStartHP, 0);
    panel().enemyLifeBar = 0.5;
    NoDodge();
    auto r = Draws(4, 2);
    double d = Int(2 * r[0] + 1) * 6 + 2 + (r[1] * 6 - 1);
    EnemyAttack();
    EXPECT_EQ(hero().HP, CInt(50 - d));
    EXPECT_EQ(panel().enemyLifeBar, 0.5);
}

TEST_F(Fight, ADodgeOrABlowOfNothingMisses) {
    auto wolf = AddNpc(L"Волк", 11, 10, 20, 6);
    OnPanel(wolf, 2);
    AlwaysDodge();
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        SeedRandom(seed);
        EnemyAttack();
        EXPECT_EQ(hero().HP, 50);
        EXPECT_EQ(panel().lblFight, L"Ваш противник промахнулся!");
    }
    // No dodge, but armour takes the whole blow.
    NoDodge();
    hero().Defence = 40;
    SeedRandom(1);
    EnemyAttack();
    EXPECT_EQ(hero().HP, 50);
    EXPECT_EQ(panel().lblFight, L"Ваш противник промахнулся!");
}

TEST_F(Fight, ABlowBelowOnePointIsMinorDamageEvenWhenRoundingLeavesHpAsItWas) {
    // Strength 0: the draws play no part; the axe's 2 less half a point of mobility less one.
    auto tramp = AddNpc(L"Бродяга", 11, 10, 20, 0);
    OnPanel(tramp, 2);
    NoDodge();
    hero().Constitution = 205;  // the mobility below must not make a dodge possible
    hero().Mobility = 5;        // D = 0.5: 50 - 0.5 rounds to 50
    EnemyAttack();
    EXPECT_EQ(hero().HP, 50);
    EXPECT_EQ(panel().lblFight, L"Вам нанесли незанчительное повреждение...");
    hero().Mobility = 2.5;  // D = 0.75: 49.25 rounds to 49
    EnemyAttack();
    EXPECT_EQ(hero().HP, 49);
    EXPECT_EQ(panel().lblFight, L"Вам нанесли незанчительное повреждение...");
}

TEST_F(Fight, TheHerosDeathNamesTheKillerAndEndsTheFight) {
    auto wolf = AddNpc(L"Волк", 11, 10, 20, 20);
    OnPanel(wolf, 2);
    NoDodge();
    hero().HP = 1;
    SeedRandom(2);
    EnemyAttack();
    EXPECT_EQ(panel().lblFight, L"Вас убили ");
    EXPECT_EQ(G().hallOfFame.EnemyName, L"Волк");
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Вас убили"), 1);
    EXPECT_FALSE(panel().visible);
    EXPECT_FALSE(FightOn());
    EXPECT_TRUE(G().PlayerDead);
    EXPECT_EQ(panel().lifeBar, 0);
}

// ---------------------------------------------------------------- the hero's blow

TEST_F(Fight, HeroBlowFollowsStrengthWeaponLuckAndTacticLessTheEnemysShare) {
    auto wolf = AddNpc(L"Волк", 11, 10, 100, 4);
    OnPanel(wolf, 2);
    AlwaysDodge();
    hero().Weapon = 3;
    hero().Critical = 2;
    hero().Luck = 2;
    hero().HeroeTactic = 1;
    auto r = Draws(7, 2);
    double d = Int(2 * r[0] + 1) * 10 + 3 * 2 + 2 / 2.0 + 2 * 1 - r[1] * 4;
    Strike();
    EXPECT_DOUBLE_EQ(wolf->HP, 100 - d);
    EXPECT_EQ(panel().EnemyLife, L"HP: " + NumText(Int(100 - d)));
    EXPECT_DOUBLE_EQ(hero().Strenght, 10 + d / 1000);
    EXPECT_DOUBLE_EQ(hero().WillPower, 0.05);
    EXPECT_DOUBLE_EQ(panel().enemyLifeBar, (100 - d) / 100);
    EXPECT_TRUE(FightOn());
}

TEST_F(Fight, AWoundedHeroHitsInProportionToHisHealth) {
    auto wolf = AddNpc(L"Волк", 11, 10, 100, 4);
    OnPanel(wolf, 2);
    AlwaysDodge();
    hero().HP = 20;
    auto r = Draws(9, 2);
    double d = (Int(2 * r[0] + 1) * 10 - r[1] * 4) * (20.0 / 50);
    Strike();
    EXPECT_DOUBLE_EQ(wolf->HP, 100 - d);
}

TEST_F(Fight, ABlowOfNothingMissesAndTheEnemyStillAnswers) {
    auto wolf = AddNpc(L"Волк", 11, 10, 30, 8);
    OnPanel(wolf, 2);
    NoDodge();
    hero().Strenght = 0;
    SeedRandom(3);
    Strike();
    EXPECT_EQ(wolf->HP, 30);
    EXPECT_LT(hero().HP, 50);
}

TEST_F(Fight, AFractionOfAPointStillWoundsTheEnemy) {
    auto rat = AddNpc(L"Крыса", 11, 10, 30, 0);
    OnPanel(rat, 0);
    AlwaysDodge();
    hero().Strenght = 0;
    hero().Luck = 1;  // half a point, whatever the draws
    Strike();
    EXPECT_DOUBLE_EQ(rat->HP, 29.5);
    EXPECT_EQ(panel().EnemyLife, L"HP: 29");
}

TEST_F(Fight, ABadlyHurtEnemyMayPanicAfterABlow) {
    hero().Weapon = 0;
    // D is 6..20 and the enemy started at 10: the blow is always more than half of that.
    auto scared = [](const std::vector<double>& d) { return d[2] * 7 > 4; };
    {
        auto wolf = AddNpc(L"Волк", 11, 10, 40, 4);
        OnPanel(wolf, 2);
        panel().EnemyStartHP = 10;
        auto r = DrawsWhere(3, scared);
        double d = Int(2 * r[0] + 1) * 10 - r[1] * 4;
        Strike();
        EXPECT_FALSE(panel().visible);
        EXPECT_EQ(wolf->Tactic, kTacticFlee);
        EXPECT_FALSE(wolf->Good);
        EXPECT_EQ(wolf->X, 12);  // it took one step away from the hero
        EXPECT_EQ(panel().lblFight, L"Вы нанесли повреждение:" + NumText(Int(d)));
        EXPECT_EQ(G().screen.txtSpeech, L"Волк в панике бежит от вас!\r\n\r\n[пробел]");
        EXPECT_EQ(Tune(), L"\\music\\Town.mid");
        EXPECT_EQ(hero().HP, 50);
    }
    {
        G().NPCs->Clear();
        auto wolf = AddNpc(L"Волк", 11, 10, 40, 4);
        OnPanel(wolf, 2);
        panel().EnemyStartHP = 10;
        NoDodge();
        DrawsWhere(3, [&](const std::vector<double>& d) { return !scared(d); });
        Strike();
        EXPECT_TRUE(panel().visible);
        EXPECT_EQ(wolf->Tactic, 0);
        EXPECT_LT(hero().HP, 50);  // it answered instead
    }
}

TEST_F(Fight, AnEnemyFacingAWoundedHeroDoesNotPanic) {
    auto wolf = AddNpc(L"Волк", 11, 10, 40, 4);
    OnPanel(wolf, 2);
    panel().EnemyStartHP = 10;
    AlwaysDodge();
    hero().HP = 25;  // not more than half
    hero().Strenght = 30;
    DrawsWhere(3, [](const std::vector<double>& d) { return d[2] * 7 > 4; });
    Strike();
    EXPECT_TRUE(panel().visible);
}

// ---------------------------------------------------------------- the kill

TEST_F(Fight, AKillRewardsLogsRunsTheDeathAndRemovesOnlyTheDead) {
    auto before = AddNpc(L"Стражник", 3, 3, 10, 5);
    auto wolf = AddNpc(L"Волк", 11, 10, 5, 7);
    auto after = AddNpc(L"Купец", 4, 4, 10, 5);
    G().TheWorld->setPosMap(13, 14, L"w");
    wolf->DieScript_File = L"wolf.die";
    fs::create_directories(dir.path() / "scripts");
    WriteFileAtomic(dir.path() / "scripts" / "wolf.die", EncodeCp1251(L"say(\"шкура\")\r\n"));
    OnPanel(wolf, 2);
    modMusicEngine::MusicName = L"\\music\\Fight.mid";
    auto r = Draws(6, 3);
    Strike();
    EXPECT_EQ(panel().lblFight, L"Вы убили Волк");
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Волк\r\n"));
    EXPECT_EQ(hero().Exp, 1 + 3);
    EXPECT_DOUBLE_EQ(hero().Strenght, 10 + Int(r[2] * 9) / 1000);
    EXPECT_EQ(hero().dMonsters, 1);
    EXPECT_FALSE(panel().visible);
    EXPECT_EQ(panel().enemyLifeBar, 0);
    // A kill stops the fight's tune and starts no other.
    EXPECT_EQ(Tune(), L"\\music\\Fight.mid");
    EXPECT_FALSE(modMusicEngine::MidiOpen());
    // The death script ran with the dead as its speaker.
    EXPECT_EQ(G().ScriptNPCIndex, 2);
    EXPECT_EQ(wolf->ScriptEvent, 1);
    EXPECT_EQ(G().screen.txtSpeech, L"Волк:шкура\r\n\r\n[пробел]");
    EXPECT_EQ(G().TheWorld->GetPosMap(14, 13), L"G");
    ASSERT_EQ(G().NPCs->Count(), 2);
    EXPECT_EQ(G().NPCs->Item(1), before);
    EXPECT_EQ(G().NPCs->Item(2), after);

    // The log grows a line per kill.
    auto wolf2 = AddNpc(L"Медведь", 11, 10, 1, 0);
    OnPanel(wolf2, 2);
    Strike();
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Волк\r\nМедведь\r\n"));
}

TEST_F(Fight, AfterAKillWhoeverStandsOnTheHerosCellFightsNext) {
    auto wolf = AddNpc(L"Волк", 11, 10, 1, 0);
    auto beside = AddNpc(L"Паук", 9, 10, 30, 10);
    auto onHero = AddNpc(L"Змея", 10, 10, 30, 10);
    OnPanel(wolf, 2);
    AlwaysDodge();
    Strike();
    EXPECT_TRUE(FightOn());
    EXPECT_EQ(panel().enemy, onHero);
    EXPECT_EQ(panel().lblEnemyName, L"Змея");
    EXPECT_EQ(G().EnemyIndex, 2);
    EXPECT_NE(panel().enemy, beside);
}

// ---------------------------------------------------------------- the curse

TEST_F(Fight, TheCurseNeedsTheSpellAndTwoWholePointsOfMana) {
    auto wolf = AddNpc(L"Волк", 11, 10, 30, 20);
    OnPanel(wolf, 2);
    NoDodge();
    hero().Mana = 5;
    Curse();
    EXPECT_EQ(panel().lblFight, L"У вас нет боевых заклинаний..");
    G().CurseKnown = true;
    hero().Mana = 1.9;
    Curse();
    EXPECT_EQ(panel().lblFight, L"У вас не хватает маны");
    // Refusals cost nothing and the enemy does not answer them.
    EXPECT_DOUBLE_EQ(hero().Mana, 1.9);
    EXPECT_EQ(wolf->HP, 30);
    EXPECT_EQ(hero().HP, 50);
    EXPECT_EQ(hero().Exp, 0);
}

TEST_F(Fight, TheCurseTakesNineHitPointsButNeverKills) {
    G().CurseKnown = true;
    AlwaysDodge();
    auto wolf = AddNpc(L"Волк", 11, 10, 20, 5);
    OnPanel(wolf, 2);
    hero().Mana = 5;
    Curse();
    EXPECT_EQ(wolf->HP, 11);
    EXPECT_EQ(panel().EnemyLife, L"HP: 11");
    EXPECT_DOUBLE_EQ(hero().Mana, 4);
    EXPECT_EQ(hero().Exp, 1);
    wolf->HP = 10.5;
    Curse();
    EXPECT_DOUBLE_EQ(wolf->HP, 0.1);
    EXPECT_EQ(panel().EnemyLife, L"HP: 0.1");
    Curse();
    EXPECT_DOUBLE_EQ(wolf->HP, 0.1);
    EXPECT_TRUE(FightOn());
    EXPECT_DOUBLE_EQ(hero().Mana, 2);
}

// ---------------------------------------------------------------- flight

TEST_F(Fight, WithLuckFourFlightAlwaysSucceedsAndTheEnemyGivesChase) {
    hero().Luck = 4;
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        G().NPCs->Clear();
        auto guard = AddNpc(L"Стражник", 11, 10, 30, 5, true);
        OnPanel(guard, 2);
        hero().WillPower = 1;
        SeedRandom(seed);
        Flee();
        EXPECT_FALSE(panel().visible) << seed;
        EXPECT_EQ(guard->Tactic, kTacticApproach);
        EXPECT_FALSE(guard->Good);
        EXPECT_DOUBLE_EQ(hero().WillPower, 0.95);
        EXPECT_EQ(Tune(), L"\\music\\Town.mid");
    }
}

TEST_F(Fight, WithoutLuckFlightNeedsAFourOnTheDie) {
    auto wolf = AddNpc(L"Волк", 11, 10, 30, 5);
    OnPanel(wolf, 2);
    AlwaysDodge();
    DrawsWhere(1, [](const std::vector<double>& d) { return Int(d[0] * 7) == 3; });
    Flee();
    EXPECT_TRUE(panel().visible);
    EXPECT_EQ(wolf->Tactic, 0);
    EXPECT_DOUBLE_EQ(hero().WillPower, 0);
    DrawsWhere(1, [](const std::vector<double>& d) { return Int(d[0] * 7) == 4; });
    Flee();
    EXPECT_FALSE(panel().visible);
}

// ---------------------------------------------------------------- the automatic fight

TEST_F(Fight, AnAutomaticFightNobodyCanWinReturnsWithTheFightStillOn) {
    // A hero without strength, weapon or luck never lands a blow; a strength-0 enemy with
    // bare fists never gets through armour 10.
    hero().Strenght = 0;
    hero().Defence = 10;
    NoDodge();
    auto tramp = AddNpc(L"Бродяга", 11, 10, 20, 0);
    tramp->Weapon = L"";
    SeedRandom(1);
    StartFight(11, 10);
    ASSERT_TRUE(FightOn());
    FightAutomatically();
    EXPECT_TRUE(FightOn());
    EXPECT_EQ(tramp->HP, 20);
    EXPECT_EQ(hero().HP, 50);
    FightAutomatically();  // the player may click again
    EXPECT_TRUE(FightOn());
}

TEST_F(Fight, AnAutomaticFightPlaysOnToTheKill) {
    hero().HP = 500;
    hero().MaxHp = 500;
    auto wolf = AddNpc(L"Волк", 11, 10, 60, 1);
    OnPanel(wolf, 2);
    NoDodge();
    SeedRandom(4);
    FightAutomatically();
    EXPECT_FALSE(FightOn());
    EXPECT_EQ(G().NPCs->Count(), 0);
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Волк\r\n"));
    EXPECT_EQ(hero().dMonsters, 1);
}

TEST_F(Fight, AnAutomaticFightStopsAtTheHerosDeathWithoutAnotherBlow) {
    hero().Strenght = 0;
    hero().HP = 1;
    auto bear = AddNpc(L"Медведь", 11, 10, 60, 30);
    OnPanel(bear, 2);
    NoDodge();
    SeedRandom(4);
    FightAutomatically();
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Вас убили"), 1);
    EXPECT_FALSE(FightOn());
}

// ---------------------------------------------------------------- starting a fight

TEST_F(Fight, TheFKeyFightsTheFirstNeighbourInCollectionOrder) {
    AttackNearby();
    EXPECT_EQ(G().screen.txtSpeech, L"Здесь не с кем сражаться\r\n\r\n[пробел]");
    EXPECT_FALSE(FightOn());

    AlwaysDodge();
    hero().Strenght = 0;  // no panic
    AddNpc(L"Угол", 11, 11, 30, 5);  // diagonal: not a neighbour
    AttackNearby();
    EXPECT_FALSE(FightOn());
    auto up = AddNpc(L"Сверху", 10, 9, 30, 5);
    AddNpc(L"Справа", 11, 10, 30, 5);
    AttackNearby();
    ASSERT_TRUE(FightOn());
    EXPECT_EQ(panel().enemy, up);
    EXPECT_EQ(G().EnemyIndex, 2);
}

TEST_F(Fight, StartingAFightSetsUpThePanel) {
    AlwaysDodge();
    hero().Strenght = 10.6;
    hero().Luck = 10;  // the hero always has the first blow
    hero().HP = 40;
    G().Equip[kSlotRightHand][kEqName] = L"Булава";
    G().screen.speechVisible = true;
    auto orc = AddNpc(L"Орк", 10, 11, 12.7, 7);
    StartFight(10, 11);
    ASSERT_TRUE(FightOn());
    EXPECT_FALSE(G().screen.speechVisible);
    EXPECT_EQ(panel().lblFight, L"Готов!");
    EXPECT_EQ(panel().EnemyStartHP, 13);
    EXPECT_EQ(orc->WeaponForce, 2);
    EXPECT_EQ(panel().EnemyWeapon, L"Топор");
    EXPECT_EQ(panel().Enemystr, L"Сила: 7");
    EXPECT_EQ(panel().EnemyLife, L"HP: 12");
    EXPECT_EQ(panel().lblEnemyName, L"Орк");
    EXPECT_EQ(panel().lblLife, L"HP: 40");
    EXPECT_EQ(panel().lblStrenght, L"Сила: 10");
    EXPECT_EQ(panel().Weapon, L"Булава");
    EXPECT_EQ(panel().enemyLifeBar, 1);
    EXPECT_DOUBLE_EQ(panel().lifeBar, 0.8);
    EXPECT_DOUBLE_EQ(hero().WillPower, 0.01);
    EXPECT_EQ(G().EnemyIndex, 1);
    EXPECT_EQ(Tune(), L"\\music\\Fight.mid");

    // A health beyond what the starting health can hold is kept at its largest value.
    auto giant = AddNpc(L"Великан", 11, 10, 1e6, 7);
    StartFight(11, 10);
    EXPECT_EQ(panel().enemy, giant);
    EXPECT_EQ(panel().EnemyStartHP, 32767);
}

TEST_F(Fight, LuckDecidesWhoStrikesFirst) {
    NoDodge();
    hero().Strenght = 0;
    auto wolf = AddNpc(L"Волк", 11, 10, 30, 5);
    hero().Luck = 10;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        SeedRandom(seed);
        StartFight(11, 10);
        EXPECT_EQ(panel().lblFight, L"Готов!");
    }
    EXPECT_EQ(hero().HP, 50);
    hero().Luck = -10;
    SeedRandom(1);
    StartFight(11, 10);
    EXPECT_LT(hero().HP, 50);
}

TEST_F(Fight, AHeroKilledByTheFirstBlowHearsNoFightTune) {
    NoDodge();
    hero().Strenght = 0;
    hero().Luck = -10;
    hero().HP = 1;
    AddNpc(L"Медведь", 11, 10, 60, 30);
    SeedRandom(3);
    StartFight(11, 10);
    EXPECT_TRUE(G().PlayerDead);
    EXPECT_EQ(G().hallOfFame.EnemyName, L"Медведь");
    EXPECT_FALSE(FightOn());
    EXPECT_NE(Tune(), L"\\music\\Fight.mid");
}

TEST_F(Fight, NobodyOnTheCellMeansNoFightEvenWithAnOldEnemyIndex) {
    AddNpc(L"Волк", 11, 10, 30, 5);
    G().EnemyIndex = 1;
    StartFight(12, 10);
    EXPECT_FALSE(FightOn());
    EXPECT_FALSE(panel().visible);
}

TEST_F(Fight, AWeakEnemyMayFleeAtTheSightOfAHealthyStrongHero) {
    hero().Strenght = 20;
    auto panics = [](const std::vector<double>& d) { return d[0] * 7 > 5; };
    auto rat = AddNpc(L"Крыса", 11, 10, 5, 2, true);
    DrawsWhere(1, panics);
    StartFight(11, 10);
    EXPECT_FALSE(FightOn());
    EXPECT_EQ(rat->Tactic, kTacticFlee);
    EXPECT_FALSE(rat->Good);
    EXPECT_EQ(G().screen.txtSpeech, L"Крыса испугался вашего вида и в панике бежит от вас!\r\n\r\n[пробел]");
    EXPECT_EQ(ui.Count(L"MsgBox"), 0);  // it ran before any question
    EXPECT_EQ(Tune(), L"\\music\\Town.mid");
    EXPECT_EQ(rat->X, 12);  // every character took its turn, the rat one step away

    // A wounded hero does not scare it, nor does an unlucky roll.
    rat->Tactic = 0;
    rat->X = 11;
    hero().HP = 25;
    DrawsWhere(1, panics);
    StartFight(11, 10);
    EXPECT_TRUE(FightOn());
    hero().HP = 50;
    DrawsWhere(1, [&](const std::vector<double>& d) { return !panics(d); });
    StartFight(11, 10);
    EXPECT_TRUE(FightOn());
}

// ---------------------------------------------------------------- good characters and the ambush

struct GoodTarget : Fight {
    std::shared_ptr<NPC> guard;
    std::shared_ptr<NPC> soldier;
    void SetUp() override {
        Fight::SetUp();
        hero().Strenght = 0;  // no panic: nothing is weaker than no strength at all
        AlwaysDodge();
        soldier = AddNpc(L"Солдат", 2, 2, 30, 8, true);
        guard = AddNpc(L"Стражник", 11, 10, 3, 2, true);
        G().Skills[9][0] = L"Подстерегать";  // learned late: any row of the table counts
    }
    // Luck that makes the ambush score come out at exactly `score` for the coming draws:
    // the panic draw, then the two ambush draws.
    void LuckForScore(int score, const std::vector<double>& r) {
        // score = luck - 3/3 - 2/2 - Int(r1 * 7) + Int(r2 * 7)
        hero().Luck = score + 2 + Int(r[1] * 7) - Int(r[2] * 7);
    }
};

TEST_F(GoodTarget, AnsweringNoChangesNothing) {
    ui.msgAnswers.push_back(MsgResult::No);
    StartFight(11, 10);
    EXPECT_EQ(ui.log.at(0), L"MsgBox|Morvath|Вы действительно хотите драться с Стражник");
    EXPECT_FALSE(FightOn());
    EXPECT_EQ(hero().Doom, 0);
    EXPECT_TRUE(soldier->Good);
    EXPECT_EQ(G().NPCs->Count(), 2);
}

TEST_F(GoodTarget, AnAmbushScoreOfExactlyZeroStartsAnOpenFightAndAlarmsTheSoldiers) {
    auto r = Draws(12, 3);
    LuckForScore(0, r);
    StartFight(11, 10);
    EXPECT_TRUE(FightOn());
    EXPECT_EQ(panel().enemy, guard);
    EXPECT_DOUBLE_EQ(hero().Doom, 0.7);
    EXPECT_EQ(soldier->Tactic, kTacticApproach);
    EXPECT_FALSE(soldier->Good);
    EXPECT_EQ(KillLog(), "");
}

TEST_F(GoodTarget, APositiveAmbushScoreKillsWithoutAFight) {
    auto r = Draws(12, 4);
    LuckForScore(1, r);
    StartFight(11, 10);
    EXPECT_FALSE(FightOn());
    EXPECT_FALSE(G().NPCs->Contains(guard));
    EXPECT_EQ(G().NPCs->Count(), 1);
    EXPECT_EQ(hero().Exp, 1 + 1);
    EXPECT_DOUBLE_EQ(hero().Strenght, Int(r[3] * 9) / 1000);
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Стражник\r\n"));
    EXPECT_EQ(G().ScriptNPCIndex, 2);
    EXPECT_EQ(guard->ScriptEvent, 1);
    // 0.7 for attacking a good character, 1 for killing one.
    EXPECT_DOUBLE_EQ(hero().Doom, 1.7);
    EXPECT_EQ(G().screen.txtSpeech, L"Вы подстерегли противника!\r\n\r\n[пробел]");
    EXPECT_TRUE(soldier->Good);  // nobody saw it
    EXPECT_EQ(hero().dMonsters, 0);
}

TEST_F(GoodTarget, AFractionAboveZeroIsAPositiveAmbushScore) {
    // Mobility 2.8 adds 0.4: a score of 0.4 is positive, however small.
    auto r = Draws(12, 4);
    LuckForScore(0, r);
    hero().Mobility = 2.8;
    StartFight(11, 10);
    EXPECT_FALSE(FightOn());
    EXPECT_FALSE(G().NPCs->Contains(guard));
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Стражник\r\n"));
    // And one just below zero is no ambush.
    G().NPCs->Clear();
    guard = AddNpc(L"Стражник", 11, 10, 3, 2, true);
    r = Draws(12, 4);
    LuckForScore(0, r);
    hero().Mobility = -0.7;
    StartFight(11, 10);
    EXPECT_TRUE(FightOn());
    EXPECT_EQ(panel().enemy, guard);
}

TEST_F(GoodTarget, WithoutTheSkillThereIsNoAmbush) {
    G().Skills[9][0] = L"";
    auto r = Draws(12, 3);
    LuckForScore(20, r);
    StartFight(11, 10);
    EXPECT_TRUE(FightOn());
    EXPECT_TRUE(G().NPCs->Contains(guard));
}

// ---------------------------------------------------------------- the panel and its enemy

TEST_F(Fight, APanelWhoseEnemyIsGoneClosesAndTouchesNobodyElse) {
    auto wolf = AddNpc(L"Волк", 11, 10, 30, 5);
    OnPanel(wolf, 2);
    G().EnemyIndex = 1;
    // The location changed: another character now holds the old position.
    G().NPCs->Clear();
    auto other = AddNpc(L"Купец", 11, 10, 30, 5);
    Strike();
    Curse();
    Flee();
    FightAutomatically();
    EnemyAttack();
    EXPECT_FALSE(panel().visible);
    EXPECT_EQ(other->HP, 30);
    EXPECT_EQ(other->Tactic, 0);
    EXPECT_EQ(hero().HP, 50);
    EXPECT_EQ(wolf->HP, 30);

    // A refresh of the screen closes such a panel too.
    OnPanel(wolf, 2);
    EXPECT_FALSE(FightOn());
    EXPECT_FALSE(panel().visible);
}

TEST_F(Fight, TheButtonsDoNothingWhileNoFightIsOn) {
    auto wolf = AddNpc(L"Волк", 11, 10, 30, 5);
    panel().enemy = wolf;
    G().CurseKnown = true;
    hero().Mana = 5;
    Strike();
    Curse();
    Flee();
    FightAutomatically();
    EXPECT_EQ(wolf->HP, 30);
    EXPECT_EQ(hero().HP, 50);
    EXPECT_DOUBLE_EQ(hero().Mana, 5);
}

TEST_F(Fight, OnlySoldiersAreAlarmed) {
    auto s1 = AddNpc(L"Солдат", 1, 1, 10, 1, true);
    auto s2 = AddNpc(L"солдат", 1, 2, 10, 1, true);
    auto s3 = AddNpc(L"Солдаты", 1, 3, 10, 1, true);
    s1->Tactic = kTacticRandomWalk;
    AlarmSoldiers();
    EXPECT_EQ(s1->Tactic, kTacticApproach);
    EXPECT_FALSE(s1->Good);
    EXPECT_TRUE(s2->Good);
    EXPECT_TRUE(s3->Good);
    EXPECT_EQ(s3->Tactic, 0);
}

}  // namespace
