// The game screen window: keys under Latin and Russian layouts, the view drawn from the
// game's pictures at the window's scale, the panels' places, one action per key press, and
// flights seen as they go.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../core/test_support.h"
#include "game/keymap.h"
#include "game/screen.h"
#include "game/skills.h"
#include "game/spells.h"
#include "platform/random.h"
#include "ui/fight_panel.h"
#include "ui/game_screen.h"
#include "ui/keys.h"
#include "ui/pictures.h"
#include "ui/qt_frontend.h"
#include "world/game_state.h"
#include "world/speech.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

TEST(GameScreenKeys, PhysicalKeysWhateverTheLayout) {
    const auto none = Qt::NoModifier, shift = Qt::ShiftModifier;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        int x11Code;  // 0 without X11
        int code;
    };
    const Case cases[] = {
        // Latin layout, any platform.
        {Qt::Key_L, none, "l", 0, 'L'}, {Qt::Key_Semicolon, none, ";", 0, 186}, {Qt::Key_Colon, shift, ":", 0, 186},
        {Qt::Key_Comma, none, ",", 0, 188}, {Qt::Key_Period, none, ".", 0, 190}, {Qt::Key_5, none, "5", 0, '5'},
        {Qt::Key_5, Qt::KeypadModifier, "5", 0, 101}, {Qt::Key_Q, Qt::ControlModifier, QString(QChar(0x11)), 0, 'Q'},
        {Qt::Key_Up, none, "", 0, 38}, {Qt::Key_F9, none, "", 0, 120}, {Qt::Key_F11, none, "", 0, 122},
        {Qt::Key_Escape, none, "\x1b", 0, 27}, {Qt::Key_Space, none, " ", 0, 32},
        // Russian layout without X11 key codes: the letter typed names its key.
        {0x0414, none, QStringLiteral("д"), 0, 'L'}, {0x0416, none, QStringLiteral("ж"), 0, 186},
        {0x0411, none, QStringLiteral("б"), 0, 188}, {0x042E, none, QStringLiteral("ю"), 0, 190},
        {0x042B, shift, QStringLiteral("Ы"), 0, 'S'}, {0x0419, Qt::ControlModifier, QString(), 0, 'Q'},
        // On X11 the key's own code decides, whatever it types ("." on the Russian "/" key).
        {0x0414, none, QStringLiteral("д"), 46, 'L'}, {Qt::Key_Period, none, ".", 61, 191},
        {0x0416, none, QStringLiteral("ж"), 47, 186}, {Qt::Key_Up, none, "", 111, 38}};
    for (const Case& c : cases) EXPECT_EQ(KeyCodeOf(c.key, c.mods, c.text, c.x11Code, c.x11Code != 0), c.code) << c.key << " " << c.x11Code;
    EXPECT_EQ(ShiftOf(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(ShiftOf(Qt::ControlModifier), 2);
}

// The window's own pauses and repaints; at each pause it lets a test look at the window.
// The picker, when asked, takes the first row as a player would.
struct WatchingFrontend : QtFrontend {
    std::function<void()> look;
    int PickItem(const PickerContent&) override { return 1; }
    void Redraw() override { TheQtFrontend().Redraw(); }
    void Pause(int milliseconds) override {
        if (look) look();
        QtFrontend::Pause(milliseconds);
    }
};

class GameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = GameFolder();
        SetGameFolder(dir_.path());
        Picture("Images/tiles/imgGrass.bmp", kGrass);
        Picture("Images/tiles/imgCave.bmp", kRock);
        Picture("Images/tiles/imgDownChar.bmp", kHero);
        Picture("Images/tiles/imgRightChar.bmp", kHeroRight);
        Picture("Images/fireball1.bmp", kFire);
        Picture("Images/a4.bmp", kArrow);
        // imgNothing is left out: a missing picture must come out black all the same.
        Pictures().Clear();
        ResetGame();
        SeedRandom(1);
        auto& g = modVarsAndMain;
        g.CreateRoots();
        g.Player->HP = 20, g.Player->MaxHp = 20;
        g.Player->MaxWeight = 100, g.Player->BeginMaxWeight = 100;
        World& w = *g.TheWorld;
        w.WorldName = L"test", w.MapType = kMapTown, w.LocCount = -1;
        for (int row = 0; row <= 30; ++row) w.SetRow(row, std::wstring(25, L'G'));
        w.setPosMap(4, 4, L"a");  // rock at hero (1, 1)
        g.PlayerX = 1, g.PlayerY = 3, g.FacingDir = 2;
        screen_ = &ShowGameScreen();
    }
    void TearDown() override {
        SetFrontend(nullptr);
        delete screen_;
        Pictures().Clear();
        SetGameFolder(old_);
    }
    void Picture(const char* relative, QRgb colour) {
        const fs::path p = dir_.path() / relative;
        fs::create_directories(p.parent_path());
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(colour | 0xFF000000);
        ASSERT_TRUE(image.save(QString::fromStdString(p.string()), "BMP"));
    }
    // In the open, where a flight has room, with the window's own pauses and repaints.
    void FlightScene() {
        modVarsAndMain.PlayerX = 8, modVarsAndMain.PlayerY = 8;
        SetFrontend(&TheQtFrontend());
    }
    // The colour in the middle of view cell (col, row) as the window shows it.
    QRgb CellColour(const QImage& shot, int col, int row) {
        const int scale = screen_->pic->Scale();
        return shot.pixel((col * 32 + 16) * scale, (row * 32 + 16) * scale) & 0xFFFFFF;
    }
    QImage Shot() { return screen_->pic->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Looks at the window at each pause of a flight, the moments the player sees each step:
    // the view cells in which the picture's colour was seen, in the order they were first seen.
    std::vector<QPoint> Watch(QRgb colour, const std::function<void()>& fly) {
        std::vector<QPoint> seen;
        WatchingFrontend watching;
        watching.look = [&] {
            const QImage shot = Shot();
            for (int row = 0; row < 10; ++row)
                for (int col = 0; col < 10; ++col)
                    if (CellColour(shot, col, row) == (colour & 0xFFFFFF) && (seen.empty() || seen.back() != QPoint(col, row)))
                        seen.emplace_back(col, row);
        };
        SetFrontend(&watching);
        fly();
        SetFrontend(&TheQtFrontend());
        return seen;
    }

    // Opaque colours compare as the window shows them.
    const QRgb kGrass = 0x3CA03C, kRock = 0x5A5AC8, kHero = 0xC82828, kHeroRight = 0xE6C828, kFire = 0xFA7814, kArrow = 0xF0F0F0;
    frmGame* screen_ = nullptr;

private:
    TempDir dir_;
    fs::path old_;
};

