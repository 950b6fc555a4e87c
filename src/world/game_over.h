#pragma once

namespace morvath {

// The hero died or an ending was reached: revival of the warlock, or the end of the run.
void GameOver();

}  // namespace morvath
