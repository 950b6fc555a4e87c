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
    std::shared_ptr<Item> Carry(const std::wstring& name, int count = 0) {
        auto item = inv().Add();
        item->ItemName = name;
        item->ItemCount = count;
        return item;
    }
};

// --- coins ---

TEST_F(Hero, CoinsCanBeTestedTakenAndGiven) {
    modVarsAndMain.Money = 20;
    // Coins only as "money" in lower case; the amount is a 16-bit number (40000 is none, so
    // nobody has it); without an amount the test reports and is no yes.
    Carry(L"Money");
    EXPECT_EQ(RunAndSee(L"var a;b;c;d\na ~ have(\"money\";\"20\")\nb ~ have(\"money\";\"21\")\nc ~ have(\"Money\";\"1\")\n"
                        L"d ~ have(\"money\")\ninput(a)\ninput(b)\ninput(c)\ninput(d)"),
              (Seen_{L"true", L"", L"true", L""}));
    EXPECT_EQ(Boxes(), 1);
    inv().Clear();
    EXPECT_EQ(RunAndSee(L"var a\na ~ have(\"Money\";\"1\")\ninput(a)"), (Seen_{L""}));
    Run(L"take(\"Money\";\"50\")");
    EXPECT_EQ(modVarsAndMain.Money, -30);
    Run(L"give(\"MONEY\";\"45\")\ngive(\"money\";\"abc\")\ntake(\"money\";\"\")");
    EXPECT_EQ(modVarsAndMain.Money, 15);
    modVarsAndMain.Money = 35000;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ have(\"money\";\"40000\")\nb ~ have(\"money\";\"30000\")\ninput(a)\ninput(b)"),
              (Seen_{L"", L"true"}));
    modVarsAndMain.Money = 2147483000;  // saturates instead of overflowing
    Run(L"give(\"money\";\"100000\")");
    EXPECT_EQ(modVarsAndMain.Money, 2147483647);
}

// --- carried items ---

TEST_F(Hero, HaveFindsACarriedItemByExactName) {
    Carry(L"Меч");
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ have(\"Меч\")\nb ~ have(\"меч\")\ninput(a)\ninput(b)"), (Seen_{L"true", L""}));
}

TEST_F(Hero, TakeRemovesOnePieceOfTheFirstItemOfThatName) {
    auto first = Carry(L"Трава", 2);
    auto second = Carry(L"Трава");
    Run(L"take(\"Трава\")");
    EXPECT_EQ(first->ItemCount, 1);
    Run(L"take(\"Трава\")\ntake(\"Трава\")");
    EXPECT_FALSE(inv().Contains(first));
    EXPECT_TRUE(inv().Contains(second));
    Run(L"take(\"Трава\")\ntake(\"Трава\")\ntake(\"нет такого\")");
    EXPECT_EQ(inv().Count(), 0);
}

TEST_F(Hero, ItemsThatComeOrGoAreWeighedAtOnce) {
    auto stones = Carry(L"Камень", 2);
    stones->Weight = 3;
    Run(L"take(\"Камень\")");
    EXPECT_DOUBLE_EQ(hero().Weight, 2 * 3);
    Run(L"give(\"Камень\";\"11\";\"0\";\"\";\"\";\"0\";\"0\";\"3\";\"0\";\"\")");
    EXPECT_DOUBLE_EQ(hero().Weight, 3 * 3);
    Run(L"give(\"Слиток\";\"11\";\"0\";\"\";\"\";\"0\";\"0\";\"5\";\"0\";\"\")");
    EXPECT_DOUBLE_EQ(hero().Weight, 3 * 3 + 5);
    modVarsAndMain.GivenItemIndex = 2;
    Run(L"wantitem()");
    EXPECT_DOUBLE_EQ(hero().Weight, 3 * 3);
}

