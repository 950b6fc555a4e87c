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
    const struct { int key; Qt::KeyboardModifiers mods; QString text; int x11Code, code; } cases[] = {
        // Latin layout, any platform.
        {Qt::Key_L, none, "l", 0, 'L'}, {Qt::Key_Colon, shift, ":", 0, 186}, {Qt::Key_Comma, none, ",", 0, 188},
        {Qt::Key_Period, none, ".", 0, 190}, {Qt::Key_5, none, "5", 0, '5'}, {Qt::Key_5, Qt::KeypadModifier, "5", 0, 101},
        {Qt::Key_Q, Qt::ControlModifier, QString(QChar(0x11)), 0, 'Q'}, {Qt::Key_Up, none, "", 0, 38}, {Qt::Key_F11, none, "", 0, 122},
        {Qt::Key_Escape, none, "\x1b", 0, 27}, {Qt::Key_Space, none, " ", 0, 32},
        // Russian layout without X11 key codes: the letter typed names its key.
        {0x0414, none, QStringLiteral("д"), 0, 'L'}, {0x0416, none, QStringLiteral("ж"), 0, 186}, {0x0411, none, QStringLiteral("б"), 0, 188},
        {0x042E, none, QStringLiteral("ю"), 0, 190}, {0x042B, shift, QStringLiteral("Ы"), 0, 'S'}, {0x0419, Qt::ControlModifier, QString(), 0, 'Q'},
        // On X11 the key's own code decides, whatever it types ("." on the Russian "/" key).
        {0x0414, none, QStringLiteral("д"), 46, 'L'}, {Qt::Key_Period, none, ".", 61, 191}, {Qt::Key_Up, none, "", 111, 38}};
    for (const auto& c : cases) EXPECT_EQ(KeyCodeOf(c.key, c.mods, c.text, c.x11Code, c.x11Code != 0), c.code) << c.key << " " << c.x11Code;
    EXPECT_EQ(std::pair(ShiftOf(Qt::ShiftModifier | Qt::AltModifier), ShiftOf(Qt::ControlModifier)), std::pair(5, 2));
}

// The window's own pauses and repaints; at each pause it lets a test look at the window.
struct WatchingFrontend : QtFrontend {
    std::function<void()> look;
    void Redraw() override { TheQtFrontend().Redraw(); }
    void Pause(int milliseconds) override {
        look();
        QtFrontend::Pause(milliseconds);
    }
};

class GameWindow : public ::testing::Test {
protected:
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
        g.Player->HP = 20, g.Player->MaxHp = 20, g.Player->MaxWeight = 100, g.Player->BeginMaxWeight = 100;
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
        std::vector<QRgb> c;
        for (auto [col, row] : {std::pair{5, 5}, {6, 5}, {5, 3}, {4, 3}, {0, 5}}) c.push_back(CellColour(shot, col, row));
        return c;
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

TEST_F(GameWindow, TheFKeyStartsAFightThatTheKeyboardPlays) {
    auto& g = modVarsAndMain;
    g.Player->Constitution = -200;  // the wolf never gets through
    g.Player->Luck = 10;            // the hero has the first blow
    auto wolf = g.NPCs->Add();
    wolf->NPCName = L"Волк", wolf->Symbol = L"w", wolf->X = 2, wolf->Y = 3, wolf->HP = 500;
    QTest::keyClick(screen_->pic, Qt::Key_F);
    ASSERT_TRUE(Shown(screen_->frmFight));
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
    EXPECT_EQ(std::tuple(Shown(screen_->frmSpells), screen_->focusWidget(), Shown(screen_->lblS[0])), std::tuple(true, screen_->lblS[1], false));
    QTest::keyClick(screen_->lblS[1], Qt::Key_Return);
    EXPECT_EQ(std::tuple(Shown(screen_->frmSpells), modVarsAndMain.LastSpell, modVarsAndMain.TheWorld->Turn, screen_->focusWidget()),
              std::tuple(false, 2, 1, screen_->pic));
}

// A dialog opens over the screen as the rules have just left it, in Russian: what was said
// is on show while the player answers, and a box closed by the same key is gone.
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

    // The speech box has the keyboard; C closes it and opens the character sheet.
    screen_->Refresh();
    bool speechShown = true;
    QTimer::singleShot(0, [&] {
        speechShown = Shown(screen_->frmSpeech);
        if (QWidget* viewer = QApplication::activeModalWidget()) viewer->close();
    });
    QTest::keyClick(screen_->txtSpeech, Qt::Key_C);
    EXPECT_FALSE(speechShown);
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
        for (std::size_t i = 0; i < panels.size(); ++i) {
            const QRect a(panels[i]->mapTo(screen_, QPoint(0, 0)), panels[i]->size());
            if (!Shown(panels[i]) || !screen_->rect().contains(a)) faults += " out:" + std::to_string(i);
            for (std::size_t j = i + 1; j < panels.size(); ++j)
                if (a.intersects(QRect(panels[j]->mapTo(screen_, QPoint(0, 0)), panels[j]->size()))) faults += " " + std::to_string(i) + "/" + std::to_string(j);
        }
        // The side column stays beside the view.
        const int gap = screen_->imgPlayer->mapTo(screen_, QPoint(0, 0)).x() - screen_->pic->mapTo(screen_, QPoint(0, 0)).x() - screen_->pic->width();
        EXPECT_EQ(std::tuple(screen_->pic->Scale(), screen_->pic->width(), gap >= 0 && gap < 320, faults), std::tuple(c.scale, 320 * c.scale, true, ""))
            << c.width << "x" << c.height;
    }
}

}  // namespace
