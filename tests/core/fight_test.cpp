// Whole fights played headless: the engine, the panel's four actions and their texts. The
// random draws are pinned, on both sides of every threshold a draw meets.
#include <gtest/gtest.h>

#include <tuple>

#include "game/fight.h"
#include "game/fight_panel.h"
#include "platform/cp1251.h"
#include "services/music.h"
#include "test_support.h"

using namespace morvath;

namespace {

GameState& G() { return modVarsAndMain; }

// Draws just above and just below a threshold k/7 of a "Rnd * 7" test.
constexpr double Above(int k) { return k / 7.0 + 1e-4; }
constexpr double Below(int k) { return k / 7.0 - 1e-4; }

struct Fight : GameTest {
    Fight() {
        for (int row = 0; row <= 40; ++row) G().TheWorld->SetRow(row, std::wstring(40, L'G'));
        hero().HP = 50;
        hero().MaxHp = 50;
        hero().Strenght = 10;
        hero().MaxWeight = 100;
        G().PlayerX = 10;
        G().PlayerY = 10;
        modMusicEngine::MusicName.clear();
    }
    const std::wstring& Tune() { return modMusicEngine::MusicName; }
    MainCharacter& hero() { return *G().Player; }
    FightPanel& panel() { return G().gameScreen.fight; }

