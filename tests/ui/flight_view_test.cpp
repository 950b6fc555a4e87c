// The fireball and the arrow are seen in the window while they fly: each pause of the
// flight shows the picture one cell further on, and nothing is left behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QTimer>

#include "../core/test_support.h"
#include "game/skills.h"
#include "game/spells.h"
#include "platform/random.h"
#include "ui/game_screen.h"
#include "ui/pictures.h"
#include "ui/qt_frontend.h"
#include "world/game_state.h"

using namespace morvath;
using namespace morvath::ui;

namespace {

class FlightView : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = GameFolder();
        SetGameFolder(dir_.path());
        Picture("Images/tiles/imgGrass.bmp", kGrass);
        Picture("Images/fireball1.bmp", kFire);
        Picture("Images/a4.bmp", kArrow);
        Pictures().Clear();
        ResetGame();
        SeedRandom(1);
        auto& g = modVarsAndMain;
        g.CreateRoots();
        g.Player->HP = 20;
        g.Player->MaxHp = 20;
        World& w = *g.TheWorld;
        w.WorldName = L"test";
        w.MapType = kMapTown;
        w.LocCount = -1;
        for (int row = 0; row <= 30; ++row) w.SetRow(row, std::wstring(25, L'G'));
        g.PlayerX = 8;
        g.PlayerY = 8;
        screen_ = &ShowGameScreen();
        SetFrontend(&TheQtFrontend());
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
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(p.string()), "BMP"));
    }
    // Looks at the window every few milliseconds while a flight runs: the view cells in
    // which the picture's colour was seen, in the order they were first seen.
    std::vector<QPoint> Watch(QRgb colour, const std::function<void()>& fly, const char* shotName) {
        std::vector<QPoint> seen;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            const QImage shot = screen_->pic->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int scale = screen_->pic->Scale();
            for (int row = 0; row < 10; ++row) {
                for (int col = 0; col < 10; ++col) {
                    if ((shot.pixel((col * 32 + 16) * scale, (row * 32 + 16) * scale) & 0xFFFFFF) != (colour & 0xFFFFFF)) continue;
                    if (seen.empty() || seen.back() != QPoint(col, row)) {
                        seen.emplace_back(col, row);
                        if (seen.size() == 2) shot.save(QDir::temp().filePath(QString::fromLatin1(shotName)));
                    }
                }
            }
        });
        timer.start(10);
        fly();
        timer.stop();
        return seen;
    }
    QRgb ColourAt(int col, int row) {
        const QImage shot = screen_->pic->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int scale = screen_->pic->Scale();
        return shot.pixel((col * 32 + 16) * scale, (row * 32 + 16) * scale) & 0xFFFFFF;
    }

    const QRgb kGrass = qRgb(60, 160, 60);
    const QRgb kFire = qRgb(250, 120, 20);
    const QRgb kArrow = qRgb(240, 240, 240);
    frmGame* screen_ = nullptr;

private:
    TempDir dir_;
    fs::path old_;
};

TEST_F(FlightView, TheFireballFliesDownCellByCell) {
    const auto seen = Watch(kFire, [] { FireballFly(2); }, "morvath-fireball-flight.png");
    EXPECT_EQ(seen, (std::vector<QPoint>{{5, 6}, {5, 7}, {5, 8}, {5, 9}}));
    EXPECT_EQ(ColourAt(5, 9), kGrass & 0xFFFFFF);
}

// The window's own pauses and repaints, with the picker answered as a player would.
struct PickingFrontend : QtFrontend {
    int PickItem(const PickerContent&) override { return 1; }
    void Redraw() override { TheQtFrontend().Redraw(); }
};

TEST_F(FlightView, TheLastArrowFliesLeftToTheEdgeAndIsSpent) {
    PickingFrontend picking;
    SetFrontend(&picking);
    auto& g = modVarsAndMain;
    g.FacingDir = 4;
    g.Equip[kSlotRightHand][kEqType] = Variant(static_cast<double>(kBow));
    g.Skills[0][0] = Variant(std::wstring(L"Стрелять из лука"));
    auto arrow = g.Inventory->Add();
    arrow->ItemName = L"Стрела";
    arrow->ItemType = kArrows;
    const auto seen = Watch(kArrow, [] { UseSkill(0); }, "morvath-arrow-flight.png");
    EXPECT_EQ(seen, (std::vector<QPoint>{{4, 5}, {3, 5}, {2, 5}, {1, 5}, {0, 5}}));
    EXPECT_EQ(g.Inventory->Count(), 0);
    SetFrontend(&TheQtFrontend());
}

TEST_F(FlightView, AFlightWhosePictureIsMissingGoesUnseen) {
    // No fireball2.bmp in the game folder: no black square crosses the view either.
    EXPECT_TRUE(Watch(qRgb(0, 0, 0), [] { FireballFly(4); }, "morvath-fireball-missing.png").empty());
}

}  // namespace
