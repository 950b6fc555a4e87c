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
    // Every carried item's fields in the order give() takes them, and its count.
    std::wstring Pack() {
        std::wstring s;
        for (const auto& i : inv()) {
            s += i->ItemName + L"|" + NumText(i->ItemType) + L"|" + NumText(i->itembalance) + L"|" + i->ItemInfo + L"|" + i->ItemScript +
                 L"|" + NumText(i->WeaponPlus) + L"|" + NumText(i->DefendPlus) + L"|" + NumText(i->Weight) + L"|" +
                 NumText(i->Critical) + L"|" + i->SkillPlus + L"|" + NumText(i->ItemCount) + L"\n";
        }
        return s;
    }
    std::shared_ptr<Item> Carry(const std::wstring& name, int count = 0) {
        auto item = inv().Add();
        std::tie(item->ItemName, item->ItemCount) = std::tuple(name, count);
        return item;
    }
};

// Coins only as "money" in lower case; the amount is a 16-bit number (40000 is none); without
// an amount the test reports and is no yes. Amounts saturate.
TEST_F(Hero, CoinsCanBeTestedTakenAndGiven) {
    modVarsAndMain.Money = 20000;
    EXPECT_EQ(RunAndSee(L"var a;b;c;d;e\na ~ have(\"money\";\"20000\")\nb ~ have(\"money\";\"20001\")\nc ~ have(\"Money\";\"1\")\n"
                        L"d ~ have(\"money\")\ne ~ have(\"money\";\"40000\")\ninput(a & b & c & d & e)\ntake(\"Money\";\"20050\")"),
              (Seen_{L"true"}));
    EXPECT_EQ(std::tuple(Boxes(), modVarsAndMain.Money), std::tuple(1, -50));
    modVarsAndMain.Money = 2147483000;
    Run(L"give(\"MONEY\";\"100000\")");
    EXPECT_EQ(modVarsAndMain.Money, 2147483647);
}

// have() by exact name; take() one piece of the first item of that name; both weigh at once.
TEST_F(Hero, HaveAndTakeFindACarriedItemByExactName) {
    auto first = Carry(L"Трава", 1);
    auto second = Carry(L"Трава");
    first->Weight = 3;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ have(\"Трава\")\nb ~ have(\"трава\")\ninput(a & \"|\" & b)\ntake(\"Трава\")"), (Seen_{L"true|"}));
    EXPECT_EQ(std::tuple(first->ItemCount, hero().Weight), std::tuple(0, 3.0));
    Run(L"take(\"Трава\")\ntake(\"нет такого\")");
    EXPECT_EQ(std::tuple(inv().Contains(first), inv().Contains(second), hero().Weight), std::tuple(false, true, 0.0));
}

// give() stacks on an item equal in name and script (and in weight, balance and bonuses, which
// the conversions test), whatever its kind, info, critical or skill code; halves round to
// even; every change is weighed at once; a give() with arguments missing reports once and
// adds an item whose missing fields keep their defaults.
TEST_F(Hero, GiveAddsOrStacksAndWeighs) {
    Run(L"give(\"Меч\";\"1\";\"-1\";\"Острый\";\"mech.itm\";\"3\";\"2\";\"4.5\";\"2.5\";\"stp03\")\n"
        L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"food.itm\";\"0\";\"0\";\"1\";\"0\";\"\")\n"
        L"give(\"Хлеб\";\"9\";\"0\";\"b\";\"food.itm\";\"0\";\"0\";\"1\";\"5\";\"stp01\")\n"
        L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"\";\"0\";\"0\";\"1\";\"0\";\"\")\n"
        L"give(\"Камень\";\"11\";\"0\";\"\";\"\";\"0\";\"0\";\"15\";\"0\";\"\")\n"
        L"give(\"Хлеб\";\"4\";\"x\";\"a\";\"food.itm\";\"0\";\"0\";\"1\";\"0\";\"\")\ngive(\"Палка\";\"1\")");
    EXPECT_EQ(Pack(), L"Меч|1|-1|Острый|mech.itm|3|2|4.5|2|stp03|0\n"
                      L"Хлеб|4|0|a|food.itm|0|0|1|0||1\n"
                      L"Хлеб|4|0|a||0|0|1|0||0\n"
                      L"Камень|11|0|||0|0|15|0||0\n"
                      L"Хлеб|4|0|a|food.itm|0|0|1|0||0\n"  // a balance that is no number matches nothing
                      L"Палка|1|0|||0|0|0|0||0\n");
    EXPECT_EQ(std::tuple(Boxes(), hero().Weight, modVarsAndMain.CurItem), std::tuple(1, 23.5, inv().Item(6)));
    modVarsAndMain.GivenItemIndex = 4;
    Run(L"wantitem()");
    EXPECT_DOUBLE_EQ(hero().Weight, 8.5);
}

