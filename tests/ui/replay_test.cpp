// The same seed and the same keys make the same game with a window and without one: how
// often the window paints, and what it paints, never reaches the game's dice.
#include <QApplication>
#include <QTest>

#include "../core/test_support.h"
#include "game/keymap.h"
#include "game/new_game.h"
#include "ui/game_screen.h"
#include "ui/pictures.h"
#include "ui/qt_frontend.h"

using namespace morvath;

namespace {

// The questions are answered as a player taking the first button would; the window's own
// parts (redraws, events, pauses) are the real window's.
struct WindowFrontend : ScriptedFrontend {
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
    for (const auto& e : fs::directory_iterator(MORVATH_GAME_DIR))
        if (e.path().filename() != "saved" && e.path().filename() != "morvath") fs::copy(e.path(), to / e.path().filename(), fs::copy_options::recursive);
}

// The save set, where the hero stands and where the game's dice stand after the run.
using Outcome = std::tuple<std::map<std::string, std::string>, int, int, double>;

Outcome Play(bool window) {
    TempGameFolder game;
    CopyGame(game.path());
    ResetGame();
    SeedRandom(20240601);
    std::unique_ptr<ScriptedFrontend> ui = window ? std::make_unique<WindowFrontend>() : std::make_unique<ScriptedFrontend>();
    StartHooks hooks;
    if (window) hooks.showGameScreen = [] { ui::ShowGameScreen(); };
    EXPECT_TRUE(CreateCharacter(3, L"Тестомир", false) && InitGame(hooks));
    for (const auto& k : kKeys)
        for (int i = 0; i < k.times; ++i) {
            if (window) QTest::keyClick(ui::GameScreen()->pic, k.qt, k.shift ? Qt::ShiftModifier : Qt::NoModifier);
            else PressKey(k.vk, k.shift);
            QApplication::processEvents();
        }
    EXPECT_TRUE(modVarsAndMain.gameScreen.programEnded);
    Outcome run{{}, modVarsAndMain.PlayerX, modVarsAndMain.PlayerY, Rnd()};
    for (const auto& e : fs::directory_iterator(game.path() / "saved")) std::get<0>(run)[e.path().filename().string()] = *ReadBytes(e.path());
    delete ui::GameScreen();
    ui::Pictures().Clear();
    ResetGame();
    return run;
}

TEST(Replay, TheSameSeedAndKeysSaveTheSameGameWithAndWithoutAWindow) {
    const Outcome headless = Play(false);
    // Two steps down and three right from the sect's door (8, 9); the save set holds the hero and the places.
    EXPECT_EQ(std::tuple(std::get<1>(headless), std::get<2>(headless), std::get<0>(headless).size() > 10u), std::tuple(11, 11, true));
    EXPECT_TRUE(Play(true) == headless);
}

}  // namespace
