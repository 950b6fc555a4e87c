// Carried, worn and floor items: the picker's lines, picking up, dropping, using, looking,
// putting on and taking off, and the items dropped from the weapon table and template files.
// Then the shipped content as a player meets it: every item the templates and the engine
// describe that is used or read does what it is for; every teacher's skill, spell and ware has
// its price, nothing goes for a coin less, and a skill or spell is sold only once; the food and
// death scripts do what they are for.
#include <map>
#include <set>

#include "game/items.h"
#include "game/worn_items.h"
#include "platform/textforms.h"
#include "screen_fixture.h"
#include "script/cscript.h"
#include "world/equipment.h"
#include "world/item_templates.h"

namespace morvath {
namespace {

// A carried or floor item's name, kind, count, attack, defence, critical and bonus code.
struct Thing { const wchar_t* name; long type; int count = 0, weapon = 0, defend = 0, critical = 0; const wchar_t* skill = L""; };

class Items : public ScreenTest {
protected:
    std::shared_ptr<Item> Add(ItemCol& col, const Thing& s, int x = 5) {
        auto it = col.Add();
        std::tie(it->ItemName, it->ItemType, it->ItemCount, it->WeaponPlus, it->DefendPlus, it->Critical, it->SkillPlus, it->Weight, it->X, it->Y) =
            std::tuple(s.name, s.type, s.count, s.weapon, s.defend, s.critical, s.skill, 0.1, x, 5);
        return it;
    }
    std::shared_ptr<Item> Carry(const Thing& s) { return Add(*g().Inventory, s); }
    std::shared_ptr<Item> Lay(const Thing& s, int x = 5) { return Add(*w().mapItemCol, s, x); }
    // The picker's lines, joined.
    std::wstring Rows() const {
        std::wstring r;
        for (const auto& row : ui.lastPicker.rows) r += row.line + L"/";
        return r;
    }
    std::wstring Said() { return g().screen.txtSpeech; }
};

// An item's values, in the order of a template record, then its count and balance.
std::wstring Fields(const Item& i) {
    std::wstring t = i.ItemName + L"|" + NumText(i.ItemType) + L"|" + i.ItemInfo + L"|" + i.ItemScript;
    for (double v : {double(i.WeaponPlus), double(i.DefendPlus), double(i.Critical)}) t += L"|" + NumText(v);
    return t + L"|" + i.SkillPlus + L"|" + NumText(i.Weight) + L"|" + NumText(i.ItemCount) + L"|" + NumText(i.itembalance);
}

// The floor items' values, then where each lies.
std::wstring FloorItems() {
    std::wstring t;
    for (const auto& i : *modVarsAndMain.TheWorld->mapItemCol) t += Fields(*i) + L"|" + NumText(i->X) + L"," + NumText(i->Y) + L" ";
    return t;
}

TEST_F(Items, PickerLinesAndTheRowsTheyLeadTo) {
    for (const Thing& s : {Thing{L"Еда", kFood, 1}, Thing{L"Кинжал", kWeapon, 0, 5, 0, 70}, Thing{L"Щит", kShield, 2, 0, 3, 0, L"St+2"},
                          Thing{L"Сапоги", kLegs}, Thing{L"Рубаха", kBody}, Thing{L"Шлем", kHead, 0, 1, 2, 3},
                          Thing{L"Амулет", kNeck, 0, 1, 2, 3, L"Wi+6"}, Thing{L"", kBody}}) {
        Carry(s);
    }
    g().Money = 100;
    ui.pickAnswers = {9, 1, 5, 6};
    const int picked = ChooseCarriedItem();
    EXPECT_EQ(std::tuple(picked, Rows(), ui.lastPicker.caption, ui.lastPicker.money, ui.lastPicker.rows[1].weight),
              std::tuple(0, L"Еда  (2шт.)/Кинжал[5,0] (70%)  (1шт.)/Щит[0,3] (0%)St+2  (3шт.)/Сапоги[0,0] (0%)  (1шт.)/Рубаха[0,0] (0%)  (1шт.)/"
                            L"Шлем[1,2] (3%)  (1шт.)/Амулет  (1шт.)/[0,0] (0%)  (1шт.)/",
                         L"Инвентарь...", L"Монет:100", L"Вес: 0.1"));
    // Of a kind: placeholders keep rows on inventory positions and pick nothing.
    const int none = ChooseItemOfKind(kBody), shirt = ChooseItemOfKind(kBody);
    EXPECT_EQ(std::tuple(none, shirt, Rows()), std::tuple(0, 5, L".../.../.../.../Рубаха[0,0] (0%)  (1шт.)/.../.../.../"));
    // The inventory leaves nameless items out and still leads each row to its item.
    g().Inventory->Item(1)->ItemName.clear();
    ShowInventory();
    EXPECT_EQ(std::tuple(ui.lastPicker.rows.size(), int(g().PickedIndex)), std::tuple(6u, 7));
}

TEST_F(Items, PickingUpStacksOntoTheLastEqualCarriedItemAndLookingLists) {
    auto first = Carry({L"Стрела", kArrows, 0, 1, 0, 5});
    auto last = Carry({L"Стрела", kArrows, 0, 1, 0, 5});
    Lay({L"Стрела", kArrows, 0, 1, 0, 5});
    Lay({L"Стрела", kFood, 0, 1, 0, 5})->ItemInfo = L"другое";  // kind and text do not count
    Lay({L"Стрела", kWeapon, 0, 1, 0, 6, L"Dx+1"});             // the critical value does
    Lay({L"Щит", kShield}, 6);                                   // another square
    Key('L');  // a turn spent looking
    EXPECT_EQ(std::pair(Said(), int(w().Turn)), std::pair(std::wstring(L"Стрела\r\nСтрела\r\nСтрела[1,0] (6%)\r\n\r\n\r\n[пробел]"), 1));
    Put(5, 5, L"G");  // a character walked over the heap: the items still lie there
    Key(kVkComma);
    EXPECT_EQ(std::tuple(Said(), first->ItemCount, last->ItemCount, At(5, 5)), std::tuple(L"Вы подняли: Стрела\r\n\r\n[пробел]", 0, 1, L"9"));
    Key(kVkSemicolon);
    Key(kVkComma);
    // The item picked up is the one scripts work on.
    EXPECT_EQ(std::tuple(last->ItemCount, g().Inventory->Count(), At(5, 5), Fields(*g().Inventory->Item(3)), g().CurItem == g().Inventory->Item(3),
                         std::lround(h().Weight * 10)),
              std::tuple(2, 3L, L"G", L"Стрела|1|||1|0|6|Dx+1|0.1|0|0", true, 5));
    Put(5, 5, L"9");  // a heap mark over nothing
    Key(kVkComma);
    EXPECT_EQ(std::tuple(Said(), At(5, 5)), std::tuple(L"Здесь ничего не лежит...\r\n\r\n[пробел]", L"G"));
}

TEST_F(Items, DroppingLeavesOnePieceOnTheFloorAndWritesTheItems) {
    auto arrows = Carry({L"Стрела", kArrows, 2, 1, 3, 5, L"Lu+1"});
    arrows->ItemScript = L"a.itm";
    ui.pickAnswers = {1, 0, 1, 1, 1};
    Key('D');
    EXPECT_EQ(std::tuple(FloorItems(), arrows->ItemCount, At(5, 5), fs::exists(World::SavedFile(L"town", L".itm")), std::lround(h().Weight * 10)),
              std::tuple(L"Стрела|21||a.itm|1|3|5|Lu+1|0.1|0|0|5,5 ", 1, L"9", true, 2));
    for (int i = 0; i < 3; ++i) Key('D');  // nothing picked, then the two pieces left
    EXPECT_EQ(std::tuple(g().Inventory->Count(), w().mapItemCol->Count()), std::tuple(0L, 3L));
    w().WorldName = L"wild";
    Carry({L"Еда", kFood});
    Key('D');
    EXPECT_EQ(std::tuple(g().screen.lblII, g().Inventory->Count()), std::tuple(L"Не на карте...", 1L));
}

TEST_F(Items, UsingAndEatingRunTheItemsScriptOnThatItem) {
    WriteText(L"scripts/food.itm", L"plusvar(\"hungry\";\"-100\")\r\ntake(\"Хлеб\")\r\nremove()\r\n");
    Carry({L"Хлеб", kFood});
    auto food = Carry({L"Еда", kFood, 1});
    food->ItemScript = L"food.itm";
    ui.pickAnswers = {2, 0, 1};
    const int turn = w().Turn;
    Key('U');
    // The script took the bread first: the piece eaten is still the food's.
    EXPECT_EQ(std::tuple(g().Inventory->Count(), food->ItemCount, int(w().Turn)), std::tuple(1L, 0, turn + 1));
    Key('E');  // nothing eaten: no turn
    Key('E');
    EXPECT_EQ(std::tuple(g().Inventory->Count(), int(h().Hungry), int(w().Turn)), std::tuple(0L, 300, turn + 2));
    // Nothing picked: using, as dropping, still weighs the load.
    std::tie(h().Weight, g().screen.lblII, ui.pickAnswers) = std::tuple(60, L"", std::deque<int>{0, 0});
    UseItem();
    DropItem();
    EXPECT_EQ(g().screen.lblII, L" Перегружен Перегружен");
}

TEST_F(Items, BonusCodesApplyWhileWornAndCancelWhenTakenOff) {
    // Strength, luck, will, magic, appearance, dexterity.
    auto values = [&] { return std::array{h().Strenght, double(h().Luck), h().WillPower, h().Magic, h().Appearance, h().Mobility}; };
    const std::pair<const wchar_t*, std::array<double, 6>> cases[] = {
        {L"Lu+3", {0, 3}},       {L"St-5", {-5}},           {L"Ch+2", {0, 0, 0, 0, 2}},    {L"Ap+2", {0, 0, 0, 0, 2}},
        {L"Wi-10", {0, 0, -10}}, {L"Ma+15", {0, 0, 0, 15}}, {L"Dx+1", {0, 0, 0, 0, 0, 1}}, {L"St+123", {23}},
        {L"Xx+5", {}},           {L"St*5", {}},             {L"st+5", {}},                 {L"", {}}, {L"St", {}},
    };
    h().Strenght = 10;
    for (const auto& [code, change] : cases) {
        const auto before = values();
        Carry({L"Кольцо", kNeck, 0, 0, 0, 0, code});
        ChangeItem(kSlotNeck, 1);
        auto worn = values();
        for (std::size_t i = 0; i < 6; ++i) worn[i] -= change[i];
        RemItem(kSlotNeck);
        EXPECT_EQ(std::tuple(worn, values()), std::tuple(before, before)) << ToUtf8(code);
        g().Inventory->Clear();
    }
}

TEST_F(Items, OnePieceOfAStackGoesOnAndComesBackWholeAndTheHandGivesTheBlow) {
    auto sword = Carry({L"Меч", kWeapon, 2, 5, 3, 30, L"Dx+1"});
    std::tie(sword->ItemInfo, sword->itembalance, sword->ItemScript, sword->Weight) = std::tuple(L"сталь", -1, L"b.itm", 4);
    for (int none : {-1, 6}) {  // no such slot: nothing moves
        ChangeItem(none, 1);
        RemItem(none);
    }
    auto blow = [&] { return std::tuple(h().Weapon, h().Defence, h().Critical, g().gameScreen.equip.captions[kSlotRightHand]); };
    ui.pickAnswers = {1};
    ToggleSlot(kSlotRightHand);
    EXPECT_EQ(std::tuple(blow(), Fields(*sword), h().Weight), std::tuple(std::tuple(6.0, 1.5, 0.5, L"Правая рука[C]:Меч[5,3]"), L"Меч|1|сталь|b.itm|5|3|30|Dx+1|4|1|-1", 12.0));  // two pieces carried, one worn
    ToggleSlot(kSlotRightHand);
    ASSERT_EQ(g().Inventory->Count(), 2);
    EXPECT_EQ(std::tuple(blow(), Fields(*g().Inventory->Item(2)), g().Equip[kSlotRightHand]),
              std::tuple(std::tuple(1.0, 0.0, 0.0, L"Правая рука[C]:[0,0]"), L"Меч|1|сталь|b.itm|5|3|30|Dx+1|4|0|-1",
                         std::array<Variant, 10>{L"", 0, L"", 0, L"", 0, 0, 0, 0, L""}));
}

TEST_F(Items, HeadItemsRunTheirScriptOnAndOffOthersNever) {
    WriteText(L"scripts/helm.itm", L"var w\r\nw ~ getvar(\"wear\")\r\nsetq(w;\"1\")\r\ntake(\"Хлеб\")\r\n");
    Carry({L"Хлеб", kFood});
    auto helm = Carry({L"Шлем", kHead});
    auto amulet = Carry({L"Амулет", kNeck});
    helm->ItemScript = amulet->ItemScript = L"helm.itm";
    ChangeItem(kSlotHead, 2);
    // The script took the bread before the helmet left the pack: the amulet stays.
    EXPECT_EQ(std::tuple(int(g().QuestFlags[1]), int(g().WearMode), g().Inventory->Count(), g().Inventory->Item(1)), std::tuple(1, 0, 1L, amulet));
    RemItem(kSlotHead);  // the item back in the pack is the one its script works on
    EXPECT_EQ(std::tuple(int(g().QuestFlags[2]), int(g().WearMode), g().CurItem == g().Inventory->Item(2)), std::tuple(1, 2, true));
    g().QuestFlags = {};
    ChangeItem(kSlotNeck, 1);
    RemItem(kSlotNeck);
    helm->ItemScript = L"missing.itm";
    g().Inventory->Append(helm);
    ChangeItem(kSlotHead, g().Inventory->Count());
    EXPECT_EQ(std::tuple(g().QuestFlags, g().Equip[kSlotHead][kEqName]), std::tuple(std::array<Integer, 50>{}, Variant(L"Шлем")));
}

TEST_F(Items, TheScreenTakesKeysAndACancelledChoiceChangesNothing) {
    Carry({L"Рубаха", kBody});
    ui.equipmentVisit = [&] {
        ui.pickAnswers = {0, 1};
        EXPECT_FALSE(EquipScreenKey('E'));
        EXPECT_EQ(std::tuple(g().gameScreen.equip.captions[kSlotBody], g().Inventory->Count()), std::tuple(L"Тело[E]:[,]", 1L));
        for (int key : {'E', '@', 'A', 'F', 'G'}) EquipScreenKey(key);  // A..F choose, the keys beside them do not
        EXPECT_EQ(std::tuple(ui.Count(L"Pick|"), EquipScreenKey(kVkEscape)), std::tuple(4, true));
    };
    const int turn = w().Turn;
    Key('I');
    EXPECT_EQ(std::tuple(g().gameScreen.equip.captions[kSlotBody], g().gameScreen.equip.captions[kSlotHead], g().gameScreen.equip.visible, int(w().Turn)),
              std::tuple(L"Тело[E]:Рубаха[0,0]", L"Голова[A]:[,]", false, turn));
    std::tie(h().Science, h().Magic, h().Profession, g().gameScreen.equip.visible) = std::tuple(100, 50, kMonk, true);
    CloseEquipScreenWithMagic();
    EXPECT_EQ(std::tuple(h().MConst, g().gameScreen.equip.visible), std::tuple(4.0, false));
    h().Profession = kPrince;
    CloseEquipScreenWithMagic();
    EXPECT_EQ(h().MConst, 2.0);
}

TEST_F(Items, ScriptsDropWeaponsThatKeepTheLastBonusesOfTheCallAndTemplateItemsAtTheSpeakersFeet) {
    auto row = [&](std::size_t r, const wchar_t* name, int type, int attack, int defence) {
        g().WeaponsTable[r] = {Variant(name), Variant(attack), Variant(defence), Variant(30), Variant(2.5), Variant(L"St+1"), Variant(type), Variant(L"о")};
    };
    row(0, L"Меч", kWeapon, 10, 0);
    row(1, L"Щит", kShield, 0, 20);
    row(39, L"Кирка", 9, 0, 0);
    row(40, L"Молот", 9, 0, 0);  // never drawn
    WriteText(L"maps/t.dat", L"0\r\n\"Зелье\",6,\"\",\"\",0,0,0,\"\",0.3\r\n");
    auto npc = g().NPCs->Add();
    std::tie(npc->X, npc->Y) = std::tuple(7, 9);
    for (int speaker : {0, 1}) {  // nobody speaking: nothing falls
        g().ScriptNPCIndex = speaker;
        // Four weapon tries: the sword, the shield, an empty row, the last row; then the template's one record.
        PinnedDraws draws{0.99, 0.001, 0.99, 1.5 / 40, 0.5, 2.5 / 40, 0.999, 0.7};
        Cscript s;
        s.Script = L"genweap()\r\ngenitem(\"t.dat\")\r\n";
        s.ScriptExecute();
    }
    EXPECT_EQ(std::tuple(At(7, 9), FloorItems()), std::tuple(L"9", L"Меч|1|о||12|0|30|St+1|2.5|0|0|7,9 Щит|2|о||2|21|30|St+1|2.5|0|0|7,9 "
                                                                 L"Кирка|9|о||2|1|30|St+1|2.5|0|0|7,9 Зелье|6|||0|0|0||0.3|0|0|7,9 "));
}

TEST_F(Items, EachTemplateRecordFallsWithOneChanceInKPlusThree) {
    const std::wstring record = L"\"Зелье\",6,\"Пахнет мёдом\",\"mdrink.itm\",1,2,3,\"Ma+2\",0.3\r\n";  // 56 bytes
    WriteText(L"maps/t.dat", L"\"заголовок\"\r\n" + record + L"\"Мёд\",4,\"\",\"\",0,0,0,\"\",1\r\n");  // 95 bytes: k = 1
    {
        PinnedDraws draws{0.74, 0.76};
        LoadMapItemFile(L"t.dat", 3, 4);
    }
    EXPECT_EQ(FloorItems(), L"Зелье|6|Пахнет мёдом|mdrink.itm|1|2|3|Ma+2|0.3|0|0|3,4 ");
    w().mapItemCol->Clear();
    // A broken record ends the draw; a name that is no plain file name, or no file, gives
    // nothing, whatever the draws.
    WriteText(L"maps/bad.dat", L"0\r\n\"a\",x,\"b\",\"\",1,2,3,\"\",1\r\n" + record);
    WriteText(L"t.dat", L"0\r\n" + record);
    for (const wchar_t* file : {L"bad.dat", L"..\\t.dat", L"none.dat"}) {
        PinnedDraws draws{0.7, 0.7};
        LoadMapItemFile(file, 3, 4);
    }
    EXPECT_EQ(FloorItems(), L"");
}

// The hero's values an item may change, by name, and the pieces carried.
std::vector<std::pair<std::wstring, std::wstring>> State() {
    const auto& g = modVarsAndMain;
    const auto& p = *g.Player;
    std::vector<std::pair<std::wstring, std::wstring>> v{{L"said", g.screen.txtSpeech + g.screen.lblII}, {L"dark", g.Darkness ? L"1" : L"0"}};
    const std::pair<const wchar_t*, double> values[] = {{L"hungry", p.Hungry}, {L"hp", p.HP}, {L"poison", p.Poison}, {L"sick", p.Sick}, {L"strength", p.Strenght},
                                                        {L"mana", p.Mana}, {L"luck", p.Luck}, {L"doom", p.Doom}};
    for (const auto& [name, value] : values) v.emplace_back(name, NumText(value));
    long pieces = 0;
    for (const auto& it : *g.Inventory) pieces += it->ItemCount + 1;
    v.emplace_back(L"pieces", NumText(pieces));
    return v;
}

// Uses one carried item in the shipped game folder, on a hungry, wounded, poisoned and sick
// hero in the dark (books are read in the light): what changed, each value as it became
// ("said" for any text).
std::wstring TryItem(const Item& item) {
    ResetGame();
    modVarsAndMain.CreateRoots();
    auto& hero = *modVarsAndMain.Player;
    std::tie(hero.Hungry, hero.HP, hero.MaxHp, hero.Poison, hero.Sick, hero.Strenght) = std::tuple(2000, 5, 30, 8, 3, 1);
    modVarsAndMain.Skills[3][0] = L"Литература";
    modVarsAndMain.Darkness = item.ItemType != kBook && item.ItemType != kWriting;
    *modVarsAndMain.Inventory->Add() = item;
    const auto before = State();
    PinnedDraws draw{0.9};  // unknown berries: the good third
    modVarsAndMain.Inventory->Item(1)->DoAction();
    const auto after = State();
    std::wstring changed;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) changed += after[i].first + (i == 0 ? L"" : L"=" + after[i].second) + L" ";
    }
    return changed;
}

