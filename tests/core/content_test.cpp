// The shipped food script, run as the game runs it.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/frontend.h"
#include "test_support.h"
#include "world/game_state.h"

using namespace morvath;

// Lower is fuller; nothing below -60 fits, and the hero is told so. A meal is worth up to a
// thousand; one of the two pieces is eaten.
TEST(ShippedFood, FeedsAHungryHeroAsFarAsHeHasRoom) {
    const fs::path previous = GameFolder();
    SetGameFolder(MORVATH_GAME_DIR);
    ScriptedFrontend ui;
    const std::tuple<int, int, bool> cases[] = {{3000, 2000, false}, {1040, 40, false}, {120, 20, true}, {-50, -50, true}};
    for (const auto& [hungry, after, full] : cases) {
        ResetGame();
        modVarsAndMain.CreateRoots();
        auto food = modVarsAndMain.Inventory->Add();
        std::tie(food->ItemName, food->ItemType, food->ItemScript, food->ItemCount) = std::tuple(L"Еда", kFood, L"food.itm", 1);
        modVarsAndMain.Player->Hungry = hungry;
        modVarsAndMain.PickedIndex = 1;
        food->DoAction();
        const auto& screen = modVarsAndMain.screen;
        EXPECT_EQ(std::tuple(static_cast<int>(modVarsAndMain.Player->Hungry), screen.txtSpeech.find(L"больше ничего не влезает") != std::wstring::npos,
                             screen.lblII, modVarsAndMain.Inventory->Count(), static_cast<int>(modVarsAndMain.Inventory->Item(1)->ItemCount)),
                  std::tuple(after, full, L"Вы поели.", 1, 0)) << hungry;
    }
    SetGameFolder(previous);
}
