#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QScrollBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../core/test_support.h"
#include "game/hall_of_fame.h"
#include "services/file_cipher.h"
#include "services/music.h"
#include "game/fight.h"
#include "ui/fight_panel.h"
#include "ui/game_screen.h"
#include "ui/hall_of_fame.h"
#include "ui/qt_frontend.h"
#include "world/game_over.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

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
