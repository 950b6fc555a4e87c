// The skill list, the skills with and without carried items, the forge's choices, the bow
// shot, the spells and gathering, on a grass town with characters to aim at.
#include "game/gathering.h"
#include "game/skill_rules.h"
#include "game/skills.h"
#include "game/spells.h"
#include "screen_fixture.h"
#include "script/find_messages.h"
#include "world/quest_flags.h"

using namespace morvath;

namespace {

class Skills : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        w().SetRow(0, std::wstring(30, L'G'));
        WriteText(L"scripts/dies.die", L"say(\"конец\")\r\n");
        ui.onPause = [this] {
            const auto& v = g().gameScreen.view;
            frames.push_back({v.flyingShown, v.flying, v.flyingX, v.flyingY, g().AnimationRunning});
        };
    }
    // A character on (x, y) in hero coordinates whose death script speaks.
    std::shared_ptr<NPC> AddNpc(const std::wstring& name, int x, int y, double hp, bool good = false) {
        auto npc = g().NPCs->Add();
        std::tie(npc->NPCName, npc->X, npc->Y, npc->HP, npc->Symbol, npc->Good, npc->DieScript_File) =
            std::tuple(name, float(x), float(y), hp, L"w", good, L"dies.die");
        Put(x, y, L"w");
        return npc;
    }
    std::shared_ptr<Item> Carry(const std::wstring& name, long kind, int count = 0) {
        auto item = g().Inventory->Add();
        std::tie(item->ItemName, item->ItemType, item->ItemCount, item->Weight) = std::tuple(name, kind, count, 1);
        return item;
    }
    // The names carried, each with its count.
    std::wstring Pack() {
        std::wstring t;
        for (const auto& item : *g().Inventory) t += item->ItemName + L" x" + NumText(item->ItemCount) + L"/";
        return t;
    }
    void Learn(std::size_t row, const wchar_t* name) { g().Skills[row][0] = Variant(std::wstring(name)); }
    // Runs the skill with the picker answering these inventory positions in turn.
    void Use(const wchar_t* skill, std::deque<int> picks) {
        Learn(0, skill);
        ui.pickAnswers = std::move(picks);
        UseSkill(0);
    }
    // What the view showed at each pause of an animation.
    struct Frame { bool shown; Pic picture; int x; int y; bool keysBlocked; };
    std::vector<Frame> frames;
    std::wstring Said() const { return modVarsAndMain.screen.txtSpeech; }
};

TEST_F(Skills, TheListOffersEveryNamedRowAndRunsTheRowOfTheLineChosen) {
    const auto& list = g().gameScreen.skills;
    ShowSkills();
    EXPECT_EQ(std::tuple(Said(), list.visible), std::tuple(Spoken(L"Нет Умений!"), false));
    for (auto [row, name] : {std::pair(3, L"Литература"), {12, L"Врачевание"}, {20, L"Заговаривать болезнь"}}) Learn(row, name);
    ShowSkills();
    EXPECT_EQ(list.lines, (std::vector<std::wstring>{L"Литература", L"Врачевание", L"Заговаривать болезнь"}));
    std::tie(h().HP, g().gameScreen.skills.ListIndex) = std::tuple(10, 1);
    ChooseSkill();
    EXPECT_EQ(std::tuple(h().HP, list.visible), std::tuple(14, false));
    ShowSkills();
    ChooseSkill();  // no line chosen is the first: the passive reading skill, which does nothing
    Learn(0, L"Врачевание");  // the list is made afresh: its first line is row 0 now
    for (int line : {4, -1}) {  // a line past the list closes it and uses nothing
        ShowSkills();
        g().gameScreen.skills.ListIndex = line;
        ChooseSkill();
        EXPECT_EQ(std::tuple(h().HP, list.visible), std::tuple(line < 0 ? 18 : 14, false));
    }
    g().Darkness = true;
    ShowSkills();
    EXPECT_EQ(std::tuple(h().HP, Said(), list.visible), std::tuple(18, Spoken(L"Здесь слишком темно..."), false));
}

