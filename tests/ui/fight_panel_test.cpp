#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "game/fight.h"
#include "platform/files.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "ui/fight_panel.h"
#include "world/game_state.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

struct FightPanelUi : ::testing::Test {
    QTemporaryDir dir;
    fs::path oldFolder = GameFolder();
    ScriptedFrontend answers;
    std::shared_ptr<NPC> wolf;

    void SetUp() override {
        ResetGame();
        SetGameFolder(dir.path().toStdString());
        auto& g = modVarsAndMain;
        g.CreateRoots();
        for (int row = 0; row <= 40; ++row) g.TheWorld->SetRow(row, std::wstring(40, L'G'));
        auto& h = *g.Player;
        h.PlayerName = L"Всеслав";
        h.HP = 40;
        h.MaxHp = 50;
        h.Strenght = 12;
        h.Luck = 10;             // the hero has the first blow
        h.Constitution = -200;   // and the wolf never gets through
        h.MaxWeight = 100;
        g.Equip[kSlotRightHand][kEqName] = L"Булава";
        g.PlayerX = 10;
        g.PlayerY = 10;
        wolf = g.NPCs->Add();
        wolf->NPCName = L"Волк";
        wolf->Symbol = L"w";
        wolf->X = 11;
        wolf->Y = 10;
        wolf->HP = 60;
        wolf->Strenght = 7;
        wolf->Weapon = L"A";
        SeedRandom(5);
    }
    void TearDown() override { SetGameFolder(oldFolder); }
};

TEST_F(FightPanelUi, ShowsBothSidesAndPlaysAFightWithMouseAndKeys) {
    frmFight panel;
    panel.refresh();
    EXPECT_TRUE(panel.isHidden());  // no fight yet

    StartFight(11, 10);
    panel.resize(420, 200);
    panel.show();
    panel.refresh();
    ASSERT_FALSE(panel.isHidden());
    EXPECT_EQ(panel.lblHeroName->text(), QStringLiteral("Всеслав"));
    EXPECT_EQ(panel.lblEnemyName->text(), QStringLiteral("Волк"));
    EXPECT_EQ(panel.lblLife->text(), QStringLiteral("HP: 40"));
    EXPECT_EQ(panel.lblStrenght->text(), QStringLiteral("Сила: 12"));
    EXPECT_EQ(panel.Weapon->text(), QStringLiteral("Булава"));
    EXPECT_EQ(panel.EnemyLife->text(), QStringLiteral("HP: 60"));
    EXPECT_EQ(panel.Enemystr->text(), QStringLiteral("Сила: 7"));
    EXPECT_EQ(panel.EnemyWeapon->text(), QStringLiteral("Топор"));
    EXPECT_EQ(panel.lblFight->text(), QStringLiteral("Готов!"));
    EXPECT_EQ(panel.shapeLife->width(), frmFight::kBarWidth * 4 / 5);
    EXPECT_EQ(panel.SHPEnemyLife->width(), frmFight::kBarWidth);
    EXPECT_EQ(panel.focusWidget(), panel.btnStrike);

    QSignalSpy acted(&panel, &frmFight::acted);
    QTest::mouseClick(panel.btnStrike, Qt::LeftButton);
    EXPECT_EQ(acted.count(), 1);
    EXPECT_LT(wolf->HP, 60);
    EXPECT_LT(panel.SHPEnemyLife->width(), frmFight::kBarWidth);
    EXPECT_EQ(panel.EnemyLife->text(), QStringLiteral("HP: %1").arg(static_cast<int>(std::floor(wolf->HP))));
    EXPECT_EQ(panel.lblFight->text(), QStringLiteral("Ваш противник промахнулся!"));

    double hp = wolf->HP;
    QTest::keyClick(panel.btnStrike, Qt::Key_Return);
    EXPECT_LT(wolf->HP, hp);
    hp = wolf->HP;
    QTest::keyClick(panel.btnStrike, Qt::Key_Space);
    EXPECT_LT(wolf->HP, hp);

    QTest::mouseClick(panel.btnMage, Qt::LeftButton);
    EXPECT_EQ(panel.lblFight->text(), QStringLiteral("У вас нет боевых заклинаний.."));

    QTest::mouseClick(panel.cmdAuto, Qt::LeftButton);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_FALSE(modVarsAndMain.NPCs->Contains(wolf));
    EXPECT_EQ(acted.count(), 5);
}

TEST_F(FightPanelUi, FlightClosesThePanel) {
    modVarsAndMain.Player->Luck = 4;
    StartFight(11, 10);
    frmFight panel;
    panel.show();
    panel.refresh();
    ASSERT_FALSE(panel.isHidden());
    QTest::mouseClick(panel.cmdRun, Qt::LeftButton);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(wolf->Tactic, kTacticApproach);
}

TEST_F(FightPanelUi, APanelWhoseEnemyLeftHidesOnRefresh) {
    StartFight(11, 10);
    frmFight panel;
    panel.show();
    panel.refresh();
    ASSERT_FALSE(panel.isHidden());
    modVarsAndMain.NPCs->Clear();
    panel.refresh();
    EXPECT_TRUE(panel.isHidden());
}

}  // namespace
