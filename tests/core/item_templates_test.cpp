// Weapons dropped from the weapon table and items fallen from template files.
#include <gtest/gtest.h>

#include "screen_fixture.h"
#include "script/cscript.h"
#include "world/item_templates.h"

namespace morvath {
namespace {

using ItemTemplates = ScreenTest;

// The floor items' values, in the order of a template record, then where each lies.
std::wstring FloorItems() {
    std::wstring t;
    for (const auto& i : *modVarsAndMain.TheWorld->mapItemCol) {
        t += i->ItemName + L"|" + NumText(i->ItemType) + L"|" + i->ItemInfo + L"|" + i->ItemScript;
        for (double v : {double(i->WeaponPlus), double(i->DefendPlus), double(i->Critical)}) t += L"|" + NumText(v);
        t += L"|" + i->SkillPlus + L"|" + NumText(i->Weight) + L"|" + NumText(i->X) + L"," + NumText(i->Y) + L" ";
    }
    return t;
}

TEST_F(ItemTemplates, DroppedWeaponsKeepTheLastBonusesOfTheCall) {
    auto row = [&](std::size_t r, const wchar_t* name, int type, int attack, int defence) {
        g().WeaponsTable[r] = {Variant(name), Variant(attack), Variant(defence), Variant(30), Variant(2.5), Variant(L"St+1"), Variant(type), Variant(L"о")};
    };
    row(0, L"Меч", kWeapon, 10, 0);
    row(1, L"Щит", kShield, 0, 20);
    row(39, L"Кирка", 9, 0, 0);
    row(40, L"Молот", 9, 0, 0);  // never drawn
    {
        // Four tries: the sword, the shield, an empty row, the last row.
        PinnedDraws draws{0.99, 0.001, 0.99, 1.5 / 40, 0.5, 2.5 / 40, 0.999};
        DropRandomWeapons(7, 9);
    }
    EXPECT_EQ(FloorItems(), L"Меч|1|о||12|0|30|St+1|2.5|7,9 Щит|2|о||2|21|30|St+1|2.5|7,9 Кирка|9|о||2|1|30|St+1|2.5|7,9 ");
    w().mapItemCol->Clear();
    PinnedDraws none{0.19, 0.001, 0.5};
    DropRandomWeapons(7, 9);
    EXPECT_EQ(std::tuple(FloorItems(), At(7, 9)), std::tuple(L"", L"G"));
}

TEST_F(ItemTemplates, EachTemplateRecordFallsWithOneChanceInKPlusThree) {
    const std::wstring record = L"\"Зелье\",6,\"Пахнет мёдом\",\"mdrink.itm\",1,2,3,\"Ma+2\",0.3\r\n";  // 56 bytes
    WriteText(L"maps/t.dat", L"\"заголовок\"\r\n" + record + L"\"Мёд\",4,\"\",\"\",0,0,0,\"\",1\r\n");  // 95 bytes: k = 1
    {
        PinnedDraws draws{0.74, 0.76};
        LoadMapItemFile(L"t.dat", 3, 4);
    }
    EXPECT_EQ(FloorItems(), L"Зелье|6|Пахнет мёдом|mdrink.itm|1|2|3|Ma+2|0.3|3,4 ");
    w().mapItemCol->Clear();
    // A broken record ends the draw; a name that is no plain file name, or no file, gives nothing.
    WriteText(L"maps/bad.dat", L"0\r\n\"a\",x,\"b\",\"\",1,2,3,\"\",1\r\n" + record);
    WriteText(L"t.dat", L"0\r\n" + record);
    for (const wchar_t* file : {L"bad.dat", L"..\\t.dat", L"none.dat"}) {
        PinnedDraws draws{0.6, 0.6};
        LoadMapItemFile(file, 3, 4);
    }
    EXPECT_EQ(FloorItems(), L"");
}

TEST_F(ItemTemplates, ScriptsDropThingsAtTheSpeakersFeetOnly) {
    g().WeaponsTable[0] = {Variant(L"Меч"), Variant(1), Variant(0), Variant(0), Variant(1), Variant(L""), Variant(1), Variant(L"")};
    WriteText(L"maps/t.dat", L"0\r\n\"Зелье\",6,\"\",\"\",0,0,0,\"\",0.3\r\n");
    auto npc = g().NPCs->Add();
    std::tie(npc->X, npc->Y) = std::tuple(7, 9);
    for (int speaker : {0, 1}) {
        g().ScriptNPCIndex = speaker;
        PinnedDraws draws{0.3, 0.001, 0, 0.7};
        Cscript s;
        s.Script = L"genweap()\r\ngenitem(\"t.dat\")\r\n";
        s.ScriptExecute();
    }
    EXPECT_EQ(std::tuple(At(7, 9), FloorItems()), std::tuple(L"9", L"Меч|1|||1|0|0||1|7,9 Зелье|6|||0|0|0||0.3|7,9 "));
}

}  // namespace
}  // namespace morvath
