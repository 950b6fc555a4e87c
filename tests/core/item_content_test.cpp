// The shipped item scripts and templates: every item they describe that is used or read, not
// worn, does something.
#include <gtest/gtest.h>

#include "game/items.h"
#include "platform/cp1251.h"
#include "platform/frontend.h"
#include "platform/textforms.h"
#include "world/game_state.h"

namespace morvath {
namespace {

// What using an item left behind: the texts, the hero's values and the pack.
std::wstring Trace() {
    const auto& g = modVarsAndMain;
    const auto& p = *g.Player;
    std::wstring t = g.screen.txtSpeech + L"|" + g.screen.lblII + (g.Darkness ? L"|dark" : L"");
    for (double v : {double(p.Hungry), double(p.HP), double(p.Poison), double(p.Sick), p.Strenght, p.Mana, double(p.Luck), p.Doom}) {
        t += L"|" + NumText(v);
    }
    for (const auto& it : *g.Inventory) t += L"|" + NumText(it->ItemCount);
    return t;
}

// Uses one carried item in the shipped game folder: it must change something.
void TryItem(const Item& item, const std::string& what) {
    ResetGame();
    modVarsAndMain.CreateRoots();
    modVarsAndMain.Skills[3][0] = L"Литература";
    modVarsAndMain.Darkness = item.ItemType != kBook && item.ItemType != kWriting;  // books are read in the light
    auto carried = modVarsAndMain.Inventory->Add();
    *carried = item;
    const std::wstring before = Trace();
    carried->DoAction();
    EXPECT_NE(Trace(), before) << what << " does nothing";
}

TEST(ShippedItems, EveryTemplateItemAndEveryScriptTheEngineNamesDoesWhatItsKindSays) {
    ScriptedFrontend ui;
    const fs::path previous = GameFolder();
    SetGameFolder(MORVATH_GAME_DIR);
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
            if (!ListedWithBonuses(it.ItemType) && it.ItemType != kNeck) TryItem(it, name + " " + ToUtf8(it.ItemName));
        }
    }
    EXPECT_GT(records, 20);
    for (const wchar_t* file : {L"food.itm", L"yagoda.itm", L"unkya.itm", L"wolfya.itm", L"stdust.itm", L"hudust.itm", L"ledust.itm",
                                L"hpdust.itm", L"mdrink.itm", L"stdrink.itm", L"bluefish.itm", L"fakel.itm"}) {
        Item it;
        std::tie(it.ItemName, it.ItemType, it.ItemScript) = std::tuple(L"x", kFood, file);
        TryItem(it, ToUtf8(file));
    }
    SetGameFolder(previous);
}

}  // namespace
}  // namespace morvath
