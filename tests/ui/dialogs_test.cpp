// The game's dialogs and windows in a real (offscreen) window: the choice dialog, the
// inventory picker and the equipment screen, with keys and mouse as the player uses them; the
// start menu, the single instance lock, the text viewer and the About panel's credits; the hall
// of fame, from the menu and after a death.
#include <cstdlib>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "../core/test_support.h"
#include "game/fight.h"
#include "game/hall_of_fame.h"
#include "game/worn_items.h"
#include "services/file_cipher.h"
#include "services/music.h"
#include "ui/choice_dialog.h"
#include "ui/equipment_screen.h"
#include "ui/fight_panel.h"
#include "ui/game_screen.h"
#include "ui/hall_of_fame.h"
#include "ui/inventory_picker.h"
#include "ui/menu.h"
#include "ui/qt_frontend.h"
#include "ui/text_scroll.h"
#include "ui/text_viewer.h"
#include "world/game_over.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

// Opens a dialog modally and lets `act` play on it once it is up; by then the dialog must be
// closed, unless it `staysOpen`.
template <class Dialog, class Open>
int Modal(Open open, const std::function<void(Dialog&)>& act, bool staysOpen = false) {
    bool acted = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        acted = d != nullptr;
        ASSERT_TRUE(acted);
        // Arrow keys move the focus only inside the active window.
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        act(*d);
        EXPECT_EQ(d->isVisible(), staysOpen);
        if (d->isVisible()) d->reject();  // never leave the test hanging in the modal loop
    });
    const int answer = open();
    EXPECT_TRUE(acted);
    return answer;
}

QString Shown(const frmS& d) {
    return QStringList{d.lbltxt->text(), d.lblA[0]->text(), d.lblA[1]->text(), d.lblA[2]->isVisible() ? d.lblA[2]->text() : QStringLiteral("-"),
                       d.Label1->text()}
        .join(u'|');
}

// An empty third option is hidden, and comes back the next time.
TEST(ChoiceDialog, KeysAndMouseAnswerOrSkipAndAnEmptyOptionIsHidden) {
    using Options = std::array<std::wstring, 3>;
    const Options three = {L"Север", L"Юг", L"Запад"};
    const std::tuple<Options, std::function<void(frmS&)>, int> cases[] = {
        {{L"Да", L"Нет", L""}, [](frmS& d) {
             EXPECT_EQ(Shown(d), QStringLiteral("Куда идти?|Да|Нет|-|Пропустить"));
             QTest::keyClick(d.lblA[1], Qt::Key_Escape);
         }, kChoiceSkipped},
        {three, [](frmS& d) {
             EXPECT_EQ(Shown(d), QStringLiteral("Куда идти?|Север|Юг|Запад|Пропустить"));
             QTest::keyClick(d.lblA[0], Qt::Key_Down);
             EXPECT_TRUE(d.lblA[1]->hasFocus() && d.lblA[1]->isChecked());
             QTest::keyClick(d.lblA[1], Qt::Key_Return);
         }, 1},
        {three, [](frmS& d) {
             // Other keys and a single click do not answer.
             QTest::keyClick(d.lblA[0], Qt::Key_A);
             QTest::mouseClick(d.lblA[2], Qt::LeftButton);
             EXPECT_TRUE(d.isVisible() && d.lblA[2]->isChecked());
             QTest::keyClick(d.lblA[2], Qt::Key_Enter);
         }, 2},
        {three, [](frmS& d) { QTest::mouseDClick(d.lblA[2], Qt::LeftButton); }, 2},
        {three, [](frmS& d) { QTest::mouseClick(d.Label1, Qt::LeftButton); }, kChoiceSkipped},
        {three, [](frmS& d) { d.close(); }, kChoiceSkipped}};
    for (const auto& [options, player, answer] : cases)
        EXPECT_EQ(Modal<frmS>([&] { return frmS::Ask(L"Куда идти?", options); }, player), answer);
}

