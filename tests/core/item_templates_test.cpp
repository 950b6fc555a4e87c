// Weapons dropped from the weapon table and items fallen from template files.
#include <gtest/gtest.h>

#include "screen_fixture.h"
#include "world/item_templates.h"

namespace morvath {
namespace {

class ItemTemplates : public ScreenTest {
protected:
    void Row(int row, const wchar_t* name, double attack, double defence, double kind) {
        g().WeaponsTable[static_cast<std::size_t>(row)] = {Variant(name), Variant(attack), Variant(defence), Variant(30),
                                                           Variant(2.5), Variant(L"St+1"), Variant(kind),
                                                           Variant(L"описание")};
    }
};

TEST_F(ItemTemplates, DroppedWeaponsCarryTheirBonusesThroughTheCall) {
    // Rows 0..39 alternate swords (attack 10) and shields (defence 20); row 40 is never drawn.
    for (int r = 0; r < 40; ++r) Row(r, r % 2 ? L"Щит" : L"Меч", r % 2 ? 0 : 10, r % 2 ? 20 : 0, r % 2 ? 2 : 1);
    Row(40, L"Кирка", 0, 0, 1);
    std::vector<int> counts(5);
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        SeedRandom(seed);
        w().mapItemCol->Clear();
        DropRandomWeapons(7, 9);
        const long n = w().mapItemCol->Count();
        ASSERT_LE(n, 4);
        ++counts[static_cast<std::size_t>(n)];
        int attack = 0, defence = 0;
        for (const auto& it : *w().mapItemCol) {
            EXPECT_EQ(std::tuple(it->X, it->Y), std::tuple(7.0f, 9.0f));
            EXPECT_TRUE(it->ItemScript.empty());
            EXPECT_EQ(std::tuple(static_cast<int>(it->Critical), it->Weight, it->SkillPlus, it->ItemInfo),
                      std::tuple(30, 2.5, std::wstring(L"St+1"), std::wstring(L"описание")));
            if (it->ItemType == kWeapon) {
                EXPECT_EQ(it->ItemName, L"Меч");
                attack = it->WeaponPlus - 10;
                EXPECT_TRUE(attack >= 0 && attack <= 2);
            } else {
                EXPECT_EQ(it->ItemName, L"Щит");
                defence = it->DefendPlus - 20;
                EXPECT_TRUE(defence >= 0 && defence <= 2);
            }
            // The other bonus is the last one drawn in this call.
            EXPECT_EQ(static_cast<int>(it->WeaponPlus), (it->ItemType == kWeapon ? 10 : 0) + attack);
            EXPECT_EQ(static_cast<int>(it->DefendPlus), (it->ItemType == kShield ? 20 : 0) + defence);
        }
    }
    for (int n = 0; n <= 4; ++n) EXPECT_GT(counts[static_cast<std::size_t>(n)], 0) << n;
    // Empty rows drop nothing, and nothing changes the tile.
    for (int r = 0; r < 40; ++r) g().WeaponsTable[static_cast<std::size_t>(r)] = {};
    w().mapItemCol->Clear();
    for (std::uint64_t seed = 1; seed <= 10; ++seed) DropRandomWeapons(7, 9);
    EXPECT_EQ(w().mapItemCol->Count(), 0);
    EXPECT_EQ(At(7, 9), L"G");
}

TEST_F(ItemTemplates, EachTemplateRecordFallsWithOneChanceInKPlusThree) {
    const std::wstring record = L"\"Зелье\",6,\"Пахнет мёдом\",\"mdrink.itm\",1,2,3,\"Ma+2\",0.3\r\n";
    struct Case {
        int records;
        double chance;
    } cases[] = {{1, 1.0 / 3}, {300, 1.0 / (300 * 56 / 80 + 3)}};
    for (const auto& c : cases) {
        std::wstring text = L"\"заголовок\"\r\n";
        for (int i = 0; i < c.records; ++i) text += record;
        WriteText(L"maps/t.dat", text);
        int fell = 0, tries = 0;
        for (std::uint64_t seed = 1; seed <= 600 / static_cast<std::uint64_t>(c.records) + 1; ++seed) {
            SeedRandom(seed);
            w().mapItemCol->Clear();
            LoadMapItemFile(L"t.dat", 3, 4);
            fell += w().mapItemCol->Count();
            tries += c.records;
        }
        EXPECT_NEAR(static_cast<double>(fell) / tries, c.chance, c.chance * 0.4) << c.records;
    }
    SeedRandom(5);
    w().mapItemCol->Clear();
    while (w().mapItemCol->Count() == 0) LoadMapItemFile(L"t.dat", 3, 4);
    const Item& it = *w().mapItemCol->Item(1);
    EXPECT_EQ(std::tuple(it.ItemName, static_cast<long>(it.ItemType), it.ItemInfo, it.ItemScript),
              std::tuple(std::wstring(L"Зелье"), 6L, std::wstring(L"Пахнет мёдом"), std::wstring(L"mdrink.itm")));
    EXPECT_EQ(std::tuple(static_cast<int>(it.WeaponPlus), static_cast<int>(it.DefendPlus), static_cast<int>(it.Critical),
                         it.SkillPlus, it.Weight, it.X, it.Y),
              std::tuple(1, 2, 3, std::wstring(L"Ma+2"), 0.3, 3.0f, 4.0f));
    // A broken record ends the draw; a name that is no plain file name or no file gives nothing.
    WriteText(L"maps/bad.dat", L"0\r\n\"a\",x,\"b\",\"\",1,2,3,\"\",1\r\n" + record);
    WriteText(L"t.dat", L"0\r\n" + record);
    w().mapItemCol->Clear();
    for (std::uint64_t seed = 1; seed <= 30; ++seed) {
        SeedRandom(seed);
        LoadMapItemFile(L"bad.dat", 3, 4);
        LoadMapItemFile(L"..\\t.dat", 3, 4);
        LoadMapItemFile(L"none.dat", 3, 4);
    }
    EXPECT_EQ(w().mapItemCol->Count(), 0);
}

}  // namespace
}  // namespace morvath
