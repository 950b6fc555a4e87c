// The game screen window: keys under Latin and Russian layouts, the view drawn from the
// game's pictures at the window's scale, the panels' places, one action per key press, and
// flights seen as they go; the fight panel played with the mouse and the keys.
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "../core/test_support.h"
#include "game/fight.h"
#include "game/screen.h"
#include "game/spells.h"
#include "ui/fight_panel.h"
#include "ui/game_screen.h"
#include "ui/keys.h"
#include "ui/pictures.h"
#include "ui/qt_frontend.h"
#include "world/speech.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

TEST(GameScreenKeys, PhysicalKeysWhateverTheLayout) {
    const auto none = Qt::NoModifier;
    const struct { int key; Qt::KeyboardModifiers mods; QString text; int x11Code, code; } cases[] = {
        // Latin layout, any platform.
        {Qt::Key_L, none, "l", 0, 'L'}, {Qt::Key_Colon, Qt::ShiftModifier, ":", 0, 186}, {Qt::Key_Period, none, ".", 0, 190},
        {Qt::Key_5, Qt::KeypadModifier, "5", 0, 101}, {Qt::Key_Q, Qt::ControlModifier, QString(QChar(0x11)), 0, 'Q'}, {Qt::Key_F11, none, "", 0, 122},
        // Russian layout without X11 key codes: the letter typed names its key.
        {0x0416, none, QStringLiteral("ж"), 0, 186}, {0x042E, none, QStringLiteral("ю"), 0, 190}, {0x042B, Qt::ShiftModifier, QStringLiteral("Ы"), 0, 'S'},
        {0x0419, Qt::ControlModifier, QString(), 0, 'Q'},
        // On X11 the key's own code decides, whatever it types ("." on the Russian "/" key).
        {0x0414, none, QStringLiteral("д"), 46, 'L'}, {Qt::Key_Period, none, ".", 61, 191}, {Qt::Key_Up, none, "", 111, 38}};
    for (const auto& c : cases) EXPECT_EQ(KeyCodeOf(c.key, c.mods, c.text, c.x11Code, c.x11Code != 0), c.code) << c.key << " " << c.x11Code;
    EXPECT_EQ(std::pair(ShiftOf(Qt::ShiftModifier | Qt::AltModifier), ShiftOf(Qt::ControlModifier)), std::pair(5, 2));
}

// The window's own pauses and repaints; at each pause it lets a test look at the window.
struct WatchingFrontend : QtFrontend {
    std::function<void()> look;
    void Redraw() override { TheQtFrontend().Redraw(); }
    void Pause(int milliseconds) override { look(), QtFrontend::Pause(milliseconds); }
};

