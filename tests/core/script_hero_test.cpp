// Script commands for the hero, the carried items, the coins, the spells and the skills;
// and what using an item does.
#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "platform/numbers.h"
#include "script_test_support.h"
#include "world/speech.h"

using namespace morvath;

namespace {

using Seen_ = std::vector<std::wstring>;

struct Hero : ScriptFixture {
    MainCharacter& hero() { return *modVarsAndMain.Player; }
    ItemCol& inv() { return *modVarsAndMain.Inventory; }
    // An item's fields in the order give() takes them, and its count.
    static std::wstring Fields(const Item& i) {
        return i.ItemName + L"|" + NumText(i.ItemType) + L"|" + NumText(i.itembalance) + L"|" + i.ItemInfo + L"|" + i.ItemScript + L"|" +
               NumText(i.WeaponPlus) + L"|" + NumText(i.DefendPlus) + L"|" + NumText(i.Weight) + L"|" + NumText(i.Critical) + L"|" +
               i.SkillPlus + L"|" + NumText(i.ItemCount);
    }
    std::wstring Pack() {
        std::wstring s;
        for (const auto& i : inv()) s += Fields(*i) + L"\n";
        return s;
    }
    std::shared_ptr<Item> Carry(const std::wstring& name, int count = 0) {
        auto item = inv().Add();
        item->ItemName = name;
        item->ItemCount = count;
        return item;
    }
};

// Coins only as "money" in lower case; the amount is a 16-bit number (40000 is none, so
// nobody has it); without an amount the test reports and is no yes. Amounts saturate.
TEST_F(Hero, CoinsCanBeTestedTakenAndGiven) {
    modVarsAndMain.Money = 20;
    Carry(L"Money");
    EXPECT_EQ(RunAndSee(L"var a;b;c;d\na ~ have(\"money\";\"20\")\nb ~ have(\"money\";\"21\")\nc ~ have(\"Money\";\"1\")\n"
                        L"d ~ have(\"money\")\ninput(a)\ninput(b)\ninput(c)\ninput(d)"),
              (Seen_{L"true", L"", L"true", L""}));
    EXPECT_EQ(Boxes(), 1);
    inv().Clear();
    EXPECT_EQ(RunAndSee(L"var a\na ~ have(\"Money\";\"1\")\ninput(a)"), (Seen_{L""}));
    Run(L"take(\"Money\";\"50\")");
    EXPECT_EQ(modVarsAndMain.Money, -30);
    Run(L"give(\"MONEY\";\"45\")");
    EXPECT_EQ(modVarsAndMain.Money, 15);
    modVarsAndMain.Money = 35000;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ have(\"money\";\"40000\")\nb ~ have(\"money\";\"30000\")\ninput(a)\ninput(b)"),
              (Seen_{L"", L"true"}));
    modVarsAndMain.Money = 2147483000;
    Run(L"give(\"money\";\"100000\")");
    EXPECT_EQ(modVarsAndMain.Money, 2147483647);
}

// have() by exact name; take() one piece of the first item of that name; both weigh at once.
TEST_F(Hero, HaveAndTakeFindACarriedItemByExactName) {
    auto first = Carry(L"Трава", 2);
    auto second = Carry(L"Трава");
    first->Weight = 3;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ have(\"Трава\")\nb ~ have(\"трава\")\ninput(a)\ninput(b)"), (Seen_{L"true", L""}));
    Run(L"take(\"Трава\")");
    EXPECT_EQ(std::tuple(first->ItemCount, hero().Weight), std::tuple(1, 6.0));
    Run(L"take(\"Трава\")\ntake(\"Трава\")");
    EXPECT_EQ(std::tuple(inv().Contains(first), inv().Contains(second)), std::tuple(false, true));
    Run(L"take(\"Трава\")\ntake(\"Трава\")\ntake(\"нет такого\")");
    EXPECT_EQ(inv().Count(), 0);
}

