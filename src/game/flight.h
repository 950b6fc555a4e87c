#pragma once
// Things that fly from the hero across the view (the fireball, an arrow), drawn one cell at a
// time, and the short pauses of the spells. While one runs the game screen takes no keys.
#include <vector>

#include "world/pictures.h"

namespace morvath {

// One cell of a flight: the cell in hero coordinates and the pixel of the view it is
// painted at.
struct FlightStep {
    int x = 0;
    int y = 0;
    int pixelX = 0;
    int pixelY = 0;
};

// The cells from the hero in a facing direction (1 up, 2 down, 3 right, 4 left) to the edge
// of the view: five up or left, four down or right; none for any other direction.
std::vector<FlightStep> FlightPath(int direction);

// Blocks the game screen's keys for its lifetime (nested ones keep the outer block).
class AnimationGuard {
public:
    AnimationGuard();
    ~AnimationGuard();
    AnimationGuard(const AnimationGuard&) = delete;
    AnimationGuard& operator=(const AnimationGuard&) = delete;

private:
    bool previous_;
};

// Redraws the view with the picture at the step's pixel and lets the window show it.
void ShowFlightStep(Pic picture, const FlightStep& step);
// The flight is over: nothing flies, and the view is redrawn.
void EndFlight();
// Lets the window show the view as it is now for a moment.
void HoldView(int milliseconds);

}  // namespace morvath
