// The same seed and the same keys make the same game with a window and without one: how
// often the window paints, and what it paints, never reaches the game's dice.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <map>

#include "../core/test_support.h"
#include "game/keymap.h"
#include "game/new_game.h"
#include "game/screen.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "ui/game_screen.h"
#include "ui/pictures.h"
#include "ui/qt_frontend.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

using Files = std::map<std::string, std::string>;

// The questions are answered as a player taking the first button would; the window's own
// parts (redraws, events, pauses) are the real window's.
class WindowFrontend : public ScriptedFrontend {
public:
    void DoEvents() override { ui::TheQtFrontend().DoEvents(); }
    void Pause(int milliseconds) override { ui::TheQtFrontend().Pause(milliseconds); }
    void Redraw() override { ui::TheQtFrontend().Redraw(); }
};

// The Claw steps out of the sect's house towards the pond and waits there while the
// acolytes wander; then Shift+S saves the game and ends it.
const struct { int vk, shift; Qt::Key qt; int times; } kKeys[] = {
    {kVkDown, 0, Qt::Key_Down, 2}, {kVk5, 0, Qt::Key_5, 10}, {'L', 0, Qt::Key_L, 1}, {kVkRight, 0, Qt::Key_Right, 3}, {kVk5, 0, Qt::Key_5, 5},
    {'S', kShiftMask, Qt::Key_S, 1}};

// The built game folder's files, but its saves: a new game empties \saved\ and writes the
// settings.
void CopyGame(const fs::path& to) {
    for (const auto& e : fs::directory_iterator(MORVATH_GAME_DIR)) {
        const std::string name = e.path().filename().string();
        if (name != "saved" && name != "morvath") fs::copy(e.path(), to / name, fs::copy_options::recursive);
    }
}

// The save set, where the hero stands and where the game's dice stand after the run.
struct Outcome {
    Files saved;
    int x, y;
    double nextDraw;
    bool operator==(const Outcome&) const = default;
};

Outcome Play(bool window) {
    TempGameFolder game;
    CopyGame(game.path());
    ResetGame();
    SeedRandom(20240601);
    std::unique_ptr<ScriptedFrontend> ui = window ? std::make_unique<WindowFrontend>() : std::make_unique<ScriptedFrontend>();
    StartHooks hooks;
    if (window) hooks.showGameScreen = [] { ui::ShowGameScreen(); };
    EXPECT_TRUE(CreateCharacter(3, L"Тестомир", false));
    EXPECT_TRUE(InitGame(hooks));
    for (const auto& k : kKeys) {
        for (int i = 0; i < k.times; ++i) {
            if (window) {
                QTest::keyClick(ui::GameScreen()->pic, k.qt, k.shift ? Qt::ShiftModifier : Qt::NoModifier);
                QApplication::processEvents();
            } else {
                PressKey(k.vk, k.shift);
            }
        }
    }
    EXPECT_TRUE(modVarsAndMain.gameScreen.programEnded);
    Outcome run{{}, modVarsAndMain.PlayerX, modVarsAndMain.PlayerY, Rnd()};
    for (const auto& e : fs::directory_iterator(game.path() / "saved")) run.saved[e.path().filename().string()] = *ReadBytes(e.path());
    delete ui::GameScreen();
    ui::Pictures().Clear();
    ResetGame();
    return run;
}

TEST(Replay, TheSameSeedAndKeysSaveTheSameGameWithAndWithoutAWindow) {
    const Outcome headless = Play(false);
    const Outcome window = Play(true);
    // The keys moved the hero, and the save set holds the hero and the places.
    EXPECT_EQ(std::pair(std::pair(headless.x, headless.y) != std::pair(8, 9), headless.saved.size() > 10u), std::pair(true, true));
    EXPECT_TRUE(window == headless);
}

// The core draws the view where it has just changed the world and then asks for a redraw;
// a turn asks without drawing. Either way the window paints the view once.
TEST(Replay, TheWindowPaintsTheViewOncePerRedraw) {
    TempGameFolder folder;
    ResetGame();
    auto& g = modVarsAndMain;
    g.CreateRoots();
    g.TheWorld->MapType = kMapTown;
    for (int row = 0; row <= 20; ++row) g.TheWorld->SetRow(row, std::wstring(20, L'G'));
    g.PlayerX = 5, g.PlayerY = 5;
    WindowFrontend ui;
    ui::ShowGameScreen();
    // The core draws and shows; a turn asks for a redraw; two redraws; a draw, then a turn.
    const std::pair<void (*)(), unsigned> cases[] = {
        {[] { DrawIt(); }, 1}, {[] { UI().Redraw(); }, 1}, {[] { UI().Redraw(); UI().Redraw(); }, 2}, {[] { DrawIt(); UI().Redraw(); }, 2}};
    for (const auto& [act, draws] : cases) {
        const unsigned before = g.gameScreen.view.serial;
        act();
        EXPECT_EQ(g.gameScreen.view.serial - before, draws) << draws;
    }
    delete ui::GameScreen();
    ResetGame();
}

}  // namespace