// give() stacks on an item equal in name, weight, script and balance, whatever its kind, info,
// critical or bonus code; halves round to even; every change is weighed at once; a give() with arguments missing reports once and adds nothing.
TEST_F(Hero, GiveAddsOrStacksAndWeighs) {
    Run(L"give(\"Меч\";\"1\";\"-1\";\"Острый\";\"mech.itm\";\"3\";\"2\";\"4.5\";\"2.5\";\"stp03\")");
    EXPECT_EQ(modVarsAndMain.CurItem, inv().Item(1));
    EXPECT_EQ(Boxes(), 0);
    Run(L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"food.itm\";\"0\";\"0\";\"1\";\"0\";\"\")\n"
        L"give(\"Хлеб\";\"9\";\"0\";\"b\";\"food.itm\";\"0\";\"0\";\"1\";\"5\";\"stp01\")\n"
        L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"food.itm\";\"0\";\"0\";\"2\";\"0\";\"\")\n"
        L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"\";\"0\";\"0\";\"1\";\"0\";\"\")\n"
        L"give(\"Хлеб\";\"4\";\"1\";\"a\";\"food.itm\";\"0\";\"0\";\"1\";\"0\";\"\")\n"
        L"give(\"Камень\";\"11\";\"0\";\"\";\"\";\"0\";\"0\";\"15\";\"0\";\"\")\n"
        L"give(\"Палка\";\"1\")");
    EXPECT_EQ(Pack(), L"Меч|1|-1|Острый|mech.itm|3|2|4.5|2|stp03|0\n"
                      L"Хлеб|4|0|a|food.itm|0|0|1|0||1\n"
                      L"Хлеб|4|0|a|food.itm|0|0|2|0||0\n"
                      L"Хлеб|4|0|a||0|0|1|0||0\n"
                      L"Хлеб|4|1|a|food.itm|0|0|1|0||0\n"
                      L"Камень|11|0|||0|0|15|0||0\n");
    EXPECT_EQ(Boxes(), 1);
    EXPECT_DOUBLE_EQ(hero().Weight, 4.5 + 2 * 1 + 2 + 1 + 1 + 15);
    modVarsAndMain.GivenItemIndex = 6;
    Run(L"wantitem()");
    EXPECT_DOUBLE_EQ(hero().Weight, 4.5 + 2 * 1 + 2 + 1 + 1);
}

TEST_F(Hero, HeroValuesReportAMissingAmountOnlyForKeysThatUseIt) {
    hero().HP = 10;
    hero().Hungry = 100;
    Run(L"plusvar(\"maxhp\")\nsetvar(\"luck\")\nplusvar(\"nothing\")\nsetvar(\"wear\")");
    EXPECT_EQ(Boxes(), 0);
    Run(L"plusvar(\"hp\")\nsetvar(\"doom\")");
    EXPECT_EQ(std::tuple(Boxes(), int(hero().HP)), std::tuple(2, 10));
    // Hunger tests the amount, and a test that cannot be made is not passed: the other
    // branch needs the amount too, and the call has reported it once already.
    ui.log.clear();
    Run(L"plusvar(\"hungry\")");
    EXPECT_EQ(std::tuple(Boxes(), int(hero().Hungry), modVarsAndMain.screen.speechVisible), std::tuple(1, 100, false));
}

