#include <tuple>

#include "game/screen.h"
#include "test_support.h"
#include "world/game_over.h"

using namespace morvath;

namespace {

struct GameOverTest : GameTest {
    GameOverTest() {
        std::tie(h().PlayerName, h().HP, h().MaxHp, h().Strenght, h().HardIness, h().Level) = std::tuple(L"Всеслав", 0, 40, 9, 7, 6);
        std::tie(w().WorldName, w().InfLevel) = std::tuple(L"N1", 0);
        for (int row = 0; row <= 70; ++row) w().SetRow(row, std::wstring(80, L'G'));
    }
    // The hero has just been killed in a fight.
    void Killed(Profession person, int revivals) {
        h().Profession = person;
        std::tie(g().ResurrectionsLeft, g().PlayerDead, g().hallOfFame.EnemyName, g().RunEnded) = std::tuple(revivals, true, L"Волк", false);
    }
};

TEST_F(GameOverTest, TheWarlockWithOneRevivalLeftComesBackOnce) {
    Killed(kWarlock, 1);
    std::tie(g().hallOfFame.win, g().NPCs->Add()->NPCName, w().mapItemCol->Add()->ItemName) = std::tuple(L"старая эпитафия", L"Волк", L"Топор");
    GameOver();
    // A later death by hunger is not blamed on the wolf, nor taken for an ending; the status line shows the one hit point.
    EXPECT_EQ(std::tuple(ui.log, int(g().ResurrectionsLeft), g().PlayerDead, int(h().HP), int(h().MaxHp), h().Strenght, h().HardIness, int(h().Level),
                         w().WorldName, int(w().MapType), g().hallOfFame.EnemyName + g().hallOfFame.win, g().screen.lblInfo),
              std::tuple(std::vector<std::wstring>{L"MsgBox|Morvath|Чёрная Магия и Власть над мёртвыми опять помогли вам - Вы возродились!"},
                         0, false, 1, 5, 1.0, 1.0, 0, L"AG", int(kMapCave), L"", L"ХП: 1 Опыт:0  Ур:0  День:0 Ход:0  Мана:"));
    // The place he died in is kept whole: its characters, its map and its floor.
    for (const wchar_t* ext : {L".lst", L".map", L".itm"}) EXPECT_TRUE(FileExists(World::SavedFile(L"N1", ext)));
    std::tie(h().HP, g().PlayerDead) = std::tuple(0, true);
    GameOver();
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox"), ui.log.back(), g().hallOfFame.writehf, int(h().HP)), std::tuple(1, L"ShowHallOfFame|modal", true, 0));
}

// Other persons, a warlock without revivals, a living warlock closing the screen and an
// ending all go straight to the hall of fame.
TEST_F(GameOverTest, EveryOtherEndGoesToTheHallOfFame) {
    struct Case { Profession person; int revivals; int hp; bool ended; };
    for (const Case& c : {Case{kPrince, 1, 0, false}, Case{kMonk, 5, 0, false}, Case{kHunter, 0, 0, false}, Case{kClaw, 2, 0, false},
                          Case{kWarlock, 0, 0, false}, Case{kWarlock, 1, 30, false}, Case{kWarlock, 3, 30, true}}) {
        ScriptedFrontend ui;
        Killed(c.person, c.revivals);
        std::tie(g().PlayerDead, h().HP, g().hallOfFame.writehf) = std::tuple(c.hp == 0, c.hp, false);
        g().hallOfFame.win = c.ended ? L"закончил своё путешествие Героем злых духов - их наместником на Земле!" : L"";
        GameOver();
        EXPECT_EQ(std::tuple(ui.log, g().hallOfFame.writehf, int(g().ResurrectionsLeft), g().PlayerDead, int(h().HP), w().WorldName),
                  std::tuple(std::vector<std::wstring>{L"ShowHallOfFame|modal"}, true, c.revivals, c.hp == 0, c.hp, L"N1")) << c.person << " " << c.revivals;
    }
}

TEST_F(GameOverTest, TheSaveSetIsDeletedUnlessKeptAndARunEndsOnce) {
    const fs::path saved = folder.path() / "saved";
    for (const char* name : {"char.ch", "inven", "N1.map", "sub/keep"}) ASSERT_TRUE(WriteFileAtomic(saved / name, "x"));
    auto present = [&] {
        std::string s;
        for (const char* name : {"char.ch", "inven", "N1.map", "sub/keep"}) s += FileExists(saved / name) ? '1' : '0';
        return s;
    };
    // The game screen closes while the hall of fame opens, and its closing calls game over.
    struct Reentering : ScriptedFrontend {
        void ShowHallOfFame(bool modal) override {
            ScriptedFrontend::ShowHallOfFame(modal);
            EXPECT_TRUE(modVarsAndMain.GameOverRunning);
            GameOver();
        }
    } reentering;
    Killed(kPrince, 0);
    g().KeepSaveOnDeath = true;
    GameOver();
    EXPECT_EQ(present(), "1111");
    Killed(kPrince, 0);
    g().KeepSaveOnDeath = false;
    GameOver();
    GameOver();  // the pass is over, and so is the run
    // Only the files of the folder itself, as the game has always deleted them.
    EXPECT_EQ(std::tuple(present(), reentering.Count(L"ShowHallOfFame"), g().GameOverRunning), std::tuple("0001", 2, false));
}

// Closing the game screen ends the run; a living hero is saved first, with one hit point
// too, a dead one never (his kept save holds him as he was before he died).
TEST_F(GameOverTest, ClosingTheScreenSavesOnlyALivingHero) {
    g().KeepSaveOnDeath = true;
    for (auto [hp, dead, saved] : {std::tuple{5, true, false}, {0, false, false}, {1, false, true}}) {
        std::tie(h().HP, g().PlayerDead, g().RunEnded) = std::tuple(hp, dead, false);
        CloseGameScreen();
        EXPECT_EQ(std::tuple(FileExists(folder.saved("char.ch")), g().RunEnded), std::tuple(saved, true)) << hp;
    }
}

}  // namespace