struct GameWindow : ::testing::Test {
    void SetUp() override {
        // imgNothing is left out: a missing picture must come out black all the same.
        for (auto [name, colour] : {std::pair{"tiles/imgGrass", kGrass}, {"tiles/imgCave", kRock}, {"tiles/imgDownChar", kHero},
                                    {"tiles/imgRightChar", kHeroRight}, {"fireball1", kFire}}) {
            const fs::path p = folder_.path() / "Images" / (std::string(name) + ".bmp");
            fs::create_directories(p.parent_path());
            QImage image(32, 32, QImage::Format_RGB32);
            image.fill(colour | 0xFF000000);
            ASSERT_TRUE(image.save(QString::fromStdString(p.string()), "BMP"));
        }
        Pictures().Clear();
        ResetGame();
        SeedRandom(1);
        auto& g = modVarsAndMain;
        g.CreateRoots();
        g.Player->HP = g.Player->MaxHp = 20, g.Player->MaxWeight = g.Player->BeginMaxWeight = 100;
        g.TheWorld->WorldName = L"test", g.TheWorld->MapType = kMapTown, g.TheWorld->LocCount = -1;
        for (int row = 0; row <= 30; ++row) g.TheWorld->SetRow(row, std::wstring(25, L'G'));
        g.TheWorld->setPosMap(4, 4, L"a");  // rock at hero (1, 1)
        g.PlayerX = 1, g.PlayerY = 3, g.FacingDir = 2;
        screen_ = &ShowGameScreen();
    }
    void TearDown() override {
        SetFrontend(nullptr);
        delete screen_;
        Pictures().Clear();
    }
    // The colour in the middle of view cell (col, row) as the window shows it.
    QRgb CellColour(const QImage& shot, int col, int row) {
        const int scale = screen_->pic->Scale();
        return shot.pixel((col * 32 + 16) * scale, (row * 32 + 16) * scale) & 0xFFFFFF;
    }
    QImage Shot() { return screen_->pic->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // In the open, where a flight has room, looks at the window at each pause of the flight,
    // the moments the player sees each step: the view cells in which the colour was first seen.
    std::vector<QPoint> Watch(QRgb colour, const std::function<void()>& fly) {
        modVarsAndMain.PlayerX = 8, modVarsAndMain.PlayerY = 8;
        std::vector<QPoint> seen;
        WatchingFrontend watching;
        watching.look = [&] {
            const QImage shot = Shot();
            for (int row = 0; row < 10; ++row)
                for (int col = 0; col < 10; ++col)
                    if (CellColour(shot, col, row) == colour && (seen.empty() || seen.back() != QPoint(col, row))) seen.emplace_back(col, row);
        };
        SetFrontend(&watching);
        fly();
        SetFrontend(&TheQtFrontend());
        return seen;
    }
    bool Shown(QWidget* w) const { return w->isVisibleTo(screen_); }

    // Opaque colours compare as the window shows them.
    const QRgb kGrass = 0x3CA03C, kRock = 0x5A5AC8, kHero = 0xC82828, kHeroRight = 0xE6C828, kFire = 0xFA7814;
    TempGameFolder folder_;
    frmGame* screen_ = nullptr;
};

TEST_F(GameWindow, TheViewShowsOurPicturesAndArrowKeysMoveTheHeroOncePerPress) {
    // The hero, grass beside him, the rock two cells above, black off the map on the left.
    auto cells = [this] {
        const QImage shot = Shot();
        return std::vector<QRgb>{CellColour(shot, 5, 5), CellColour(shot, 6, 5), CellColour(shot, 5, 3), CellColour(shot, 4, 3), CellColour(shot, 0, 5)};
    };
    EXPECT_EQ(cells(), (std::vector<QRgb>{kHero, kGrass, kRock, kGrass, 0}));
    QTest::keyClick(screen_->pic, Qt::Key_Right);
    EXPECT_EQ(std::tuple(modVarsAndMain.PlayerX, modVarsAndMain.TheWorld->Turn, cells().at(0), cells().at(3)), std::tuple(2, 1, kHeroRight, kRock));
}

TEST_F(GameWindow, RussianLettersActAsTheirKeysAndTheSpeechBoxPassesOnTheNextKey) {
    QKeyEvent press(QEvent::KeyPress, 0x0414, Qt::NoModifier, QStringLiteral("д"));  // the L key: look
    QApplication::sendEvent(screen_->pic, &press);
    EXPECT_EQ(std::pair(int(modVarsAndMain.TheWorld->Turn), Shown(screen_->frmSpeech)), std::pair(1, true));

    Say(L"Здравствуй, путник!", L"Ольга:");
    screen_->Refresh();
    EXPECT_EQ(screen_->focusWidget(), screen_->txtSpeech);
    EXPECT_EQ(screen_->txtSpeech->toPlainText(), QStringLiteral("Ольга:Здравствуй, путник!\n\n[пробел]"));
    QTest::keyClick(screen_->txtSpeech, Qt::Key_PageDown);
    EXPECT_TRUE(Shown(screen_->frmSpeech));
    QTest::keyClick(screen_->txtSpeech, Qt::Key_Right);
    // The key went on to the key map, once.
    EXPECT_EQ(std::tuple(Shown(screen_->frmSpeech), modVarsAndMain.PlayerX, screen_->focusWidget()), std::tuple(false, 2, screen_->pic));
}

TEST_F(GameWindow, TheFKeyStartsAFightAndOtherKeysStillReachTheKeyMap) {
    modVarsAndMain.Player->Constitution = -200;  // the wolf never gets through
    auto wolf = modVarsAndMain.NPCs->Add();
    wolf->NPCName = L"Волк", wolf->Symbol = L"w", wolf->X = 2, wolf->Y = 3, wolf->HP = 500;
    QTest::keyClick(screen_->pic, Qt::Key_F);
    EXPECT_EQ(std::pair(Shown(screen_->frmFight), screen_->focusWidget()), std::pair(true, static_cast<QWidget*>(screen_->frmFight->btnStrike)));
    // Other keys still reach the key map while a fight is on: a step down.
    QTest::keyClick(screen_->frmFight->btnStrike, Qt::Key_Down);
    EXPECT_EQ(modVarsAndMain.PlayerY, 4);
}

TEST_F(GameWindow, TheSpellListOpensOnSAndTakesEnter) {
    modVarsAndMain.LightningKnown = true;
    modVarsAndMain.Player->Mana = 10;  // enough for a strike into the empty cell ahead
    QTest::keyClick(screen_->pic, Qt::Key_S);
    EXPECT_EQ(std::tuple(Shown(screen_->frmSpells), screen_->focusWidget(), Shown(screen_->lblS[0])), std::tuple(true, screen_->lblS[1], false));
    QTest::keyClick(screen_->lblS[1], Qt::Key_Return);
    EXPECT_EQ(std::tuple(Shown(screen_->frmSpells), modVarsAndMain.LastSpell, modVarsAndMain.TheWorld->Turn, screen_->focusWidget()),
              std::tuple(false, 2, 1, screen_->pic));
}

// A dialog opens over the screen as the rules have just left it, in Russian: what was said
// is on show while the player answers.
TEST_F(GameWindow, ADialogOpensOverTheScreenAsTheRulesLeftIt) {
    SetFrontend(&TheQtFrontend());
    QStringList seen;
    QTimer::singleShot(0, [&] {
        if (Shown(screen_->frmSpeech)) seen << screen_->txtSpeech->toPlainText();
        QWidget* box = QApplication::activeModalWidget();
        for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) seen << b->text().remove(QLatin1Char('&'));
        box->close();
    });
    Say(L"Стой! Кто идёт?", L"Страж:");
    EXPECT_EQ(UI().InputBox(L"Сколько(ENTER=5)?", L"Morvath", L"5"), L"");
    seen.sort();
    EXPECT_EQ(seen.join(u'|'), QStringLiteral("OK|Отмена|Страж:Стой! Кто идёт?\n\n[пробел]"));
}