TEST_F(Skills, CuringAndHealing) {
    const struct { const wchar_t* skill; int hp, sick, hpAfter, sickAfter; const wchar_t* said; } cases[] = {
        {L"Заговаривать болезнь", 10, 0, 10, 0, L"Вы не больны"}, {L"Заговаривать болезнь", 10, 7, 10, 1, L""},
        {L"Врачевание", 16, 0, 20, 0, L""}, {L"Врачевание", 17, 5, 17, 3, L""}};  // no healing part of the way; the illness still eases
    for (const auto& c : cases) {
        g().screen.txtSpeech.clear();
        std::tie(h().HP, h().Sick) = std::tuple(c.hp, c.sick);
        Use(c.skill, {});
        EXPECT_EQ(std::tuple(h().HP, h().Sick, Said()), std::tuple(c.hpAfter, c.sickAfter, *c.said ? Spoken(c.said) : L""))
            << c.skill << c.hp;
    }
}

TEST_F(Skills, TheftTakesUpToWhatTheVictimCarriesOrFights) {
    Learn(0, L"Воровство");
    h().Mobility = 13;  // a draw of r2 steals when r2 * 14 passes 7
    std::wstring loot;
    for (auto victim : {L"Солдат", L"Воевода", L"Купец", L"Торговец", L"Нищий"}) {
        g().NPCs->Clear();
        AddNpc(victim, 5, 6, 40, true);
        PinnedDraws draws{0, 0.51, 0.5};
        UseSkill(0);
        loot += NumText(g().Money) + L" ";
    }
    EXPECT_EQ(std::tuple(loot, Said(), std::lround(h().Doom * 10)), std::tuple(L"10 60 260 360 362 ", Spoken(L"Вам повезло! Вы своровали 2 монет!"), 10));
    h().Doom = 4;
    // Caught: exactly 7 is not past it; a hostile victim catches even a draw that beats a peaceful one; a good one raises the soldiers.
    for (auto [good, draw] : {std::pair(true, 0.5), {false, 0.99}}) {
        g().NPCs->Clear();
        g().gameScreen.fight.visible = false;
        auto victim = AddNpc(L"Купец", 5, 6, 40, good);
        auto soldier = AddNpc(L"Солдат", 5, 20, 40, true);  // in the same column, not in front
        victim->Tactic = good ? 0 : kTacticApproach;
        PinnedDraws draws{0, draw};
        UseSkill(0);
        EXPECT_EQ(std::tuple(Said(), victim->Good, soldier->Tactic == kTacticApproach, g().gameScreen.fight.visible, g().gameScreen.fight.enemy, h().Doom),
                  std::tuple(Spoken(L"Вас поймали на воровстве!"), false, good, true, victim, 4));
    }
    g().NPCs->Clear();
    UseSkill(0);
    EXPECT_EQ(Said(), Spoken(L"Здесь не у кого воровать..."));
}

TEST_F(Skills, Fishing) {
    Use(L"Ловить рыбу", {});
    EXPECT_EQ(Said(), Spoken(L"Вам нечем ловить рыбу - нужна удочка!"));
    g().Equip[kSlotLeftHand][kEqName] = Variant(std::wstring(L"Удочка"));
    for (int x : {4, 6}) Put(x, 5, L"-");
    UseSkill(0);
    EXPECT_EQ(Said(), Spoken(L"Здесь нет ни воды, ни реки - рыбу ловить негде..."));
    // With Luck 6 every try catches; the second fish joins the first.
    Put(5, 4, L"D");
    h().Luck = 6;
    UseSkill(0);
    UseSkill(0);
    EXPECT_EQ(std::tuple(Said(), Pack(), g().Inventory->Item(1)->ItemScript, h().Weight), std::tuple(Spoken(L"Вы поймали рыбину!"), L"Окунь или плотва x1/", L"food.itm", 4.0));
    // The blue carp of its lake is caught once, below a lower shore piece too.
    Put(5, 4, L"G");
    Put(5, 6, L"F");
    std::tie(w().WorldName, g().QuestFlags[kFlagBlueCarp]) = std::tuple(L"lm1", 1);
    UseSkill(0);
    EXPECT_EQ(std::tuple(Said(), g().QuestFlags[kFlagBlueCarp], Pack(), g().Inventory->Item(2)->ItemScript),
              std::tuple(Spoken(L"Вы поймали странного синего карася!"), 2, L"Окунь или плотва x1/Странный карась синего цвета x0/", L"bluefish.itm"));
    // Without luck: the golden fish, one try in seventy of those that miss.
    h().Luck = 0;
    for (auto [draws, said] : {std::pair(std::vector{0.54, 0.99, 0.5}, L"Вы поймали Золотую рыбку...У вас море денег..."),
                               {std::vector{0.54, 0.985}, L"Вам не повезло - вы ничего не поймали..."}}) {
        PinnedDraws pinned(draws);
        UseSkill(0);
        EXPECT_EQ(std::tuple(Said(), g().Money), std::tuple(Spoken(said), 16050));
    }
}