// wantitem() takes one piece of what was handed over, remove() of what was picked; with
// nothing at that position both are harmless, and the load is not weighed for an overload.
TEST_F(Hero, WantItemAndRemoveTakeOnePiece) {
    auto bag = Carry(L"Шкура", 1);
    auto ring = Carry(L"Кольцо");
    auto apple = Carry(L"Яблоко", 2);
    bag->Weight = 10;
    hero().MaxWeight = 30;
    Run(L"wantitem()\nremove()");  // nothing handed over or picked
    EXPECT_EQ(std::tuple(bag->ItemCount, apple->ItemCount, modVarsAndMain.screen.lblII), std::tuple(1, 2, L""));
    std::tie(modVarsAndMain.GivenItemIndex, modVarsAndMain.PickedIndex) = std::tuple(1, 3);
    Run(L"wantitem()\nremove()");
    EXPECT_EQ(std::tuple(bag->ItemCount, apple->ItemCount), std::tuple(0, 1));
    Run(L"wantitem()\nwantitem()");  // the position then holds the ring
    EXPECT_EQ(std::tuple(inv().Contains(bag), inv().Contains(ring), inv().Count()), std::tuple(false, false, 1L));
    std::tie(modVarsAndMain.GivenItemIndex, modVarsAndMain.PickedIndex) = std::tuple(5, 5);
    Run(L"wantitem()\nremove()");
    EXPECT_EQ(std::tuple(apple->ItemCount, inv().Count()), std::tuple(1, 1L));
}

TEST_F(Hero, GiveMoneyAndGiveItemReadTheHandOver) {
    Carry(L"Кинжал");
    const wchar_t* script = L"var m;i\nm ~ givemoney()\ni ~ giveitem()\ninput(m)\ninput(i)";
    EXPECT_EQ(RunAndSee(script), (Seen_{L"0", L"0"}));
    std::tie(modVarsAndMain.GivenMoney, modVarsAndMain.GivenItemIndex) = std::tuple(25, 1);
    EXPECT_EQ(RunAndSee(script), (Seen_{L"25", L"Кинжал"}));
    modVarsAndMain.GivenItemIndex = 3;
    EXPECT_EQ(RunAndSee(script), (Seen_{L"25", L""}));
}

TEST_F(Hero, SpellsAreGivenByExactNameAndTestedInAnyCase) {
    EXPECT_EQ(RunAndSee(L"var a\na ~ havespell(\"Lighting\")\ninput(a)"), (Seen_{L"false"}));
    Run(L"gives(\"lighting\")\ngives(\"CutSpell\")");
    EXPECT_EQ(std::tuple(modVarsAndMain.LightningKnown, modVarsAndMain.CutSpellKnown), std::tuple(false, true));
    Run(L"gives(\"Lighting\")\ngives(\"Darkness\")");
    EXPECT_EQ(std::tuple(modVarsAndMain.LightningKnown, modVarsAndMain.Darkness), std::tuple(true, true));
    EXPECT_EQ(RunAndSee(L"var a;b;c\na ~ havespell(\"LIGHTING\")\nb ~ havespell(\"cutspell\")\nc ~ havespell(\"fireball\")\n"
                        L"input(a)\ninput(b)\ninput(c)"),
              (Seen_{L"true", L"true", L"false"}));
}

