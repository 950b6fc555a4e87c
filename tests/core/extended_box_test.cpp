// The extended command box reads its letters by their keys: a Russian layout types "ы" and
// "Ы" on the keys of "s" and "S".
#include "world/turn.h"
#include "screen_fixture.h"

using namespace morvath;

namespace {

using ExtendedBox = ScreenTest;

TEST_F(ExtendedBox, RussianLettersAreTheLatinOnesOnTheSameKeys) {
    const struct { wchar_t typed, key; } cases[] = {
        {L'ы', L's'}, {L'Ы', L'S'}, {L'й', L'q'}, {L'Ё', L'~'}, {L'ж', L';'}, {L'Б', L'<'}, {L'я', L'z'}, {L's', L's'}, {L'7', L'7'}};
    for (const auto& c : cases) EXPECT_EQ(LatinOnSameKey(c.typed), c.key) << static_cast<int>(c.typed);
    // The box reads them so: "ы" sleeps until rested, "Ы" swaps places with the character ahead.
    g().Player->Tired = 200;
    ui.inputAnswers = {L"ы", L"Ы"};
    Key(kVkSemicolon, kShiftMask);
    EXPECT_EQ(std::tuple(w().Turn, ui.Count(L"MsgBox"), g().screen.txtSpeech.rfind(L"Вы проснулись!", 0)), std::tuple(4, 0, 0u));
    auto npc = g().NPCs->Add();
    npc->Symbol = L"2", npc->X = 5, npc->Y = 6, npc->Tactic = kTacticStay;
    PutNPCsOnMap();
    Key(kVkSemicolon, kShiftMask);
    EXPECT_EQ(g().PlayerY, 7);
}

}  // namespace
