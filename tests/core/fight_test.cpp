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
const std::wstring kTown = L"\\music\\Town.mid";
const std::wstring kMiss = L"Ваш противник промахнулся!";
std::wstring Said(const std::wstring& text) { return text + L"\r\n\r\n[пробел]"; }

struct Fight : GameTest {
    Fight() {
        for (int row = 0; row <= 40; ++row) G().TheWorld->SetRow(row, std::wstring(40, L'G'));
        std::tie(hero().HP, hero().MaxHp, hero().Strenght, hero().MaxWeight, G().PlayerX, G().PlayerY) = std::tuple(50, 50, 10, 100, 10, 10);
        modMusicEngine::MusicName.clear();
    }
    const std::wstring& Tune() { return modMusicEngine::MusicName; }
    MainCharacter& hero() { return *G().Player; }
    FightPanel& panel() { return G().gameScreen.fight; }
    int HP() { return hero().HP; }

    std::shared_ptr<NPC> AddNpc(const std::wstring& name, double x, double y, double hp, int strength, bool good = false) {
        auto n = G().NPCs->Add();
        std::tie(n->NPCName, n->Symbol, n->X, n->Y, n->HP, n->Strenght, n->Weapon, n->Good) =
            std::tuple(name, L"m", static_cast<float>(x), static_cast<float>(y), hp, strength, L"A", good);
        return n;
    }
    // The panel as a started fight leaves it, without the start's own draws; the only enemy.
    std::shared_ptr<NPC> OnPanel(double hp, int strength, int weaponForce = 2) {
        auto e = AddNpc(L"Волк", 11, 10, hp, strength);
        std::tie(panel().visible, panel().enemy, panel().EnemyStartHP, e->WeaponForce) = std::tuple(true, e, e->HP, weaponForce);
        return e;
    }
    std::string KillLog() { return ReadBytes(folder.path() / "monst.cnt").value_or(""); }
};

TEST_F(Fight, TheEnemysBlow) {
    // The hero's hp from 50.
    struct Case { double strength, enemyHp, startHp, defence, luck, mobility; int tactic; double r1, r2, dodge1, dodge2; int hp; const wchar_t* text; };
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
        OnPanel(c.enemyHp, 0)->Strenght = c.strength;
        panel().EnemyStartHP = static_cast<int>(c.startHp);
        panel().enemyLifeBar = 0.5;
        auto& h = hero();
        std::tie(h.HP, h.Defence, h.Luck, h.Mobility, h.HeroeTactic) = std::tuple(50, c.defence, c.luck, c.mobility, c.tactic);
        h.Constitution = c.dodge1 > 0 ? 0 : 100;
        PinnedDraws draws{c.r1, c.r2, c.dodge1, c.dodge2};
        EnemyAttack();
        const bool hurt = c.hp < 50, hit = c.text != kMiss;
        EXPECT_EQ(std::tuple(HP(), panel().lblFight, hurt ? panel().lblLife : L"", hurt ? panel().lifeBar : 0, panel().enemyLifeBar),
                  std::tuple(c.hp, c.text, hurt ? L"HP: " + NumText(c.hp) : L"", hurt ? c.hp / 50.0 : 0,
                             c.startHp > 0 && hit ? c.enemyHp / c.startHp : 0.5));
    }
}

TEST_F(Fight, TheHerosDeathNamesTheKillerAndEndsTheFight) {
    OnPanel(20, 20);
    hero().HP = 1;
    PinnedDraws draws{0.5, 0.5, 0, 0};
    EnemyAttack();
    EXPECT_EQ(std::tuple(panel().lblFight, G().hallOfFame.EnemyName, ui.Count(L"MsgBox|Morvath|Вас убили"), FightOn(), G().PlayerDead, panel().lifeBar),
              std::tuple(L"Вас убили ", L"Волк", 1, false, true, 0.0));
}

TEST_F(Fight, AHeroKilledByTheFirstBlowHearsNoFightTune) {
    hero().HP = 1;
    AddNpc(L"Медведь", 11, 10, 60, 30);
    PinnedDraws first{0, 0, 0.5, 0.5, 0, 0};
    StartFight(11, 10);
    EXPECT_EQ(std::tuple(G().PlayerDead, G().hallOfFame.EnemyName, FightOn()), std::tuple(true, L"Медведь", false));
    EXPECT_NE(Tune(), L"\\music\\Fight.mid");
}