TEST_F(Skills, AnArrowHitsInABandAndItsDamageCountsBowArrowLuckAndTactic) {
    g().Equip[kSlotRightHand][kEqWeaponPlus] = Variant(10.0);
    g().Equip[kSlotRightHand][kEqCritical] = Variant(50.0);
    auto arrow = Carry(L"Стрелы", kArrows);
    std::tie(arrow->WeaponPlus, arrow->Critical, h().Mobility, h().Luck) = std::tuple(4, 50, 10, 4);
    // bow 5 + arrows 2 + luck 2 + twice the tactic - a third of the draw's strength
    for (auto [tactic, hp] : {std::pair(-2, 96.5), {0, 92.5}, {2, 88.5}}) {
        g().NPCs->Clear();
        h().HeroeTactic = tactic;
        AddNpc(L"Волк", 7, 8, 100);  // two columns off the line is out of it
        EXPECT_FALSE(ArrowHit(5, 8, kSlotRightHand, arrow));
        auto target = AddNpc(L"Волк", 6, 8, 100);  // a column off the line is still in it
        target->Strenght = 3;
        PinnedDraws draws{0.1, 0.5};
        EXPECT_TRUE(ArrowHit(5, 8, kSlotRightHand, arrow));
        EXPECT_EQ(std::tuple(target->HP, target->Tactic, Said()), std::tuple(hp, kTacticApproach, Spoken(L"Вы попали и нанесли повреждение.")));
    }
    PinnedDraws draws{0.08};
    EXPECT_FALSE(ArrowHit(5, 8, kSlotRightHand, arrow));
    EXPECT_EQ(Said(), Spoken(L"Вы промахнулись!"));
    // The strong take no harm and a good one raises the soldiers; the dead speaks its own death.
    g().NPCs->Clear();
    auto soldier = AddNpc(L"Солдат", 20, 20, 40, true);
    auto strong = AddNpc(L"Богатырь", 5, 8, 50, true);
    auto weak = AddNpc(L"Заяц", 5, 9, 1);
    std::tie(strong->Strenght, h().HeroeTactic, h().Exp, g().ScriptNPCIndex) = std::tuple(100, 0, 0, 1);
    PinnedDraws more{0.5, 0.2, 0.5, 0.5};
    EXPECT_TRUE(ArrowHit(5, 8, kSlotRightHand, nullptr));
    EXPECT_EQ(std::tuple(Said(), soldier->Tactic, strong->Good), std::tuple(Spoken(L"Вы попали но не нанесли повреждения..."), kTacticApproach, false));
    EXPECT_TRUE(ArrowHit(5, 9, kSlotRightHand, nullptr));
    EXPECT_EQ(std::tuple(g().NPCs->Contains(weak), h().Exp, Said()), std::tuple(false, 1, Spoken(L"Заяц:конец")));
}

