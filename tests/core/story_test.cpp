// The story written as code: the magus's answers, the trader's offer, the torch seller and
// both endings, driven through the intalk command and the dragon stone as a script or the
// item use would.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/cp1251.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "script/story.h"
#include "script_test_support.h"
#include "world/item.h"
#include "world/main_character.h"

using namespace morvath;

namespace {

struct Story : ScriptFixture {
    void Fresh() {
        ResetGame();
        modVarsAndMain.CreateRoots();
        ui.log.clear();
    }
    std::wstring Speech() const {
        const std::wstring& s = modVarsAndMain.screen.txtSpeech;
        const std::wstring tail = L"\r\n\r\n[пробел]";
        return s.ends_with(tail) ? s.substr(0, s.size() - tail.size()) : s;
    }
    std::shared_ptr<Item> Carry(const std::wstring& name, long type, int wp = 0, int dp = 0, int count = 0) {
        auto it = modVarsAndMain.Inventory->Add();
        it->ItemName = name;
        it->ItemType = type;
        it->WeaponPlus = wp;
        it->DefendPlus = dp;
        it->ItemCount = count;
        it->Weight = 2;
        return it;
    }
    std::vector<std::wstring> Boxes() const {
        std::vector<std::wstring> r;
        for (const auto& l : ui.log) {
            if (l.starts_with(L"MsgBox|")) r.push_back(l);
        }
        return r;
    }
};

const std::wstring kNotHeard = L"Волхв:Я не расслышыл или не понял вопроса...";
const std::wstring kStone =
    L"Волхв:О...Камень драконов...О нём неизвестно ничего, кроме того, что Чёрный Дождь спрятал его в Уральских горах...";

}  // namespace

TEST_F(Story, TheMagusLeavesTheLastKeywordHeard) {
    struct Case { std::wstring question, startsWith, endsWith; };
    const Case cases[] = {
        {L"", kNotHeard, kNotHeard},
        {L"как пройти к реке", kNotHeard, kNotHeard},
        {L"ЗДРАВСТВУЙ", L"Волхв:Здравствуй сынок!", L"Волхв:Здравствуй сынок!"},
        {L"здравствуй! что за камень?", kStone, kStone},
        {L"Кто такой Чёрный Дождь", L"Волхв:Слушай же легенду,сынок:Давным - давно", L"Побежденный Черный Дождь проклял "
                                                                                      L"остальных Драконов и заснул на 6000 лет...И вот теперь появились слухи, что он проснулся..."},
        {L"черный дождь и камень", L"Волхв:Слушай же легенду", L"что он проснулся..."},
        {L"волхв ли ты", L"Волхв:Мы - волхвы...", L"исчез род человеческий..."},
        {L"спасибо волхв", L"Волхв:Не за что, сын мой...", L"Волхв:Не за что, сын мой..."},
    };
    for (const Case& c : cases) {
        ui.log.clear();
        ui.inputAnswers = {c.question};
        Run(L"intalk(\"0\")");
        EXPECT_EQ(ui.log.front(), L"InputBox|Morvath|О чём ты хочешь спросить меня сынок?");
        EXPECT_TRUE(Speech().starts_with(c.startsWith)) << ToUtf8(c.question) << ": " << ToUtf8(Speech());
        EXPECT_TRUE(Speech().ends_with(c.endsWith)) << ToUtf8(c.question);
    }
}

