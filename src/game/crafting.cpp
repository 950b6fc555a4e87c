// The crafting skills: herb lore, alchemy, smithing at the anvil, cooking.
#include <vector>

#include "game/items.h"
#include "game/skill_rules.h"
#include "game/skills.h"
#include "platform/cp1251.h"
#include "platform/random.h"
#include "world/game_state.h"
#include "world/speech.h"

namespace morvath {
namespace {

MainCharacter& Hero() { return *modVarsAndMain.Player; }

struct Recipe {
    const wchar_t* first;
    const wchar_t* second;
    const wchar_t* name;
    const wchar_t* script;
};

const Recipe kPowders[] = {
    {L"Брусника", L"Земляника", L"Порошок силы", L"stdust.itm"},
    {L"Черника", L"Земляника", L"Питательный порошок", L"hudust.itm"},
    {L"Бузина", L"Волчья ягода", L"Лекарство", L"ledust.itm"},
    {L"Клюква", L"Волчья ягода", L"Порошок здоровья", L"hpdust.itm"},
};
const Recipe kDrinks[] = {
    {L"Чаша Зелёной Браги", L"Чаша 'Огненной Воды'", L"Напиток мудрости", L"mdrink.itm"},
    {L"Чаша Ядовитой Браги", L"Чаша Браги Сытости", L"Напиток силы", L"stdrink.itm"},
};

struct Mixing {
    long kind;
    const wchar_t* sameItem;   // both picks are one item
    bool checkKinds;           // both picks must still be of the kind
    const wchar_t* info;
    double weight;
    const wchar_t* unknown;    // the name when no recipe fits
    const Recipe* recipes;
    std::size_t recipeCount;
};

// Two picked items of one kind become one new item; a known pair makes something useful.
bool Mix(const Mixing& m) {
    auto& inventory = *modVarsAndMain.Inventory;
    const int a = ChooseItemOfKind(m.kind);
    if (a == 0) return false;
    const int b = ChooseItemOfKind(m.kind);
    if (b == 0) return false;
    if (a == b) {
        Say(m.sameItem, L"");
        return false;
    }
    auto first = inventory.Item(a);
    auto second = inventory.Item(b);
    if (!first || !second) return false;
    if (m.checkKinds && (first->ItemType != m.kind || second->ItemType != m.kind)) {
        Say(L"Смешать невозможно", L"");
        return false;
    }
    auto made = AddCarried(L"", m.info, m.kind == kBerry ? kPowder : kDrink, m.weight, L"unkya.itm");
    UseUpOnePiece(first);
    UseUpOnePiece(second);
    for (std::size_t i = 0; i < m.recipeCount; ++i) {
        const Recipe& r = m.recipes[i];
        if ((first->ItemName == r.first && second->ItemName == r.second) ||
            (first->ItemName == r.second && second->ItemName == r.first)) {
            made->ItemName = r.name;
            made->ItemScript = r.script;
            return false;
        }
    }
    made->ItemName = m.unknown;
    return true;
}

const wchar_t* const kForgeLines[] = {L"Сковать Меч",    L"Сковать Щит",   L"Сковать Кольчугу", L"Сковать Шлем",
                                      L"Доковать Меч",   L"Доковать Щит",  L"Ничего не Надо"};

// A forged piece: the quality q is the draw plus half the hero's luck.
struct Forged {
    int draws;
    const wchar_t* name;
    const wchar_t* info;
    long kind;
    double weightBase;  // the weight is q/2 plus this; the sword weighs 2.5 whatever q
};
const Forged kForged[] = {
    {4, L"Стальной меч", L"Меч", kWeapon, 2.5},
    {10, L"Стальной Щит", L"Щит", kShield, 4.5},
    {10, L"Железная Кольчуга", L"Кольчуга", kBody, 3.5},
    {5, L"Стальной Шлем", L"Шлем", kHead, 0.5},
};

// Adds the hammered ingot's worth to a weapon or shield of the player's choice.
bool ImproveWith(const std::shared_ptr<Item>& ingot, long kind) {
    auto target = modVarsAndMain.Inventory->Item(ChooseItemOfKind(kind));
    if (!target) return false;
    if (kind == kShield && target->ItemName.substr(0, 5) == L"дерев") {
        Say(L"Доковать невозможно!", L"");
        return false;
    }
    const double d = Int(2 * Rnd() + Hero().Strenght / 2);
    if (kind == kWeapon) {
        target->WeaponPlus = target->WeaponPlus + d;
    } else {
        target->DefendPlus = target->DefendPlus + d;
    }
    target->Weight += 0.4;
    UseUpOnePiece(ingot);
    return true;
}

}  // namespace

bool HerbLore() {
    static const Mixing kHerbs{kBerry, L"Нельзя смешать ягоду саму с себя", true, L"Порошок", 0.02, L"Мешанина",
                               kPowders, std::size(kPowders)};
    return Mix(kHerbs);
}

bool Alchemy() {
    static const Mixing kAlchemy{kDrink, L"Нельзя смешать зелье само с собою..", false, L"Напиток.", 0.9,
                                 L"Непонятная жидкость.", kDrinks, std::size(kDrinks)};
    return Mix(kAlchemy);
}

bool Smithing() {
    auto& g = modVarsAndMain;
    if (g.Equip[kSlotRightHand][kEqName].ToText() != L"Молот" && g.Equip[kSlotLeftHand][kEqName].ToText() != L"Молот") {
        Say(L"Вам нечем ковать!Возьмите Молот в руку!", L"");
        return false;
    }
    if (GetFacingTile() != L"&") {
        Say(L"Вам не на чем ковать!", L"");
        return false;
    }
    auto metal = g.Inventory->Item(ChooseItemOfKind(kOre));
    if (!metal) return false;
    if (metal->ItemName == L"Железная руда") {
        AddCarried(L"Слиток железа", L"Железо", kOre, 4.0, L"");
        UseUpOnePiece(metal);
        return true;
    }
    Randomize();
    if (metal->ItemName != L"Слиток железа") return true;
    // The forge's choices take the skill list's place until one is confirmed or Esc closes
    // them; the game's keys wait meanwhile.
    g.ForgeChoice = true;
    g.ForgeIngot = metal;
    auto& list = g.gameScreen.skills;
    list.lines.assign(std::begin(kForgeLines), std::end(kForgeLines));
    list.rows.clear();
    list.ListIndex = -1;
    list.visible = true;
    ++list.focusSerial;
    return false;
}

void ForgeChosen(int line) {
    auto& g = modVarsAndMain;
    g.ForgeChoice = false;
    g.gameScreen.skills.visible = false;
    auto ingot = g.ForgeIngot;
    g.ForgeIngot.reset();
    if (!g.Player || !ingot || !g.Inventory->Contains(ingot)) return;
    if (line >= 0 && line < 4) {
        const Forged& f = kForged[line];
        const double q = Int(Rnd() * f.draws) + 1 + Hero().Luck / 2.0;
        auto item = AddCarried(f.name, f.info, f.kind, f.kind == kWeapon ? f.weightBase : q / 2 + f.weightBase, L"");
        if (f.kind == kWeapon) {
            item->WeaponPlus = q;
            item->Critical = Int(Rnd() * 30) + 60;
        } else {
            item->DefendPlus = q;
        }
        UseUpOnePiece(ingot);
    } else if ((line == 4 || line == 5) && !ImproveWith(ingot, line == 4 ? kWeapon : kShield)) {
        return;
    }
    g.Player->DoWeight();
}

void AddMeat() {
    const std::wstring tile = GetFacingTile();
    const bool roasted = tile == L"•" || tile == L"}";
    AddCarried(roasted ? L"Жареное мясо." : L"Сырое мясо.", roasted ? L"Жареная вырезка." : L"Нарубленая сырая вырезка.",
               kFood, 2.0, L"food.itm");
}

bool Cooking(int row) {
    auto& g = modVarsAndMain;
    auto food = g.Inventory->Item(ChooseItemOfKind(kFood));
    if (!food) return false;
    const std::wstring name = food->ItemName;
    Variant& learned = g.Skills[static_cast<std::size_t>(row)][2];
    if (LowerText(learned.ToText()).find(LowerText(name)) != std::wstring::npos) {
        AddMeat();
        Say(L"Приготовлено!", L"");
        UseUpOnePiece(food);
    } else if (name.find(L"мясо") != std::wstring::npos || LowerText(name).find(L"труп") != std::wstring::npos) {
        // What was tried once is known from then on, whether this first try works or not.
        learned = Variant(learned.ToText() + L" " + name);
        if (Int(Rnd() * 4) + Hero().Luck >= 4) {
            AddMeat();
            Say(L"Пробуем приготовить... Получилось!", L"");
        } else {
            Say(L"Пробуем приготовить... Ничего не получилось...", L"");
        }
        UseUpOnePiece(food);
    } else {
        Say(L"Невозможно приготовить", L"");
    }
    return true;
}

}  // namespace morvath