TEST_F(Fight, TheHerosBlow) {
    struct Case { int hp, weapon, tactic; double critical, luck, r1, r2, enemyHp; const wchar_t* life; };
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
        auto& h = hero();
        std::tie(h.HP, h.Strenght, h.WillPower, h.Weapon, h.Critical, h.Luck, h.HeroeTactic) =
            std::tuple(c.hp, 10, 0, c.weapon, c.critical, c.luck, c.tactic);
        h.Mobility = 100;  // the answer is dodged
        PinnedDraws draws{c.r1, c.r2, 0, 0, 0, 0.99, 0};
        Strike();
        EXPECT_NEAR(wolf->HP, c.enemyHp, 1e-9) << c.r1;
        EXPECT_NEAR(h.Strenght, 10 + (100 - c.enemyHp) / 1000, 1e-12);
        EXPECT_NEAR(panel().enemyLifeBar, c.enemyHp / 100, 1e-12);
        EXPECT_EQ(std::tuple(panel().EnemyLife, h.WillPower, FightOn(), draws.left()), std::tuple(c.life, 0.05, true, 0u));
    }
    // A blow of nothing misses, and the enemy still answers.
    auto wolf = OnPanel(30, 8);
    hero().Strenght = hero().Mobility = hero().Luck = 0;
    PinnedDraws draws{0.5, 0.5, 0.5, 0.5, 0, 0};
    Strike();
    EXPECT_EQ(std::tuple(wolf->HP, panel().lblFight), std::tuple(30.0, L"Вам нанесли повреждение:21"));
}