TEST(InventoryPicker, EnterOrADoubleClickPicksTheRowEscOrClosingPicksNone) {
    const PickerContent content = {L"Инвентарь...", L"Монет:100", {{L"...", L"", L"", L""}, {L"Еда  (2шт.)", L"Еда", L"Зерно и Хлеб", L"Вес: 0.5"},
                                                                 {L"Кинжал[5,0] (70%)  (1шт.)", L"Кинжал", L"Клинок", L"Вес: 0.5"}}};
    using Act = std::function<void(frmBookmarks&)>;
    const auto center = [](frmBookmarks& p) { return p.lstItems->visualItemRect(p.lstItems->item(0)).center(); };
    const std::tuple<Act, int, bool> cases[] = {
        {[](frmBookmarks& p) {
             // The first arrow chooses the first row; a chosen row shows its name, text and weight.
             const auto shown = [&] { return QStringList({p.Lb1->text(), p.lblprop->text(), p.lblW->text(), p.lblMoney->text()}).join(u'|'); };
             EXPECT_EQ(shown(), QStringLiteral("|||Монет:100"));
             QTest::keyClick(p.lstItems, Qt::Key_Down);
             QTest::keyClick(p.lstItems, Qt::Key_Down);
             EXPECT_EQ(shown(), QStringLiteral("Еда|Зерно и Хлеб|Вес: 0.5|Монет:100"));
             QTest::keyClick(p.lstItems, Qt::Key_Down);
             QTest::keyClick(p.lstItems, Qt::Key_Return);
         }, 3, false},
        {[&](frmBookmarks& p) { QTest::mouseClick(p.lstItems->viewport(), Qt::LeftButton, {}, center(p)); QTest::mouseDClick(p.lstItems->viewport(), Qt::LeftButton, {}, center(p)); }, 1, false},
        {[](frmBookmarks& p) { QTest::keyClick(p.lstItems, Qt::Key_Escape); EXPECT_EQ(p.lstItems->count(), 0); }, 0, false},
        {[](frmBookmarks& p) { QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(3, 3)); }, 0, false},
        {[](frmBookmarks& p) { p.close(); }, 0, false},
        // It opens with no row chosen: Enter picks nothing, and the picker stays open.
        {[](frmBookmarks& p) { QTest::keyClick(p.lstItems, Qt::Key_Return); }, 0, true},
    };
    for (const auto& [act, picked, staysOpen] : cases)
        EXPECT_EQ(Modal<frmBookmarks>([&] { return frmBookmarks::Ask(content); }, act, staysOpen), picked);
}

using EquipmentScreen = GameTest;

TEST_F(EquipmentScreen, AClickOrALetterPutsOnAndTakesOffAndEscCloses) {
    auto shirt = g().Inventory->Add();
    std::tie(shirt->ItemName, shirt->ItemType, shirt->DefendPlus) = std::tuple(L"Льняная рубаха", kBody, 1);
    REFRESHAtt();
    ui.pickAnswers = {1};
    Modal<frmEquip>([] { return frmEquip::Open(), 0; }, [](frmEquip& screen) {
        QTest::mouseClick(screen.slotLabel[kSlotBody], Qt::LeftButton);
        EXPECT_EQ(std::pair(screen.slotLabel[kSlotBody]->text(), screen.lblValues->text().contains(QStringLiteral("Защита: 1"))),
                  std::pair(QStringLiteral("Тело[E]:Льняная рубаха[0,1]"), true));
        QTest::keyClick(&screen, Qt::Key_E);
        EXPECT_EQ(std::tuple(screen.slotLabel[kSlotBody]->text(), modVarsAndMain.Inventory->Count()), std::tuple(QStringLiteral("Тело[E]:[0,0]"), 1L));
        QTest::keyClick(&screen, Qt::Key_Escape);
    });
}

// Everything worn on the body is of one kind: its picture tells cloth, light armour and mail
// apart by how well it guards.
TEST_F(EquipmentScreen, TheBodySlotShowsWhatTheGarmentIsMadeOf) {
    const std::pair<double, const char*> worn[] = {{-1, "eq_robe.bmp"}, {0, "eq_robe.bmp"}, {1, "eq_jerkin.bmp"}, {2.5, "eq_jerkin.bmp"}, {3, "eq_body.bmp"}, {4, "eq_body.bmp"}};
    frmEquip screen;
    for (auto [defence, picture] : worn) {
        auto& body = g().Equip[kSlotBody];
        body[kEqName] = L"Чёрная роба", body[kEqType] = kBody, body[kEqDefendPlus] = defence;
        screen.Refresh();
        EXPECT_EQ(screen.slotPicture[kSlotBody]->property("picture").toString(), QString::fromLatin1(picture)) << defence;
    }
}

// The longest epitaph the game writes.
const std::wstring kMonkEpitaph = L"Героем вы вернулись к себе в монастырь и почитаемый всеми посветили остаток жизни служению Богу и летописи...";