// getvar/setvar/plusvar by key; amounts read as the language reads texts, 16-bit values
// saturate, luck is read and added to but never set, halves round to even.
TEST_F(Hero, HeroValueKeys) {
    std::tie(hero().Luck, hero().Science, hero().MaxHp) = std::tuple(4, 7, 30);
    std::tie(modVarsAndMain.WearMode, modVarsAndMain.ScriptLocal, modVarsAndMain.Darkness) = std::tuple(2, 5, true);
    EXPECT_EQ(RunAndSee(L"var a\na ~ getvar(\"luck\")\ninput(a)\na ~ getvar(\"mud\")\ninput(a)\n"
                        L"a ~ getvar(\"maxhp\")\ninput(a)\na ~ getvar(\"wear\")\ninput(a)\n"
                        L"a ~ getvar(\"local\")\ninput(a)\na ~ getvar(\"darkness\")\ninput(a)\n"
                        L"a ~ getvar(\"hp\")\ninput(a)"),
              (Seen_{L"4", L"7", L"30", L"2", L"5", L"1", L""}));
    MainCharacter& h = hero();
    auto values = [&] {
        return std::tuple(h.Doom, int(h.Hungry), int(h.Poison), h.Strenght, int(h.Sick), int(h.HP), h.Mana, modVarsAndMain.ScriptLocal,
                          modVarsAndMain.Darkness, int(h.Luck), int(h.MaxHp));
    };
    Run(L"setvar(\"doom\";\"1.5\")\nsetvar(\"hungry\";\"12.5\")\nsetvar(\"poison\";\"3\")\nsetvar(\"strenght\";\"7.25\")\n"
        L"setvar(\"sick\";\"2\")\nsetvar(\"HP\";\"40000\")\nsetvar(\"mana\";\"3x\")\nsetvar(\"local\";\"abc\")\n"
        L"setvar(\"darkness\";\"1\")\nsetvar(\"luck\";\"9\")");
    EXPECT_EQ(values(), std::tuple(1.5, 12, 3, 7.25, 2, 32767, 3.0, Variant(0.0), true, 4, 30));
    Run(L"setvar(\"darkness\";\"0\")\nsetvar(\"local\";\"-4\")");
    std::tie(h.Doom, h.Poison, h.Sick, h.HP, h.Mana, h.Luck, h.Strenght) = std::tuple(1, 1, 1, 10, 1, 1, 0);
    Run(L"plusvar(\"doom\";\"0.5\")\nplusvar(\"poison\";\"1.5\")\nplusvar(\"sick\";\"-3\")\nplusvar(\"hp\";\"-2.5\")\n"
        L"plusvar(\"strenght\";\"2e1\")\nplusvar(\"mana\";\"2\")\nplusvar(\"mana\";\"2x\")\nplusvar(\"luck\";\"2\")\n"
        L"plusvar(\"luck\";\"x\")\nplusvar(\"maxhp\";\"5\")");
    EXPECT_EQ(values(), std::tuple(1.5, 12, 2, 2.0, -2, 8, 3.0, Variant(-4.0), false, 3, 30));
}

TEST_F(Hero, HeroState) {
    std::tie(hero().MaxHp, hero().HP, hero().Level, hero().Profession) = std::tuple(25, 3, 4, kMonk);
    EXPECT_EQ(RunAndSee(L"var a;b\nheal()\na ~ getlevel()\nb ~ getperson()\ninput(a)\ninput(b)\nilevel()"), (Seen_{L"4", L"2"}));
    EXPECT_EQ(std::tuple(int(hero().HP), int(hero().Exp)), std::tuple(25, 20));
    Run(L"kill()");
    EXPECT_EQ(hero().HP, -1);
}

TEST_F(Hero, CommandsWithoutAHeroDoNothing) {
    modVarsAndMain.Player.reset();
    modVarsAndMain.Inventory.reset();
    EXPECT_EQ(RunAndSee(L"var a\nkill()\nheal()\nilevel()\nplusvar(\"hp\";\"1\")\nsetvar(\"hp\";\"1\")\n"
                        L"give(\"x\";\"1\";\"0\";\"\";\"\";\"0\";\"0\";\"1\";\"0\";\"\")\ntake(\"x\")\nwantitem()\n"
                        L"a ~ getlevel()\ninput(a)\na ~ getvar(\"doom\")\ninput(a)"),
              (Seen_{L"", L""}));
}