TEST_F(Skills, TheArrowFliesUntilItHitsAndTheLastOneIsGoneAfterwards) {
    Use(L"Стрелять из лука", {});
    EXPECT_EQ(Said(), Spoken(L"Вам не из чего стрелять, возьмите лук в руку!"));
    g().Equip[kSlotLeftHand][kEqType] = Variant(static_cast<double>(kBow));
    g().Equip[kSlotLeftHand][kEqCritical] = Variant(100.0);
    UseSkill(0);
    EXPECT_EQ(Said(), Spoken(L"Вам нечем стрелять!"));
    auto arrows = Carry(L"Стрелы", kArrows, 1);
    g().FacingDir = 4;
    AddNpc(L"Волк", 6, 5, 100);  // behind the hero
    Use(L"Стрелять из лука", {1});  // nobody to the left: five cells, then gone
    EXPECT_EQ(std::tuple(frames.size(), frames.back().picture, frames.back().x, arrows->ItemCount, h().Weight), std::tuple(5u, Pic::a4, 0, 0, 1.0));
    // The last arrow hits the wolf two cells down, and is used up after its flight: nothing is carried.
    frames.clear();
    g().FacingDir = 2;
    auto wolf = AddNpc(L"Волк", 5, 7, 100);
    PinnedDraws draws{0.5, 0.5};
    Use(L"Стрелять из лука", {1});
    EXPECT_EQ(std::tuple(frames.size(), frames.back().picture, wolf->Tactic, g().Inventory->Contains(arrows), g().AnimationRunning, h().Weight),
              std::tuple(2u, Pic::a3, kTacticApproach, false, false, 0.0));
}

TEST_F(Skills, HerbLoreAndAlchemyMixAPairInEitherOrder) {
    const struct Case { long kind; const wchar_t *first, *second, *made; } cases[] = {
        {kBerry, L"Земляника", L"Брусника", L"Порошок силы x0/stdust.itm"},
        {kBerry, L"Волчья ягода", L"Бузина", L"Лекарство x0/ledust.itm"},
        {kBerry, L"Клюква", L"Волчья ягода", L"Порошок здоровья x0/hpdust.itm"},
        {kBerry, L"Клюква", L"Черника", L"Мешанина x0/unkya.itm"},
        {kDrink, L"Чаша 'Огненной Воды'", L"Чаша Зелёной Браги", L"Напиток мудрости x0/mdrink.itm"},
        {kDrink, L"Чаша Ядовитой Браги", L"Чаша Браги Сытости", L"Напиток силы x0/stdrink.itm"},
        {kDrink, L"Чаша Зелёной Браги", L"Чаша Браги Сытости", L"Непонятная жидкость. x0/unkya.itm"},
    };
    for (const Case& c : cases) {
        g().Inventory->Clear();
        Carry(L"Хлеб", kFood);
        Carry(c.first, c.kind, 4);  // a stack of five gives one
        Carry(c.second, c.kind);
        Use(c.kind == kBerry ? L"Знание трав" : L"Алхимия", {2, 3});
        const auto made = g().Inventory->Item(3);
        EXPECT_EQ(std::tuple(Pack() + made->ItemScript, made->ItemType, made->Weight),
                  std::tuple(L"Хлеб x0/" + std::wstring(c.first) + L" x3/" + c.made, c.kind == kBerry ? kPowder : kDrink, c.kind == kBerry ? 0.02 : 0.9));
    }
    // A thing with itself changes nothing.
    g().Inventory->Clear();
    Carry(L"Клюква", kBerry, 2);
    Carry(L"Чаша Браги Сытости", kDrink);
    Use(L"Знание трав", {1, 1});
    EXPECT_EQ(Said(), Spoken(L"Нельзя смешать ягоду саму с себя"));
    Use(L"Алхимия", {2, 2});
    EXPECT_EQ(std::tuple(Said(), Pack()), std::tuple(Spoken(L"Нельзя смешать зелье само с собою.."), L"Клюква x2/Чаша Браги Сытости x0/"));
}

