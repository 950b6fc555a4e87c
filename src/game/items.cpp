#include "game/items.h"

#include <vector>

#include "game/worn_items.h"
#include "world/speech.h"
#include "platform/frontend.h"
#include "world/game_state.h"

namespace morvath {
namespace {

const wchar_t kFloorHeap[] = L"9";
const wchar_t kPlaceholder[] = L"...";

bool LiesUnderHero(const Item& item) {
    const auto& g = modVarsAndMain;
    return item.X == g.PlayerX && item.Y == g.PlayerY;
}

std::shared_ptr<Item> FirstFloorItemUnderHero() {
    for (const auto& item : *modVarsAndMain.TheWorld->mapItemCol) {
        if (LiesUnderHero(*item)) return item;
    }
    return nullptr;
}

void SetTileUnderHero(const wchar_t* tile) {
    const auto& g = modVarsAndMain;
    g.TheWorld->setPosMap(g.PlayerY + 3, g.PlayerX + 3, tile);
}

// Pick-up stacks an item onto a carried one equal in everything the hero can tell apart.
bool Stacks(const Item& a, const Item& b) {
    return a.ItemName == b.ItemName && a.itembalance == b.itembalance && a.ItemScript == b.ItemScript &&
           a.WeaponPlus == b.WeaponPlus && a.DefendPlus == b.DefendPlus && a.Weight == b.Weight &&
           a.SkillPlus == b.SkillPlus && a.Critical == b.Critical;
}

// Every field but the count and the position.
void CopyItem(const Item& from, Item& to) {
    to.ItemType = from.ItemType;
    to.ItemName = from.ItemName;
    to.ItemInfo = from.ItemInfo;
    to.DefendPlus = from.DefendPlus;
    to.itembalance = from.itembalance;
    to.WeaponPlus = from.WeaponPlus;
    to.Weight = from.Weight;
    to.ItemScript = from.ItemScript;
    to.Critical = from.Critical;
    to.SkillPlus = from.SkillPlus;
}

PickerRow RowOf(const Item& item, std::wstring line) {
    return {std::move(line), item.ItemName, item.ItemInfo, L"Вес: " + NumText(item.Weight)};
}

std::wstring LineFor(const Item& item, bool withBonuses) {
    return withBonuses ? WeaponLine(item) : PlainLine(item);
}

// Shows the picker over the given rows; `positions` names the inventory position of each
// row (0 for a placeholder). Returns the position of the item picked, 0 for none.
long Pick(PickerContent content, const std::vector<long>& positions) {
    auto& g = modVarsAndMain;
    g.screen.speechVisible = false;
    content.caption = L"Инвентарь...";
    content.money = L"Монет:" + NumText(g.Money);
    const int row = UI().PickItem(content);
    const long position = row >= 1 && static_cast<std::size_t>(row) <= positions.size()
                              ? positions[static_cast<std::size_t>(row - 1)]
                              : 0;
    g.PickedIndex = position;
    return position;
}

}  // namespace

bool ListedWithBonuses(long kind) {
    switch (kind) {
        case kWeapon: case kShield: case kLegs: case kBody: case kHead: return true;
        default: return false;
    }
}

std::wstring PlainLine(const Item& item) {
    return item.ItemName + L"  (" + NumText(item.ItemCount + 1) + L"шт.)";
}

std::wstring WeaponLine(const Item& item) {
    return item.ItemName + L"[" + NumText(item.WeaponPlus) + L"," + NumText(item.DefendPlus) + L"] (" +
           NumText(item.Critical) + L"%)" + item.SkillPlus + L"  (" + NumText(item.ItemCount + 1) + L"шт.)";
}

void ClearPlayerCell() { SetTileUnderHero(L"G"); }

void PickUpItems() {
    auto& g = modVarsAndMain;
    // The floor items themselves say what lies here: a character that walked over the heap
    // has written over its mark, and a heap mark may stand over nothing at all.
    auto ground = FirstFloorItemUnderHero();
    g.CurTile = g.TheWorld->GetPosMap(g.PlayerX + 3, g.PlayerY + 3);
    if (!ground) {
        if (g.CurTile == kFloorHeap) ClearPlayerCell();
        Say(L"Здесь ничего не лежит...", L"");
        return;
    }
    std::shared_ptr<Item> match;
    for (const auto& carried : *g.Inventory) {
        if (Stacks(*carried, *ground)) match = carried;
    }
    if (match) {
        match->ItemCount += 1;
    } else {
        auto item = g.Inventory->Add();
        g.CurItem = item;
        CopyItem(*ground, *item);
    }
    g.TheWorld->mapItemCol->Remove(ground);
    if (FirstFloorItemUnderHero()) {
        SetTileUnderHero(kFloorHeap);
    } else {
        ClearPlayerCell();
    }
    g.Player->DoWeight();
    Say(L"Вы подняли: " + ground->ItemName, L"");
}

void LookAtFloor() {
    std::wstring text;
    for (const auto& item : *modVarsAndMain.TheWorld->mapItemCol) {
        if (!LiesUnderHero(*item)) continue;
        if (ListedWithBonuses(item->ItemType)) {
            text += item->ItemName + L"[" + NumText(item->WeaponPlus) + L"," + NumText(item->DefendPlus) + L"] (" +
                    NumText(item->Critical) + L"%)";
        } else {
            text += item->ItemName;
        }
        text += L"\r\n";
    }
    Say(text, L"");
}

void ShowInventory() {
    PickerContent content;
    std::vector<long> positions;
    long position = 0;
    for (const auto& item : *modVarsAndMain.Inventory) {
        ++position;
        // A nameless item has no row; the rows still lead to the items they show.
        if (item->ItemName.empty()) continue;
        content.rows.push_back(RowOf(*item, LineFor(*item, ListedWithBonuses(item->ItemType))));
        positions.push_back(position);
    }
    Pick(std::move(content), positions);
}

void DropItem() {
    auto& g = modVarsAndMain;
    g.PickedIndex = 0;
    ShowInventory();
    if (auto carried = g.Inventory->Item(g.PickedIndex)) {
        auto dropped = g.TheWorld->mapItemCol->Add();
        g.CurItem = dropped;
        CopyItem(*carried, *dropped);
        dropped->X = g.PlayerX;
        dropped->Y = g.PlayerY;
        // A floor that cannot be written keeps nothing: the thing stays with the hero.
        if (!g.TheWorld->SaveItems()) {
            g.TheWorld->mapItemCol->Remove(dropped);
            TellTrouble(L"Не удалось записать файл " + g.TheWorld->WorldName + L".itm. Вещь осталась у вас.");
            g.Player->CheckWeight();
            return;
        }
        if (carried->ItemCount == 0) {
            g.Inventory->Remove(carried);
        } else {
            carried->ItemCount -= 1;
        }
        SetTileUnderHero(kFloorHeap);
        g.Player->DoWeight();
    }
    g.Player->CheckWeight();
}

void UseItem() {
    auto& g = modVarsAndMain;
    g.PickedIndex = 0;
    ShowInventory();
    if (g.PickedIndex != 0) {
        if (auto item = g.Inventory->Item(g.PickedIndex)) item->DoAction();
        g.Player->DoWeight();
    }
    // Nothing used still costs a loaded hero his turn's burden, as nothing dropped does.
    g.Player->CheckWeight();
}

int ChooseItemOfKind(long kind) {
    PickerContent content;
    std::vector<long> positions;
    long position = 0;
    for (const auto& item : *modVarsAndMain.Inventory) {
        ++position;
        if (!item->ItemName.empty() && item->ItemType == kind) {
            content.rows.push_back(RowOf(*item, LineFor(*item, ListedWithBonuses(kind))));
            positions.push_back(position);
        } else {
            // Row numbers stay equal to inventory positions; this row picks nothing.
            content.rows.push_back({kPlaceholder, L"", L"", L""});
            positions.push_back(0);
        }
    }
    return static_cast<int>(Pick(std::move(content), positions));
}

int ChooseCarriedItem() {
    PickerContent content;
    std::vector<long> positions;
    long position = 0;
    for (const auto& item : *modVarsAndMain.Inventory) {
        content.rows.push_back(RowOf(*item, LineFor(*item, ListedWithBonuses(item->ItemType))));
        positions.push_back(++position);
    }
    return static_cast<int>(Pick(std::move(content), positions));
}

void ShowEquipForm() {
    auto& screen = modVarsAndMain.gameScreen.equip;
    REFRESHAtt();
    screen.visible = true;
    UI().ShowEquipment();
    screen.visible = false;
    REFRESHAtt();
}

std::shared_ptr<Item> NewCarried(const std::wstring& name, long kind, const std::wstring& info, double weight) {
    auto& g = modVarsAndMain;
    auto item = g.Inventory->Add();
    g.CurItem = item;
    item->ItemName = name;
    item->ItemType = kind;
    item->ItemInfo = info;
    item->itembalance = 0;
    item->Weight = weight;
    return item;
}

}  // namespace morvath