// A game folder whose hall of fame holds two runs.
struct HallOfFameWindow : GameTest {
    void SetUp() override {
        std::string plain = RecordLine({L"Ратибор", kClaw, 1349, 4, L" был убит Волком", L""});
        plain += RecordLine({L"Пимен", kMonk, 2698, 9, L"#", kMonkEpitaph});
        ASSERT_TRUE(WriteFileAtomic(HiscorePath(), plain) && EncryptFileInPlace(HiscorePath()));
    }
    static QString Lines(const QListWidget* list) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines.join(u'|');
    }

    const QString twoRuns = QStringLiteral(
        "Ратибор - Коготь|Достиг уровня:4 и набрал 1349 очков.|И был убит Волком| |"
        "Пимен - Монах|Достиг уровня:9 и набрал 2698 очков.|И ") + QString::fromStdWString(kMonkEpitaph) + QStringLiteral("| ");
};

}  // namespace

TEST(StartMenu, CaptionsPanelsAboutAndProgress) {
    frmMenu m;
    m.show();
    QStringList captions = {m.windowTitle(), m.Frame1->title(), m.frmNewChar->title(), m.frmStarting->title(), m.lstPersons->item(3)->text()};
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m.Command1, m.Command2, m.Command3, m.Command6, m.Command4, m.chkSL, m.Command5, m.Command7})
        captions << b->text();
    EXPECT_EQ(captions.join(u'|'), QStringLiteral("Welcome to the Morvath!|Добро Пожаловать!...|Создать нового персонажа...|"
                                                  "Создание нового мира...(ждите)|\"Коготь\"|Создать персонажа.|Загрузить предыдущую игру.|"
                                                  "Зайти в Зал Славы.|Прочитать о программе.|Выйти|"
                                                  "Оставлять сохранение когда персонажа убивают|Вперёд!|Закрыть"));
    EXPECT_EQ(std::tuple(m.lstPersons->count(), m.Frame1->isVisible(), m.frmNewChar->isVisible() || m.frmStarting->isVisible() || m.Frame2->isVisible()),
              std::tuple(5, true, false));

    // Esc closes the About panel like its button, only while the panel is open.
    QSignalSpy closed(&m, &frmMenu::aboutClosed);
    QTest::keyClick(&m, Qt::Key_Escape);
    m.Frame1->hide();
    m.Frame2->show();
    QTest::keyClick(m.Command7, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 1);
    // The window holds what it shows: the About panel alone.
    QApplication::processEvents();
    EXPECT_EQ(m.size(), m.sizeHint());

    // The progress bar follows the percentage.
    m.frmStarting->show();
    m.picProgreso->setFixedWidth(202);
    m.ShowProgress(50, QStringLiteral("Карты"));
    EXPECT_EQ(m.lblPorc->text() + m.lblStatus->text() + QString::number(m.shaProgreso->width()), QStringLiteral("50%Карты100"));
    m.shaProgreso->setFixedWidth(5);  // 2.5 percent, to the even 2
    EXPECT_EQ(m.GetProgress(), 2);

    // "Необходимо ввести имя!" opens over the menu: its text must stand out from its face.
    QMessageBox box(&m);
    box.setText(QStringLiteral("Необходимо ввести имя!"));
    box.show();
    auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(text, nullptr);
    const QColor face = box.grab().toImage().pixelColor(2, 2), ink = text->palette().color(QPalette::WindowText);
    EXPECT_GT(std::abs(face.lightness() - ink.lightness()), 100) << face.name().toStdString() << " " << ink.name().toStdString();
}

// Another person, the same one clicked again, a key that moves and one that does not: four names.
TEST(StartMenu, EveryChoiceOfAPersonAsksForAName) {
    frmMenu m;
    m.frmNewChar->show();
    m.show();
    QSignalSpy asked(&m, &frmMenu::personChanged);
    const QPoint second = m.lstPersons->visualItemRect(m.lstPersons->item(1)).center();
    for (int i = 0; i < 2; ++i) QTest::mouseClick(m.lstPersons->viewport(), Qt::LeftButton, {}, second);
    QTest::keyClick(m.lstPersons, Qt::Key_Down);
    QTest::keyClick(m.lstPersons, Qt::Key_Z);
    QApplication::processEvents();
    EXPECT_EQ(std::pair(int(asked.count()), m.lstPersons->currentRow()), std::pair(4, 2));
}

