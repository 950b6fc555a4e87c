// Houses from the templates with residents and without: who lives where, and how the house
// loads as a location.
#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "test_support.h"
#include "world/houses.h"

using namespace morvath;

TEST(HouseResidents, TemplatesOneAndFive) {
    TempGameFolder folder;
    fs::create_directories(folder.path() / "intros");
    std::string rows;
    for (int r = 0; r < 14; ++r) rows += std::string(r == 1 ? 19 : 20, 'G') + "\r\n";
    for (const char* n : {"1", "5"}) WriteFileAtomic(folder.path() / "intros" / ("h" + std::string(n) + ".map"), rows);
    struct Case { double templateDraw; std::vector<std::wstring> residents; };  // each on his square of the house
    const Case cases[] = {
        {0, {L"Андрей|7|2|11,10|3|man2.tai|good|0|2", L"Катерина|3|6|6,7|2|wom2.tai|good|0|6"}},
        {.75, {}},
    };
    for (const Case& c : cases) {
        ResetGame();
        modVarsAndMain.CreateRoots();
        PinnedDraws pins{c.templateDraw, .5, .6, .4, .6, .9};
        ASSERT_TRUE(CreateHouse(HouseSpec{Integer(35), Integer(17), L"izba", L"A1"}));
        World& w = *modVarsAndMain.TheWorld;
        w.WorldName = L"izba";
        ASSERT_TRUE(w.Load_World());
        EXPECT_EQ(w.MapType, kMapHouse);
        EXPECT_EQ(w.Record(0).Target.ToText() + NumText(w.Record(0).X.ToNumber()) + NumText(w.Record(0).TargetX.ToNumber()),
                  L"A1735");
        EXPECT_EQ(w.mapItemCol->Count(), 0);
        std::vector<std::wstring> residents;
        for (const auto& n : *modVarsAndMain.NPCs) {
            residents.push_back(n->NPCName + L"|" + NumText(n->HP) + L"|" + n->Symbol + L"|" + NumText(n->X) + L"," +
                                NumText(n->Y) + L"|" + NumText(n->Strenght) + L"|" + n->AIScript_File +
                                (n->Good ? L"|good|" : L"|bad|") + NumText(n->Tactic) + L"|" +
                                w.GetPosMap(n->X + 3, n->Y + 3));
        }
        EXPECT_EQ(residents, c.residents) << c.templateDraw;
    }
}
