// Using an item: the dragon stone, reading, then the item's own script.
#include "platform/files.h"
#include "script/cscript.h"
#include "script/story.h"
#include "world/game_state.h"
#include "world/item.h"
#include "world/speech.h"

namespace morvath {
namespace {

bool CarriesRing() {
    if (!modVarsAndMain.Inventory) return false;
    for (const auto& item : *modVarsAndMain.Inventory) {
        if (item->ItemType == kRing) return true;
    }
    return false;
}

bool CanRead() {
    for (const auto& row : modVarsAndMain.Skills) {
        if (row[0].ToText() == L"Литература") return true;
    }
    return false;
}

}  // namespace

void Item::DoAction() {
    if (ItemName == L"Камень драконов") {
        const MainCharacter* hero = modVarsAndMain.Player.get();
        if (!hero || hero->Doom <= 6) {
            Say(L"Только приверженец злых духов может использовать этот амулет!!!", L"");
        } else if (CarriesRing()) {
            EndingEvilStone();
        } else {
            Say(L"Чтобы вас не уничтожило,нужно иметь кольцо злых духов", L"");
        }
        return;
    }
    if (ItemType == kBook || ItemType == kWriting) {
        if (!CanRead()) {
            Say(L"Вы не умеете читать!", L"");
            return;
        }
        if (modVarsAndMain.Darkness) {
            Say(L"Невозможно читать в темноте!", L"");
            return;
        }
    }
    if (ItemScript.empty() || ItemScript == L" " || ItemScript == L"0") return;
    // The script may take this very item away: hold the name, not the object.
    const std::wstring file = ItemScript;
    // The carried item is the script's subject: remove() takes a piece of it even after the
    // script has taken or given other items.
    auto& g = modVarsAndMain;
    std::shared_ptr<Item> self;
    if (g.Inventory) {
        for (const auto& item : *g.Inventory) {
            if (item.get() == this) self = item;
        }
    }
    auto previous = g.ScriptItem;
    if (self) g.ScriptItem = self;
    RunScriptFile(file);
    g.ScriptItem = previous;
}

}  // namespace morvath