TEST_F(Skills, CookingLearnsAMeatOnceAndRoastsItOnlyBeforeAFire) {
    auto& learned = g().Skills[0][2];
    h().Luck = 0;
    Carry(L"Сырое мясо.", kFood, 1);
    {
        PinnedDraws draws{0.74};
        Use(L"Готовить", {1});  // one piece of the two is spent
    }
    EXPECT_EQ(std::tuple(Said(), learned.ToText(), Pack()), std::tuple(Spoken(L"Пробуем приготовить... Ничего не получилось..."), L" Сырое мясо.", L"Сырое мясо. x0/"));
    // Known now: cooked whatever the luck, and before the stove it comes out roasted.
    Put(5, 6, L"}");
    Use(L"Готовить", {1});
    EXPECT_EQ(std::tuple(Said(), Pack()), std::tuple(Spoken(L"Приготовлено!"), L"Жареное мясо. x0/"));
    // A carcass is meat too, roasted at a campfire; bread is not meat.
    Put(5, 6, L"•");
    Carry(L"Труп волка", kFood);
    Carry(L"Хлеб", kFood);
    h().Luck = 4;
    Use(L"Готовить", {2});
    EXPECT_EQ(std::tuple(Said(), learned.ToText()), std::tuple(Spoken(L"Пробуем приготовить... Получилось!"), L" Сырое мясо. Труп волка"));
    Use(L"Готовить", {2});
    EXPECT_EQ(std::tuple(Said(), Pack()), std::tuple(Spoken(L"Невозможно приготовить"), L"Жареное мясо. x0/Хлеб x0/Жареное мясо. x0/"));
}

TEST_F(Skills, TheCampfireBurnsOnePieceOnGrassOnly) {
    Use(L"Разжигать костер", {});
    EXPECT_EQ(Said(), Spoken(L"Для костра нужно топливо!"));
    auto logs = Carry(L"Бревно", kFuel, 2);
    Put(5, 6, L"п");
    Use(L"Разжигать костер", {1});
    EXPECT_EQ(std::tuple(Said(), logs->ItemCount), std::tuple(Spoken(L"Здесь нельзя разжечь костер!"), 2));
    g().FacingDir = 1;
    Use(L"Разжигать костер", {1});
    EXPECT_EQ(std::tuple(At(5, 4), logs->ItemCount), std::tuple(L"•", 1));
}

TEST_F(Skills, ConsecratingBlessesAnyItemButTheAmuletNeedsWill) {
    auto cup = Carry(L"Чаша", kDrink);
    Carry(L"Амулет драконов", kNeck);
    Use(L"Освятить вещь", {1});
    EXPECT_EQ(cup->itembalance, 1);
    h().WillPower = 7.99;
    Use(L"Освятить вещь", {2});
    EXPECT_EQ(Said(), Spoken(L"Ваши руки дрожат...Слабая Сила Воли не позволяет вам сделать это..."));
}

TEST_F(Skills, SmeltingThenForgingAtTheAnvil) {
    Use(L"Кузнечное дело", {});
    EXPECT_EQ(Said(), Spoken(L"Вам нечем ковать!Возьмите Молот в руку!"));
    g().Equip[kSlotRightHand][kEqName] = Variant(std::wstring(L"Молот"));
    UseSkill(0);
    EXPECT_EQ(Said(), Spoken(L"Вам не на чем ковать!"));
    Put(5, 6, L"&");
    Carry(L"Железная руда", kOre);
    Use(L"Кузнечное дело", {1});
    EXPECT_EQ(std::tuple(Pack(), g().ForgeChoice), std::tuple(L"Слиток железа x0/", false));
    // The ingot opens the forge's choices; the game's keys wait for the answer.
    Use(L"Кузнечное дело", {1});
    Key(kVkDown);
    EXPECT_EQ(std::tuple(g().ForgeChoice, g().gameScreen.skills.lines.size(), g().gameScreen.skills.lines[4], int(g().PlayerY)),
              std::tuple(true, 7u, L"Доковать Меч", 5));
    auto sword = Carry(L"Меч", kWeapon);
    std::tie(sword->WeaponPlus, h().Strenght, g().gameScreen.skills.ListIndex, ui.pickAnswers) = std::tuple(3, 4, 4, std::deque<int>{2});
    PinnedDraws draws{0.6};
    ChooseSkill();
    EXPECT_EQ(std::tuple(sword->WeaponPlus, sword->Weight, Pack(), h().Weight), std::tuple(6, 1.4, L"Меч x0/", 1.4));
    // A wooden shield cannot take iron.
    Carry(L"Слиток железа", kOre);
    Carry(L"деревянный щит", kShield);
    Use(L"Кузнечное дело", {2});
    std::tie(ui.pickAnswers, g().gameScreen.skills.ListIndex) = std::tuple(std::deque<int>{3}, 5);
    ChooseSkill();
    EXPECT_EQ(std::tuple(Said(), g().Inventory->Count()), std::tuple(Spoken(L"Доковать невозможно!"), 3));
}