TEST_F(GameWindow, TheViewShowsOurPicturesAndArrowKeysMoveTheHeroOncePerPress) {
    // The hero, grass beside him, the rock two cells above, black off the map on the left.
    auto cells = [this] {
        const QImage shot = Shot();
        std::vector<QRgb> c;
        for (auto [col, row] : {std::pair{5, 5}, {6, 5}, {5, 3}, {4, 3}, {0, 5}, {0, 0}}) c.push_back(CellColour(shot, col, row));
        return c;
    };
    EXPECT_EQ(cells(), (std::vector<QRgb>{kHero, kGrass, kRock, kGrass, 0, 0}));
    QTest::keyClick(screen_->pic, Qt::Key_Right);
    EXPECT_EQ(std::tuple(modVarsAndMain.PlayerX, modVarsAndMain.TheWorld->Turn), std::tuple(2, 1));
    EXPECT_EQ(cells().at(3), kRock);  // the rock slid one cell left
    EXPECT_EQ(cells().at(0), kHeroRight);
    QTest::keyClick(screen_->pic, Qt::Key_Down);
    EXPECT_EQ(std::tuple(modVarsAndMain.PlayerY, modVarsAndMain.TheWorld->Turn), std::tuple(4, 2));
}

TEST_F(GameWindow, RussianLettersActAsTheirKeysAndTheSpeechBoxPassesOnTheNextKey) {
    QKeyEvent press(QEvent::KeyPress, 0x0414, Qt::NoModifier, QStringLiteral("д"));  // the L key: look
    QApplication::sendEvent(screen_->pic, &press);
    EXPECT_EQ(modVarsAndMain.TheWorld->Turn, 1);
    EXPECT_TRUE(screen_->frmSpeech->isVisibleTo(screen_));

    Say(L"Здравствуй, путник!", L"Ольга:");
    screen_->Refresh();
    EXPECT_EQ(screen_->focusWidget(), screen_->txtSpeech);
    EXPECT_EQ(screen_->txtSpeech->toPlainText(), QStringLiteral("Ольга:Здравствуй, путник!\n\n[пробел]"));
    QTest::keyClick(screen_->txtSpeech, Qt::Key_PageDown);
    EXPECT_TRUE(screen_->frmSpeech->isVisibleTo(screen_));
    QTest::keyClick(screen_->txtSpeech, Qt::Key_Right);
    EXPECT_FALSE(screen_->frmSpeech->isVisibleTo(screen_));
    EXPECT_EQ(modVarsAndMain.PlayerX, 2);  // the key went on to the key map, once
    EXPECT_EQ(screen_->focusWidget(), screen_->pic);
}

