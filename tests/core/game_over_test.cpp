#include <tuple>

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
    g.NPCs->Add()->NPCName = L"Волк";
    g.TheWorld->mapItemCol->Add()->ItemName = L"Топор";
    GameOver();
    EXPECT_EQ(ui.log, std::vector<std::wstring>{kRevived});
    EXPECT_EQ(std::tuple(int(g.ResurrectionsLeft), g.PlayerDead, int(hero().HP), int(hero().MaxHp), hero().Strenght,
                         hero().HardIness, int(hero().Level), g.TheWorld->WorldName, int(g.TheWorld->MapType)),
              std::tuple(0, false, 1, 5, 1.0, 1.0, 0, std::wstring(L"AG"), int(kMapCave)));
    // The place he died in is kept whole: its characters, its map and its floor.
    for (const wchar_t* ext : {L".lst", L".map", L".itm"}) EXPECT_TRUE(FileExists(World::SavedFile(L"N1", ext)));
    // A later death by hunger is not blamed on the wolf, nor taken for an ending.
    EXPECT_EQ(g.hallOfFame.EnemyName + g.hallOfFame.win, L"");

    hero().HP = 0;
    g.PlayerDead = true;
    GameOver();
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox"), ui.log.back(), g.hallOfFame.writehf, int(hero().HP)),
              std::tuple(1, std::wstring(L"ShowHallOfFame|modal"), true, 0));
}

// Other persons, a warlock without revivals, a living warlock closing the screen and an
// ending all go straight to the hall of fame.
TEST_F(GameOverTest, EveryOtherEndGoesToTheHallOfFame) {
    const std::wstring ending = L"закончил своё путешествие Героем злых духов - их наместником на Земле!";
    struct Case { Profession person; int revivals; int hp; bool ended; };
    const Case cases[] = {{kPrince, 1, 0, false}, {kMonk, 5, 0, false}, {kHunter, 0, 0, false}, {kClaw, 2, 0, false},
                          {kWarlock, 0, 0, false}, {kWarlock, 1, 30, false}, {kWarlock, 3, 30, true}};
    for (const auto& c : cases) {
        ScriptedFrontend ui;
        Killed(c.person, c.revivals);
        modVarsAndMain.PlayerDead = c.hp == 0;
        hero().HP = c.hp;
        modVarsAndMain.hallOfFame.win = c.ended ? ending : L"";
        modVarsAndMain.hallOfFame.writehf = false;
        GameOver();
        EXPECT_EQ(std::tuple(ui.log, modVarsAndMain.hallOfFame.writehf, int(modVarsAndMain.ResurrectionsLeft),
                             modVarsAndMain.PlayerDead, int(hero().HP), modVarsAndMain.TheWorld->WorldName),
                  std::tuple(std::vector<std::wstring>{L"ShowHallOfFame|modal"}, true, c.revivals, c.hp == 0, c.hp,
                             std::wstring(L"N1")))
            << c.person << " " << c.revivals;
    }
}

TEST_F(GameOverTest, TheSaveSetIsDeletedUnlessKept) {
    for (const char* name : {"char.ch", "inven", "N1.map"}) ASSERT_TRUE(WriteFileAtomic(saved() / name, "x"));
    fs::create_directories(saved() / "sub");
    ASSERT_TRUE(WriteFileAtomic(saved() / "sub" / "keep", "x"));
    Killed(kPrince, 0);
    auto present = [&] {
        std::string s;
        for (const char* name : {"char.ch", "inven", "N1.map", "sub/keep"}) s += FileExists(saved() / name) ? '1' : '0';
        return s;
    };
    modVarsAndMain.KeepSaveOnDeath = true;
    GameOver();
    EXPECT_EQ(present(), "1111");
    modVarsAndMain.KeepSaveOnDeath = false;
    GameOver();
    EXPECT_EQ(present(), "0001");  // only the files of the folder itself, as the game has always deleted them
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