TEST_F(Skills, TheForgeMakesWhatTheLineChoosesFromOneIngot) {
    const struct { int luck, line; long ingots; std::vector<double> draws; const wchar_t* made; } cases[] = {
        // What is made, and then the weight carried.
        {3, 0, 0, {0.1, 0.5}, L"Стальной меч x0 [2,75,0,2.5] done 2.5"},  // luck three rounds its halves to even
        {3, 0, 0, {0.6, 0.5}, L"Стальной меч x0 [4,75,0,2.5] done 2.5"},
        {3, 0, 0, {0.85, 0.5}, L"Стальной меч x0 [6,75,0,2.5] done 2.5"},
        {2, 1, 1, {0.5}, L"Слиток железа x0 [0,0,0,1] Стальной Щит x0 [0,0,7,8] done 9"},
        {2, 3, 1, {0.5}, L"Слиток железа x0 [0,0,0,1] Стальной Шлем x0 [0,0,4,2.5] done 3.5"},
        {2, 6, 1, {0.5}, L"Слиток железа x1 [0,0,0,1] done 2"},
        {2, -1, 1, {0.5}, L"Слиток железа x1 [0,0,0,1] done 2"},
    };
    for (const auto& c : cases) {
        g().Inventory->Clear();
        std::tie(h().Luck, g().ForgeIngot, g().ForgeChoice) = std::tuple(c.luck, Carry(L"Слиток железа", kOre, c.ingots), true);
        PinnedDraws draws(c.draws);
        ForgeChosen(c.line);
        std::wstring made;
        for (const auto& i : *g().Inventory) {
            made += i->ItemName + L" x" + NumText(i->ItemCount) + L" [" + NumText(i->WeaponPlus) + L"," + NumText(i->Critical) + L"," +
                    NumText(i->DefendPlus) + L"," + NumText(i->Weight) + L"] ";
        }
        EXPECT_EQ(made + (g().ForgeChoice ? L"choosing " : L"done ") + NumText(h().Weight), c.made) << c.line;
    }
}

using Spells = Skills;

TEST_F(Spells, EachSpellNeedsMoreManaThanItCostsAndKeyZRepeatsTheFirstFour) {
    // The spell key Z repeats (the night is not repeated), or 0 to cast the night; mana and magic in hundredths, HP.
    const struct { int last; double mana; const wchar_t* after; } cases[] = {
        {3, 12, L"1200 100 3 refused"}, {3, 12.01, L"1 105 3"},  {2, 4, L"400 102 3 refused"},  // a try still teaches
        {2, 4.01, L"1 102 3"},          {4, 8, L"800 100 3 refused"}, {4, 8.01, L"1 102 20"},
        {0, 2, L"200 100 3 refused"},   {0, 2.01, L"1 102 3 dark"},   {1, 50, L"5000 101 3 cut"},
        {5, 50, L"5000 100 3"},         {6, 50, L"5000 100 3"},
    };
    g().FireballKnown = g().HealingKnown = g().NightKnown = true;
    for (const auto& c : cases) {
        g().Darkness = false;
        g().screen.txtSpeech.clear();
        Put(5, 6, L"<");
        std::tie(h().Mana, h().Magic, h().HP, g().LastSpell) = std::tuple(c.mana, 1, 3, c.last);
        c.last ? RepeatLastSpell() : CastNight();
        EXPECT_EQ(NumText(std::lround(h().Mana * 100)) + L" " + NumText(std::lround(h().Magic * 100)) + L" " + NumText(h().HP) +
                      (Said() == Spoken(L"У вас не хватает маны") ? L" refused" : L"") + (g().Darkness ? L" dark" : L"") +
                      (At(5, 6) == L"G" ? L" cut" : L""),
                  c.after)
            << c.last << " " << c.mana;
    }
}

TEST_F(Spells, UnknownSpellsDoNothingButCutWeedsAndLightningNeedNoFlag) {
    h().Mana = 50;
    Put(5, 6, L"T");  // cut weeds clears only a weed in front
    for (auto cast : {&CastFireball, &CastHealingLight, &CastNight, &CastCutWeeds}) cast();
    EXPECT_EQ(std::tuple(h().Mana, std::lround(h().Magic * 100), g().Darkness, At(5, 6), g().CurTile), std::tuple(50, 1, false, L"T", L"T"));
    CastLightning();
    EXPECT_EQ(h().Mana, 46);
}

