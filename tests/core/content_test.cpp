// The shipped food script, run as the game runs it.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/frontend.h"
#include "test_support.h"
#include "world/game_state.h"

using namespace morvath;

namespace {
const fs::path kGame = MORVATH_GAME_DIR;
}  // namespace

TEST(ShippedFood, FeedsAHungryHeroAsFarAsHeHasRoom) {
    const fs::path previous = GameFolder();
    SetGameFolder(kGame);
    ScriptedFrontend ui;
    struct Case {
        int hungry;       // before eating
        int after;        // after
        bool full;        // the hero is told nothing more fits
    };
    // Lower is fuller; nothing below -60 fits. A meal is worth up to a thousand.
    for (const Case& c : {Case{3000, 2000, false}, Case{4600, 3600, false}, Case{1040, 40, false}, Case{500, -0, true},
                          Case{120, -80 + 100, true}, Case{1, 1, true}, Case{-50, -50, true}}) {
        ResetGame();
        modVarsAndMain.CreateRoots();
        auto food = modVarsAndMain.Inventory->Add();
        food->ItemName = L"Еда";
        food->ItemType = kFood;
        food->ItemScript = L"food.itm";
        food->ItemCount = 1;  // two pieces
        modVarsAndMain.Player->Hungry = c.hungry;
        modVarsAndMain.PickedIndex = 1;
        modVarsAndMain.screen = ScreenText{};
        food->DoAction();
        // One piece is eaten.
        ASSERT_EQ(modVarsAndMain.Inventory->Count(), 1);
        EXPECT_EQ(std::tuple(static_cast<int>(modVarsAndMain.Player->Hungry),
                             modVarsAndMain.screen.txtSpeech.find(L"больше ничего не влезает") != std::wstring::npos,
                             modVarsAndMain.screen.lblII, static_cast<int>(modVarsAndMain.Inventory->Item(1)->ItemCount)),
                  std::tuple(c.after, c.full, L"Вы поели.", 0))
            << c.hungry;
    }
    SetGameFolder(previous);
}
