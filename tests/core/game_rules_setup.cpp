// The rules are wired into the world before any test runs, as the window does at start-up,
// and the clock stands on an ordinary Monday, so that no test meets the calendar's luck of
// the day it happens to run on.
#include <gtest/gtest.h>

#include "game/game_rules.h"
#include "platform/clock.h"

namespace {

class GameRules : public ::testing::Environment {
public:
    void SetUp() override {
        morvath::InstallGameRules();
        morvath::PinClock(2026, 12, 7);
    }
};

const auto* const kGameRules = ::testing::AddGlobalTestEnvironment(new GameRules);

}  // namespace
