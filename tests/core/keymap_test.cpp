// The key map's table beyond walking: what runs after a key, the quit keys, the lists, the
// speech box and the extended command box; talk, the signs and handing coins over (T and G).
#include "game/screen.h"
#include "game/talk.h"
#include "screen_fixture.h"
#include "services/music.h"
#include "world/speech.h"
#include "world/turn.h"

using namespace morvath;

namespace {

using KeyMap = ScreenTest;

// The hero stands on the door of a house. A sleeping hero or a flying spell takes no keys;
// Space closes the speech box and redraws without a check; eating nothing does neither; the
// speech box keeps its scroll keys and passes the rest; a key outside the table still checks
// the cell and redraws, but not on the wild map.
TEST_F(KeyMap, WhatRunsAfterAKey) {
    WriteLocation(L"house", Grass(20, 20), {}, kMapHouse);
    Record(5, 5, L"house", Variant(3), Variant(7));
    // The location, the turn, the hero's column, whether the view was redrawn, and the message boxes shown.
    auto after = [&](int key, bool speechBox = false) {
        const unsigned before = g().gameScreen.view.serial;
        speechBox ? void(SpeechBoxKey(key, 0)) : Key(key);
        return std::tuple(w().WorldName, w().Turn, g().PlayerX, g().gameScreen.view.serial > before, ui.Count(L"MsgBox"));
    };
    const auto still = std::tuple(L"town", 0, 5, false, 0);
    g().Player->Sleep = true;
    for (int key : {static_cast<int>(kVkEscape), static_cast<int>(kVkRight), static_cast<int>('X')}) EXPECT_EQ(after(key), still) << key;
    std::tie(g().Player->Sleep, g().AnimationRunning) = std::tuple(false, true);
    EXPECT_EQ(after(kVkRight), still);
    std::tie(g().AnimationRunning, g().screen.speechVisible, g().screen.lblII) = std::tuple(false, true, L"старое");
    EXPECT_EQ(after(kVkSpace), std::tuple(L"town", 0, 5, true, 0));
    EXPECT_EQ(std::tuple(g().screen.speechVisible, g().screen.lblII), std::tuple(false, L""));
    EXPECT_EQ(after('E'), still);  // the picker comes back empty
    g().screen.speechVisible = true;
    EXPECT_EQ(std::tuple(SpeechBoxKey(kVkPageDown, 0), SpeechBoxKey(kVkUp, 0), g().screen.speechVisible, g().PlayerY), std::tuple(true, true, true, 5));
    w().WorldName = L"wild";
    EXPECT_EQ(std::get<0>(after('X')), L"wild");
    w().WorldName = L"town";
    EXPECT_EQ(after('Q', true), std::tuple(L"house", 0, 3, true, 0));  // Q without a modifier is any other key
    EXPECT_FALSE(g().screen.speechVisible);
}

// The questions, whether the program ended, and which of the save, its map and the kill log are left.
TEST_F(KeyMap, TheQuitKeysAskAndKeepOrDeleteTheSave) {
    const struct { int key, shift; std::deque<MsgResult> answers; const wchar_t* outcome; } cases[] = {
        {kVkEscape, 0, {MsgResult::No}, L"MsgBox|Morvath...|Действительно выйти?; going on + + + +"},
        {'Q', kCtrlMask, {MsgResult::No}, L"MsgBox|Morvath...|Действительно выйти не сохраняя?; going on + + + +"},
        {kVkEscape, 0, {MsgResult::Yes, MsgResult::No},
         L"MsgBox|Morvath...|Действительно выйти?; MsgBox|Morvath...|Сохранить игру?; EndProgram; ended - - + +"},
        {'Q', kAltMask, {MsgResult::Yes}, L"MsgBox|Morvath...|Действительно выйти не сохраняя?; EndProgram; ended - - - +"},
        {'S', kShiftMask, {MsgResult::Yes}, L"MsgBox|Morvath|Сохраниться и выйти?; EndProgram; ended + + + +"}};
    for (const auto& c : cases) {
        for (const wchar_t* file : {L"saved/town.map", L"saved/char.ch", L"monst.cnt"}) WriteText(file, L"G\r\n");
        std::tie(g().gameScreen.programEnded, ui.msgAnswers, ui.log) = std::tuple(false, c.answers, std::vector<std::wstring>{});
        Key(c.key, c.shift);
        std::wstring out;
        for (const auto& line : ui.log) out += line + L"; ";
        out += g().gameScreen.programEnded ? L"ended" : L"going on";
        for (const char* name : {"saved/char.ch", "saved/town.map", "monst.cnt", "saved"}) out += fs::exists(folder.path() / name) ? L" +" : L" -";
        EXPECT_EQ(out, c.outcome);
    }
}

TEST_F(KeyMap, TheSpellListShowsKnownSpellsFocusesTheLastAndTakesItsKeys) {
    g().LightningKnown = g().HealingKnown = true;
    Key('S');
    const auto& list = g().gameScreen.spells;
    EXPECT_EQ(std::tuple(list.visible, list.optionVisible, list.focus), std::tuple(true, std::array<bool, 6>{false, true, false, true, false, true}, 3));
    // Nothing known: the keyboard rests on "Закрыть". Enter on it spends a turn and leaves a
    // last spell that repeats nothing; a double click does not; Esc closes and spends nothing.
    g().LightningKnown = g().HealingKnown = false;
    Key('S');
    EXPECT_EQ(list.focus, SpellList::kClose);
    ChooseSpellWithEnter(SpellList::kClose, kVkReturn);
    EXPECT_EQ(std::tuple(list.visible, w().Turn, g().LastSpell), std::tuple(false, 1, 6));
    Key('S');
    ChooseSpell(SpellList::kClose);
    Key('S');
    CloseSpellListOnEscape(1, kVkEscape);
    EXPECT_EQ(std::tuple(list.visible, w().Turn), std::tuple(false, 1));
    Key('S');
    ChooseSpell(2);
    EXPECT_EQ(std::tuple(g().LastSpell, w().Turn), std::tuple(3, 2));
}

TEST_F(KeyMap, NotOnTheWildMap) {
    w().WorldName = L"wild";
    for (int key : {'S', 'D', 'A'}) {
        g().screen.lblII.clear();
        Key(key);
        EXPECT_EQ(std::tuple(g().screen.lblII, g().gameScreen.spells.visible, w().Turn), std::tuple(L"Не на карте...", false, 0)) << key;
    }
}

TEST_F(KeyMap, TacticKeysSetTheBehaviourAndSayIt) {
    std::wstring seen;
    for (int key : {kVkF4, kVkF8, kVkF6}) {
        Key(key);
        seen += std::to_wstring(g().Player->HeroeTactic) + L" " + g().screen.txtSpeech + L"|";
    }
    EXPECT_EQ(seen, L"-2 Ваше поведение : Скрытное, сила удара упала на 4, защита возросла на 4.\r\n\r\n[пробел]|"
                    L"2 Ваше поведение : Берсерк , сила удара возросла на 4, защита упала на 4.\r\n\r\n[пробел]|"
                    L"0 Ваше поведение : Нормальное\r\n\r\n[пробел]|");
}

TEST_F(KeyMap, WaitingPickingUpAndTheMusicToggle) {
    for (int key : {kVkNumpad5, kVk5, kVkSemicolon, kVkComma}) Key(key);
    EXPECT_EQ(std::tuple(w().Turn, ui.Count(L"InputBox")), std::tuple(4, 0));
    modMusicEngine::MusicOn = false;
    Key(kVkF9);
    EXPECT_EQ(std::tuple(modMusicEngine::MusicOn, modMusicEngine::MidiOpen(), w().Turn), std::tuple(true, false, 4));  // no tune starts
}

TEST_F(KeyMap, PassingACharacterNeedsAFreeCellBehindAndAPeacefulCharacter) {
    auto npc = g().NPCs->Add();
    std::tie(npc->Symbol, npc->X, npc->Y) = std::tuple(L"2", 6.f, 5.f);
    PutNPCsOnMap();
    g().FacingDir = 3;
    const struct { int tactic; const wchar_t *behind, *typed; int x, turn; } cases[] = {
        {kTacticApproach, L"G", L"S", 5, 0},  // a hunting character will not let him by
        {kTacticStay, L"a", L"S", 5, 0},      // nowhere to land
        {kTacticStay, L"G", L"s ", 5, 0},     // neither command
        {kTacticStay, L"G", L"Ы", 7, 1}};  // S on a Russian layout
    for (const auto& c : cases) {
        npc->Tactic = c.tactic;
        Put(7, 5, c.behind);
        ui.inputAnswers = {c.typed};
        Key(kVkSemicolon, kShiftMask);
        EXPECT_EQ(std::tuple(g().PlayerX, w().Turn, npc->X), std::tuple(c.x, c.turn, 6.f)) << c.typed;
    }
    EXPECT_EQ(ui.log.front(), L"InputBox|Morvath|Расширенные команды([s]leep, [S]wap):");
}

// The extended command box reads its letters by their keys: a Russian layout types "ы" and
// "Ы" on the keys of "s" and "S".
TEST_F(KeyMap, RussianLettersInTheExtendedBoxAreTheLatinOnesOnTheSameKeys) {
    const struct { wchar_t typed, key; } cases[] = {
        {L'ы', L's'}, {L'Ы', L'S'}, {L'й', L'q'}, {L'Ё', L'~'}, {L'ж', L';'}, {L'Б', L'<'}, {L'я', L'z'}, {L's', L's'}, {L'7', L'7'}};
    for (const auto& c : cases) EXPECT_EQ(LatinOnSameKey(c.typed), c.key) << static_cast<int>(c.typed);
    // The box reads them so: "ы" sleeps until rested (and "Ы" swaps, as passing a character shows).
    g().Player->Tired = 200;
    ui.inputAnswers = {L"ы"};
    Key(kVkSemicolon, kShiftMask);
    EXPECT_EQ(std::tuple(w().Turn, ui.Count(L"MsgBox"), g().screen.txtSpeech.rfind(L"Вы проснулись!", 0)), std::tuple(4, 0, 0u));
}

// Talk, the signs and handing coins over (T and G), and the speech box's text.
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