TEST_F(Hero, GiveAddsANewItemWithItsFields) {
    Run(L"give(\"Меч\";\"1\";\"-1\";\"Острый\";\"mech.itm\";\"3\";\"2\";\"4.5\";\"2.5\";\"stp03\")");
    ASSERT_EQ(inv().Count(), 1);
    EXPECT_EQ(modVarsAndMain.CurItem, inv().Item(1));
    EXPECT_EQ(Fields(*inv().Item(1)), L"Меч|1|-1|Острый|mech.itm|3|2|4.5|2|stp03|0");  // halves round to even
    EXPECT_EQ(Boxes(), 0);
}

TEST_F(Hero, GiveStacksOnAnEqualItemWhateverItsKindInfoCriticalOrBonusCode) {
    Run(L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"food.itm\";\"0\";\"0\";\"1\";\"0\";\"\")");
    Run(L"give(\"Хлеб\";\"9\";\"0\";\"b\";\"food.itm\";\"0\";\"0\";\"1\";\"5\";\"stp01\")");
    ASSERT_EQ(inv().Count(), 1);
    EXPECT_EQ(inv().Item(1)->ItemCount, 1);
    EXPECT_EQ(inv().Item(1)->ItemType, 4);
    // Another weight, script or balance is another item.
    Run(L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"food.itm\";\"0\";\"0\";\"2\";\"0\";\"\")");
    Run(L"give(\"Хлеб\";\"4\";\"0\";\"a\";\"\";\"0\";\"0\";\"1\";\"0\";\"\")");
    Run(L"give(\"Хлеб\";\"4\";\"1\";\"a\";\"food.itm\";\"0\";\"0\";\"1\";\"0\";\"\")");
    EXPECT_EQ(inv().Count(), 4);
}

TEST_F(Hero, GiveKeepsDefaultsForFieldsThatAreNotNumbers) {
    Run(L"give(\"Камень\";\"x\";\"\";\"\";\"\";\"a\";\"b\";\"c\";\"d\";\"\")");
    ASSERT_EQ(inv().Count(), 1);
    EXPECT_EQ(Fields(*inv().Item(1)), L"Камень|0|0|||0|0|0|0||0");
    // With arguments missing there is no whole item to give: one report, nothing added.
    Run(L"give(\"Палка\";\"1\")");
    EXPECT_EQ(inv().Count(), 1);
    EXPECT_EQ(Boxes(), 1);
}

TEST_F(Hero, HeroValuesReportAMissingAmountOnlyForKeysThatUseIt) {
    hero().HP = 10;
    hero().Hungry = 100;
    Run(L"plusvar(\"maxhp\")\nsetvar(\"luck\")\nplusvar(\"nothing\")\nsetvar(\"wear\")");
    EXPECT_EQ(Boxes(), 0);
    Run(L"plusvar(\"hp\")\nsetvar(\"doom\")");
    EXPECT_EQ(Boxes(), 2);
    EXPECT_EQ(hero().HP, 10);
    // Hunger tests the amount, and a test that cannot be made is not passed: the other
    // branch needs the amount too, and the call has reported it once already.
    ui.log.clear();
    Run(L"plusvar(\"hungry\")");
    EXPECT_EQ(Boxes(), 1);
    EXPECT_EQ(hero().Hungry, 100);
    EXPECT_FALSE(modVarsAndMain.screen.speechVisible);
}

TEST_F(Hero, WantItemTakesOnePieceOfWhatWasHandedOver) {
    auto bag = Carry(L"Шкура", 1);
    auto ring = Carry(L"Кольцо");
    bag->Weight = 10;  // an overload would show, had the load been weighed
    hero().MaxWeight = 30;
    Run(L"wantitem()");  // nothing handed over
    EXPECT_EQ(bag->ItemCount, 1);
    EXPECT_EQ(modVarsAndMain.screen.lblII, L"");
    modVarsAndMain.GivenItemIndex = 1;
    Run(L"wantitem()");
    EXPECT_EQ(bag->ItemCount, 0);
    Run(L"wantitem()");
    EXPECT_FALSE(inv().Contains(bag));
    Run(L"wantitem()");  // the position now holds the ring
    EXPECT_FALSE(inv().Contains(ring));
    Run(L"wantitem()");  // nothing left at that position: harmless
    EXPECT_EQ(inv().Count(), 0);
}