TEST_F(Fight, ABadlyHurtEnemyMayPanicAfterABlow) {
    // The blow is 10 - 2 = 8, more than half of the enemy's start of 10.
    struct Case { double breakDraw; int heroHp; bool panics; };
    for (const Case& c : {Case{Above(4), 50, true}, Case{Below(4), 50, false}, Case{Above(4), 25, false}}) {
        G().NPCs->Clear();
        auto wolf = OnPanel(40, 4);
        panel().EnemyStartHP = 10;
        hero().HP = c.heroHp;
        PinnedDraws draws{0.2, 0.5, c.breakDraw, 0, 0, 0, 0};
        Strike();
        // It answers only when it does not run.
        EXPECT_EQ(std::tuple(panel().visible, int(wolf->Tactic), wolf->Good, HP() < c.heroHp),
                  std::tuple(!c.panics, c.panics ? kTacticFlee : 0, false, !c.panics));
        if (c.panics) {
            EXPECT_EQ(std::tuple(wolf->X, panel().lblFight, G().screen.txtSpeech, Tune()),
                      std::tuple(12.0f, L"Вы нанесли повреждение:8", Said(L"Волк в панике бежит от вас!"), kTown));
        }
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
    { PinnedDraws draws{0.5, 0.5, Above(4)}; Strike(); }  // 9 * 0.5714: 5 thousandths of strength
    EXPECT_EQ(std::tuple(panel().lblFight, KillLog(), int(hero().Exp), int(hero().dMonsters), panel().visible, panel().enemyLifeBar),
              std::tuple(L"Вы убили Волк", EncodeCp1251(L"Волк\r\n"), 1 + 3, 1, false, 0.0));
    EXPECT_DOUBLE_EQ(hero().Strenght, 10.005);
    // A kill stops the fight's tune and starts no other.
    EXPECT_EQ(Tune(), L"\\music\\Fight.mid");
    EXPECT_FALSE(modMusicEngine::MidiOpen());
    // The death script ran with the dead as its speaker.
    EXPECT_EQ(std::tuple(int(G().ScriptNPCIndex), int(wolf->ScriptEvent), G().screen.txtSpeech, G().TheWorld->GetPosMap(14, 13)),
              std::tuple(2, 1, Said(L"Волк:шкура"), L"G"));
    ASSERT_EQ(G().NPCs->Count(), 2);
    EXPECT_EQ(std::tuple(G().NPCs->Item(1), G().NPCs->Item(2)), std::tuple(before, after));

    // The log grows a line per kill; whoever stands on the hero's cell fights next.
    OnPanel(1, 0)->NPCName = L"Медведь";
    AddNpc(L"Паук", 9, 10, 30, 10);
    auto onHero = AddNpc(L"Змея", 10, 10, 30, 10);
    hero().Luck = 10;
    Strike();
    EXPECT_EQ(std::tuple(KillLog(), FightOn(), panel().enemy, int(G().EnemyIndex)),
              std::tuple(EncodeCp1251(L"Волк\r\nМедведь\r\n"), true, onHero, 4));
}

TEST_F(Fight, TheCurse) {
    auto wolf = OnPanel(20, 5);
    std::tie(hero().Mobility, hero().Mana) = std::tuple(100, 5);
    Curse();
    EXPECT_EQ(panel().lblFight, L"У вас нет боевых заклинаний..");
    G().CurseKnown = true;
    hero().Mana = 1.9;
    Curse();
    // Refusals cost nothing and the enemy does not answer them.
    EXPECT_EQ(std::tuple(panel().lblFight, double(hero().Mana), wolf->HP, int(hero().Exp)), std::tuple(L"У вас не хватает маны", 1.9, 20.0, 0));
    // Nine hit points for one point of mana, but it never kills.
    hero().Mana = 5;
    struct Step { double hp, after; const wchar_t* life; int mana; };
    for (const Step& s : {Step{20, 11, L"HP: 11", 4}, Step{10.5, 0.1, L"HP: 0.1", 3}, Step{0.1, 0.1, L"HP: 0.1", 2}}) {
        wolf->HP = s.hp;
        Curse();
        EXPECT_NEAR(wolf->HP, s.after, 1e-12);
        EXPECT_EQ(std::tuple(panel().EnemyLife, int(hero().Mana), FightOn()), std::tuple(s.life, s.mana, true));
    }
    EXPECT_EQ(hero().Exp, 3);
}

TEST_F(Fight, FlightNeedsFourOnTheDiePlusLuck) {
    struct Case { double luck, draw; bool away; };
    for (const Case& c : {Case{0, Above(4), true}, Case{0, Below(4), false}, Case{4, 0, true}, Case{3, Below(1), false}, Case{3, Above(1), true}}) {
        G().NPCs->Clear();
        auto guard = OnPanel(30, 5);
        guard->Good = true;
        std::tie(hero().Luck, hero().WillPower, hero().Mobility) = std::tuple(c.luck, 1, 100);
        modMusicEngine::MusicName.clear();
        panel().lblFight.clear();
        std::wstring paused;  // a failed flight is shown for a moment before the enemy's blow
        ui.onPause = [&] { paused = panel().lblFight; };
        PinnedDraws draws{c.draw, 0, 0, 0.99, 0};
        Flee();
        EXPECT_EQ(std::tuple(panel().visible, int(guard->Tactic), guard->Good, double(hero().WillPower), Tune(), panel().lblFight, paused),
                  std::tuple(!c.away, c.away ? kTacticApproach : 0, !c.away, c.away ? 0.95 : 1, c.away ? kTown : L"", c.away ? L"" : kMiss,
                             c.away ? L"" : L"Сбежать не удаётся!"))
            << c.draw;
    }
}

TEST_F(Fight, TheAutomaticFight) {
    // Nobody can win: a hero without strength never lands a blow; a strength-0 enemy with bare
    // fists never gets through armour 10. It returns with the fight still on.
    std::tie(hero().Strenght, hero().Defence) = std::tuple(0, 10);
    auto tramp = OnPanel(20, 0, 0);
    FightAutomatically();
    EXPECT_EQ(std::tuple(FightOn(), tramp->HP, HP()), std::tuple(true, 20.0, 50));
    // It plays on to the kill.
    G().NPCs->Clear();
    std::tie(hero().Strenght, hero().HP, hero().MaxHp) = std::tuple(10, 500, 500);
    OnPanel(60, 1);
    SeedRandom(4);
    FightAutomatically();
    EXPECT_EQ(std::tuple(FightOn(), int(G().NPCs->Count()), KillLog()), std::tuple(false, 0, EncodeCp1251(L"Волк\r\n")));
    // It stops at the hero's death without another blow.
    std::tie(hero().Strenght, hero().HP) = std::tuple(0, 1);
    OnPanel(60, 30);
    FightAutomatically();
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox|Morvath|Вас убили"), FightOn()), std::tuple(1, false));
}

TEST_F(Fight, TheFKeyFightsTheFirstNeighbourInCollectionOrder) {
    AttackNearby();
    EXPECT_EQ(G().screen.txtSpeech, Said(L"Здесь не с кем сражаться"));
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
        EXPECT_EQ(std::tuple(FightOn(), panel().enemy, int(G().EnemyIndex)), std::tuple(true, n, 2)) << x << y;
    }
}

