#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "game/hall_of_fame.h"
#include "platform/frontend.h"
#include "services/file_cipher.h"
#include "ui/game_screen.h"
#include "ui/hall_of_fame.h"
#include "ui/qt_frontend.h"
#include "world/game_over.h"
#include "world/game_state.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

// A game folder whose hall of fame holds two runs.
class HallOfFameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previous_ = GameFolder();
        SetGameFolder(fs::path(dir_.path().toStdString()));
        ResetGame();
        std::string plain = RecordLine({L"Ратибор", kClaw, 1349, 4, L" был убит Волком", L""});
        plain += RecordLine({L"Всеслав", kWarlock, 2698, 9, L"#", L"В лучах славы, Героем вы прожили свою жизнь..."});
        ASSERT_TRUE(WriteFileAtomic(HiscorePath(), plain));
        ASSERT_TRUE(EncryptFileInPlace(HiscorePath()));
    }
    void TearDown() override {
        ResetGame();
        SetGameFolder(previous_);
    }

    static QStringList Lines(const QListWidget* list) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

    const QStringList twoRuns = {
        QStringLiteral("Ратибор - Коготь"),
        QStringLiteral("Достиг уровня:4 и набрал 1349 очков."),
        QStringLiteral("И  был убит Волком"),
        QStringLiteral(" "),
        QStringLiteral("Всеслав - Чернокнижник"),
        QStringLiteral("Достиг уровня:9 и набрал 2698 очков."),
        QStringLiteral("И В лучах славы, Героем вы прожили свою жизнь..."),
        QStringLiteral(" "),
    };

private:
    QTemporaryDir dir_;
    fs::path previous_;
};

}  // namespace

TEST_F(HallOfFameWindow, BrowsingListsEveryRunAndEscGoesBackToTheMenu) {
    modVarsAndMain.hallOfFame.writehf = false;
    frmHallOfFame w;
    bool ended = false;
    bool back = false;
    w.endProgram = [&] { ended = true; };
    QObject::connect(&w, &frmHallOfFame::backToMenu, [&] { back = true; });
    w.Form_Load();
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Зал Славы 'Morvath...'"));
    EXPECT_EQ(Lines(w.List1), twoRuns);

    QPixmap shot = w.grab();
    EXPECT_FALSE(shot.isNull());

    QTest::keyClick(w.List1, Qt::Key_Down);
    EXPECT_TRUE(w.isVisible());
    QTest::keyClick(w.List1, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(back);
    EXPECT_FALSE(ended);
}

TEST_F(HallOfFameWindow, AfterARunClosingTheWindowEndsTheProgram) {
    ScriptedFrontend answers;
    answers.msgAnswers = {MsgResult::No};
    auto& g = modVarsAndMain;
    g.CreateRoots();
    g.Player->PlayerName = L"Мирослава";
    g.Player->Profession = kHunter;
    g.hallOfFame = {L"Тварь", L"", true};

    frmHallOfFame w;
    int ended = 0;
    bool back = false;
    w.endProgram = [&] { ++ended; };
    QObject::connect(&w, &frmHallOfFame::backToMenu, [&] { back = true; });
    w.Form_Load();
    w.show();
    ASSERT_EQ(w.List1->count(), 12);
    EXPECT_EQ(Lines(w.List1).mid(0, 8), twoRuns);
    EXPECT_EQ(w.List1->item(8)->text(), QStringLiteral("Мирослава - Охотник"));
    EXPECT_EQ(w.List1->item(10)->text(), QStringLiteral("И  был убит Тварью"));
    EXPECT_EQ(answers.Count(L"MsgBox|Morvath|Хотите создать файл описания деяний"), 1);

    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(back);
}

TEST_F(HallOfFameWindow, TheMenuOpensItThroughTheFrontEndAndComesBack) {
    auto& qt = TheQtFrontend();
    bool back = false;
    qt.onBackToMenu = [&] { back = true; };
    modVarsAndMain.hallOfFame.writehf = false;
    qt.ShowHallOfFame(false);

    frmHallOfFame* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* h = qobject_cast<frmHallOfFame*>(w); h && h->isVisible()) shown = h;
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(Lines(shown->List1), twoRuns);
    QTest::keyClick(shown->List1, Qt::Key_Escape);
    EXPECT_TRUE(back);
    qt.onBackToMenu = nullptr;
}

TEST_F(HallOfFameWindow, ADeathClosesTheGameScreenRecordsTheRunAndEndsTheProgram) {
    // The real windows; the questions answered and the program's end counted.
    struct DeathFrontend : QtFrontend {
        int ended = 0;
        MsgResult MsgBox(const std::wstring&, MsgButtons buttons, MsgIcon, const std::wstring&) override {
            return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
        }
        void EndProgram() override { ++ended; }
    } ui;
    SetFrontend(&ui);
    auto& g = modVarsAndMain;
    g.CreateRoots();
    g.Player->PlayerName = L"Мирослава";
    g.Player->Profession = kHunter;
    g.TheWorld->WorldName = L"test";
    for (int row = 0; row <= 30; ++row) g.TheWorld->SetRow(row, std::wstring(25, L'G'));
    QPointer<frmGame> screen = &ShowGameScreen();
    ASSERT_TRUE(screen->isVisible());

    g.PlayerDead = true;
    g.hallOfFame.EnemyName = L"Паук";
    QStringList listed;
    QTimer::singleShot(0, [&] {
        auto* hall = qobject_cast<frmHallOfFame*>(QApplication::activeModalWidget());
        if (!hall) return;
        listed = Lines(hall->List1);
        QTest::keyClick(hall->List1, Qt::Key_Escape);
    });
    GameOver();

    EXPECT_TRUE(!screen || !screen->isVisible());
    ASSERT_EQ(listed.size(), 12);
    EXPECT_EQ(listed[10], QStringLiteral("И  был убит Пауком"));
    EXPECT_EQ(ui.ended, 1);
    // Closing the game screen did not end the program by itself.
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());

    QGuiApplication::setQuitOnLastWindowClosed(true);
    SetFrontend(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete screen.data();
}
