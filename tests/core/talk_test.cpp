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
        std::tie(npc->NPCName, npc->Symbol, npc->X, npc->Y, npc->Last_Speech) = std::tuple(name, L"2", x, y, speech);
        return npc;
    }
    const std::wstring& Speech() { return g().screen.txtSpeech; }
};

// Diagonal neighbours do not talk; the first neighbour in collection order does. Where
// nobody stands, signs are read (the market sign stands in N1 only).
TEST_F(Talk, TheFirstAdjacentCharacterTalksElseASignIsRead) {
    Person(L"Наискосок", 6, 6, L"...");
    Person(L"Далеко", 8, 5, L"не слышно");
    Person(L"Слева", 4, 5, L"я слева");
    Person(L"Сверху", 5, 4, L"я сверху");
    Key('T');
    EXPECT_EQ(std::tuple(Speech(), int(g().ScriptNPCIndex), int(w().Turn)), std::tuple(L"Слева:я слева\r\n\r\n[пробел]", 3, 1));
    g().NPCs->Clear();
    struct Case { const wchar_t* where; int x, y; const wchar_t* sign; };
    for (const Case& c : {Case{L"town", 26, 10, L""}, Case{L"N1", 26, 10, L"Торг"}, Case{L"N1", 11, 18, L"На Новгород."},
                          Case{L"monk", 21, 11, L"Поля и пастбища монастыря"}}) {
        std::tie(w().WorldName, g().PlayerX, g().PlayerY) = std::tuple(c.where, c.x, c.y);
        ClearSpeech();
        Key('T');
        EXPECT_EQ(Speech(), *c.sign ? c.sign + std::wstring(L"\r\n\r\n[пробел]") : L"") << ToUtf8(c.sign);
    }
}

// The character's script takes what it wants; no later talk mistakes this for a new offer.
// More than the hand-over field holds is refused, even by a rich hero.
TEST_F(Talk, GivingCoinsAsksHowManyAndLetsTheCharacterAnswer) {
    Key('G');
    EXPECT_EQ(std::tuple(Speech(), int(w().Turn)), std::tuple(L"Здесь не кому давать...\r\n\r\n[пробел]", 1));
    auto trader = Person(L"Купец", 5, 6, L"Благодарю");
    for (auto [money, answer] : {std::pair{50, L"12 монет"}, std::pair{50, L"0"}, std::pair{50, L"-5"}, std::pair{50, L"51"}, std::pair{50, L""},
                                 std::pair{50, L"много"}, std::pair{100000, L"40000"}, std::pair{100000, L"32767"}}) {
        std::tie(g().Money, g().ScriptNPCIndex) = std::tuple(money, 0);
        ui.inputAnswers = {answer};
        ui.log.clear();
        ClearSpeech();
        Key('G', kShiftMask);
        const bool taken = answer[0] == L'1' || answer[0] == L'3';
        EXPECT_EQ(std::tuple(ui.log.front(), Speech(), int(g().Money), int(trader->ScriptEvent), int(g().GivenMoney), int(g().ScriptNPCIndex)),
                  std::tuple(L"InputBox|Morvath|Сколько(ENTER=" + std::to_wstring(money) + L")?", taken ? L"Купец:Благодарю\r\n\r\n[пробел]" : L"",
                             money, kEventTalk, 0, taken ? 1 : 0)) << ToUtf8(answer);
    }
    g().screen.speechVisible = false;
    std::tie(g().GivenItemIndex, g().GivenMoney) = std::tuple(3, 7);  // left over from an earlier hand-over
    Key('G');  // the picker comes back with nothing
    EXPECT_EQ(std::tuple(g().screen.speechVisible, int(g().GivenItemIndex), int(g().GivenMoney)), std::tuple(false, 0, 0));
}

}  // namespace
