// Weapons dropped from the weapon table and items fallen from template files.
#include <gtest/gtest.h>

#include <set>

#include "screen_fixture.h"
#include "script/cscript.h"
#include "world/item_templates.h"

namespace morvath {
namespace {

using ItemTemplates = ScreenTest;

// A floor item's values, in the order of a template record, then where it lies.
std::wstring Fields(const Item& i) {
    std::wstring t = i.ItemName + L"|" + NumText(i.ItemType) + L"|" + i.ItemInfo + L"|" + i.ItemScript;
    for (double v : {double(i.WeaponPlus), double(i.DefendPlus), double(i.Critical)}) t += L"|" + NumText(v);
    return t + L"|" + i.SkillPlus + L"|" + NumText(i.Weight) + L"|" + NumText(i.X) + L"," + NumText(i.Y);
}

TEST_F(ItemTemplates, DroppedWeaponsKeepTheLastBonusesOfTheCall) {
    // Rows 0..39 alternate swords (attack 10) and shields (defence 20); row 40 is never drawn.
    for (std::size_t r = 0; r <= 40; ++r) {
        const bool shield = r % 2;
        g().WeaponsTable[r] = {Variant(r == 40 ? L"Кирка" : shield ? L"Щит" : L"Меч"), Variant(shield ? 0 : 10), Variant(shield ? 20 : 0),
                               Variant(30), Variant(2.5), Variant(L"St+1"), Variant(shield ? 2 : 1), Variant(L"о")};
    }
    std::array<int, 5> counts{};
    std::set<int> bonuses;  // attack bonuses drawn for swords, defence bonuses + 10 for shields
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        SeedRandom(seed);
        w().mapItemCol->Clear();
        DropRandomWeapons(7, 9);
        ASSERT_LE(w().mapItemCol->Count(), 4);
        ++counts[static_cast<std::size_t>(w().mapItemCol->Count())];
        int attack = 0, defence = 0;
        for (const auto& it : *w().mapItemCol) {
            const bool sword = it->ItemType == kWeapon;
            (sword ? attack : defence) = sword ? it->WeaponPlus - 10 : it->DefendPlus - 20;
            bonuses.insert(sword ? attack : defence + 10);
            EXPECT_EQ(Fields(*it), std::wstring(sword ? L"Меч|1|о||" : L"Щит|2|о||") + NumText((sword ? 10 : 0) + attack) + L"|" +
                                       NumText((sword ? 0 : 20) + defence) + L"|30|St+1|2.5|7,9");
        }
    }
    for (int n : counts) EXPECT_GT(n, 0);
    EXPECT_EQ(bonuses, (std::set<int>{0, 1, 2, 10, 11, 12}));
    for (std::size_t r = 0; r < 40; ++r) g().WeaponsTable[r] = {};
    w().mapItemCol->Clear();
    for (int i = 0; i < 10; ++i) DropRandomWeapons(7, 9);
    EXPECT_EQ(std::tuple(w().mapItemCol->Count(), At(7, 9)), std::tuple(0L, std::wstring(L"G")));
}

TEST_F(ItemTemplates, EachTemplateRecordFallsWithOneChanceInKPlusThree) {
    const std::wstring record = L"\"Зелье\",6,\"Пахнет мёдом\",\"mdrink.itm\",1,2,3,\"Ma+2\",0.3\r\n";  // 56 bytes
    for (auto [records, chance] : {std::pair{1, 1.0 / 3}, {300, 1.0 / (300 * 56 / 80 + 3)}}) {
        std::wstring text = L"\"заголовок\"\r\n";
        for (int i = 0; i < records; ++i) text += record;
        WriteText(L"maps/t.dat", text);
        int fell = 0, tries = 0;
        for (std::uint64_t seed = 1; seed <= 600u / records + 1; ++seed, tries += records) {
            SeedRandom(seed);
            w().mapItemCol->Clear();
            LoadMapItemFile(L"t.dat", 3, 4);
            fell += w().mapItemCol->Count();
        }
        EXPECT_NEAR(static_cast<double>(fell) / tries, chance, chance * 0.4) << records;
    }
    while (w().mapItemCol->Count() == 0) LoadMapItemFile(L"t.dat", 3, 4);
    EXPECT_EQ(Fields(*w().mapItemCol->Item(1)), L"Зелье|6|Пахнет мёдом|mdrink.itm|1|2|3|Ma+2|0.3|3,4");
    // A broken record ends the draw; a name that is no plain file name, or no file, gives nothing.
    WriteText(L"maps/bad.dat", L"0\r\n\"a\",x,\"b\",\"\",1,2,3,\"\",1\r\n" + record);
    WriteText(L"t.dat", L"0\r\n" + record);
    w().mapItemCol->Clear();
    for (int i = 0; i < 30; ++i) {
        for (const wchar_t* file : {L"bad.dat", L"..\\t.dat", L"none.dat"}) LoadMapItemFile(file, 3, 4);
    }
    EXPECT_EQ(w().mapItemCol->Count(), 0);
}

TEST_F(ItemTemplates, ScriptsDropThingsAtTheSpeakersFeetOnly) {
    g().WeaponsTable[0] = {Variant(L"Меч"), Variant(1), Variant(0), Variant(0), Variant(1), Variant(L""), Variant(1), Variant(L"")};
    WriteText(L"maps/t.dat", L"0\r\n\"Зелье\",6,\"\",\"\",0,0,0,\"\",0.3\r\n");
    auto npc = g().NPCs->Add();
    std::tie(npc->X, npc->Y) = std::tuple(7, 9);
    for (int speaker : {0, 1}) {
        g().ScriptNPCIndex = speaker;
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            SeedRandom(seed);
            Cscript s;
            s.Script = L"genweap()\r\ngenitem(\"t.dat\")\r\n";
            s.ScriptExecute();
        }
        EXPECT_EQ(At(7, 9), speaker ? L"9" : L"G");
    }
    std::set<std::wstring> names;
    for (const auto& it : *w().mapItemCol) names.insert(it->ItemName + L"@" + NumText(it->X) + L"," + NumText(it->Y));
    EXPECT_EQ(names, (std::set<std::wstring>{L"Меч@7,9", L"Зелье@7,9"}));
}

}  // namespace
}  // namespace morvath