TEST_F(Hero, RemoveTakesOnePieceOfThePickedItem) {
    auto apple = Carry(L"Яблоко", 2);
    Run(L"remove()");  // nothing picked
    EXPECT_EQ(apple->ItemCount, 2);
    modVarsAndMain.PickedIndex = 1;
    Run(L"remove()");
    EXPECT_EQ(apple->ItemCount, 1);
    modVarsAndMain.PickedIndex = 5;
    Run(L"remove()");
    EXPECT_EQ(apple->ItemCount, 1);
}

TEST_F(Hero, GiveMoneyAndGiveItemReadTheHandOver) {
    Carry(L"Кинжал");
    EXPECT_EQ(RunAndSee(L"var m;i\nm ~ givemoney()\ni ~ giveitem()\ninput(m)\ninput(i)"), (Seen_{L"0", L"0"}));
    modVarsAndMain.GivenMoney = 25;
    modVarsAndMain.GivenItemIndex = 1;
    EXPECT_EQ(RunAndSee(L"var m;i\nm ~ givemoney()\ni ~ giveitem()\ninput(m)\ninput(i)"), (Seen_{L"25", L"Кинжал"}));
    modVarsAndMain.GivenItemIndex = 3;
    EXPECT_EQ(RunAndSee(L"var i\ni ~ giveitem()\ninput(i)"), (Seen_{L""}));
}

// --- spells ---

TEST_F(Hero, SpellsAreGivenByExactNameAndTestedInAnyCase) {
    EXPECT_EQ(RunAndSee(L"var a\na ~ havespell(\"Lighting\")\ninput(a)"), (Seen_{L"false"}));
    Run(L"gives(\"lighting\")\ngives(\"CutSpell\")");
    EXPECT_FALSE(modVarsAndMain.LightningKnown);
    EXPECT_TRUE(modVarsAndMain.CutSpellKnown);
    Run(L"gives(\"Lighting\")\ngives(\"Darkness\")");
    EXPECT_TRUE(modVarsAndMain.LightningKnown);
    EXPECT_TRUE(modVarsAndMain.Darkness);
    EXPECT_EQ(RunAndSee(L"var a;b;c\na ~ havespell(\"LIGHTING\")\nb ~ havespell(\"cutspell\")\nc ~ havespell(\"fireball\")\n"
                        L"input(a)\ninput(b)\ninput(c)"),
              (Seen_{L"true", L"true", L"false"}));
}

// --- hero values ---

TEST_F(Hero, GetVarKeys) {
    hero().Luck = 4;
    hero().Science = 7;
    hero().MaxHp = 30;
    modVarsAndMain.WearMode = 2;
    modVarsAndMain.ScriptLocal = 5;
    modVarsAndMain.Darkness = true;
    EXPECT_EQ(RunAndSee(L"var a\na ~ getvar(\"luck\")\ninput(a)\na ~ getvar(\"mud\")\ninput(a)\n"
                        L"a ~ getvar(\"maxhp\")\ninput(a)\na ~ getvar(\"wear\")\ninput(a)\n"
                        L"a ~ getvar(\"local\")\ninput(a)\na ~ getvar(\"darkness\")\ninput(a)\n"
                        L"a ~ getvar(\"hp\")\ninput(a)"),
              (Seen_{L"4", L"7", L"30", L"2", L"5", L"1", L""}));
}

