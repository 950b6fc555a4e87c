// Wilderness steps and encounters: the beasts' strength and hit points, the quest gates,
// the packs, the questions asked and the battleground they are fought on.
#include <map>

#include "screen_fixture.h"
#include "world/save_set.h"
#include "world/wilderness.h"

using namespace morvath;

namespace {

class Wilderness : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        w().WorldName = L"wild";
        w().MapType = kMapWild;
        for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(60, L'G'));
        hero().Level = 1;
        hero().Luck = 0;
    }
    MainCharacter& hero() { return *g().Player; }
    // Runs one encounter from a fresh wilderness square; the count of beasts it left.
    long Encounter(std::uint64_t seed, const wchar_t* tile = L"G") {
        w().WorldName = L"wild";
        g().NPCs->Clear();
        ui.log.clear();
        SeedRandom(seed);
        WildEncounter(tile);
        return g().NPCs->Count();
    }
    bool Asked(const std::wstring& text) { return ui.Count(L"MsgBox|Morvath|" + text) > 0; }
};

struct Bases {
    double A, B;
};

}  // namespace

TEST_F(Wilderness, EachKindHasItsStrengthAndHitPointBases) {
    struct Case {
        int k;
        double level, luck;
        const wchar_t* name;
        double A, B;
    };
    const Case cases[] = {
        {3, 1, 0, L"Дикий берендей", 6.5, 12},  {3, 4, 10, L"Дикий берендей", 2, 8},
        {3, 1, 20, L"Дикий берендей", 13.5, 7},  // |A|; B below 1 becomes 7
        {8, 1, 5, L"Дикий берендей", 2.5, 8},   {9, 2, 0, L"Дикий берендей", 5, 12},
        {4, 1, 0, L"Тварь", 3, 11},             {4, 1, 8, L"Тварь", 1, 7},
        {4, 5, -3, L"Тварь", 8.5, 16.5},        {10, 3, 0, L"Медведь", 6.5, 16},
        {10, 1, 9, L"Медведь", 1, 16},          {11, 4, 7, L"Волк", 4, 10},
        {0, 1, 0, L"Паук", 1, 9},               {7, 8, -2, L"Паук", 4, 12},
        {5, 7, 0, L"Паук", 2, 10},              {2, 1, 10, L"Паук", 1, 4},
        {6, 1, 20, L"Паук", 1, 7},
    };
    for (const Case& c : cases) {
        WildBeasts b = BeastsFor(c.k, c.level, c.luck);
        EXPECT_STREQ(b.name, c.name) << c.k;
        EXPECT_DOUBLE_EQ(b.A, c.A) << c.k << " L" << c.level << " U" << c.luck;
        EXPECT_DOUBLE_EQ(b.B, c.B) << c.k << " L" << c.level << " U" << c.luck;
    }
    EXPECT_STREQ(BeastsFor(10, 1, 0).symbol, L"\u0490");
    EXPECT_STREQ(BeastsFor(3, 1, 0).dieScript, L"berend.die");
}

// A level-1 hero with no luck, answering yes: every kind comes in its numbers, each beast
// with hit points B to B + 3 and strength A to A + 2, hunting him on a fresh plain.
TEST_F(Wilderness, EveryKindComesInItsNumbersAndStrength) {
    const std::map<std::wstring, std::vector<Bases>> bases = {
        {L"Паук", {{1, 9}}},          {L"Тварь", {{3, 11}}},
        {L"Медведь", {{5.5, 16}}},    {L"Волк", {{2.5, 10}}},
        {L"Дикий берендей", {{6.5, 12}, {2.5, 8}, {4.5, 10}}},
    };
    std::map<std::wstring, int> seen;
    for (std::uint64_t seed = 0; seed < 150; ++seed) {
        const long count = Encounter(seed);
        if (count == 0) continue;
        const std::wstring name = g().NPCs->Item(1)->NPCName;
        ASSERT_TRUE(bases.contains(name)) << ToUtf8(name);
        seen[name] += 1;
        EXPECT_EQ(w().WorldName, L"plain");
        EXPECT_EQ(w().MapType, kMapForest);
        if (name == L"Медведь") EXPECT_EQ(count, 2);
        else if (name == L"Волк") EXPECT_TRUE(count >= 3 && count <= 9) << count;
        else EXPECT_TRUE(count >= 4 && count <= 10) << count;  // 2 + 1 + 0..6, plus one
        bool fits = false;
        for (Bases b : bases.at(name)) {
            bool all = true;
            for (const auto& n : *g().NPCs) {
                all = all && n->NPCName == name && n->HP >= b.B && n->HP < b.B + 3 &&
                      n->Strenght >= CInt(b.A) && n->Strenght <= CInt(b.A + 2);
            }
            fits = fits || all;
        }
        EXPECT_TRUE(fits) << ToUtf8(name) << " seed " << seed;
        int shown = 0;
        for (const auto& n : *g().NPCs) {
            EXPECT_EQ(n->Tactic, kTacticApproach);
            EXPECT_EQ(n->AIScript_File, L"temp.tai");
            EXPECT_EQ(n->Weapon, L"К");
            EXPECT_FALSE(n->Good);
            shown += w().GetPosMap(n->X + 3, n->Y + 3) == n->Symbol;
        }
        EXPECT_GT(shown, 0);  // they took their first step onto the grid
    }
    EXPECT_EQ(seen.size(), bases.size());
}