// A question opens beside the hero, clear of him, of the eight cells round him and of the
// one the scripts speak for (two cells above him, where it would open first), even with the
// hero in the middle of the screen, where a dialog opens by itself.
TEST_F(GameWindow, AQuestionOpensClearOfTheHeroAndTheOneHeTalksTo) {
    SetFrontend(&TheQtFrontend());
    auto& g = modVarsAndMain;
    g.PlayerX = 8, g.PlayerY = 8;
    DrawIt();
    const int cell = 32 * screen_->pic->Scale();
    screen_->move(screen_->pos() + QGuiApplication::primaryScreen()->availableGeometry().center() - screen_->pic->mapToGlobal(QPoint(cell * 11 / 2, cell * 11 / 2)));
    QApplication::processEvents();
    const QPoint view = screen_->pic->mapToGlobal(QPoint(0, 0));
    for (const QPoint speaker : {QPoint(8, 7), QPoint(8, 6)}) {
        auto npc = g.NPCs->Add();
        npc->X = speaker.x(), npc->Y = speaker.y();
        g.ScriptNPCIndex = g.NPCs->IndexOf(npc);
        QRect opened;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            opened = box->frameGeometry();
            box->close();
        });
        UI().Choice(L"Чёрный Дождь: человечишка... За Камнем пришёл?", {L"Я пришёл убить тебя", L"Я пришёл служить тебе", L"Я ухожу"});
        // The hero's cell is the view's (5, 5); the speaker's is as far from it as he stands.
        const QRegion kept = QRegion(QRect(view + QPoint(4 * cell, 4 * cell), QSize(3 * cell, 3 * cell))) +
                             QRect(view + QPoint((5 + speaker.x() - 8) * cell, (5 + speaker.y() - 8) * cell), QSize(cell, cell));
        EXPECT_TRUE(opened.isValid() && !kept.intersects(opened)) << speaker.y() << ": " << opened.x() << "," << opened.y() << " " << opened.width() << "x" << opened.height();
        g.NPCs->Remove(npc);
    }
}