TEST_F(Hero, SetVarKeys) {
    Run(L"setvar(\"doom\";\"1.5\")\nsetvar(\"hungry\";\"12.5\")\nsetvar(\"poison\";\"3\")\nsetvar(\"strenght\";\"7.25\")\n"
        L"setvar(\"sick\";\"2\")\nsetvar(\"HP\";\"40000\")\nsetvar(\"mana\";\"3x\")\nsetvar(\"local\";\"abc\")\n"
        L"setvar(\"darkness\";\"1\")\nsetvar(\"luck\";\"9\")");
    EXPECT_DOUBLE_EQ(hero().Doom, 1.5);
    EXPECT_EQ(hero().Hungry, 12);
    EXPECT_EQ(hero().Poison, 3);
    EXPECT_DOUBLE_EQ(hero().Strenght, 7.25);
    EXPECT_EQ(hero().Sick, 2);
    EXPECT_EQ(hero().HP, 32767);
    EXPECT_DOUBLE_EQ(hero().Mana, 3);
    EXPECT_EQ(modVarsAndMain.ScriptLocal, Variant(0.0));
    EXPECT_TRUE(modVarsAndMain.Darkness);
    EXPECT_EQ(hero().Luck, 0);  // luck is read and added to, never set
    Run(L"setvar(\"darkness\";\"0\")\nsetvar(\"hungry\";\"abc\")\nsetvar(\"hp\";\"\")");
    EXPECT_FALSE(modVarsAndMain.Darkness);
    EXPECT_EQ(hero().Hungry, 0);
    EXPECT_EQ(hero().HP, 0);
}

TEST_F(Hero, PlusVarKeys) {
    hero().Doom = 1;
    hero().Poison = 1;
    hero().Sick = 1;
    hero().HP = 10;
    hero().Mana = 1;
    hero().Luck = 1;
    Run(L"plusvar(\"doom\";\"0.5\")\nplusvar(\"poison\";\"1.5\")\nplusvar(\"sick\";\"-3\")\nplusvar(\"hp\";\"-2.5\")\n"
        L"plusvar(\"strenght\";\"2\")\nplusvar(\"mana\";\"2\")\nplusvar(\"mana\";\"2x\")\nplusvar(\"luck\";\"2\")\n"
        L"plusvar(\"luck\";\"x\")\nplusvar(\"maxhp\";\"5\")");
    EXPECT_DOUBLE_EQ(hero().Doom, 1.5);
    EXPECT_EQ(hero().Poison, 2);  // 2.5 to the even 2
    EXPECT_EQ(hero().Sick, -2);
    EXPECT_EQ(hero().HP, 8);      // 7.5 to the even 8
    EXPECT_DOUBLE_EQ(hero().Strenght, 2);
    EXPECT_DOUBLE_EQ(hero().Mana, 3);
    EXPECT_EQ(hero().Luck, 3);
    EXPECT_EQ(hero().MaxHp, 0);
}

TEST_F(Hero, HeroValuesReadTextsAsTheLanguageDoes) {
    Run(L"setvar(\"doom\";\" 1 5\")\nplusvar(\"strenght\";\"2e1\")\nsetvar(\"local\";\"- 4\")");
    EXPECT_DOUBLE_EQ(hero().Doom, 15);
    EXPECT_DOUBLE_EQ(hero().Strenght, 2);
    EXPECT_EQ(modVarsAndMain.ScriptLocal, Variant(-4.0));
    Run(L"give(\"Камень\";\"11\";\"0\";\"\";\"\";\"0\";\"0\";\"1 .5\";\"0\";\"\")\n"
        L"give(\"Камень\";\"11\";\"0\";\"\";\"\";\"0\";\"0\";\"15e-1\";\"0\";\"\")");
    ASSERT_EQ(inv().Count(), 2);
    EXPECT_DOUBLE_EQ(inv().Item(1)->Weight, 1.5);
    EXPECT_DOUBLE_EQ(inv().Item(2)->Weight, 15);
}

