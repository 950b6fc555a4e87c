#include "script/choice.h"

#include "platform/frontend.h"
#include "world/game_state.h"

namespace morvath {

int ShowChoiceDialog() {
    auto& g = modVarsAndMain;
    const auto& options = g.screen.choiceCaptions;
    g.ChoiceResult = kChoiceSkipped;
    int r = UI().Choice(g.screen.choiceQuestion, options);
    // Only an option the player could see counts as an answer.
    bool valid = r == 0 || r == 1 || (r == 2 && !options[2].empty());
    g.ChoiceResult = valid ? r : kChoiceSkipped;
    return g.ChoiceResult;
}

}  // namespace morvath