    std::shared_ptr<NPC> AddNpc(const std::wstring& name, double x, double y, double hp, int strength, bool good = false) {
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
    std::shared_ptr<NPC> OnPanel(double hp, int strength, int weaponForce = 2) {
        auto e = AddNpc(L"Волк", 11, 10, hp, strength);
        panel().visible = true;
        panel().enemy = e;
        panel().EnemyStartHP = e->HP;
        e->WeaponForce = weaponForce;
        return e;
    }
    std::string KillLog() { return ReadBytes(folder.path() / "monst.cnt").value_or(""); }
    // The panel's texts, as the window shows them.
    std::wstring Texts() {
        const FightPanel& f = panel();
        return f.lblFight + L"|" + f.lblEnemyName + L"|" + f.EnemyWeapon + L"|" + f.Enemystr + L"|" + f.EnemyLife + L"|" + f.lblLife +
               L"|" + f.lblStrenght + L"|" + f.Weapon;
    }
};

TEST_F(Fight, TheEnemysBlow) {
    struct Case {
        double strength, enemyHp, startHp, defence, luck, mobility;
        int tactic;
        double r1, r2, dodge1, dodge2;
        int hp;  // the hero's, from 50
        const wchar_t* text;
    };
    const Case cases[] = {
        // Strength twice (r1 >= 0.5) or once, the axe's 2, less half the armour and luck, a
        // tenth of the mobility and twice the tactic, plus r2 * strength - 1.
        {6, 20, 20, 4, 2, 10, 1, 0.5, 0.5, 0, 0, 40, L"Вам нанесли повреждение:10"},
        {6, 20, 20, 4, 2, 10, 1, 0.4999, 0.5, 0, 0, 46, L"Вам нанесли повреждение:4"},
        {6, 20, 20, 0, 0, 0, -2, 0.2, 0.5, 0, 0, 36, L"Вам нанесли повреждение:14"},  // the stealthy tactic
        {20, 20, 40, 0, 0, 0, 0, 0.5, 0.25, 0, 0, 27, L"Вам нанесли повреждение:23"},  // a wounded enemy: half
        {6, 0.1, 0, 0, 0, 0, 0, 0.2, 0.5, 0, 0, 40, L"Вам нанесли повреждение:10"},   // no starting health
        {0, 20, 20, 0, 0, 5, 0, 0, 0, 0, 0, 50, L"Вам нанесли незанчительное повреждение..."},  // 0.5 rounds to 50
        {0, 20, 20, 0, 0, 2.5, 0, 0, 0, 0, 0, 49, L"Вам нанесли незанчительное повреждение..."},
        {6, 20, 20, 40, 0, 0, 0, 0.9, 0.9, 0, 0, 50, L"Ваш противник промахнулся!"},  // armour takes it all
        // The dodge: 7 * d1 + mobility (less the constitution) against the blow plus 10 * d2.
        {6, 20, 20, 0, 0, 10, 0, 0.2, 0.5, 0.99, 0.79, 50, L"Ваш противник промахнулся!"},
        {6, 20, 20, 0, 0, 10, 0, 0.2, 0.5, 0.99, 0.8, 41, L"Вам нанесли повреждение:9"},
    };
    for (const Case& c : cases) {
        G().NPCs->Clear();
        auto wolf = OnPanel(c.enemyHp, 0);
        wolf->Strenght = c.strength;
        panel().EnemyStartHP = static_cast<int>(c.startHp);
        panel().enemyLifeBar = 0.5;
        hero().HP = 50;
        hero().Defence = c.defence;
        hero().Luck = c.luck;
        hero().Mobility = c.mobility;
        hero().HeroeTactic = c.tactic;
        hero().Constitution = c.dodge1 > 0 ? 0 : 100;
        SCOPED_TRACE(c.hp);
        PinnedDraws draws{c.r1, c.r2, c.dodge1, c.dodge2};
        EnemyAttack();
        EXPECT_EQ(hero().HP, c.hp) << c.r1 << " " << c.hp;
        EXPECT_EQ(panel().lblFight, c.text) << c.hp;
        if (c.hp < 50) {
            EXPECT_EQ(panel().lblLife, L"HP: " + NumText(c.hp));
            EXPECT_DOUBLE_EQ(panel().lifeBar, c.hp / 50.0);
        }
        const bool hit = std::wstring(c.text) != L"Ваш противник промахнулся!";
        EXPECT_EQ(panel().enemyLifeBar, c.startHp > 0 && hit ? c.enemyHp / c.startHp : 0.5);
    }
}

TEST_F(Fight, TheHerosDeathNamesTheKillerAndEndsTheFight) {
    OnPanel(20, 20);
    hero().HP = 1;
    PinnedDraws draws{0.5, 0.5, 0, 0};
    EnemyAttack();
    EXPECT_EQ(panel().lblFight, L"Вас убили ");
    EXPECT_EQ(G().hallOfFame.EnemyName, L"Волк");
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Вас убили"), 1);
    EXPECT_FALSE(FightOn());
    EXPECT_TRUE(G().PlayerDead);
    EXPECT_EQ(panel().lifeBar, 0);
}

TEST_F(Fight, TheHerosBlow) {
    struct Case {
        int hp, weapon, tactic;
        double critical, luck, r1, r2;
        double enemyHp;  // from 100
        const wchar_t* life;
    };
    // Strength once or twice, weapon times critical, half the luck, twice the tactic, less
    // r2 * the enemy's strength (4); all of it times the hero's share of his health.
    const Case cases[] = {
        {50, 3, 1, 2, 2, 0.5, 0.5, 73, L"HP: 73"},
        {50, 3, 1, 2, 2, 0.4999, 0.5, 83, L"HP: 83"},
        {20, 0, 0, 0, 0, 0.2, 0.5, 96.8, L"HP: 96"},
        {50, 0, 0, 0, 1, 0, 0, 89.5, L"HP: 89"},  // the half point of luck counts
    };
    for (const Case& c : cases) {
        G().NPCs->Clear();
        auto wolf = OnPanel(100, 4);
        hero().HP = c.hp;
        hero().Strenght = 10;
        hero().WillPower = 0;
        hero().Weapon = c.weapon;
        hero().Critical = c.critical;
        hero().Luck = c.luck;
        hero().HeroeTactic = c.tactic;
        hero().Mobility = 100;  // the answer is dodged
        PinnedDraws draws{c.r1, c.r2, 0, 0, 0, 0.99, 0};
        Strike();
        EXPECT_NEAR(wolf->HP, c.enemyHp, 1e-9) << c.r1;
        EXPECT_EQ(panel().EnemyLife, c.life);
        EXPECT_NEAR(hero().Strenght, 10 + (100 - c.enemyHp) / 1000, 1e-12);
        EXPECT_DOUBLE_EQ(hero().WillPower, 0.05);
        EXPECT_NEAR(panel().enemyLifeBar, c.enemyHp / 100, 1e-12);
        EXPECT_TRUE(FightOn());
        EXPECT_EQ(draws.left(), 0u);
    }
    // A blow of nothing misses, and the enemy still answers.
    auto wolf = OnPanel(30, 8);
    hero().Strenght = 0;
    hero().Mobility = 0;
    hero().Luck = 0;
    PinnedDraws draws{0.5, 0.5, 0.5, 0.5, 0, 0};
    Strike();
    EXPECT_EQ(wolf->HP, 30);
    EXPECT_EQ(panel().lblFight, L"Вам нанесли повреждение:21");
}

TEST_F(Fight, ABadlyHurtEnemyMayPanicAfterABlow) {
    // The blow is 10 - 2 = 8, more than half of the enemy's start of 10.
    struct Case {
        double breakDraw;
        int heroHp;
        bool panics;
    };
    for (const Case& c : {Case{Above(4), 50, true}, Case{Below(4), 50, false}, Case{Above(4), 25, false}}) {
        G().NPCs->Clear();
        auto wolf = OnPanel(40, 4);
        panel().EnemyStartHP = 10;
        hero().HP = c.heroHp;
        PinnedDraws draws{0.2, 0.5, c.breakDraw, 0, 0, 0, 0};
        Strike();
        EXPECT_EQ(panel().visible, !c.panics);
        EXPECT_EQ(wolf->Tactic, c.panics ? kTacticFlee : 0);
        EXPECT_EQ(wolf->Good, false);
        EXPECT_EQ(hero().HP < c.heroHp, !c.panics) << "it answers when it does not run";
        if (!c.panics) continue;
        EXPECT_EQ(wolf->X, 12);  // one step away from the hero
        EXPECT_EQ(panel().lblFight, L"Вы нанесли повреждение:8");
        EXPECT_EQ(G().screen.txtSpeech, L"Волк в панике бежит от вас!\r\n\r\n[пробел]");
        EXPECT_EQ(Tune(), L"\\music\\Town.mid");
    }
}

TEST_F(Fight, AKillRewardsLogsRunsTheDeathAndRemovesOnlyTheDead) {
    auto before = AddNpc(L"Стражник", 3, 3, 10, 5);
    auto wolf = OnPanel(5, 7);
    auto after = AddNpc(L"Купец", 4, 4, 10, 5);
    G().TheWorld->setPosMap(13, 14, L"w");
    wolf->DieScript_File = L"wolf.die";
    fs::create_directories(folder.path() / "scripts");
    WriteFileAtomic(folder.path() / "scripts" / "wolf.die", EncodeCp1251(L"say(\"шкура\")\r\n"));
    modMusicEngine::MusicName = L"\\music\\Fight.mid";
    {
        PinnedDraws draws{0.5, 0.5, Above(4)};  // 9 * 0.5714: 5 thousandths of strength
        Strike();
    }
    EXPECT_EQ(panel().lblFight, L"Вы убили Волк");
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Волк\r\n"));
    EXPECT_EQ(hero().Exp, 1 + 3);
    EXPECT_DOUBLE_EQ(hero().Strenght, 10.005);
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

    // The log grows a line per kill; whoever stands on the hero's cell fights next.
    OnPanel(1, 0)->NPCName = L"Медведь";
    auto beside = AddNpc(L"Паук", 9, 10, 30, 10);
    auto onHero = AddNpc(L"Змея", 10, 10, 30, 10);
    hero().Luck = 10;
    Strike();
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Волк\r\nМедведь\r\n"));
    EXPECT_TRUE(FightOn());
    EXPECT_EQ(panel().enemy, onHero);
    EXPECT_EQ(G().EnemyIndex, 4);
}

TEST_F(Fight, TheCurse) {
    auto wolf = OnPanel(20, 5);
    hero().Mobility = 100;
    hero().Mana = 5;
    Curse();
    EXPECT_EQ(panel().lblFight, L"У вас нет боевых заклинаний..");
    G().CurseKnown = true;
    hero().Mana = 1.9;
    Curse();
    EXPECT_EQ(panel().lblFight, L"У вас не хватает маны");
    // Refusals cost nothing and the enemy does not answer them.
    EXPECT_DOUBLE_EQ(hero().Mana, 1.9);
    EXPECT_EQ(wolf->HP, 20);
    EXPECT_EQ(hero().Exp, 0);
    // Nine hit points for one point of mana, but it never kills.
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

TEST_F(Fight, FlightNeedsFourOnTheDiePlusLuck) {
    struct Case {
        double luck, draw;
        bool away;
    };
    for (const Case& c : {Case{0, Above(4), true}, Case{0, Below(4), false}, Case{4, 0, true}, Case{3, Below(1), false}, Case{3, Above(1), true}}) {
        G().NPCs->Clear();
        auto guard = OnPanel(30, 5);
        guard->Good = true;
        hero().Luck = c.luck;
        hero().WillPower = 1;
        hero().Mobility = 100;
        modMusicEngine::MusicName.clear();
        panel().lblFight.clear();
        PinnedDraws draws{c.draw, 0, 0, 0.99, 0};
        Flee();
        EXPECT_EQ(panel().visible, !c.away) << c.draw;
        EXPECT_EQ(guard->Tactic, c.away ? kTacticApproach : 0);
        EXPECT_EQ(guard->Good, !c.away);
        EXPECT_DOUBLE_EQ(hero().WillPower, c.away ? 0.95 : 1);
        EXPECT_EQ(Tune(), c.away ? L"\\music\\Town.mid" : L"");
        EXPECT_EQ(panel().lblFight, c.away ? L"" : L"Ваш противник промахнулся!");
    }
}

TEST_F(Fight, TheAutomaticFight) {
    // Nobody can win: a hero without strength never lands a blow; a strength-0 enemy with bare
    // fists never gets through armour 10. It returns with the fight still on.
    hero().Strenght = 0;
    hero().Defence = 10;
    auto tramp = OnPanel(20, 0, 0);
    FightAutomatically();
    EXPECT_TRUE(FightOn());
    EXPECT_EQ(tramp->HP, 20);
    EXPECT_EQ(hero().HP, 50);
    // It plays on to the kill.
    G().NPCs->Clear();
    hero().Strenght = 10;
    hero().HP = 500;
    hero().MaxHp = 500;
    OnPanel(60, 1);
    SeedRandom(4);
    FightAutomatically();
    EXPECT_FALSE(FightOn());
    EXPECT_EQ(G().NPCs->Count(), 0);
    EXPECT_EQ(KillLog(), EncodeCp1251(L"Волк\r\n"));
    // It stops at the hero's death without another blow.
    hero().Strenght = 0;
    hero().HP = 1;
    OnPanel(60, 30);
    FightAutomatically();
    EXPECT_EQ(ui.Count(L"MsgBox|Morvath|Вас убили"), 1);
    EXPECT_FALSE(FightOn());
}

TEST_F(Fight, TheFKeyFightsTheFirstNeighbourInCollectionOrder) {
    AttackNearby();
    EXPECT_EQ(G().screen.txtSpeech, L"Здесь не с кем сражаться\r\n\r\n[пробел]");
    hero().Strenght = 0;             // no panic
    AddNpc(L"Угол", 11, 11, 30, 5);  // diagonal: not a neighbour
    AttackNearby();
    EXPECT_FALSE(FightOn());
    for (auto [x, y] : {std::pair{11, 10}, std::pair{9, 10}, std::pair{10, 11}, std::pair{10, 9}}) {
        G().NPCs->Clear();
        AddNpc(L"Угол", 11, 11, 30, 5);
        auto n = AddNpc(L"Сосед", x, y, 30, 5);
        AddNpc(L"Справа", 11, 10, 30, 5);
        PinnedDraws draws{0, Above(5)};
        AttackNearby();
        ASSERT_TRUE(FightOn());
        EXPECT_EQ(panel().enemy, n);
        EXPECT_EQ(G().EnemyIndex, 2);
    }
}

TEST_F(Fight, StartingAFightSetsUpThePanelAndLuckDecidesWhoStrikesFirst) {
    hero().Strenght = 10.6;
    hero().HP = 40;
    hero().Mobility = 100;
    G().Equip[kSlotRightHand][kEqName] = L"Булава";
    G().screen.speechVisible = true;
    auto orc = AddNpc(L"Орк", 10, 11, 12.7, 7);
    {
        PinnedDraws draws{Below(5), Above(5)};
        StartFight(10, 11);
    }
    ASSERT_TRUE(FightOn());
    EXPECT_FALSE(G().screen.speechVisible);
    EXPECT_EQ(Texts(), L"Готов!|Орк|Топор|Сила: 7|HP: 12|HP: 40|Сила: 10|Булава");
    EXPECT_EQ(panel().EnemyStartHP, 13);
    EXPECT_EQ(orc->WeaponForce, 2);
    EXPECT_EQ(panel().enemyLifeBar, 1);
    EXPECT_DOUBLE_EQ(panel().lifeBar, 0.8);
    EXPECT_DOUBLE_EQ(hero().WillPower, 0.01);
    EXPECT_EQ(G().EnemyIndex, 1);
    EXPECT_EQ(Tune(), L"\\music\\Fight.mid");
    // The enemy strikes first while the die plus half the luck stays below five; here it misses.
    for (auto [luck, draw, first] : {std::tuple{0, Below(5), true}, std::tuple{2, Below(4), true}, std::tuple{2, Above(4), false}}) {
        hero().Luck = luck;
        PinnedDraws draws{0, draw, 0, 0, 0.99, 0};
        StartFight(10, 11);
        EXPECT_EQ(panel().lblFight, first ? L"Ваш противник промахнулся!" : L"Готов!") << luck;
    }
    // A health beyond what the starting health can hold is kept at its largest value.
    auto giant = AddNpc(L"Великан", 11, 10, 1e6, 7);
    StartFight(11, 10);
    EXPECT_EQ(panel().enemy, giant);
    EXPECT_EQ(panel().EnemyStartHP, 32767);
    // Nobody on the cell: no fight, even with an old enemy index.
    CloseFightPanel();
    StartFight(12, 10);
    EXPECT_FALSE(FightOn());
}

TEST_F(Fight, AHeroKilledByTheFirstBlowHearsNoFightTune) {
    hero().HP = 1;
    AddNpc(L"Медведь", 11, 10, 60, 30);
    PinnedDraws draws{0, 0, 0.5, 0.5, 0, 0};
    StartFight(11, 10);
    EXPECT_TRUE(G().PlayerDead);
    EXPECT_EQ(G().hallOfFame.EnemyName, L"Медведь");
    EXPECT_FALSE(FightOn());
    EXPECT_NE(Tune(), L"\\music\\Fight.mid");
}

TEST_F(Fight, AWeakEnemyMayFleeAtTheSightOfAHealthyStrongHero) {
    struct Case {
        double draw;
        int heroHp, ratHp, ratStrength;
        bool flees;
    };
    // The rat has less than half the hero's health and strength (20).
    const Case cases[] = {{Above(5), 50, 5, 2, true},  {Below(5), 50, 5, 2, false}, {Above(5), 25, 5, 2, false},
                          {Above(5), 50, 25, 2, false}, {Above(5), 50, 5, 10, false}};
    for (const Case& c : cases) {
        G().NPCs->Clear();
        modMusicEngine::MusicName.clear();
        hero().Strenght = 20;
        hero().HP = c.heroHp;
        auto rat = AddNpc(L"Крыса", 11, 10, c.ratHp, c.ratStrength, true);
        ui.msgAnswers.push_back(MsgResult::Yes);
        PinnedDraws draws{c.draw, 0.99, 0.99};
        StartFight(11, 10);
        EXPECT_EQ(FightOn(), !c.flees) << c.draw << " " << c.heroHp;
        EXPECT_EQ(rat->Tactic, c.flees ? kTacticFlee : 0);
        if (!c.flees) continue;
        EXPECT_FALSE(rat->Good);
        EXPECT_EQ(G().screen.txtSpeech, L"Крыса испугался вашего вида и в панике бежит от вас!\r\n\r\n[пробел]");
        EXPECT_EQ(ui.Count(L"MsgBox"), 0);  // it ran before any question
        EXPECT_EQ(Tune(), L"\\music\\Town.mid");
        EXPECT_EQ(rat->X, 12);  // every character took its turn, the rat one step away
    }
}

TEST_F(Fight, AttackingAGoodCharacterAsksAndMayBeAnAmbush) {
    hero().Strenght = 0;  // no panic: nothing is weaker than no strength at all
    hero().Mobility = 100;
    auto soldier = AddNpc(L"Солдат", 2, 2, 30, 8, true);
    auto guard = AddNpc(L"Стражник", 11, 10, 3, 2, true);
    ui.msgAnswers.push_back(MsgResult::No);
    StartFight(11, 10);
    EXPECT_EQ(ui.log.at(0), L"MsgBox|Morvath|Вы действительно хотите драться с Стражник");
    EXPECT_FALSE(FightOn());
    EXPECT_EQ(hero().Doom, 0);

    // Without the skill there is no ambush, whatever the luck.
    hero().Luck = 20;
    ui.msgAnswers.push_back(MsgResult::Yes);
    StartFight(11, 10);
    EXPECT_TRUE(FightOn());
    EXPECT_TRUE(G().NPCs->Contains(guard));

    // The score: mobility / 7 + luck - 3 / 3 - 2 / 2 - Int(7 r1) + Int(7 r2); above zero,
    // however little, kills. Mobility 2.8 adds 0.4, -0.7 takes 0.1.
    G().Skills[9][0] = L"Подстерегать";  // learned late: any row of the table counts
    struct Case {
        double mobility, luck, r1, r2;
        bool ambush;
    };
    for (const Case& c : {Case{2.8, 2, 0, 0, true}, Case{0, 2, 0, 0, false}, Case{-0.7, 2, 0, 0, false},
                          Case{0, 2, 0, Above(1), true}, Case{0, 2, Above(1), Above(1), false}}) {
        CloseFightPanel();
        G().NPCs->Clear();
        soldier = AddNpc(L"Солдат", 2, 2, 30, 8, true);
        guard = AddNpc(L"Стражник", 11, 10, 3, 2, true);
        hero().Mobility = c.mobility;
        hero().Luck = c.luck;
        hero().Doom = 0;
        hero().Exp = 0;
        std::error_code ec;
        fs::remove(folder.path() / "monst.cnt", ec);
        ui.msgAnswers.push_back(MsgResult::Yes);
        PinnedDraws draws{0, c.r1, c.r2, Above(5), Above(5)};
        StartFight(11, 10);
        EXPECT_EQ(FightOn(), !c.ambush) << c.mobility << " " << c.r2;
        EXPECT_EQ(G().NPCs->Contains(guard), !c.ambush);
        // Nobody saw an ambush; an open fight alarms the soldiers.
        EXPECT_EQ(soldier->Good, c.ambush);
        EXPECT_EQ(soldier->Tactic, c.ambush ? 0 : kTacticApproach);
        // 0.7 for attacking a good character, 1 for killing one.
        EXPECT_DOUBLE_EQ(hero().Doom, c.ambush ? 1.7 : 0.7);
        EXPECT_EQ(KillLog(), c.ambush ? EncodeCp1251(L"Стражник\r\n") : "");
        if (!c.ambush) continue;
        EXPECT_EQ(hero().Exp, 1 + 1);
        EXPECT_DOUBLE_EQ(hero().Strenght, 0.006);
        EXPECT_EQ(G().ScriptNPCIndex, 2);
        EXPECT_EQ(guard->ScriptEvent, 1);
        EXPECT_EQ(G().screen.txtSpeech, L"Вы подстерегли противника!\r\n\r\n[пробел]");
        EXPECT_EQ(hero().dMonsters, 0);
        hero().Strenght = 0;
    }
}

TEST_F(Fight, ThePanelDoesNothingWithoutItsEnemyOrAFight) {
    auto wolf = OnPanel(30, 5);
    G().EnemyIndex = 1;
    G().CurseKnown = true;
    hero().Mana = 5;
    // The location changed: another character now holds the old position.
    G().NPCs->Clear();
    auto other = AddNpc(L"Купец", 11, 10, 30, 5);
    auto pressAll = [] {
        Strike();
        Curse();
        Flee();
        FightAutomatically();
    };
    pressAll();
    EnemyAttack();
    EXPECT_FALSE(panel().visible);
    EXPECT_EQ(other->HP, 30);
    EXPECT_EQ(other->Tactic, 0);
    EXPECT_EQ(hero().HP, 50);
    EXPECT_EQ(wolf->HP, 30);
    // No fight on: the buttons do nothing.
    panel().enemy = other;
    pressAll();
    EXPECT_EQ(other->HP, 30);
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
    EXPECT_TRUE(s2->Good && s3->Good);
    EXPECT_EQ(s3->Tactic, 0);
}

}  // namespace