TEST_F(Fight, StartingAFightSetsUpThePanelAndLuckDecidesWhoStrikesFirst) {
    std::tie(hero().Strenght, hero().HP, hero().Mobility) = std::tuple(10.6, 40, 100);
    G().Equip[kSlotRightHand][kEqName] = L"Булава";
    G().screen.speechVisible = true;
    auto orc = AddNpc(L"Орк", 10, 11, 12.7, 7);
    { PinnedDraws draws{Below(5), Above(5)}; StartFight(10, 11); }
    const FightPanel& f = panel();
    EXPECT_EQ(std::tuple(f.lblFight, f.lblEnemyName, f.EnemyWeapon, f.Enemystr, f.EnemyLife, f.lblLife, f.lblStrenght, f.Weapon),
              std::tuple(L"Готов!", L"Орк", L"Топор", L"Сила: 7", L"HP: 12", L"HP: 40", L"Сила: 10", L"Булава"));
    EXPECT_EQ(std::tuple(FightOn(), G().screen.speechVisible, int(f.EnemyStartHP), int(orc->WeaponForce), f.enemyLifeBar, int(G().EnemyIndex), Tune()),
              std::tuple(true, false, 13, 2, 1.0, 1, L"\\music\\Fight.mid"));
    EXPECT_DOUBLE_EQ(f.lifeBar, 0.8);
    EXPECT_DOUBLE_EQ(hero().WillPower, 0.01);
    // The enemy strikes first while the die plus half the luck stays below five; here it misses.
    for (auto [luck, draw, first] : {std::tuple{0, Below(5), true}, std::tuple{2, Below(4), true}, std::tuple{2, Above(4), false}}) {
        hero().Luck = luck;
        PinnedDraws draws{0, draw, 0, 0, 0.99, 0};
        StartFight(10, 11);
        EXPECT_EQ(f.lblFight, first ? kMiss : L"Готов!") << luck;
    }
    // A health beyond what the starting health can hold is kept at its largest value.
    auto giant = AddNpc(L"Великан", 11, 10, 1e6, 7);
    StartFight(11, 10);
    EXPECT_EQ(std::tuple(f.enemy, int(f.EnemyStartHP)), std::tuple(giant, 32767));
    // Nobody on the cell: no fight, even with an old enemy index.
    CloseFightPanel();
    StartFight(12, 10);
    EXPECT_FALSE(FightOn());
}

TEST_F(Fight, AWeakEnemyMayFleeAtTheSightOfAHealthyStrongHero) {
    struct Case { double draw; int heroHp, ratHp, ratStrength; bool flees; };
    // The rat has less than half the hero's health and strength (20).
    const Case cases[] = {{Above(5), 50, 5, 2, true},  {Below(5), 50, 5, 2, false}, {Above(5), 25, 5, 2, false},
                          {Above(5), 50, 25, 2, false}, {Above(5), 50, 5, 10, false}};
    for (const Case& c : cases) {
        G().NPCs->Clear();
        modMusicEngine::MusicName.clear();
        std::tie(hero().Strenght, hero().HP) = std::tuple(20, c.heroHp);
        auto rat = AddNpc(L"Крыса", 11, 10, c.ratHp, c.ratStrength, true);
        ui.msgAnswers.push_back(MsgResult::Yes);
        PinnedDraws draws{c.draw, 0.99, 0.99};
        StartFight(11, 10);
        EXPECT_EQ(std::tuple(FightOn(), int(rat->Tactic)), std::tuple(!c.flees, c.flees ? kTacticFlee : 0)) << c.draw << " " << c.heroHp;
        // It ran before any question; every character took its turn, the rat one step away.
        if (c.flees) {
            EXPECT_EQ(std::tuple(rat->Good, G().screen.txtSpeech, ui.Count(L"MsgBox"), Tune(), rat->X),
                      std::tuple(false, Said(L"Крыса испугался вашего вида и в панике бежит от вас!"), 0, kTown, 12.0f));
        }
    }
}

