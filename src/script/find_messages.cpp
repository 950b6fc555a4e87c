#include "script/find_messages.h"

#include "world/game_state.h"

namespace morvath {

void InitFindMessages() {
    auto& m = modVarsAndMain.Messages;
    m[11] = L"Вы нашли дерево";
    m[13] = L"Здесь ничего нет.";
    m[16] = L"Вы нашли монеты";
}

}  // namespace morvath