struct Shipped : ::testing::Test {
    fs::path previous = GameFolder();
    ScriptedFrontend ui;
    void SetUp() override { SetGameFolder(MORVATH_GAME_DIR); }
    void TearDown() override { SetGameFolder(previous); }
};

TEST_F(Shipped, EveryTemplateItemAndEveryScriptTheEngineNamesDoesWhatItsKindSays) {
    // By script: what it changes. Food and drink are used up, books and letters are read and kept.
    const std::map<std::wstring, std::wstring> effects = {
        {L"food.itm", L"said hungry=1000 pieces=0 "},            {L"yagoda.itm", L"said hungry=1940 hp=6 pieces=0 "},
        {L"unkya.itm", L"said hungry=1960 pieces=0 "},           {L"wolfya.itm", L"said hp=3 poison=16 pieces=0 "},
        {L"stdust.itm", L"said strength=2 pieces=0 "},           {L"hudust.itm", L"said hungry=1500 pieces=0 "},
        {L"ledust.itm", L"said poison=0 sick=0 pieces=0 "},      {L"hpdust.itm", L"said hp=15 pieces=0 "},
        {L"mdrink.itm", L"said mana=20 pieces=0 "},              {L"stdrink.itm", L"said hungry=2100 strength=3 pieces=0 "},
        {L"ydbraga.itm", L"said poison=18 pieces=0 "},           {L"sbraga.itm", L"said hungry=1200 pieces=0 "},
        {L"ogvoda.itm", L"said hp=2 strength=2 pieces=0 "},      {L"zbraga.itm", L"said hungry=1950 luck=1 pieces=0 "},
        {L"bluefish.itm", L"said "},  {L"fakel.itm", L"said dark=0 "},  {L"psalom.itm", L"said doom=-0.2 "},
        {L"gramota.itm", L"said "},   {L"letopis.itm", L"said "},
    };
    std::set<std::wstring> tried;
    int records = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(MORVATH_GAME_DIR) / "maps")) {
        const auto name = entry.path().filename().string();
        // The dungeons' monster templates (".mon") are checked with the dungeons.
        if (name == "weapons.dat" || name == "data.uni" || entry.path().extension() == ".mon") continue;
        auto reader = TextReader::Open(entry.path());
        std::wstring header;
        ASSERT_TRUE(reader && reader->ReadItem(header));
        while (!reader->AtEnd()) {
            Item it;
            double type = 0, attack = 0, defence = 0, critical = 0;
            ASSERT_TRUE(reader->ReadText(it.ItemName) && reader->ReadNumber(type) && reader->ReadText(it.ItemInfo) &&
                        reader->ReadText(it.ItemScript) && reader->ReadNumber(attack) && reader->ReadNumber(defence) &&
                        reader->ReadNumber(critical) && reader->ReadText(it.SkillPlus) && reader->ReadNumber(it.Weight))
                << name << " record " << records;
            ++records;
            it.ItemType = type;
            // What is worn is worn: only what is used must do something.
            if (ListedWithBonuses(it.ItemType) || it.ItemType == kNeck) continue;
            EXPECT_EQ(TryItem(it), effects.contains(it.ItemScript) ? effects.at(it.ItemScript) : L"?") << name << " " << ToUtf8(it.ItemName);
            tried.insert(it.ItemScript);
        }
    }
    for (const auto& [file, effect] : effects) {
        if (tried.contains(file)) continue;
        Item it;
        std::tie(it.ItemName, it.ItemType, it.ItemScript) = std::tuple(L"x", kFood, file);
        EXPECT_EQ(TryItem(it), effect) << ToUtf8(file);
    }
    EXPECT_GT(records, 20);
}

