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
        h.HP = 40, h.MaxHp = 50, h.Strenght = 12, h.MaxWeight = 100;
        h.Luck = 10;            // the hero has the first blow
        h.Constitution = -200;  // and the wolf never gets through
        g.Equip[kSlotRightHand][kEqName] = L"Булава";
        g.PlayerX = 10, g.PlayerY = 10;
        wolf = g.NPCs->Add();
        wolf->NPCName = L"Волк", wolf->Symbol = L"w", wolf->Weapon = L"A";
        wolf->X = 11, wolf->Y = 10, wolf->HP = 60, wolf->Strenght = 7;
        SeedRandom(5);
    }
    void TearDown() override { SetGameFolder(oldFolder); }
};

// What the panel shows, hero's side then the enemy's.
QString Shown(const frmFight& p) {
    return QStringList{p.lblHeroName->text(), p.lblLife->text(), p.lblStrenght->text(), p.Weapon->text(),
                       p.lblEnemyName->text(), p.EnemyLife->text(), p.Enemystr->text(), p.EnemyWeapon->text(),
                       p.lblFight->text(), QString::number(p.shapeLife->width()), QString::number(p.SHPEnemyLife->width())}
        .join(u'|');
}

TEST_F(FightPanelUi, ShowsBothSidesAndPlaysAFightWithMouseAndKeys) {
    frmFight panel;
    panel.refresh();
    EXPECT_TRUE(panel.isHidden());  // no fight yet

    StartFight(11, 10);
    panel.resize(420, 200);
    panel.show();
    panel.refresh();
    ASSERT_FALSE(panel.isHidden());
    EXPECT_EQ(Shown(panel), QStringLiteral("Всеслав|HP: 40|Сила: 12|Булава|Волк|HP: 60|Сила: 7|Топор|Готов!|%1|%2")
                                .arg(frmFight::kBarWidth * 4 / 5).arg(frmFight::kBarWidth));
    EXPECT_EQ(panel.focusWidget(), panel.btnStrike);

    QSignalSpy acted(&panel, &frmFight::acted);
    QTest::mouseClick(panel.btnStrike, Qt::LeftButton);
    EXPECT_EQ(acted.count(), 1);
    EXPECT_LT(panel.SHPEnemyLife->width(), frmFight::kBarWidth);
    EXPECT_EQ(panel.EnemyLife->text(), QStringLiteral("HP: %1").arg(static_cast<int>(std::floor(wolf->HP))));
    EXPECT_EQ(panel.lblFight->text(), QStringLiteral("Ваш противник промахнулся!"));
    // The keyboard strikes too: Enter and Space.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        const double hp = wolf->HP;
        QTest::keyClick(panel.btnStrike, key);
        EXPECT_LT(wolf->HP, hp) << key;
    }
    QTest::mouseClick(panel.btnMage, Qt::LeftButton);
    EXPECT_EQ(panel.lblFight->text(), QStringLiteral("У вас нет боевых заклинаний.."));

    QTest::mouseClick(panel.cmdAuto, Qt::LeftButton);
    EXPECT_TRUE(panel.isHidden());
    EXPECT_FALSE(modVarsAndMain.NPCs->Contains(wolf));
    EXPECT_EQ(acted.count(), 5);
}

TEST_F(FightPanelUi, FlightOrTheEnemyLeavingHidesThePanel) {
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
    modVarsAndMain.NPCs->Clear();
    panel.refresh();
    EXPECT_TRUE(panel.isHidden());
}

}  // namespace