TEST_F(Spells, LightningKillsAtSixteenAndLeavesSeventeenAtOne) {
    auto sameColumn = AddNpc(L"Пёс", 5, 9, 40);
    auto sameRow = AddNpc(L"Кот", 9, 6, 40);
    auto weak = AddNpc(L"Волк", 5, 6, 16, true);
    std::tie(h().Mana, g().ScriptNPCIndex) = std::tuple(100, 1);
    CastLightning();
    // The strike shows on the map during its pause, with the keys held; the dead speaks its own death.
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(std::tuple(frames[0].keysBlocked, g().AnimationRunning, g().NPCs->Contains(weak), Said(), At(5, 6), g().gameScreen.view.At(5, 6), h().Exp),
              std::tuple(true, false, false, Spoken(L"Волк:конец"), L"G", Pic::imgGrass, 0));
    EXPECT_EQ(std::tuple(sameColumn->HP, sameColumn->Tactic == kTacticApproach, sameRow->HP, sameRow->Tactic == kTacticApproach), std::tuple(40, false, 40, false));
    auto strong = AddNpc(L"Медведь", 5, 6, 17);
    CastLightning();
    EXPECT_EQ(std::tuple(strong->HP, strong->Tactic, At(5, 6), h().Mana), std::tuple(1, kTacticApproach, L"w", 92));  // its own symbol again
}

