#include "game/talk.h"

#include "game/items.h"
#include "platform/frontend.h"
#include "world/game_state.h"
#include "world/speech.h"

namespace morvath {
namespace {

struct Offset {
    int dx, dy;
};

// The first character standing on one of the cells next to the hero, tried in the given
// order for each character in turn: 0 when nobody is there.
template <std::size_t N>
long FirstAdjacent(const Offset (&cells)[N]) {
    const auto& g = modVarsAndMain;
    long index = 0;
    for (const auto& npc : *g.NPCs) {
        ++index;
        for (const Offset& c : cells) {
            if (npc->X == g.PlayerX + c.dx && npc->Y == g.PlayerY + c.dy) return index;
        }
    }
    return 0;
}

}  // namespace

void TalkNearby() {
    auto& g = modVarsAndMain;
    static constexpr Offset kTalkOrder[] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};
    const long index = FirstAdjacent(kTalkOrder);
    if (index == 0) {
        ShowSignText();
        return;
    }
    g.ScriptNPCIndex = index;
    g.NPCs->Item(index)->ExecTalkAIScript();
}

void ShowSignText() {
    const auto& g = modVarsAndMain;
    const int x = g.PlayerX, y = g.PlayerY;
    if (y == 10 && x == 26 && g.TheWorld->WorldName == L"N1") {
        Say(L"Торг", L"");
    } else if (y == 18 && x == 11) {
        Say(L"На Новгород.", L"");
    } else if (y == 11 && x == 21) {
        Say(L"Поля и пастбища монастыря", L"");
    }
}

void GiveNearby(int kind) {
    static constexpr Offset kGiveOrder[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    const long index = FirstAdjacent(kGiveOrder);
    if (index == 0) {
        Say(L"Здесь не кому давать...", L"");
        return;
    }
    GiveToNPC(index, kind);
}

void GiveToNPC(long index, int kind) {
    auto& g = modVarsAndMain;
    auto npc = g.NPCs->Item(index);
    if (!npc) return;
    // Only this hand-over may be seen by the script: an offer made earlier (or one refused
    // now) must not be taken for it.
    g.GivenMoney = 0;
    g.GivenItemIndex = 0;
    if (kind == kGiveCoins) {
        const std::wstring money = NumText(g.Money);
        const double amount = Val(UI().InputBox(L"Сколько(ENTER=" + money + L")?", L"Morvath", money));
        // The offer is held in a 16-bit field: a larger one is refused like any bad amount.
        if (!(amount > 0 && amount <= g.Money) || amount > 32767) return;
        g.GivenMoney = amount;
    } else {
        const int picked = ChooseCarriedItem();
        if (picked == 0) return;
        g.GivenItemIndex = picked;
    }
    g.ScriptNPCIndex = index;
    npc->ScriptEvent = kEventGiven;
    npc->ExecTalkAIScript();
    npc->ScriptEvent = kEventTalk;
    g.GivenMoney = 0;
    g.GivenItemIndex = 0;
}

}  // namespace morvath