TEST_F(Story, TheTraderBuysOnePieceOfArmsAtItsWorth) {
    // Ten coins for each point of attack and defence and the draw's tenth of ten; the hero's
    // 5 coins, what he carries after (pieces of the thing, his weight in thousandths).
    const struct { long type; int wp, dp, count; MsgResult answer; double draw; const wchar_t* price; long money, left, weight; } cases[] = {
        {kWeapon, 2, 0, 0, MsgResult::Yes, 0.35, L"23", 28, 0, 2028},  {kShield, 0, 3, 0, MsgResult::Yes, 0.99, L"39", 44, 0, 2044},
        {kHead, 1, 1, 2, MsgResult::Yes, 0, L"20", 25, 2, 6025},        {kLegs, 0, 0, 0, MsgResult::Yes, 0.5, L"5", 10, 0, 2010},
        {kBody, 0, 4, 0, MsgResult::No, 0.1, L"41", 5, 1, 4005},        {kRing, 5, 5, 0, MsgResult::Yes, 0, nullptr, 5, 1, 4005},
        {kFood, 0, 0, 0, MsgResult::Yes, 0, nullptr, 5, 1, 4005},       {kNeck, 0, 2, 0, MsgResult::Yes, 0, nullptr, 5, 1, 4005},
    };
    for (const auto& c : cases) {
        Fresh();
        ui.msgAnswers = {c.answer};
        Carry(L"Еда", kFood);
        auto item = Carry(L"Вещь", c.type, c.wp, c.dp, c.count);
        std::tie(modVarsAndMain.Money, modVarsAndMain.GivenItemIndex) = std::tuple(5, 2);
        modVarsAndMain.Player->DoWeight();
        PinnedDraws draw{c.draw};
        SpecialNpcTalk(L"1");
        const std::vector<std::wstring> offer{L"MsgBox|Торговец|Я дам за Вещь - " + std::wstring(c.price ? c.price : L"") + L" монет.Продаёте?"};
        EXPECT_EQ(std::tuple(Boxes(), Speech() == L"Торговец:Я такого не покупаю!", long(modVarsAndMain.Money), modVarsAndMain.Inventory->Contains(item) ? long(item->ItemCount) + 1 : 0L,
                             std::lround(modVarsAndMain.Player->Weight * 1000)),
                  std::tuple(c.price ? offer : std::vector<std::wstring>{}, !c.price, c.money, c.left, c.weight)) << c.type;
    }
    // Nothing handed over: only the greeting.
    ui.log.clear();
    modVarsAndMain.GivenItemIndex = 0;
    SpecialNpcTalk(L"1");
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Speech().starts_with(L"Торговец:Добро пожаловать в мою лавку!"));
}

TEST_F(Story, TheTorchSellerSellsForAHundredCoins) {
    struct Case { std::wstring order; int money, moneyAfter; std::wstring said; };
    const Case cases[] = {
        {L"Факел", 100, 0, L"Держи!"},
        {L"дай мне факел и ещё что", 250, 150, L"Держи!"},
        {L"факел", 99, 99, L"У Вас мало денег - нужно 100 монет..."},
        {L"лук", 500, 500, L"Не понял вашего заказа..."},
    };
    for (const Case& c : cases) {
        Fresh();
        ui.inputAnswers = {c.order};
        modVarsAndMain.Money = c.money;
        SpecialNpcTalk(L"2.0");
        const bool sold = c.said == L"Держи!";
        EXPECT_EQ(std::tuple(ui.log.front(), Speech(), int(modVarsAndMain.Money), modVarsAndMain.Inventory->Count()),
                  std::tuple(L"InputBox|Morvath|Что Купить?[факел-100монет]", c.said, c.moneyAfter, sold ? 1L : 0L)) << ToUtf8(c.order);
        if (!sold) continue;
        const auto& torch = *modVarsAndMain.Inventory->Item(1);
        EXPECT_EQ(std::tuple(torch.ItemName, long(torch.ItemType), long(torch.itembalance), torch.ItemScript, torch.ItemInfo, modVarsAndMain.CurItem == modVarsAndMain.Inventory->Item(1)),
                  std::tuple(L"Факел", long(kWeapon), 0L, L"fakel.itm", L"Освещает тёмные помещения...", true));
    }
    // Other kinds say nothing.
    for (const wchar_t* kind : {L"3", L"-1", L"факел", L""}) {
        ui.log.clear();
        modVarsAndMain.screen.txtSpeech.clear();
        SpecialNpcTalk(kind);
        EXPECT_TRUE(ui.log.empty());
        EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"");
    }
}