// Hunger tests the amount, and a test that cannot be made is not passed.
TEST_F(Hero, HeroValuesReportAMissingAmountOnlyForKeysThatUseIt) {
    std::tie(hero().HP, hero().Hungry) = std::tuple(10, 100);
    Run(L"plusvar(\"maxhp\")\nsetvar(\"luck\")\nplusvar(\"nothing\")\nsetvar(\"wear\")\nplusvar(\"hp\")\nsetvar(\"doom\")\nplusvar(\"hungry\")");
    EXPECT_EQ(std::tuple(Boxes(), int(hero().HP), int(hero().Hungry), modVarsAndMain.screen.speechVisible), std::tuple(3, 10, 100, false));
}

// wantitem() takes one piece of what was handed over, remove() of what was picked; with
// nothing at that position both are harmless, and with nothing handed over or picked the load
// is not even weighed.
TEST_F(Hero, WantItemAndRemoveTakeOnePiece) {
    auto bag = Carry(L"Шкура", 1);
    auto ring = Carry(L"Кольцо");
    auto apple = Carry(L"Яблоко", 2);
    std::tie(bag->Weight, hero().MaxWeight) = std::tuple(10, 30);
    Run(L"wantitem()\nremove()");
    const std::wstring info = modVarsAndMain.screen.lblII;
    std::tie(modVarsAndMain.GivenItemIndex, modVarsAndMain.PickedIndex) = std::tuple(1, 3);
    Run(L"wantitem()\nremove()\nwantitem()\nwantitem()");  // the position then holds the ring
    std::tie(modVarsAndMain.GivenItemIndex, modVarsAndMain.PickedIndex) = std::tuple(5, 5);
    Run(L"wantitem()\nremove()");
    EXPECT_EQ(std::tuple(info, inv().Contains(bag), inv().Contains(ring), apple->ItemCount, inv().Count()), std::tuple(L"", false, false, 1, 1L));
}

TEST_F(Hero, SpellsAreGivenByExactNameAndTestedInAnyCase) {
    EXPECT_EQ(RunAndSee(L"var a;b;c\ngives(\"lighting\")\ngives(\"CutSpell\")\na ~ havespell(\"LIGHTING\")\nb ~ havespell(\"cutspell\")\n"
                        L"c ~ getvar(\"darkness\")\ninput(a & b & c)\ngives(\"Darkness\")\ngives(\"Lighting\")\na ~ havespell(\"LIGHTING\")\n"
                        L"b ~ havespell(\"fireball\")\ninput(a & b)"),
              (Seen_{L"falsetrue0", L"truefalse"}));
    EXPECT_TRUE(modVarsAndMain.Darkness);
}

// getvar/setvar/plusvar by key (the conversions have their own test); 16-bit values
// saturate, luck is read and added to but never set, max hp is only read.
TEST_F(Hero, HeroValueKeys) {
    MainCharacter& h = hero();
    std::tie(h.Luck, h.Science, h.MaxHp) = std::tuple(4, 7, 30);
    std::tie(modVarsAndMain.WearMode, modVarsAndMain.ScriptLocal, modVarsAndMain.Darkness) = std::tuple(2, 5, true);
    std::wstring got;
    for (std::wstring key : {L"luck", L"mud", L"maxhp", L"wear", L"local", L"darkness", L"hp"})
        got += RunAndSee(L"var a\na ~ getvar(\"" + key + L"\")\ninput(a)")[0] + L"|";
    EXPECT_EQ(got, L"4|7|30|2|5|1||");
    auto values = [&] {
        return std::tuple(h.Doom, h.Strenght, h.Mana, int(h.Hungry), int(h.Poison), int(h.Sick), int(h.HP), int(h.Luck), int(h.MaxHp),
                          modVarsAndMain.ScriptLocal, modVarsAndMain.Darkness);
    };
    Run(L"setvar(\"doom\";\"1\")\nsetvar(\"strenght\";\"2\")\nsetvar(\"mana\";\"3\")\nsetvar(\"hungry\";\"4\")\nsetvar(\"poison\";\"5\")\n"
        L"setvar(\"sick\";\"6\")\nsetvar(\"HP\";\"40000\")\nsetvar(\"luck\";\"9\")\nsetvar(\"local\";\"abc\")\nsetvar(\"darkness\";\"0\")");
    EXPECT_EQ(values(), std::tuple(1.0, 2.0, 3.0, 4, 5, 6, 32767, 4, 30, Variant(0.0), false));
    Run(L"plusvar(\"doom\";\"1\")\nplusvar(\"strenght\";\"1\")\nplusvar(\"mana\";\"1\")\nplusvar(\"hungry\";\"1\")\nplusvar(\"poison\";\"1\")\n"
        L"plusvar(\"sick\";\"-9\")\nplusvar(\"hp\";\"-7\")\nplusvar(\"luck\";\"-2\")\nplusvar(\"maxhp\";\"5\")\nsetvar(\"darkness\";\"1\")");
    EXPECT_EQ(values(), std::tuple(2.0, 3.0, 4.0, 5, 6, -3, 32760, 2, 30, Variant(0.0), true));
}