TEST(SingleInstance, TheFirstCallerHoldsTheLockAndTheExitButtonLeavesNone) {
    // In this process the first call takes the lock; asking again still answers "not running".
    EXPECT_EQ(std::pair(AnotherInstanceRunning(), AnotherInstanceRunning()), std::pair(false, false));
    EXPECT_TRUE(QFile::exists(InstanceLockPath()));
    EXPECT_EXIT((frmMenu().Command4->click()), ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(QFile::exists(InstanceLockPath()));
}

TEST(TextViewer, ArrowsScrollOtherKeysCloseAndAModalShowReturnsOnAKey) {
    auto& v = frmShowText::Instance();
    v.ShowText(QStringLiteral("второй\n").repeated(200), false);
    QWidget* box = v.focusWidget() ? v.focusWidget() : &v;
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) QTest::keyClick(box, key);
    EXPECT_TRUE(v.isVisible());
    QTest::keyClick(box, Qt::Key_A);
    EXPECT_FALSE(v.isVisible());

    QTimer::singleShot(0, [&v] { QTest::keyClick(v.focusWidget() ? v.focusWidget() : &v, Qt::Key_Return); });
    v.ShowText(QStringLiteral("вступление"), true);
    EXPECT_EQ(std::pair(v.isVisible(), v.Text()), std::pair(false, QStringLiteral("вступление")));
}

// The credits pass on what the player does to them, in the order he does it.
TEST(AboutPanel, TheCreditsPassOnClicksKeysAndTheMouse) {
    TextScrollWidget credits(QSize(200, 120));
    credits.show();
    QStringList seen;
    auto on = [&](auto signal, const char* what) {
        QObject::connect(&credits, signal, [&seen, what](auto... v) { seen << (QStringList{what} << QStringList{QString::number(v)...}).join(u' '); });
    };
    on(&TextScrollWidget::Click, "click"), on(&TextScrollWidget::DblClick, "double"), on(&TextScrollWidget::KeyDown, "keydown");
    on(&TextScrollWidget::KeyPress, "keypress"), on(&TextScrollWidget::KeyUp, "keyup"), on(&TextScrollWidget::MouseDown, "down");
    on(&TextScrollWidget::MouseUp, "up"), on(&TextScrollWidget::MouseMove, "move");
    const QPoint at(10, 20);
    QTest::mouseClick(&credits, Qt::RightButton, Qt::ControlModifier, at);
    QTest::mouseDClick(&credits, Qt::RightButton, Qt::ControlModifier, at);
    QTest::mouseRelease(&credits, Qt::RightButton, Qt::ControlModifier, at);
    QMouseEvent drag(QEvent::MouseMove, QPointF(30, 5), credits.mapToGlobal(QPointF(30, 5)), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(&credits, &drag);
    QTest::keyClick(&credits, Qt::Key_L);
    EXPECT_EQ(seen.join(u'|').toStdString(), "down 2 2 10 20|up 2 2 10 20|click|double|up 2 2 10 20|move 1 1 30 5|keydown 76 0|keypress 108|keyup 76 0");
}

// The About panel's credits move without being drawn anew.
TEST(AboutPanel, CreditsMoveAPixelPerTickFromAPictureDrawnOnce) {
    TextScrollWidget credits(QSize(200, 120));
    credits.Control().ScrollSpeed = 5;
    credits.SetText(QStringLiteral("Morvath||Замысел и мир|команда Morvath"));
    credits.show();
    credits.StartScroll();
    const unsigned renders = credits.Control().RenderCount();
    const QImage before = credits.grab().toImage();
    // Ten ticks at the least; a busy machine may take longer than 50 ms to give them.
    for (int waited = 0; waited < 5000 && credits.Control().PictureTop() >= 118 - 10; waited += 10) QTest::qWait(10);
    EXPECT_EQ(std::tuple(credits.Control().PictureTop() < 118 - 10, credits.IsScrolling(), credits.Control().RenderCount(), credits.grab().toImage() != before),
              std::tuple(true, true, renders, true));

    credits.StopScroll();
    QTest::qWait(30);
    EXPECT_EQ(std::pair(credits.IsScrolling(), credits.Control().PictureTop()), std::pair(false, 118));
}

TEST_F(HallOfFameWindow, TheMenuOpensItThroughTheFrontEndAndEscGoesBack) {
    auto& qt = TheQtFrontend();
    bool back = false;
    qt.onBackToMenu = [&] { back = true; };
    modVarsAndMain.hallOfFame.writehf = false;
    qt.ShowHallOfFame(false);
    frmHallOfFame* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<frmHallOfFame*>(w); h && h->isVisible()) shown = h;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle() + "|" + Lines(shown->List1), QStringLiteral("Зал Славы 'Morvath...'|") + twoRuns);
    // The epitaph reads whole, on one line where the screen is wide enough: nothing scrolls
    // sideways, and its row lies within the list, tall enough for the lines it takes.
    QApplication::processEvents();
    QListWidgetItem* epitaph = shown->List1->item(6);
    const QRect row = shown->List1->visualItemRect(epitaph);
    const int needed = shown->List1->fontMetrics().boundingRect(QRect(0, 0, row.width(), 1000), Qt::TextWordWrap, epitaph->text()).height();
    EXPECT_EQ(std::tuple(shown->List1->horizontalScrollBar()->isVisible(), row.left() >= 0 && row.right() < shown->List1->viewport()->width(), row.height() >= needed),
              std::tuple(false, true, true)) << row.width() << " " << needed << " " << row.height();
    QTest::keyClick(shown->List1, Qt::Key_Escape);
    EXPECT_EQ(std::pair(shown->isVisible(), back), std::pair(false, true));
    qt.onBackToMenu = nullptr;
}