TEST_F(Wilderness, TheQuestGatesTurnSpidersIntoTheTrampOrTheLoneWarrior) {
    struct Case {
        int warriorFlag, trampFlag;
        bool tramp, warrior, spiders;
    };
    const Case cases[] = {
        {0, 0, false, false, true},
        {1, 0, false, true, false},
        {0, 1, true, false, false},
        {1, 1, true, false, false},
        {2, 2, false, false, true},  // only 1 opens them
    };
    for (const Case& c : cases) {
        g().QuestFlags[1] = c.warriorFlag;
        g().QuestFlags[3] = c.trampFlag;
        bool tramp = false, warrior = false, spiders = false;
        for (std::uint64_t seed = 0; seed < 80; ++seed) {
            Encounter(seed);
            if (Asked(L"Вы встретили грязного бродягу Игоря...")) {
                tramp = true;
                ASSERT_EQ(g().NPCs->Count(), 9);
                const NPC& igor = *g().NPCs->Item(9);
                EXPECT_TRUE(igor.NPCName == L"Игорь" && igor.Good && igor.AIScript_File == L"hasb.tai" &&
                            igor.DieScript_File == L"hasb.die" && w().GetPosMap(23, 23) == L"8");
                for (long i = 1; i <= 8; ++i) {
                    const NPC& s = *g().NPCs->Item(i);
                    EXPECT_TRUE(s.X >= 19 && s.X <= 23 && s.Y >= 19 && s.Y <= 23 && s.HP >= 7 && s.HP <= 13);
                    EXPECT_TRUE(s.Tactic == kTacticStay && s.Symbol.empty());  // unseen, and they never move
                }
            }
            if (Asked(L"Вы встретили Одинокого Воина...")) {
                warrior = true;
                ASSERT_EQ(g().NPCs->Count(), 1);
                const NPC& man = *g().NPCs->Item(1);
                EXPECT_TRUE(man.NPCName == L"Неизвестный воин" && man.HP == 17 && man.Strenght == 7 &&
                            man.AIScript_File == L"warrior.tai" && w().GetPosMap(23, 22) == L".");
            }
            if (Asked(L"Вы встретили несколько Пауков.Вы хотите драться?") || Asked(L"Вас остановило несколько Пауков!"))
                spiders = true;
        }
        EXPECT_EQ(tramp, c.tramp) << c.warriorFlag << c.trampFlag;
        EXPECT_EQ(warrior, c.warrior) << c.warriorFlag << c.trampFlag;
        EXPECT_EQ(spiders, c.spiders) << c.warriorFlag << c.trampFlag;
    }
}

TEST_F(Wilderness, TheBlackWolfLeadsThePackOnlyWithItsFlag) {
    for (int flag : {0, 1}) {
        g().QuestFlags[41] = flag;
        int packs = 0;
        for (std::uint64_t seed = 0; seed < 200; ++seed) {
            if (Encounter(seed) == 0 || g().NPCs->Item(g().NPCs->Count())->NPCName != L"Волк") continue;
            ++packs;
            long wolves = 0, leaders = 0;
            for (const auto& n : *g().NPCs) {
                if (n->NPCName == L"Волк") ++wolves;
                if (n->NPCName != L"Черный Волк") continue;
                ++leaders;
                EXPECT_EQ(n->Symbol, L"\u2122");
                EXPECT_EQ(n->DieScript_File, L"bwolf.die");
                EXPECT_TRUE(n->HP >= 9 && n->HP < 19 && n->HP == Int(n->HP));
                EXPECT_TRUE(n->Strenght >= 2 && n->Strenght <= 4);
            }
            EXPECT_TRUE(wolves >= 3 && wolves <= 9) << wolves;
            EXPECT_EQ(leaders, flag);
            EXPECT_EQ(g().NPCs->Item(1)->NPCName, flag ? L"Черный Волк" : L"Волк");
        }
        EXPECT_GT(packs, 3);
    }
}

TEST_F(Wilderness, ALuckyHeroMeetsFourPlusOne) {
    hero().Luck = 10;
    int met = 0;
    for (std::uint64_t seed = 0; seed < 100; ++seed) {
        const long count = Encounter(seed);
        const std::wstring name = count ? g().NPCs->Item(1)->NPCName : L"";
        if (count == 0 || name == L"Медведь" || name == L"Волк") continue;
        EXPECT_EQ(count, 5) << ToUtf8(name);
        ++met;
    }
    EXPECT_GT(met, 10);
}