TEST_F(Hero, HeroStateWithAndWithoutAHero) {
    std::tie(hero().MaxHp, hero().HP, hero().Level, hero().Profession) = std::tuple(25, 3, 4, kMonk);
    EXPECT_EQ(RunAndSee(L"var a;b\nheal()\na ~ getlevel()\nb ~ getperson()\ninput(a & b)\nilevel()"), (Seen_{L"42"}));
    EXPECT_EQ(std::tuple(int(hero().HP), int(hero().Exp)), std::tuple(25, 20));
    modVarsAndMain.Player.reset();
    modVarsAndMain.Inventory.reset();
    EXPECT_EQ(RunAndSee(L"var a\nkill()\nheal()\nilevel()\nplusvar(\"hp\";\"1\")\nsetvar(\"hp\";\"1\")\n"
                        L"give(\"x\";\"1\";\"0\";\"\";\"\";\"0\";\"0\";\"1\";\"0\";\"\")\ntake(\"x\")\nwantitem()\n"
                        L"a ~ getlevel()\ninput(a)\na ~ getvar(\"doom\")\ninput(a)"),
              (Seen_{L"", L""}));
}

// Skills count from the first row; a known skill is not given twice; a gap is filled first;
// the count stops at the last row; a full table takes none.
TEST_F(Hero, SkillsCountFromTheFirstRow) {
    auto& skills = modVarsAndMain.Skills;
    for (int i = 0; i < 20; ++i) skills[i][0] = i == 0 ? L"Литература" : i == 3 ? L"Кузнечное дело" : i == 7 ? L"" : L"s" + std::to_wstring(i);
    modVarsAndMain.LastSkillIndex = 19;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ getskill(\"Литература\")\nb ~ getskill(\"Рыбалка\")\ninput(a & b)\n"
                        L"giveskill(\"Кузнечное дело\")\ngiveskill(\"Литература\")\ngiveskill(\"Рыбалка\")\nskillplus(\"Рыбалка\")\n"
                        L"giveskill(\"new\")\ngiveskill(\"more\")"),
              (Seen_{L"10"}));
    EXPECT_EQ(std::tuple(int(modVarsAndMain.LastSkillIndex), skills[7][0], skills[20][0], skills[19][0]),
              std::tuple(20, Variant(L"Рыбалка"), Variant(L"new"), Variant(L"s19")));
}

// --- using an item ---

TEST_F(Hero, ReadingNeedsTheSkillAnywhereInTheTableAndLight) {
    Item book;
    std::tie(book.ItemScript, book.ItemType) = std::tuple(L"book.itm", kBook);
    WriteScript("book.itm", L"setq(\"2\";\"7\")");
    std::wstring said;
    for (auto [skill, dark] : {std::pair{L"", false}, std::pair{L"Литература", true}, std::pair{L"Литература", false}}) {
        std::tie(modVarsAndMain.Skills[3][0], modVarsAndMain.Darkness, modVarsAndMain.screen.txtSpeech) = std::tuple(skill, dark, L"");
        book.DoAction();
        said += modVarsAndMain.screen.txtSpeech + L"|";
    }
    EXPECT_EQ(std::tuple(said, int(modVarsAndMain.QuestFlags[2])),
              std::tuple(L"Вы не умеете читать!\r\n\r\n[пробел]|Невозможно читать в темноте!\r\n\r\n[пробел]||", 7));
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
        bread->ItemScript = name;
        bread->DoAction();
    }
    EXPECT_EQ(std::tuple(ui.log.size(), modVarsAndMain.screen.speechVisible), std::tuple(0u, false));
}

}  // namespace