TEST_F(HallOfFameWindow, ADeathClosesTheGameScreenRecordsTheRunAndEndsTheProgram) {
    // The real windows and boxes; the deeds question counted, and the program's end.
    struct DeathFrontend : QtFrontend {
        int ended = 0, asked = 0;
        MsgResult MsgBox(const std::wstring& text, MsgButtons buttons, MsgIcon icon, const std::wstring& title) override {
            asked += text.find(L"файл описания деяний") != std::wstring::npos;
            return QtFrontend::MsgBox(text, buttons, icon, title);
        }
        void EndProgram() override { ++ended; }
    } front;
    SetFrontend(&front);
    h().PlayerName = L"Мирослава", h().Profession = kHunter, w().WorldName = L"test";
    for (int row = 0; row <= 30; ++row) w().SetRow(row, std::wstring(25, L'G'));
    // A spider no hero of one hit point and no agility survives; the hero has the first blow.
    auto spider = g().NPCs->Add();
    std::tie(spider->NPCName, spider->X, spider->Y, spider->HP, spider->Strenght, spider->Weapon) = std::tuple(L"Паук", 6, 5, 30, 60, L"A");
    std::tie(h().HP, h().MaxHp, h().Mobility, h().Luck, g().PlayerX, g().PlayerY) = std::tuple(1, 10, -100, 10, 5, 5);
    QPointer<frmGame> screen = &ShowGameScreen();
    modMusicEngine::MusicOn = true;  // starting a tune lets the window handle what is pending
    StartFight(6, 5);
    screen->Refresh();
    // Enter held down answers every box the moment it opens; Esc closes the hall of fame.
    QString listed;
    QTimer held;
    QObject::connect(&held, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* hall = qobject_cast<frmHallOfFame*>(modal)) {
            listed = Lines(hall->List1);
            QTest::keyClick(hall->List1, Qt::Key_Escape);
        } else if (modal) {
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Return);
        }
    });
    held.start(5);
    // The spider's answer kills him: the boxes and the hall of fame open and close inside the
    // strike button's click, itself handled by the program's running event loop.
    QEventLoop running;
    QTimer::singleShot(0, [&] {
        QPushButton* strike = screen->frmFight->btnStrike;
        QTest::mouseClick(screen->windowHandle(), Qt::LeftButton, {}, strike->mapTo(screen.data(), strike->rect().center()));
        running.quit();
    });
    running.exec();
    held.stop();

    EXPECT_TRUE(!screen || !screen->isVisible());
    // One record for one death, however many keys came.
    EXPECT_EQ(listed, twoRuns + QStringLiteral("|Мирослава - Охотник|Достиг уровня:0 и набрал 1 очков.|И был убит Пауком| "));
    // The deeds file offered once; closing the game screen did not end the program by itself.
    EXPECT_EQ(std::tuple(front.asked, front.ended, QGuiApplication::quitOnLastWindowClosed()), std::tuple(1, 1, false));

    QGuiApplication::setQuitOnLastWindowClosed(true);
    SetFrontend(&ui);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete screen.data();
}