TEST_F(Fight, AttackingAGoodCharacterAsksAndMayBeAnAmbush) {
    std::tie(hero().Strenght, hero().Mobility) = std::tuple(0, 100);  // no panic: nothing is weaker than no strength at all
    AddNpc(L"Солдат", 2, 2, 30, 8, true);
    auto guard = AddNpc(L"Стражник", 11, 10, 3, 2, true);
    ui.msgAnswers.push_back(MsgResult::No);
    StartFight(11, 10);
    EXPECT_EQ(std::tuple(ui.log.at(0), FightOn(), double(hero().Doom)),
              std::tuple(L"MsgBox|Morvath|Вы действительно хотите драться с Стражник", false, 0.0));
    // Without the skill there is no ambush, whatever the luck.
    hero().Luck = 20;
    ui.msgAnswers.push_back(MsgResult::Yes);
    StartFight(11, 10);
    EXPECT_EQ(std::tuple(FightOn(), G().NPCs->Contains(guard)), std::tuple(true, true));

    // The score: mobility / 7 + luck - 3 / 3 - 2 / 2 - Int(7 r1) + Int(7 r2); above zero,
    // however little, kills. Mobility 2.8 adds 0.4, -0.7 takes 0.1.
    G().Skills[9][0] = L"Подстерегать";  // learned late: any row of the table counts
    struct Case { double mobility, luck, r1, r2; bool ambush; };
    for (const Case& c : {Case{2.8, 2, 0, 0, true}, Case{0, 2, 0, 0, false}, Case{-0.7, 2, 0, 0, false},
                          Case{0, 2, 0, Above(1), true}, Case{0, 2, Above(1), Above(1), false}}) {
        CloseFightPanel();
        G().NPCs->Clear();
        auto soldier = AddNpc(L"Солдат", 2, 2, 30, 8, true);
        guard = AddNpc(L"Стражник", 11, 10, 3, 2, true);
        auto& h = hero();
        std::tie(h.Mobility, h.Luck, h.Doom, h.Exp, h.Strenght) = std::tuple(c.mobility, c.luck, 0, 0, 0);
        std::error_code ec;
        fs::remove(folder.path() / "monst.cnt", ec);
        ui.msgAnswers.push_back(MsgResult::Yes);
        PinnedDraws draws{0, c.r1, c.r2, Above(5), Above(5)};
        StartFight(11, 10);
        // Nobody saw an ambush; an open fight alarms the soldiers. 0.7 for attacking a good
        // character, 1 for killing one.
        EXPECT_EQ(std::tuple(FightOn(), G().NPCs->Contains(guard), soldier->Good, int(soldier->Tactic), KillLog()),
                  std::tuple(!c.ambush, !c.ambush, c.ambush, c.ambush ? 0 : kTacticApproach, c.ambush ? EncodeCp1251(L"Стражник\r\n") : ""))
            << c.mobility << " " << c.r2;
        EXPECT_DOUBLE_EQ(h.Doom, c.ambush ? 1.7 : 0.7);
        if (c.ambush) {
            EXPECT_EQ(std::tuple(int(h.Exp), int(G().ScriptNPCIndex), int(guard->ScriptEvent), G().screen.txtSpeech, int(h.dMonsters)),
                      std::tuple(1 + 1, 2, 1, Said(L"Вы подстерегли противника!"), 0));
            EXPECT_DOUBLE_EQ(h.Strenght, 0.006);
        }
    }
}

TEST_F(Fight, ThePanelDoesNothingWithoutItsEnemyOrAFight) {
    auto wolf = OnPanel(30, 5);
    std::tie(G().EnemyIndex, G().CurseKnown, hero().Mana) = std::tuple(1, true, 5);
    // The location changed: another character now holds the old position.
    G().NPCs->Clear();
    auto other = AddNpc(L"Купец", 11, 10, 30, 5);
    auto pressAll = [] { Strike(); Curse(); Flee(); FightAutomatically(); };
    pressAll();
    EnemyAttack();
    EXPECT_EQ(std::tuple(panel().visible, other->HP, int(other->Tactic), HP(), wolf->HP), std::tuple(false, 30.0, 0, 50, 30.0));
    // No fight on: the buttons do nothing.
    panel().enemy = other;
    pressAll();
    EXPECT_EQ(std::tuple(other->HP, HP(), double(hero().Mana)), std::tuple(30.0, 50, 5.0));
}

TEST_F(Fight, OnlySoldiersAreAlarmed) {
    auto s1 = AddNpc(L"Солдат", 1, 1, 10, 1, true);
    auto s2 = AddNpc(L"солдат", 1, 2, 10, 1, true);
    auto s3 = AddNpc(L"Солдаты", 1, 3, 10, 1, true);
    s1->Tactic = kTacticRandomWalk;
    AlarmSoldiers();
    EXPECT_EQ(std::tuple(int(s1->Tactic), s1->Good, s2->Good, s3->Good, int(s3->Tactic)), std::tuple(kTacticApproach, false, true, true, 0));
}

}  // namespace
