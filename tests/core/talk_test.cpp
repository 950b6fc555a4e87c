// Talk, the signs and handing coins over (T and G), and the speech box's text.
#include "game/talk.h"
#include "screen_fixture.h"
#include "world/speech.h"

using namespace morvath;

namespace {

class Talk : public ScreenTest {
protected:
    std::shared_ptr<NPC> Person(const wchar_t* name, float x, float y, const wchar_t* speech) {
        auto npc = g().NPCs->Add();
        npc->NPCName = name;
        npc->Symbol = L"2";
        npc->X = x;
        npc->Y = y;
        npc->Last_Speech = speech;
        return npc;
    }
    const std::wstring& Speech() { return g().screen.txtSpeech; }
};

TEST_F(Talk, SayShowsSpeakerTextAndTheSpaceHint) {
    Say(L"", L"");
    EXPECT_EQ(Speech(), L"\r\n\r\n[пробел]");
    EXPECT_TRUE(g().screen.speechVisible);
    const unsigned before = g().screen.speechSerial;
    Say(L"Здравствуй", L"Ольга:");
    EXPECT_EQ(Speech(), L"Ольга:Здравствуй\r\n\r\n[пробел]");
    EXPECT_GT(g().screen.speechSerial, before);
    ShowInfo(L"Равнины...");
    EXPECT_EQ(g().screen.lblII, L"Равнины...");
    g().screen.choiceCaptions[1] = L"Да";
    ClearSpeech();
    EXPECT_EQ(Speech(), L"");
    EXPECT_EQ(g().screen.choiceCaptions[1], L"");
    EXPECT_TRUE(g().screen.speechVisible);
}

TEST_F(Talk, TheFirstAdjacentCharacterInCollectionOrderTalks) {
    Person(L"Далеко", 8, 5, L"не слышно");
    Person(L"Слева", 4, 5, L"я слева");
    Person(L"Сверху", 5, 4, L"я сверху");
    Key('T');
    EXPECT_EQ(Speech(), L"Слева:я слева\r\n\r\n[пробел]");
    EXPECT_EQ(g().ScriptNPCIndex, 2);
    EXPECT_EQ(w().Turn, 1);
}

TEST_F(Talk, DiagonalNeighboursDoNotTalk) {
    Person(L"Наискосок", 6, 6, L"...");
    Key('T');
    EXPECT_FALSE(g().screen.speechVisible);
    EXPECT_EQ(g().ScriptNPCIndex, 0);
}

TEST_F(Talk, SignsAreReadWhereNobodyStands) {
    g().PlayerX = 26;
    g().PlayerY = 10;
    Key('T');
    EXPECT_FALSE(g().screen.speechVisible);  // the market sign stands in N1 only
    w().WorldName = L"N1";
    Key('T');
    EXPECT_EQ(Speech(), L"Торг\r\n\r\n[пробел]");
    g().PlayerX = 11;
    g().PlayerY = 18;
    Key('T');
    EXPECT_EQ(Speech(), L"На Новгород.\r\n\r\n[пробел]");
    w().WorldName = L"monk";
    g().PlayerX = 21;
    g().PlayerY = 11;
    Key('T');
    EXPECT_EQ(Speech(), L"Поля и пастбища монастыря\r\n\r\n[пробел]");
}

TEST_F(Talk, GivingCoinsAsksHowManyAndLetsTheCharacterAnswer) {
    g().Money = 50;
    auto trader = Person(L"Купец", 5, 6, L"Благодарю");
    ui.inputAnswers = {L"12 монет"};
    Key('G', kShiftMask);
    EXPECT_EQ(ui.log.front(), L"InputBox|Morvath|Сколько(ENTER=50)?");
    EXPECT_EQ(Speech(), L"Купец:Благодарю\r\n\r\n[пробел]");
    EXPECT_EQ(g().Money, 50);  // the character's script takes what it wants
    EXPECT_EQ(trader->ScriptEvent, kEventTalk);
    EXPECT_EQ(g().GivenMoney, 0);  // no later talk mistakes this for a new offer
    EXPECT_EQ(g().ScriptNPCIndex, 1);
    EXPECT_EQ(w().Turn, 1);
}

TEST_F(Talk, BadOffersAreRefusedAndNoScriptRuns) {
    g().Money = 50;
    Person(L"Купец", 6, 5, L"Благодарю");
    for (const wchar_t* answer : {L"0", L"-5", L"51", L"", L"много"}) {
        ui.inputAnswers = {answer};
        GiveNearby(kGiveCoins);
        EXPECT_FALSE(g().screen.speechVisible) << ToUtf8(answer);
        EXPECT_EQ(g().ScriptNPCIndex, 0);
    }
    // More than the hand-over field holds: refused, even by a rich hero.
    g().Money = 100000;
    ui.inputAnswers = {L"40000"};
    GiveNearby(kGiveCoins);
    EXPECT_FALSE(g().screen.speechVisible);
    ui.inputAnswers = {L"32767"};
    GiveNearby(kGiveCoins);
    EXPECT_TRUE(g().screen.speechVisible);
}

TEST_F(Talk, GivingWithNobodyNearOrNothingChosen) {
    Key('G');
    EXPECT_EQ(Speech(), L"Здесь не кому давать...\r\n\r\n[пробел]");
    EXPECT_EQ(w().Turn, 1);
    g().screen.speechVisible = false;
    Person(L"Купец", 6, 5, L"Благодарю");
    g().GivenItemIndex = 3;  // left over from an earlier hand-over
    Key('G');  // the picker comes back with nothing
    EXPECT_FALSE(g().screen.speechVisible);
    EXPECT_EQ(g().GivenItemIndex, 0);
}

}  // namespace
