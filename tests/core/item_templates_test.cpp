// Weapons dropped from the weapon table and items fallen from template files.
#include <gtest/gtest.h>

#include <set>

#include "screen_fixture.h"
#include "script/cscript.h"
#include "world/item_templates.h"

namespace morvath {
namespace {

using ItemTemplates = ScreenTest;

TEST_F(ItemTemplates, DroppedWeaponsKeepTheLastBonusesOfTheCall) {
    // Rows 0..39 alternate swords (attack 10) and shields (defence 20); row 40 is never drawn.
    for (int r = 0; r <= 40; ++r) {
        const bool shield = r % 2;
        g().WeaponsTable[static_cast<std::size_t>(r)] = {Variant(r == 40 ? L"Кирка" : shield ? L"Щит" : L"Меч"),
                                                         Variant(shield ? 0 : 10), Variant(shield ? 20 : 0), Variant(30),
                                                         Variant(2.5), Variant(L"St+1"), Variant(shield ? 2 : 1),
                                                         Variant(L"о")};
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
            EXPECT_TRUE(attack >= 0 && attack <= 2 && defence >= 0 && defence <= 2);
            EXPECT_EQ(std::tuple(it->ItemName, it->X, it->Y, it->ItemScript, static_cast<int>(it->Critical), it->Weight,
                                 it->SkillPlus, it->ItemInfo, static_cast<int>(it->WeaponPlus), static_cast<int>(it->DefendPlus)),
                      std::tuple(std::wstring(sword ? L"Меч" : L"Щит"), 7.0f, 9.0f, std::wstring(), 30, 2.5,
                                 std::wstring(L"St+1"), std::wstring(L"о"), (sword ? 10 : 0) + attack, (sword ? 0 : 20) + defence));
        }
    }
    for (int n : counts) EXPECT_GT(n, 0);
    EXPECT_EQ(bonuses, (std::set<int>{0, 1, 2, 10, 11, 12}));
    for (int r = 0; r < 40; ++r) g().WeaponsTable[static_cast<std::size_t>(r)] = {};
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
    const Item& it = *w().mapItemCol->Item(1);
    EXPECT_EQ(std::tuple(it.ItemName, static_cast<long>(it.ItemType), it.ItemInfo, it.ItemScript, static_cast<int>(it.WeaponPlus),
                         static_cast<int>(it.DefendPlus), static_cast<int>(it.Critical), it.SkillPlus, it.Weight, it.X, it.Y),
              std::tuple(std::wstring(L"Зелье"), 6L, std::wstring(L"Пахнет мёдом"), std::wstring(L"mdrink.itm"), 1, 2, 3,
                         std::wstring(L"Ma+2"), 0.3, 3.0f, 4.0f));
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
    for (const auto& it : *w().mapItemCol) {
        names.insert(it->ItemName);
        EXPECT_EQ(std::tuple(it->X, it->Y), std::tuple(7.0f, 9.0f));
    }
    EXPECT_EQ(names, (std::set<std::wstring>{L"Меч", L"Зелье"}));
}

}  // namespace
}  // namespace morvath
