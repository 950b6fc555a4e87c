#include "test_support.h"
#include "world/game_over.h"

using namespace morvath;

namespace {

const wchar_t kRevived[] = L"MsgBox|Morvath|Чёрная Магия и Власть над мёртвыми опять помогли вам - Вы возродились!";

struct GameOverTest : GameTest {
    GameOverTest() {
        g().Player->PlayerName = L"Всеслав";
        g().Player->HP = 0;
        g().Player->MaxHp = 40;
        g().Player->Strenght = 9;
        g().Player->HardIness = 7;
        g().Player->Level = 6;
        g().TheWorld->WorldName = L"N1";
        g().TheWorld->InfLevel = 0;
        for (int row = 0; row <= 70; ++row) g().TheWorld->SetRow(row, std::wstring(80, L'G'));
    }
    fs::path saved() const { return folder.path() / "saved"; }
    MainCharacter& hero() { return *modVarsAndMain.Player; }

    // The hero has just been killed in a fight.
    void Killed(Profession person, int revivals) {
        hero().Profession = person;
        modVarsAndMain.ResurrectionsLeft = revivals;
        modVarsAndMain.PlayerDead = true;
        modVarsAndMain.hallOfFame.EnemyName = L"Волк";
    }
};

}  // namespace

TEST_F(GameOverTest, TheWarlockWithOneRevivalLeftComesBackOnce) {
    auto& g = modVarsAndMain;
    Killed(kWarlock, 1);
    g.hallOfFame.win = L"старая эпитафия";
    auto wolf = g.NPCs->Add();
    wolf->NPCName = L"Волк";
    auto axe = g.TheWorld->mapItemCol->Add();
    axe->ItemName = L"Топор";

    GameOver();
    EXPECT_EQ(ui.log, std::vector<std::wstring>{kRevived});
    EXPECT_EQ(g.ResurrectionsLeft, 0);
    EXPECT_FALSE(g.PlayerDead);
    EXPECT_EQ(hero().HP, 1);
    EXPECT_EQ(hero().MaxHp, 5);
    EXPECT_EQ(hero().Strenght, 1);
    EXPECT_EQ(hero().HardIness, 1);
    EXPECT_EQ(hero().Level, 0);
    EXPECT_EQ(g.TheWorld->WorldName, L"AG");
    EXPECT_EQ(g.TheWorld->MapType, kMapCave);
    // The place he died in is kept whole: its characters, its map and its floor.
    for (const wchar_t* ext : {L".lst", L".map", L".itm"}) EXPECT_TRUE(FileExists(World::SavedFile(L"N1", ext)));
    // A later death by hunger is not blamed on the wolf, nor taken for an ending.
    EXPECT_EQ(g.hallOfFame.EnemyName, L"");
    EXPECT_EQ(g.hallOfFame.win, L"");

    hero().HP = 0;
    g.PlayerDead = true;
    GameOver();
    EXPECT_EQ(ui.Count(L"MsgBox"), 1);
    EXPECT_EQ(ui.log.back(), L"ShowHallOfFame|modal");
    EXPECT_TRUE(g.hallOfFame.writehf);
    EXPECT_EQ(hero().HP, 0);
}

TEST_F(GameOverTest, AnEndingNeverRevives) {
    auto& g = modVarsAndMain;
    hero().Profession = kWarlock;
    hero().HP = 30;
    g.ResurrectionsLeft = 3;
    g.hallOfFame.win = L"закончил своё путешествие Героем злых духов - их наместником на Земле!";
    GameOver();
    EXPECT_EQ(ui.log, std::vector<std::wstring>{L"ShowHallOfFame|modal"});
    EXPECT_EQ(g.ResurrectionsLeft, 3);
    EXPECT_EQ(hero().HP, 30);
    EXPECT_EQ(g.TheWorld->WorldName, L"N1");
    EXPECT_NE(g.hallOfFame.win, L"");
}

TEST_F(GameOverTest, ClosingTheGameScreenEndsTheRunOfALivingWarlock) {
    hero().Profession = kWarlock;
    hero().HP = 30;
    modVarsAndMain.ResurrectionsLeft = 1;
    GameOver();
    EXPECT_EQ(ui.log, std::vector<std::wstring>{L"ShowHallOfFame|modal"});
    EXPECT_EQ(modVarsAndMain.ResurrectionsLeft, 1);
}

TEST_F(GameOverTest, OtherPersonsAndAWarlockWithoutRevivalsGoToTheHallOfFame) {
    for (auto [person, revivals] : {std::pair{kPrince, 1}, std::pair{kMonk, 5}, std::pair{kHunter, 0},
                                    std::pair{kClaw, 2}, std::pair{kWarlock, 0}}) {
        ScriptedFrontend ui;
        Killed(person, revivals);
        modVarsAndMain.hallOfFame.writehf = false;
        GameOver();
        EXPECT_EQ(ui.log, std::vector<std::wstring>{L"ShowHallOfFame|modal"}) << person;
        EXPECT_TRUE(modVarsAndMain.hallOfFame.writehf);
        EXPECT_EQ(modVarsAndMain.ResurrectionsLeft, revivals);
        EXPECT_TRUE(modVarsAndMain.PlayerDead);
    }
}

TEST_F(GameOverTest, TheSaveSetIsDeletedUnlessKept) {
    for (const char* name : {"char.ch", "inven", "N1.map"}) ASSERT_TRUE(WriteFileAtomic(saved() / name, "x"));
    fs::create_directories(saved() / "sub");
    ASSERT_TRUE(WriteFileAtomic(saved() / "sub" / "keep", "x"));
    Killed(kPrince, 0);

    modVarsAndMain.KeepSaveOnDeath = true;
    GameOver();
    EXPECT_TRUE(FileExists(saved() / "char.ch"));
    EXPECT_TRUE(FileExists(saved() / "N1.map"));

    modVarsAndMain.KeepSaveOnDeath = false;
    GameOver();
    EXPECT_FALSE(FileExists(saved() / "char.ch"));
    EXPECT_FALSE(FileExists(saved() / "inven"));
    EXPECT_FALSE(FileExists(saved() / "N1.map"));
    // Only the files of the folder itself, as the game has always deleted them.
    EXPECT_TRUE(FileExists(saved() / "sub" / "keep"));
}

TEST_F(GameOverTest, ASecondCallWhileThePassRunsDoesNothing) {
    // The game screen closes while the hall of fame opens, and its closing calls game over.
    struct Reentering : ScriptedFrontend {
        void ShowHallOfFame(bool modal) override {
            ScriptedFrontend::ShowHallOfFame(modal);
            EXPECT_TRUE(modVarsAndMain.GameOverRunning);
            GameOver();
        }
    } ui;
    Killed(kWarlock, 0);
    GameOver();
    EXPECT_EQ(ui.Count(L"ShowHallOfFame"), 1);
    EXPECT_FALSE(modVarsAndMain.GameOverRunning);
}