TEST_F(Wilderness, AnsweringNoEscapesUnlessTheBeastsWillNotLetGo) {
    int escaped = 0, caught = 0, stopped = 0;
    for (std::uint64_t seed = 0; seed < 120; ++seed) {
        ui.msgAnswers.assign(3, MsgResult::No);
        const long count = Encounter(seed);
        const bool cannot = ui.Count(L"MsgBox|Morvath|Сбежать невозможно!") > 0;
        const bool halted = ui.Count(L"MsgBox|Morvath|Вас остановило несколько ") > 0;
        EXPECT_EQ(count > 0, cannot || halted) << seed;
        EXPECT_FALSE(cannot && halted);
        escaped += count == 0;
        caught += cannot;
        stopped += halted;
        if (count == 0) EXPECT_EQ(w().WorldName, L"wild");
    }
    EXPECT_GT(escaped, caught);
    EXPECT_GT(caught, 0);
    EXPECT_GT(stopped, 0);
}

TEST_F(Wilderness, OnlyGrassAndForestStepsRollAndBadLuckMeetsEveryStep) {
    struct Case {
        const wchar_t* tile;
        int luck;
        int atLeast, atMost;  // encounters in 40 steps
    };
    const Case cases[] = {
        {L"G", -4, 40, 40},
        {L"\u040A", -5, 40, 40},
        {L"B", -5, 0, 0},
        {L"c", -5, 0, 0},
        {L"G", -3, 1, 15},
        {L"G", 5, 1, 15},
    };
    for (const Case& c : cases) {
        hero().Luck = c.luck;
        SeedRandom(3);
        int met = 0;
        for (int step = 0; step < 40; ++step) {
            w().WorldName = L"wild";
            for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(60, c.tile[0]));
            g().PlayerX = 5;
            g().PlayerY = 5;
            ui.log.clear();
            ui.msgAnswers.assign(3, MsgResult::No);  // the hero walks on whenever he may
            RollWildEncounter();
            met += ui.Count(L"MsgBox|") > 0;
        }
        EXPECT_GE(met, c.atLeast) << ToUtf8(c.tile) << c.luck;
        EXPECT_LE(met, c.atMost) << ToUtf8(c.tile) << c.luck;
    }
}

TEST_F(Wilderness, TheEnterKeyMakesTheGroundUnderTheHero) {
    struct Case {
        const wchar_t* tile;
        const wchar_t* place;
    };
    const Case cases[] = {{L"G", L"plain"}, {L"\u040A", L"forest"}, {L"B", L"forest"}};
    for (const Case& c : cases) {
        w().WorldName = L"wild";
        for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(60, L'a'));
        Put(5, 5, c.tile);
        g().PlayerX = 5;
        g().PlayerY = 5;
        SeedRandom(1);  // the turn's roll meets nobody
        EnterWildLocation();
        EXPECT_EQ(w().WorldName, c.place);
        EXPECT_EQ(w().MapType, kMapForest);
        EXPECT_EQ(g().PlayerX, 20);
        // The ways out lead back to the hero's square on the wilderness map.
        EXPECT_EQ(w().Record(0).Target.ToText(), L"wild");
        EXPECT_EQ(w().Record(0).TargetX.ToNumber(), 5);
    }
}

// The turn of the enter key can itself bring an encounter: its battleground and beasts stay.
TEST_F(Wilderness, AnEncounterOnTheEnterKeysTurnIsNotWipedOut) {
    hero().Luck = -5;
    for (std::uint64_t seed = 0; seed < 10; ++seed) {
        w().WorldName = L"wild";
        for (int row = 0; row <= 40; ++row) w().SetRow(row, std::wstring(60, L'G'));
        g().NPCs->Clear();
        SeedRandom(seed);
        EnterWildLocation();
        EXPECT_NE(w().WorldName, L"wild");
        EXPECT_GT(g().NPCs->Count(), 0) << seed;
    }
}

TEST_F(Wilderness, ThePassOpensWithItsFlag) {
    for (int flag : {0, 1, 7}) {
        w().SetRow(14, std::wstring(60, L'w'));
        g().QuestFlags[2] = flag;
        PlaceWildExit();
        EXPECT_EQ(w().GetPosMap(40, 14), flag ? L"q" : L"w");
        EXPECT_EQ(w().GetPosMap(39, 14), L"w");
    }
}

// A game saved on the wilderness before the pass was drawn there loads with the pass open.
TEST_F(Wilderness, ALoadedGameShowsThePassItsFlagOpens) {
    for (int row = 0; row <= 52; ++row) w().SetRow(row, std::wstring(60, L'w'));
    g().QuestFlags[2] = 1;
    ASSERT_TRUE(SaveGame());
    ResetGame();
    ASSERT_TRUE(LoadGame());
    EXPECT_EQ(w().WorldName, L"wild");
    EXPECT_EQ(w().GetPosMap(40, 14), L"q");
}
