// The shipped food and death scripts, run as the game runs them.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/cp1251.h"
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

// The creatures of the dark give their life to a warlock who kills them, beyond his full
// health too; to anyone else, nothing.
TEST(ShippedDeaths, TheCavesBeastsGiveTheirLifeToTheWarlockAlone) {
    const fs::path previous = GameFolder();
    SetGameFolder(MORVATH_GAME_DIR);
    ScriptedFrontend ui;
    for (const wchar_t* script : {L"spider.die", L"tvar.die", L"dog1.die", L"dog2.die"}) {
        for (const auto& [person, hp] : {std::pair{kWarlock, 6}, {kPrince, 4}}) {
            ResetGame();
            modVarsAndMain.CreateRoots();
            std::tie(modVarsAndMain.Player->Profession, modVarsAndMain.Player->HP, modVarsAndMain.Player->MaxHp) = std::tuple(person, 4, 4);
            auto beast = modVarsAndMain.NPCs->Add();
            std::tie(beast->X, beast->Y, beast->DieScript_File) = std::tuple(10.0f, 10.0f, script);
            modVarsAndMain.ScriptNPCIndex = 1;
            beast->Died();
            EXPECT_EQ(static_cast<int>(modVarsAndMain.Player->HP), hp) << ToUtf8(script) << " " << person;
        }
    }
    SetGameFolder(previous);
}