TEST_F(Story, EndingsTellTheirTaleAndEndTheRunWhoeverTheHeroIs) {
    const std::wstring omen = L"MsgBox|Morvath|Во всех церквях мира священникам явилось знамение - знамение о том, как вы "
                              L"усмирили Драконов...В лучах славы, Героем ";
    struct Case { bool good; int person; std::wstring lastBox, epitaph; };
    const Case cases[] = {
        {true, kMonk,
         omen + L"вы вернулись к себе в монастырь и почитаемый всеми посветили остаток жизни служению Богу и летописи...",
         L"Героем вы вернулись к себе в монастырь и почитаемый всеми посветили остаток жизни служению Богу и летописи..."},
        {true, kWarlock, omen + L"вы прожили свою жизнь...И появилась такое высказывание: Храбр как Ратибор!",
         L"В лучах славы, Героем вы прожили свою жизнь..."},
        {true, kHunter, omen + L"вы прожили свою жизнь...И появилась такое высказывание: Храбр как Ратибор!",
         L"В лучах славы, Героем вы прожили свою жизнь..."},
        {false, kWarlock,
         L"MsgBox|Morvath|Сила камня при помощи злых Духов проникла в Вас!!! И Теперь на Земле нет человека сильнее "
         L"Вас!...ПОБЕДА!!!...Верно служа злым Духам вы наводите ужас на весь мир...Пока не появится новый Герой...",
         L"закончил своё путешествие Героем злых духов - их наместником на Земле!"},
    };
    for (const Case& c : cases) {
        Fresh();
        auto& hero = *modVarsAndMain.Player;
        std::tie(hero.PlayerName, hero.Profession, hero.HP, modVarsAndMain.ResurrectionsLeft, modVarsAndMain.KeepSaveOnDeath) = std::tuple(L"Ратибор", c.person, 30, 3, true);
        c.good ? EndingGoodStone() : EndingEvilStone();
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), c.good ? 3u : 2u);
        EXPECT_EQ(boxes[0], c.good ? L"MsgBox|Morvath|Вы подгтовились к обряду освящения камня...Вы едва начали "
                                     L"окрапливать его святой водой, вознося молитвы как вдруг..."
                                   : L"MsgBox|Morvath|Вы начали использовать камень...Слышите странные звуки...");
        // The warlock is not brought back: the hall of fame closes the run.
        EXPECT_EQ(std::tuple(boxes.back(), modVarsAndMain.hallOfFame.win, int(modVarsAndMain.ResurrectionsLeft), int(hero.HP), modVarsAndMain.hallOfFame.writehf, ui.log.back()),
                  std::tuple(c.lastBox, c.epitaph, 3, 30, true, L"ShowHallOfFame|modal"));
    }
}

TEST_F(Story, TheDragonStoneAnswersOnlyAnEvilHeartWithARing) {
    struct Case { double doom; bool ring; std::wstring said; };  // said: "" for the ending
    const Case cases[] = {
        {6, true, L"Только приверженец злых духов может использовать этот амулет!!!"},
        {6.01, false, L"Чтобы вас не уничтожило,нужно иметь кольцо злых духов"},
        {6.01, true, L""},
    };
    for (const Case& c : cases) {
        Fresh();
        modVarsAndMain.Player->Doom = c.doom;
        auto stone = Carry(L"Камень драконов", kArtifact);
        stone->ItemScript = L"nothing.itm";
        if (c.ring) Carry(L"Кольцо злых духов", kRing);
        stone->DoAction();
        EXPECT_EQ(std::pair(Speech(), modVarsAndMain.hallOfFame.win.empty()), std::pair(c.said, !c.said.empty())) << c.doom;
    }
}