// The core draws the view where it has just changed the world and then asks for a redraw;
// a turn asks without drawing. Either way the window paints the view once.
TEST_F(GameWindow, TheWindowPaintsTheViewOncePerRedraw) {
    SetFrontend(&TheQtFrontend());
    for (auto [act, draws] : {std::pair<void (*)(), unsigned>{[] { DrawIt(); }, 1}, {[] { UI().Redraw(); }, 1}, {[] { DrawIt(); UI().Redraw(); }, 2}}) {
        const unsigned before = modVarsAndMain.gameScreen.view.serial;
        act();
        EXPECT_EQ(modVarsAndMain.gameScreen.view.serial - before, draws) << draws;
    }
}

// The fireball is seen in the window while it flies: each pause of the flight shows it one
// cell further on, and nothing is left behind; a flight whose picture is missing goes unseen
// (no fireball2.bmp: no black square crosses the view).
TEST_F(GameWindow, TheFireballFliesCellByCellAndAMissingPictureGoesUnseen) {
    EXPECT_EQ(Watch(kFire, [] { FireballFly(2); }), (std::vector<QPoint>{{5, 6}, {5, 7}, {5, 8}, {5, 9}}));
    EXPECT_EQ(CellColour(Shot(), 5, 9), kGrass);
    EXPECT_TRUE(Watch(0, [] { FireballFly(4); }).empty());
}

// The view follows the window's size in whole steps; the panels keep their own places.
TEST_F(GameWindow, TheViewTakesTheLargestWholeScaleTheWindowHoldsAndPanelsDoNotOverlap) {
    auto& gs = modVarsAndMain.gameScreen;
    gs.fight.visible = true;
    gs.fight.enemy = modVarsAndMain.NPCs->Add();  // a panel shows only while its enemy is here
    gs.spells.visible = gs.skills.visible = true;
    gs.skills.lines = {L"Травничество", L"Лечение"};
    Say(L"Бой!", L"");
    screen_->Refresh();
    const std::vector<QWidget*> panels = {screen_->pic, screen_->frmFight, screen_->frmSpells, screen_->lstAttribs,
                                          screen_->frmSpeech, screen_->imgPlayer, screen_->lblII, screen_->lblInfo};
    const QSize hint = screen_->sizeHint();
    const struct { int width, height, scale; } cases[] = {
        {hint.width(), hint.height(), 1}, {1280, 1024, 2}, {1700, 1100, 3}, {2600, 1400, 4}, {1280, 1024, 2}, {700, 500, 1}};
    for (const auto& c : cases) {
        screen_->resize(c.width, c.height);
        QApplication::processEvents();
        std::string faults;
        QRegion taken;
        for (std::size_t i = 0; i < panels.size(); ++i) {
            const QRect r(panels[i]->mapTo(screen_, QPoint(0, 0)), panels[i]->size());
            if (!Shown(panels[i]) || !screen_->rect().contains(r) || taken.intersects(r)) faults += " " + std::to_string(i);
            taken += r;
        }
        // The side column stays beside the view.
        const int gap = screen_->imgPlayer->mapTo(screen_, QPoint(0, 0)).x() - screen_->pic->mapTo(screen_, QPoint(0, 0)).x() - screen_->pic->width();
        EXPECT_EQ(std::tuple(screen_->pic->Scale(), screen_->pic->width(), gap >= 0 && gap < 320, faults), std::tuple(c.scale, 320 * c.scale, true, ""))
            << c.width << "x" << c.height;
    }
}

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
