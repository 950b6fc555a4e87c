// Talk, the signs and handing coins over (T and G), and the speech box's text.
#include "game/talk.h"

#include <tuple>

#include "screen_fixture.h"
#include "world/speech.h"

using namespace morvath;

namespace {

class Talk : public ScreenTest {
protected:
    std::shared_ptr<NPC> Person(const wchar_t* name, float x, float y, const wchar_t* speech) {
        auto npc = g().NPCs->Add();
        std::tie(npc->NPCName, npc->Symbol, npc->X, npc->Y, npc->Last_Speech) = std::tuple(name, L"2", x, y, speech);
        return npc;
    }
    const std::wstring& Speech() { return g().screen.txtSpeech; }
};

TEST_F(Talk, SayShowsSpeakerTextAndTheSpaceHint) {
    Say(L"", L"");
    EXPECT_EQ(std::tuple(Speech(), g().screen.speechVisible), std::tuple(L"\r\n\r\n[пробел]", true));
    const unsigned before = g().screen.speechSerial;
    Say(L"Здравствуй", L"Ольга:");
    EXPECT_EQ(std::tuple(Speech(), g().screen.speechSerial > before), std::tuple(L"Ольга:Здравствуй\r\n\r\n[пробел]", true));
    g().screen.choiceCaptions[1] = L"Да";
    ClearSpeech();
    ShowInfo(L"Равнины...");
    EXPECT_EQ(std::tuple(Speech(), g().screen.choiceCaptions[1], g().screen.speechVisible, g().screen.lblII), std::tuple(L"", L"", true, L"Равнины..."));
}

TEST_F(Talk, TheFirstAdjacentCharacterInCollectionOrderTalks) {
    Person(L"Наискосок", 6, 6, L"...");  // diagonal neighbours do not talk
    Person(L"Далеко", 8, 5, L"не слышно");
    Person(L"Слева", 4, 5, L"я слева");
    Person(L"Сверху", 5, 4, L"я сверху");
    Key('T');
    EXPECT_EQ(std::tuple(Speech(), int(g().ScriptNPCIndex), int(w().Turn)), std::tuple(L"Слева:я слева\r\n\r\n[пробел]", 3, 1));
}

TEST_F(Talk, SignsAreReadWhereNobodyStands) {
    struct Case { const wchar_t* where; int x, y; const wchar_t* sign; };
    // The market sign stands in N1 only.
    for (const Case& c : {Case{L"town", 26, 10, nullptr}, Case{L"N1", 26, 10, L"Торг"}, Case{L"N1", 11, 18, L"На Новгород."},
                          Case{L"monk", 21, 11, L"Поля и пастбища монастыря"}}) {
        w().WorldName = c.where;
        g().PlayerX = c.x;
        g().PlayerY = c.y;
        Key('T');
        EXPECT_EQ(std::tuple(g().screen.speechVisible, Speech()), std::tuple(c.sign != nullptr, c.sign ? c.sign + std::wstring(L"\r\n\r\n[пробел]") : Speech()));
    }
}

TEST_F(Talk, GivingCoinsAsksHowManyAndLetsTheCharacterAnswer) {
    g().Money = 50;
    auto trader = Person(L"Купец", 5, 6, L"Благодарю");
    ui.inputAnswers = {L"12 монет"};
    Key('G', kShiftMask);
    // The character's script takes what it wants; no later talk mistakes this for a new offer.
    EXPECT_EQ(std::tuple(ui.log.front(), Speech(), int(g().Money), int(trader->ScriptEvent), int(g().GivenMoney), int(g().ScriptNPCIndex), int(w().Turn)),
              std::tuple(L"InputBox|Morvath|Сколько(ENTER=50)?", L"Купец:Благодарю\r\n\r\n[пробел]", 50, kEventTalk, 0, 1, 1));
}

TEST_F(Talk, BadOffersAreRefusedAndNoScriptRuns) {
    g().Money = 50;
    Person(L"Купец", 6, 5, L"Благодарю");
    // More than the hand-over field holds is refused, even by a rich hero.
    for (auto [money, answer] : {std::pair{50, L"0"}, std::pair{50, L"-5"}, std::pair{50, L"51"}, std::pair{50, L""}, std::pair{50, L"много"},
                                 std::pair{100000, L"40000"}, std::pair{100000, L"32767"}}) {
        g().Money = money;
        ui.inputAnswers = {answer};
        GiveNearby(kGiveCoins);
        const bool taken = std::wstring(answer) == L"32767";
        EXPECT_EQ(std::tuple(g().screen.speechVisible, int(g().ScriptNPCIndex)), std::tuple(taken, taken ? 1 : 0)) << ToUtf8(answer);
    }
}

TEST_F(Talk, GivingWithNobodyNearOrNothingChosen) {
    Key('G');
    EXPECT_EQ(std::tuple(Speech(), int(w().Turn)), std::tuple(L"Здесь не кому давать...\r\n\r\n[пробел]", 1));
    g().screen.speechVisible = false;
    Person(L"Купец", 6, 5, L"Благодарю");
    g().GivenItemIndex = 3;  // left over from an earlier hand-over
    Key('G');  // the picker comes back with nothing
    EXPECT_EQ(std::tuple(g().screen.speechVisible, int(g().GivenItemIndex)), std::tuple(false, 0));
}

}  // namespace