// Skills count from the first row; a known skill is not given twice; a full table takes none.
TEST_F(Hero, SkillsCountFromTheFirstRow) {
    auto& skills = modVarsAndMain.Skills;
    int row = 0;
    for (const wchar_t* s : {L"Литература", L"Травничество", L"Лечение", L"Кузнечное дело", L"Кулинария"}) skills[row++][0] = s;
    modVarsAndMain.LastSkillIndex = 4;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ getskill(\"Литература\")\nb ~ getskill(\"Рыбалка\")\ninput(a)\ninput(b)"), (Seen_{L"1", L"0"}));
    Run(L"giveskill(\"Кузнечное дело\")\ngiveskill(\"Литература\")");
    EXPECT_EQ(std::tuple(int(modVarsAndMain.LastSkillIndex), skills[5][0]), std::tuple(4, Variant()));
    Run(L"giveskill(\"Рыбалка\")\nskillplus(\"Рыбалка\")");
    EXPECT_EQ(std::tuple(int(modVarsAndMain.LastSkillIndex), skills[5][0]), std::tuple(5, Variant(L"Рыбалка")));
    for (int i = 0; i < 21; ++i) skills[i][0] = L"s" + std::to_wstring(i);
    modVarsAndMain.LastSkillIndex = 0;
    Run(L"giveskill(\"new\")");
    EXPECT_EQ(std::tuple(int(modVarsAndMain.LastSkillIndex), skills[20][0]), std::tuple(0, Variant(L"s20")));
}

// --- using an item ---

TEST_F(Hero, TheDragonStoneAsksForAnEvilHeartAndARing) {
    Item stone;
    stone.ItemName = L"Камень драконов";
    stone.ItemScript = L"stone.itm";
    WriteScript("stone.itm", L"setq(\"1\";\"1\")");
    hero().Doom = 6;
    stone.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Только приверженец злых духов может использовать этот амулет!!!\r\n\r\n[пробел]");
    hero().Doom = 7;
    stone.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Чтобы вас не уничтожило,нужно иметь кольцо злых духов\r\n\r\n[пробел]");
    ClearSpeech();
    Carry(L"Кольцо злых духов")->ItemType = kRing;
    stone.DoAction();
    EXPECT_EQ(std::tuple(modVarsAndMain.screen.txtSpeech, int(modVarsAndMain.QuestFlags[1])), std::tuple(L"", 0));  // never a script
}

TEST_F(Hero, ReadingNeedsTheSkillAnywhereInTheTableAndLight) {
    Item book;
    book.ItemType = kBook;
    book.ItemScript = L"book.itm";
    WriteScript("book.itm", L"setq(\"2\";\"7\")");
    book.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Вы не умеете читать!\r\n\r\n[пробел]");
    modVarsAndMain.Skills[3][0] = L"Литература";
    modVarsAndMain.Darkness = true;
    book.DoAction();
    EXPECT_EQ(std::tuple(modVarsAndMain.screen.txtSpeech, int(modVarsAndMain.QuestFlags[2])),
              std::tuple(L"Невозможно читать в темноте!\r\n\r\n[пробел]", 0));
    modVarsAndMain.Darkness = false;
    book.DoAction();
    EXPECT_EQ(modVarsAndMain.QuestFlags[2], 7);
}

// Item scripts run for nobody (the talk that was going on keeps its speaker); items without a
// script or with a bad one do nothing.
TEST_F(Hero, ItemScriptsRunForNobody) {
    auto npc = AddSpeaker(L"Торговец");
    WriteScript("food.itm", L"say(\"чужие слова\")\nfinish(\"x\")\nplusvar(\"hungry\";\"-5\")\nremove()");
    auto bread = Carry(L"Хлеб", 1);
    bread->ItemScript = L"food.itm";
    modVarsAndMain.PickedIndex = 1;
    bread->DoAction();
    EXPECT_EQ(std::tuple(int(hero().Hungry), bread->ItemCount, modVarsAndMain.screen.speechVisible, npc->Last_Speech, modVarsAndMain.ScriptNPCIndex),
              std::tuple(-5, 0, false, L"", 1));
    fs::create_directories(dir.path() / "scripts" / "folder.itm");
    for (const wchar_t* name : {L"", L" ", L"0", L"missing.itm", L"..\\scripts\\x.itm", L"folder.itm"}) {
        Item it;
        it.ItemScript = name;
        it.DoAction();
    }
    EXPECT_TRUE(ui.log.empty());
    EXPECT_FALSE(modVarsAndMain.screen.speechVisible);
}

}  // namespace