TEST_F(GameWindow, PanelsHaveTheirOwnPlaces) {
    auto& gs = modVarsAndMain.gameScreen;
    gs.fight.visible = true;
    gs.fight.enemy = modVarsAndMain.NPCs->Add();  // a panel shows only while its enemy is here
    gs.fight.lblEnemyName = L"Волк";
    gs.spells.visible = true;
    gs.skills.visible = true;
    gs.skills.lines = {L"Травничество", L"Лечение"};
    Say(L"Бой!", L"");
    screen_->resize(screen_->sizeHint());
    screen_->Refresh();
    QApplication::processEvents();
    std::vector<QWidget*> panels = {screen_->pic, screen_->frmFight, screen_->frmSpells, screen_->lstAttribs,
                                    screen_->frmSpeech, screen_->imgPlayer, screen_->lblII, screen_->lblInfo};
    for (QWidget* w : panels) ASSERT_TRUE(w->isVisibleTo(screen_));
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const QRect a(panels[i]->mapTo(screen_, QPoint(0, 0)), panels[i]->size());
        EXPECT_TRUE(screen_->rect().contains(a)) << i;
        for (std::size_t j = i + 1; j < panels.size(); ++j) {
            const QRect b(panels[j]->mapTo(screen_, QPoint(0, 0)), panels[j]->size());
            EXPECT_FALSE(a.intersects(b)) << i << " " << j;
        }
    }
}

TEST_F(GameWindow, TheFKeyStartsAFightThatTheKeyboardPlays) {
    auto& g = modVarsAndMain;
    g.Player->Constitution = -200;  // the wolf never gets through
    g.Player->Strenght = 5;
    g.Player->Luck = 10;            // the hero has the first blow
    auto wolf = g.NPCs->Add();
    wolf->NPCName = L"Волк", wolf->Symbol = L"w";
    wolf->X = 2, wolf->Y = 3, wolf->HP = 500, wolf->Strenght = 3;
    QTest::keyClick(screen_->pic, Qt::Key_F);
    ASSERT_TRUE(screen_->frmFight->isVisibleTo(screen_));
    EXPECT_EQ(screen_->frmFight->lblEnemyName->text(), QStringLiteral("Волк"));
    EXPECT_EQ(screen_->focusWidget(), screen_->frmFight->btnStrike);
    QTest::keyClick(screen_->frmFight->btnStrike, Qt::Key_Return);
    EXPECT_LT(wolf->HP, 500);
    // Other keys still reach the key map while a fight is on: a step down.
    QTest::keyClick(screen_->frmFight->btnStrike, Qt::Key_Down);
    EXPECT_EQ(g.PlayerY, 4);
}

TEST_F(GameWindow, TheSpellListTakesEnterAndEscape) {
    modVarsAndMain.LightningKnown = true;
    modVarsAndMain.Player->Mana = 10;  // enough for a strike into the empty cell ahead
    QTest::keyClick(screen_->pic, Qt::Key_S);
    EXPECT_TRUE(screen_->frmSpells->isVisibleTo(screen_));
    EXPECT_EQ(screen_->focusWidget(), screen_->lblS[1]);
    EXPECT_FALSE(screen_->lblS[0]->isVisibleTo(screen_));
    QTest::keyClick(screen_->lblS[1], Qt::Key_Return);
    EXPECT_FALSE(screen_->frmSpells->isVisibleTo(screen_));
    EXPECT_EQ(modVarsAndMain.LastSpell, 2);
    EXPECT_EQ(modVarsAndMain.TheWorld->Turn, 1);
    EXPECT_EQ(screen_->focusWidget(), screen_->pic);
}

