// The shipped item scripts and item templates: every item they describe can be used, worn
// or read as its kind says.
#include <gtest/gtest.h>

#include "game/equipment.h"
#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/random.h"
#include "platform/textforms.h"
#include "world/game_state.h"

namespace morvath {
namespace {

const fs::path kGame = MORVATH_GAME_DIR;

struct Shipped : ::testing::Test {
    void SetUp() override {
        previous = GameFolder();
        SetGameFolder(kGame);
        ResetGame();
        modVarsAndMain.CreateRoots();
        SeedRandom(3);
    }
    void TearDown() override { SetGameFolder(previous); }
    fs::path previous;
    ScriptedFrontend ui;
};

// What an item's use left behind: the pack, the texts and the hero's values.
std::wstring Trace() {
    const auto& g = modVarsAndMain;
    const auto& p = *g.Player;
    std::wstring t = g.screen.txtSpeech + L"|" + g.screen.lblII;
    for (double v : {static_cast<double>(p.Hungry), static_cast<double>(p.HP), static_cast<double>(p.Poison),
                     static_cast<double>(p.Sick), p.Strenght, p.Mana, static_cast<double>(p.Luck), p.Doom}) {
        t += L"|" + NumText(v);
    }
    for (const auto& it : *g.Inventory) t += L"|" + NumText(it->ItemCount);
    return t + L"|" + NumText(g.Inventory->Count());
}

TEST_F(Shipped, EveryTemplateItemCanBeUsedWornOrRead) {
    int records = 0;
    for (const auto& entry : fs::directory_iterator(kGame / "maps")) {
        const auto name = entry.path().filename().string();
        if (name == "weapons.dat" || name == "data.uni") continue;
        auto reader = TextReader::Open(entry.path());
        ASSERT_TRUE(reader);
        std::wstring header;
        ASSERT_TRUE(reader->ReadItem(header));
        while (!reader->AtEnd()) {
            Item it;
            double type = 0, attack = 0, defence = 0, critical = 0;
            ASSERT_TRUE(reader->ReadText(it.ItemName) && reader->ReadNumber(type) && reader->ReadText(it.ItemInfo) &&
                        reader->ReadText(it.ItemScript) && reader->ReadNumber(attack) && reader->ReadNumber(defence) &&
                        reader->ReadNumber(critical) && reader->ReadText(it.SkillPlus) && reader->ReadNumber(it.Weight))
                << name << " record " << records;
            ++records;
            SetUp();
            modVarsAndMain.Skills[3][0] = L"Литература";
            auto carried = modVarsAndMain.Inventory->Add();
            *carried = it;
            carried->ItemType = type;
            const std::string what = name + ": " + ToUtf8(it.ItemName);
            const int kind = static_cast<int>(type);
            switch (kind) {
                case kWeapon: case kShield: case kHead: case kNeck: case kBody: case kLegs: {
                    const int slot = kind == kHead ? kSlotHead : kind == kNeck ? kSlotNeck : kind == kBody ? kSlotBody
                                   : kind == kLegs ? kSlotLegs : kSlotRightHand;
                    ChangeItem(slot, 1);
                    EXPECT_EQ(modVarsAndMain.Equip[static_cast<std::size_t>(slot)][kEqName], Variant(it.ItemName)) << what;
                    RemItem(slot);
                    EXPECT_EQ(modVarsAndMain.Inventory->Count(), 1) << what;
                    break;
                }
                default: {
                    ASSERT_FALSE(it.ItemScript.empty()) << what << " cannot be used";
                    const std::wstring before = Trace();
                    carried->DoAction();
                    EXPECT_NE(Trace(), before) << what << " does nothing when used";
                }
            }
        }
    }
    EXPECT_GT(records, 20);
}

TEST_F(Shipped, TheScriptsTheEngineNamesDoSomething) {
    for (const wchar_t* file : {L"food.itm", L"yagoda.itm", L"unkya.itm", L"wolfya.itm", L"stdust.itm", L"hudust.itm",
                                L"ledust.itm", L"hpdust.itm", L"mdrink.itm", L"stdrink.itm", L"bluefish.itm",
                                L"fakel.itm"}) {
        SetUp();
        modVarsAndMain.Player->Hungry = 1000;
        modVarsAndMain.Darkness = true;
        auto item = modVarsAndMain.Inventory->Add();
        item->ItemName = L"x";
        item->ItemScript = file;
        const std::wstring before = Trace();
        item->DoAction();
        EXPECT_TRUE(Trace() != before || !modVarsAndMain.Darkness) << ToUtf8(file);
    }
    EXPECT_FALSE(modVarsAndMain.Darkness);  // the torch lights the dark
}

}  // namespace
}  // namespace morvath
