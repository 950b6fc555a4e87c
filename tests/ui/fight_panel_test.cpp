#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "../core/test_support.h"
#include "game/fight.h"
#include "ui/fight_panel.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

struct FightPanelUi : GameTest {
    std::shared_ptr<NPC> wolf = g().NPCs->Add();

    FightPanelUi() {
        for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(40, L'G'));
        h().PlayerName = L"Всеслав", h().HP = 40, h().MaxHp = 50, h().Strenght = 12, h().MaxWeight = 100;
        h().Luck = 10, h().Constitution = -200;  // the hero has the first blow, and the wolf never gets through
        g().Equip[kSlotRightHand][kEqName] = L"Булава";
        g().PlayerX = 10, g().PlayerY = 10;
        wolf->NPCName = L"Волк", wolf->Symbol = L"w", wolf->Weapon = L"A", wolf->X = 11, wolf->Y = 10, wolf->HP = 60, wolf->Strenght = 7;
    }
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
    EXPECT_EQ(Shown(panel), QStringLiteral("Всеслав|HP: 40|Сила: 12|Булава|Волк|HP: 60|Сила: 7|Топор|Готов!|%1|%2")
                                .arg(frmFight::kBarWidth * 4 / 5).arg(frmFight::kBarWidth));
    EXPECT_EQ(panel.focusWidget(), panel.btnStrike);

    QSignalSpy acted(&panel, &frmFight::acted);
    {
        // Strength once, half the luck, none of the wolf's: (12 + 5) * 40 / 50 = 13.6 off its 60,
        // 46.4 / 60 of the bar's 110. It does not run, and its answer misses.
        PinnedDraws draws{0, 0, 0, 0, 0, 0, 0};
        QTest::mouseClick(panel.btnStrike, Qt::LeftButton);
    }
    EXPECT_EQ(std::tuple(int(acted.count()), panel.SHPEnemyLife->width(), panel.EnemyLife->text(), panel.lblFight->text()),
              std::tuple(1, 85, QStringLiteral("HP: 46"), QStringLiteral("Ваш противник промахнулся!")));
    // The keyboard strikes too: Enter and Space, each a turn of the fight.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) QTest::keyClick(panel.btnStrike, key);
    QTest::mouseClick(panel.btnMage, Qt::LeftButton);
    EXPECT_EQ(panel.lblFight->text(), QStringLiteral("У вас нет боевых заклинаний.."));
    QTest::mouseClick(panel.cmdAuto, Qt::LeftButton);
    EXPECT_EQ(std::tuple(panel.isHidden(), modVarsAndMain.NPCs->Contains(wolf), acted.count()), std::tuple(true, false, 5));
}

TEST_F(FightPanelUi, FlightOrTheEnemyLeavingHidesThePanel) {
    modVarsAndMain.Player->Luck = 4;
    for (bool flee : {true, false}) {
        StartFight(11, 10);
        frmFight panel;
        panel.show();
        panel.refresh();
        ASSERT_FALSE(panel.isHidden());
        if (flee) QTest::mouseClick(panel.cmdRun, Qt::LeftButton);
        else modVarsAndMain.NPCs->Clear(), panel.refresh();
        EXPECT_TRUE(panel.isHidden()) << flee;
    }
    EXPECT_EQ(wolf->Tactic, kTacticApproach);
}

}  // namespace
