// The game's dialogs in a real (offscreen) window: the choice dialog, the inventory picker
// and the equipment screen, with keys and mouse as the player uses them.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../core/test_support.h"
#include "game/worn_items.h"
#include "ui/choice_dialog.h"
#include "ui/equipment_screen.h"
#include "ui/inventory_picker.h"

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

}  // namespace