TEST_F(Spells, TheFireballBurnsABandThreeCellsWideAsFarAsItFlies) {
    std::tie(g().FireballKnown, g().FacingDir) = std::tuple(true, 1);  // up: five cells, rows 4..0
    auto farthest = AddNpc(L"Волк", 5, 0, 10);
    auto beyond = AddNpc(L"Волк", 5, -1, 10);
    auto beside = AddNpc(L"Волк", 6, 2, 10);
    auto wide = AddNpc(L"Волк", 7, 2, 10);
    auto tough = AddNpc(L"Медведь", 4, 3, 30);
    auto good = AddNpc(L"Купец", 5, 1, 14.5, true);
    auto edge = AddNpc(L"Лось", 4, 1, 15);
    auto soldier = AddNpc(L"Солдат", 20, 20, 50, true);
    std::tie(g().ScriptNPCIndex, h().Mana, good->Good) = std::tuple(5, 20, false);  // the bear must not speak for the dead
    FireballHitAt(5, 0);  // killing the wicked alarms nobody
    EXPECT_EQ(std::tuple(g().NPCs->Contains(farthest), soldier->Good), std::tuple(false, true));
    good->Good = true;
    PinnedDraws draws{0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
    CastFireball();
    for (const auto& dead : {farthest, beside, good}) EXPECT_FALSE(g().NPCs->Contains(dead));
    for (const auto& alive : {beyond, wide, tough, edge, soldier}) EXPECT_TRUE(g().NPCs->Contains(alive));
    // Killing the good merchant raised the soldiers; the last to die spoke for itself.
    EXPECT_EQ(std::tuple(edge->HP, tough->HP, tough->Tactic, wide->HP, h().Exp, soldier->Tactic, soldier->Good, Said()),
              std::tuple(3, 18, kTacticApproach, 10, 3, kTacticApproach, false, Spoken(L"Купец:конец")));
}

using Gathering = Skills;

TEST_F(Gathering, EveryOutcomeOfEveryTile) {
    const struct { const wchar_t* tile; bool tools, herbLore; int luck; std::vector<double> draws; const wchar_t* got; } cases[] = {
        {L"?", false, false, 0, {}, L"G|Неизвестные ягоды,4,Какие-то красноватые ягоды,unkya.itm,0.07,0,0|Вы сорвали ягоды ||20,0,0.07"},
        {L"?", false, true, 0, {5.5 / 7}, L"G|Волчья ягода,9,Полезные ягоды,wolfya.itm,0.07,0,0|Вы сорвали ягоды ||20,0,0.07"},
        {L"w", false, false, 0, {0.9}, L"w||||20,0,0"},
        {L"w", true, false, 0, {0.9}, L"G|Железная руда,11,Камень,,6,0,0|Вы нашли руду...||20,0,6"},
        {L"w", true, false, 0, {0.7}, L"G||||20,0,0"},
        {L"B", false, false, 0, {0.1, 0.5}, L"B||||20,0,0"},
        {L"B", true, false, 0, {0.1, 0.505}, L"п|Бревно,5,Деревянное полено,,70,20,100|Вы срубили дерево...||20,0,70"},
        {L"B", true, false, 0, {0.6, 0.5}, L"п|||На вас упало дерево!|12,0,0"},
        {L"B", true, false, 1, {0.6, 0.4}, L"п|||На вас упало дерево!|11,0,0"},
        {L"!", false, false, 0, {1.5 / 9}, L"!|Еда,4,Зерно и Хлеб,food.itm,0.5,0,0||Вы Нашли Еду|20,0,0.5"},
        {L"!", false, false, 0, {2.5 / 9}, L"!|Дерево,5,Крепкие дуб и осина,,0.7,0,0||Вы нашли дерево|20,0,0.7"},
        {L"!", false, false, 0, {3.5 / 9, 0.99}, L"!|||Вы нашли монеты  - 7 штук|20,7,0.007"},
        {L"!", false, false, 0, {8.5 / 9}, L"!|||Здесь ничего нет.|20,0,0"},
    };
    InitFindMessages();
    g().FacingDir = 3;  // the cell in front: (6, 5)
    for (const auto& c : cases) {
        g().Inventory->Clear();
        g().screen = ScreenText{};
        g().SearchedPlaces.clear();
        std::tie(g().Money, g().Player->HP, g().Player->Luck, g().Player->Weight) = std::tuple(0, 20, c.luck, 0);
        std::tie(g().Equip[kSlotLeftHand][kEqName], g().Equip[kSlotRightHand][kEqName], g().Skills[12][0]) =  // any row counts
            std::tuple(Variant(c.tools ? L"Кирка" : L""), Variant(c.tools ? L"Топор" : L""), Variant(c.herbLore ? L"Знание трав" : L""));
        Put(6, 5, c.tile);
        PinnedDraws draws(c.draws);
        GatherInFront();
        std::wstring got = At(6, 5) + L"|";
        for (const auto& it : *g().Inventory) {
            got += it->ItemName + L"," + NumText(it->ItemType) + L"," + it->ItemInfo + L"," + it->ItemScript + L"," +
                   NumText(it->Weight) + L"," + NumText(it->WeaponPlus) + L"," + NumText(it->Critical);
        }
        got += L"|" + g().screen.lblII + L"|" + Said().substr(0, Said().find(L"\r\n")) + L"|" + NumText(g().Player->HP) + L"," + NumText(g().Money) + L"," +
               NumText(g().Player->Weight);
        EXPECT_EQ(got, c.got);
    }
    // Whatever the jar gave, it is empty until the location is loaded again.
    GatherInFront();
    EXPECT_EQ(Said(), Spoken(L"Тут ничего нет , вы уже искали"));
    WriteLocation(L"town", Grass(41, 30), {});
    w().Load_World();
    Put(6, 5, L"!");
    GatherInFront();
    EXPECT_NE(Said(), Spoken(L"Тут ничего нет , вы уже искали"));
}

TEST_F(Gathering, TheCellInFrontFollowsTheFacing) {
    std::tie(g().PlayerX, g().PlayerY) = std::tuple(10, 7);
    std::wstring seen;
    for (auto [facing, col, row] : {std::tuple{1, 13, 9}, {2, 13, 11}, {3, 14, 10}, {4, 12, 10}, {0, 13, 10}, {5, 13, 10}}) {
        w().setPosMap(row, col, L"?");
        g().FacingDir = facing;
        seen += GetFacingTile() + L".";
        GatherInFront();
        seen += w().GetPosMap(col, row) + L" ";
    }
    EXPECT_EQ(seen, L"?.G ?.G ?.G ?.G .? .? ");
}

}  // namespace