// A dialog opens over the screen as the rules have just left it: what was said is on show
// while the player answers, and a box closed by the same key is gone.
TEST_F(GameWindow, ADialogOpensOverTheScreenAsTheRulesLeftIt) {
    SetFrontend(&TheQtFrontend());
    bool speechShown = false;
    QString speech;
    QTimer::singleShot(0, [&] {
        speechShown = screen_->frmSpeech->isVisibleTo(screen_);
        speech = screen_->txtSpeech->toPlainText();
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    Say(L"Стой! Кто идёт?", L"Страж:");
    UI().MsgBox(L"Ответить?", MsgButtons::YesNo);
    EXPECT_TRUE(speechShown);
    EXPECT_EQ(speech, QStringLiteral("Страж:Стой! Кто идёт?\n\n[пробел]"));

    // The speech box has the keyboard; C closes it and opens the character sheet.
    screen_->Refresh();
    speechShown = true;
    QTimer::singleShot(0, [&] {
        speechShown = screen_->frmSpeech->isVisibleTo(screen_);
        if (QWidget* viewer = QApplication::activeModalWidget()) viewer->close();
    });
    QTest::keyClick(screen_->txtSpeech, Qt::Key_C);
    EXPECT_FALSE(speechShown);
}

TEST_F(GameWindow, TheInputBoxSpeaksRussian) {
    SetFrontend(&TheQtFrontend());
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        for (QAbstractButton* b : box->findChildren<QAbstractButton*>()) buttons << b->text().remove(QLatin1Char('&'));
        box->close();
    });
    EXPECT_EQ(UI().InputBox(L"Сколько(ENTER=5)?", L"Morvath", L"5"), L"");
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Отмена")}));
}

// The fireball and the arrow are seen in the window while they fly: each pause of the
// flight shows the picture one cell further on, and nothing is left behind.
TEST_F(GameWindow, TheFireballFliesDownCellByCell) {
    FlightScene();
    const auto seen = Watch(kFire, [] { FireballFly(2); });
    EXPECT_EQ(seen, (std::vector<QPoint>{{5, 6}, {5, 7}, {5, 8}, {5, 9}}));
    EXPECT_EQ(CellColour(Shot(), 5, 9), kGrass & 0xFFFFFF);
}

TEST_F(GameWindow, TheLastArrowFliesLeftToTheEdgeAndIsSpent) {
    FlightScene();
    auto& g = modVarsAndMain;
    g.FacingDir = 4;
    g.Equip[kSlotRightHand][kEqType] = Variant(static_cast<double>(kBow));
    g.Skills[0][0] = Variant(std::wstring(L"Стрелять из лука"));
    auto arrow = g.Inventory->Add();
    arrow->ItemName = L"Стрела", arrow->ItemType = kArrows;
    const auto seen = Watch(kArrow, [] { UseSkill(0); });
    EXPECT_EQ(seen, (std::vector<QPoint>{{4, 5}, {3, 5}, {2, 5}, {1, 5}, {0, 5}}));
    EXPECT_EQ(g.Inventory->Count(), 0);
}

TEST_F(GameWindow, AFlightWhosePictureIsMissingGoesUnseen) {
    // No fireball2.bmp in the game folder: no black square crosses the view either.
    FlightScene();
    EXPECT_TRUE(Watch(qRgb(0, 0, 0), [] { FireballFly(4); }).empty());
}

// The view follows the window's size in whole steps.
TEST_F(GameWindow, TheViewTakesTheLargestWholeScaleTheWindowHolds) {
    frmGame& screen = *screen_;
    const struct {
        int width, height, scale;
    } cases[] = {
        {700, 500, 1}, {1280, 1024, 2}, {1700, 1100, 3}, {2600, 1400, 4}, {1280, 1024, 2}, {640, 420, 1},
    };
    for (const auto& c : cases) {
        screen.resize(c.width, c.height);
        QApplication::processEvents();
        // The side column stays beside the view, inside the window.
        const QRect view(screen.pic->mapTo(&screen, QPoint(0, 0)), screen.pic->size());
        const int gap = screen.imgPlayer->mapTo(&screen, QPoint(0, 0)).x() - view.right();
        EXPECT_EQ(std::tuple(screen.pic->Scale(), view.width(), gap > 0 && gap < 320, screen.rect().contains(view)),
                  std::tuple(c.scale, 320 * c.scale, true, true))
            << c.width << "x" << c.height;
    }
}

}  // namespace