TEST_F(Hero, HeroState) {
    hero().MaxHp = 25;
    hero().HP = 3;
    hero().Level = 4;
    hero().Profession = kMonk;
    EXPECT_EQ(RunAndSee(L"var a;b\nheal()\na ~ getlevel()\nb ~ getperson()\ninput(a)\ninput(b)\nilevel()"),
              (Seen_{L"4", L"2"}));
    EXPECT_EQ(hero().HP, 25);
    EXPECT_EQ(hero().Exp, 20);
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

// --- skills ---

TEST_F(Hero, SkillsCountFromTheFirstRow) {
    auto& skills = modVarsAndMain.Skills;
    skills[0][0] = L"Литература";
    skills[1][0] = L"Травничество";
    skills[2][0] = L"Лечение";
    skills[3][0] = L"Кузнечное дело";
    skills[4][0] = L"Кулинария";
    modVarsAndMain.LastSkillIndex = 4;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ getskill(\"Литература\")\nb ~ getskill(\"Рыбалка\")\ninput(a)\ninput(b)"),
              (Seen_{L"1", L"0"}));
    Run(L"giveskill(\"Кузнечное дело\")\ngiveskill(\"Литература\")");
    EXPECT_EQ(modVarsAndMain.LastSkillIndex, 4);
    EXPECT_EQ(skills[5][0], Variant());
    Run(L"giveskill(\"Рыбалка\")\nskillplus(\"Рыбалка\")");
    EXPECT_EQ(skills[5][0], Variant(L"Рыбалка"));
    EXPECT_EQ(modVarsAndMain.LastSkillIndex, 5);
}

TEST_F(Hero, GiveSkillWithAFullTableChangesNothing) {
    for (int i = 0; i < 21; ++i) modVarsAndMain.Skills[i][0] = L"s" + std::to_wstring(i);
    Run(L"giveskill(\"new\")");
    EXPECT_EQ(modVarsAndMain.LastSkillIndex, 0);
    EXPECT_EQ(modVarsAndMain.Skills[20][0], Variant(L"s20"));
}

// --- using an item ---

TEST_F(Hero, TheDragonStoneAsksForAnEvilHeartAndARing) {
    Item stone;
    stone.ItemName = L"Камень драконов";
    stone.ItemScript = L"stone.itm";
    WriteScript("stone.itm", L"setq(\"1\";\"1\")");
    hero().Doom = 6;
    stone.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech,
              L"Только приверженец злых духов может использовать этот амулет!!!\r\n\r\n[пробел]");
    hero().Doom = 7;
    stone.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Чтобы вас не уничтожило,нужно иметь кольцо злых духов\r\n\r\n[пробел]");
    ClearSpeech();
    Carry(L"Кольцо злых духов")->ItemType = kRing;
    stone.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"");
    EXPECT_EQ(modVarsAndMain.QuestFlags[1], 0);  // the stone never runs a script
}

TEST_F(Hero, ReadingNeedsTheSkillAnywhereInTheTableAndLight) {
    Item book;
    book.ItemType = kBook;
    book.ItemScript = L"book.itm";
    WriteScript("book.itm", L"setq(\"2\";\"7\")");
    book.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Вы не умеете читать!\r\n\r\n[пробел]");
    modVarsAndMain.Skills[0][0] = L"Литература";
    modVarsAndMain.Darkness = true;
    book.DoAction();
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Невозможно читать в темноте!\r\n\r\n[пробел]");
    EXPECT_EQ(modVarsAndMain.QuestFlags[2], 0);
    modVarsAndMain.Darkness = false;
    book.DoAction();
    EXPECT_EQ(modVarsAndMain.QuestFlags[2], 7);
}

TEST_F(Hero, ItemScriptsRunForNobody) {
    auto npc = AddSpeaker(L"Торговец");
    WriteScript("food.itm", L"say(\"чужие слова\")\nfinish(\"x\")\nplusvar(\"hungry\";\"-5\")\nremove()");
    auto bread = Carry(L"Хлеб", 1);
    bread->ItemScript = L"food.itm";
    modVarsAndMain.PickedIndex = 1;
    bread->DoAction();
    EXPECT_EQ(hero().Hungry, -5);
    EXPECT_EQ(bread->ItemCount, 0);
    EXPECT_FALSE(modVarsAndMain.screen.speechVisible);
    EXPECT_EQ(npc->Last_Speech, L"");
    EXPECT_EQ(modVarsAndMain.ScriptNPCIndex, 1);  // the talk that was going on keeps its speaker
}

TEST_F(Hero, ItemsWithoutAScriptOrWithABadOneDoNothing) {
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
