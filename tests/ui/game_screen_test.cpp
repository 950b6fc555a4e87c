// The game screen window: keys under Latin and Russian layouts, the view drawn from the
// game's pictures, the panels' places, and one action per key press.
#include <gtest/gtest.h>

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QInputDialog>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "../core/test_support.h"
#include "game/keymap.h"
#include "game/screen.h"
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

TEST(GameScreenKeys, TheViewScalesByWholeFactors) {
    EXPECT_EQ(frmGame::ScaleFor(QSize(800, 600)), 1);
    EXPECT_EQ(frmGame::ScaleFor(QSize(1024, 768)), 2);
    EXPECT_EQ(frmGame::ScaleFor(QSize(3840, 2100)), 6);
    EXPECT_EQ(frmGame::ScaleFor(QSize(300, 200)), 1);
}

QRgb Colour(int r, int g, int b) { return qRgb(r, g, b); }

class GameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = GameFolder();
        SetGameFolder(dir_.path());
        Picture("Images/tiles/imgGrass.bmp", kGrass);
        Picture("Images/tiles/imgCave.bmp", kRock);
        Picture("Images/tiles/imgDownChar.bmp", kHero);
        Picture("Images/tiles/imgRightChar.bmp", kHeroRight);
        // imgNothing is left out: a missing picture must come out black all the same.
        Pictures().Clear();
        ResetGame();
        SeedRandom(1);
        auto& g = modVarsAndMain;
        g.CreateRoots();
        g.Player->HP = 20;
        g.Player->MaxHp = 20;
        g.Player->MaxWeight = 100;
        g.Player->BeginMaxWeight = 100;
        World& w = *g.TheWorld;
        w.WorldName = L"test";
        w.MapType = kMapTown;
        w.LocCount = -1;
        for (int row = 0; row <= 30; ++row) w.SetRow(row, std::wstring(25, L'G'));
        w.setPosMap(4, 4, L"a");  // rock at hero (1, 1)
        g.PlayerX = 1;
        g.PlayerY = 3;
        g.FacingDir = 2;
        screen_ = &ShowGameScreen();
    }
    void TearDown() override {
        delete screen_;
        Pictures().Clear();
        SetGameFolder(old_);
    }
    void Picture(const char* relative, QRgb colour) {
        const fs::path p = dir_.path() / relative;
        fs::create_directories(p.parent_path());
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(p.string()), "BMP"));
    }
    // The colour in the middle of view cell (col, row) as the window shows it.
    QRgb CellColour(const QImage& shot, int col, int row) {
        const int scale = screen_->pic->Scale();
        return shot.pixel((col * 32 + 16) * scale, (row * 32 + 16) * scale) & 0xFFFFFF;
    }
    QImage Shot() { return screen_->pic->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    const QRgb kGrass = Colour(60, 160, 60);
    const QRgb kRock = Colour(90, 90, 200);
    const QRgb kHero = Colour(200, 40, 40);
    const QRgb kHeroRight = Colour(230, 200, 40);
    frmGame* screen_ = nullptr;

private:
    TempDir dir_;
    fs::path old_;
};

TEST_F(GameWindow, TheViewShowsTheLocationWithOurPictures) {
    const QImage shot = Shot();
    EXPECT_EQ(CellColour(shot, 5, 5), kHero & 0xFFFFFF);
    EXPECT_EQ(CellColour(shot, 6, 5), kGrass & 0xFFFFFF);
    EXPECT_EQ(CellColour(shot, 5, 3), kRock & 0xFFFFFF);  // the rock two cells above the hero
    EXPECT_EQ(CellColour(shot, 0, 5), 0u);                // off the map on the left
    EXPECT_EQ(CellColour(shot, 0, 0), 0u);
}

TEST_F(GameWindow, ArrowKeysMoveTheHeroOncePerPress) {
    QTest::keyClick(screen_->pic, Qt::Key_Right);
    EXPECT_EQ(modVarsAndMain.PlayerX, 2);
    EXPECT_EQ(modVarsAndMain.TheWorld->Turn, 1);
    const QImage shot = Shot();
    EXPECT_EQ(CellColour(shot, 5, 5), kHeroRight & 0xFFFFFF);
    EXPECT_EQ(CellColour(shot, 4, 3), kRock & 0xFFFFFF);  // the rock slid one cell left
    QTest::keyClick(screen_->pic, Qt::Key_Down);
    EXPECT_EQ(modVarsAndMain.PlayerY, 4);
    EXPECT_EQ(modVarsAndMain.TheWorld->Turn, 2);
}

TEST_F(GameWindow, RussianLettersActAsTheirKeys) {
    QKeyEvent press(QEvent::KeyPress, 0x0414, Qt::NoModifier, QStringLiteral("д"));  // the L key: look
    QApplication::sendEvent(screen_->pic, &press);
    EXPECT_EQ(modVarsAndMain.TheWorld->Turn, 1);
    EXPECT_TRUE(screen_->frmSpeech->isVisibleTo(screen_));
    EXPECT_EQ(QApplication::focusWidget() == screen_->txtSpeech || screen_->txtSpeech->hasFocus() ||
                  screen_->focusWidget() == screen_->txtSpeech,
              true);
}

TEST_F(GameWindow, TheSpeechBoxTakesTheKeyboardAndTheNextKeyClosesIt) {
    Say(L"Здравствуй, путник!", L"Ольга:");
    screen_->Refresh();
    EXPECT_TRUE(screen_->frmSpeech->isVisibleTo(screen_));
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
    wolf->NPCName = L"Волк";
    wolf->Symbol = L"w";
    wolf->X = 2;
    wolf->Y = 3;
    wolf->HP = 500;
    wolf->Strenght = 3;
    QTest::keyClick(screen_->pic, Qt::Key_F);
    ASSERT_TRUE(screen_->frmFight->isVisibleTo(screen_));
    EXPECT_EQ(screen_->frmFight->lblEnemyName->text(), QStringLiteral("Волк"));
    EXPECT_EQ(screen_->focusWidget(), screen_->frmFight->btnStrike);
    QTest::keyClick(screen_->frmFight->btnStrike, Qt::Key_Return);
    EXPECT_LT(wolf->HP, 500);
    const double hp = wolf->HP;
    QTest::keyClick(screen_->frmFight->btnStrike, Qt::Key_Space);
    EXPECT_LT(wolf->HP, hp);
    // Other keys still reach the key map while a fight is on: a step down.
    QTest::keyClick(screen_->frmFight->btnStrike, Qt::Key_Down);
    EXPECT_EQ(g.PlayerY, 4);
}

TEST_F(GameWindow, TheSpellListTakesEnterAndEscape) {
    modVarsAndMain.LightningKnown = true;
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
    SetFrontend(nullptr);
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
    SetFrontend(nullptr);
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Отмена")}));
}

}  // namespace
