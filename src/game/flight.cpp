#include "game/flight.h"

#include "platform/frontend.h"
#include "world/game_state.h"

namespace morvath {
namespace {

// Long enough to follow the flight with the eye, short enough not to hold up play.
constexpr int kStepMilliseconds = 70;

}  // namespace

std::vector<FlightStep> FlightPath(int direction) {
    int dx = 0, dy = 0, steps = 0;
    switch (direction) {
        case 1: dy = -1; steps = 5; break;
        case 2: dy = 1; steps = 4; break;
        case 3: dx = 1; steps = 4; break;
        case 4: dx = -1; steps = 5; break;
        default: return {};
    }
    const auto& g = modVarsAndMain;
    const int hero = View::kHeroCell * View::kCellPixels;
    std::vector<FlightStep> path;
    for (int k = 1; k <= steps; ++k) {
        path.push_back({g.PlayerX + k * dx, g.PlayerY + k * dy, hero + k * dx * View::kCellPixels,
                        hero + k * dy * View::kCellPixels});
    }
    return path;
}

AnimationGuard::AnimationGuard() : previous_(modVarsAndMain.AnimationRunning) {
    modVarsAndMain.AnimationRunning = true;
}

AnimationGuard::~AnimationGuard() { modVarsAndMain.AnimationRunning = previous_; }

void ShowFlightStep(Pic picture, const FlightStep& step) {
    View& view = modVarsAndMain.gameScreen.view;
    view.flyingShown = true;
    view.flying = picture;
    view.flyingX = step.pixelX;
    view.flyingY = step.pixelY;
    DrawIt();
    UI().Pause(kStepMilliseconds);
}

void EndFlight() {
    modVarsAndMain.gameScreen.view.flyingShown = false;
    DrawIt();
}

void HoldView(int milliseconds) {
    DrawIt();
    UI().Pause(milliseconds);
}

}  // namespace morvath
