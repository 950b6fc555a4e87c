// The rules are wired into the world before any test runs, as the window does at start-up.
#include <gtest/gtest.h>

#include "game/game_rules.h"

namespace {

class GameRules : public ::testing::Environment {
public:
    void SetUp() override { morvath::InstallGameRules(); }
};

const auto* const kGameRules = ::testing::AddGlobalTestEnvironment(new GameRules);

}  // namespace