TEST_F(Shipped, EveryTeachersSkillSpellAndWareForItsPrice) {
    // What was got: the first skill, the spells, the first carried item (name, kind, pieces).
    const struct { const wchar_t* script; std::deque<int> choices; long price; const wchar_t* got; } cases[] = {
        {L"huntsman.tai", {0, 0}, 40, L"Стрелять из лука||"}, {L"huntsman.tai", {0, 1}, 15, L"Ловить рыбу||"},
        {L"huntsman.tai", {0, 2}, 10, L"Разжигать костер||"}, {L"hammerman.tai", {0}, 50, L"Кузнечное дело||"},
        {L"healer_monk.tai", {0}, 30, L"Врачевание||"},       {L"healer_monk.tai", {1}, 25, L"Заговаривать болезнь||"},
        {L"healer_monk.tai", {2}, 60, L"Освятить вещь||"},    {L"cook.tai", {0}, 15, L"Готовить||"},
        {L"thief.tai", {0}, 40, L"Воровство||"},              {L"herbalist.tai", {0}, 30, L"Знание трав||"},
        {L"alchemist.tai", {0}, 60, L"Алхимия||"},            {L"wisewoman.tai", {0}, 20, L"|cut|"},
        {L"wisewoman.tai", {1}, 80, L"|lightning|"},          {L"huntsman.tai", {1, 0}, 40, L"||Лук,20,1"},
        {L"huntsman.tai", {1, 1}, 10, L"||Стрелы,21,10"},     {L"huntsman.tai", {1, 2, 0}, 10, L"||Удочка,1,1"},
        {L"huntsman.tai", {1, 2, 1}, 2, L"||Хворост,5,1"},    {L"hammerman.tai", {1, 0}, 8, L"||Железная руда,11,1"},
        {L"hammerman.tai", {1, 1}, 20, L"||Слиток железа,11,1"}, {L"cook.tai", {1}, 3, L"||Сырое мясо.,4,1"},
        {L"alchemist.tai", {1, 1}, 10, L"||Чаша 'Огненной Воды',6,1"}, {L"alchemist.tai", {1, 2, 1}, 6, L"||Чаша Браги Сытости,6,1"},
    };
    auto& g = modVarsAndMain;
    for (const auto& c : cases) {
        ResetGame();
        g.CreateRoots();
        auto buy = [&](long money) {
            g.NPCs->Clear();
            g.NPCs->Add()->AIScript_File = c.script;
            std::tie(g.Money, g.ScriptNPCIndex, ui.choiceAnswers) = std::tuple(money, 1, c.choices);
            g.NPCs->Item(1)->ExecTalkAIScript();
            std::wstring got = g.Skills[0][0].ToText() + L"|" + (g.CutSpellKnown ? L"cut" : L"") + (g.LightningKnown ? L"lightning" : L"") + L"|";
            if (auto item = g.Inventory->Item(1)) got += item->ItemName + L"," + NumText(item->ItemType) + L"," + NumText(item->ItemCount + 1);
            return std::tuple(got, static_cast<long>(g.Money));
        };
        EXPECT_EQ(buy(c.price - 1), std::tuple(L"||", c.price - 1)) << c.script;
        EXPECT_EQ(buy(c.price + 5), std::tuple(c.got, 5L));
        if (!std::wstring(c.got).starts_with(L"||")) { EXPECT_EQ(buy(c.price + 5), std::tuple(c.got, c.price + 5)); }  // only once
    }
}

// Lower is fuller; nothing below -60 fits, and the hero is told so. A meal is worth up to a
// thousand; one of the two pieces is eaten.
TEST_F(Shipped, FoodFeedsAHungryHeroAsFarAsHeHasRoom) {
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
}

// The creatures of the dark give their life to a warlock who kills them, beyond his full
// health too; to anyone else, nothing.
TEST_F(Shipped, TheCavesBeastsGiveTheirLifeToTheWarlockAlone) {
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
}

}  // namespace
}  // namespace morvath
