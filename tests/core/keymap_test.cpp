// The key map's table beyond walking: what runs after a key, the quit keys, the lists, the
// speech box and the extended command box.
#include "game/screen.h"
#include "screen_fixture.h"
#include "services/music.h"
#include "world/turn.h"

using namespace morvath;

namespace {

using KeyMap = ScreenTest;


class AfterKey : public ScreenTest {
protected:
    AfterKey() {
        WriteLocation(L"house", Grass(20, 20), {}, kMapHouse);
        Record(5, 5, L"house", Variant(3), Variant(7));
    }
};

TEST_F(AfterKey, AKeyOutsideTheTableStillChecksTheCellAndRedrawsButNotOnTheWildMap) {
    const unsigned before = g().gameScreen.view.serial;
    Key('Q');  // Q without a modifier is any other key
    EXPECT_EQ(ui.Count(L"MsgBox"), 0);
    EXPECT_EQ(w().WorldName, L"house");
    EXPECT_GT(g().gameScreen.view.serial, before);
    EXPECT_EQ(w().Turn, 0);
    w().WorldName = L"wild";
    Key('X');
    EXPECT_EQ(w().WorldName, L"wild");
}

TEST_F(AfterKey, SpaceClosesTheSpeechBoxAndRedrawsWithoutACheck) {
    g().screen.speechVisible = true;
    g().screen.lblII = L"старое";
    const unsigned before = g().gameScreen.view.serial;
    Key(kVkSpace);
    EXPECT_FALSE(g().screen.speechVisible);
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_GT(g().gameScreen.view.serial, before);
    EXPECT_EQ(g().screen.lblII, L"");  // the info line is emptied by every key
}

TEST_F(AfterKey, ASleepingHeroOrAFlyingSpellTakesNoKeys) {
    g().Player->Sleep = true;
    Key(kVkEscape);
    Key(kVkRight);
    Key('X');
    EXPECT_EQ(ui.log.size(), 0u);
    EXPECT_EQ(g().PlayerX, 5);
    EXPECT_EQ(w().WorldName, L"town");
    g().Player->Sleep = false;
    g().AnimationRunning = true;
    Key(kVkRight);
    EXPECT_EQ(g().PlayerX, 5);
    EXPECT_EQ(w().Turn, 0);
}

TEST_F(AfterKey, EatingNothingSpendsNoTurnAndChecksNothing) {
    const unsigned before = g().gameScreen.view.serial;
    Key('E');  // nothing to eat: the picker comes back empty
    EXPECT_EQ(w().Turn, 0);
    EXPECT_EQ(w().WorldName, L"town");
    EXPECT_EQ(g().gameScreen.view.serial, before);
}

class Quit : public ScreenTest {
protected:
    Quit() {
        WriteText(L"saved/town.map", L"G\r\n");
        WriteText(L"saved/char.ch", L"Игорь\r\n");
        WriteText(L"monst.cnt", L"Волк\r\n");
    }
    bool Saved(const char* name) { return fs::exists(folder.path() / "saved" / name); }
};

TEST_F(Quit, EscAnsweredNoGoesOnAsAnyKey) {
    ui.msgAnswers = {MsgResult::No};
    Key(kVkEscape);
    EXPECT_EQ(ui.log.front(), L"MsgBox|Morvath...|Действительно выйти?");
    EXPECT_EQ(ui.Count(L"EndProgram"), 0);
    EXPECT_FALSE(g().gameScreen.programEnded);
}

TEST_F(Quit, EscWithSavingEndsTheProgramAndKeepsTheSave) {
    ui.msgAnswers = {MsgResult::Yes, MsgResult::Yes};
    Key(kVkEscape);
    EXPECT_EQ(ui.log[1], L"MsgBox|Morvath...|Сохранить игру?");
    EXPECT_EQ(ui.Count(L"EndProgram"), 1);
    EXPECT_TRUE(g().gameScreen.programEnded);
    EXPECT_TRUE(Saved("char.ch"));
}

TEST_F(Quit, EscWithoutSavingDeletesTheSaveButKeepsTheKillLog) {
    ui.msgAnswers = {MsgResult::Yes, MsgResult::No};
    Key(kVkEscape);
    EXPECT_EQ(ui.Count(L"EndProgram"), 1);
    EXPECT_FALSE(Saved("char.ch"));
    EXPECT_FALSE(Saved("town.map"));
    EXPECT_TRUE(fs::exists(folder.path() / "saved"));
    EXPECT_TRUE(fs::exists(folder.path() / "monst.cnt"));
}

TEST_F(Quit, QWithAModifierDeletesTheSaveAndTheKillLog) {
    ui.msgAnswers = {MsgResult::No};
    Key('Q', kCtrlMask);
    EXPECT_EQ(ui.log.front(), L"MsgBox|Morvath...|Действительно выйти не сохраняя?");
    EXPECT_TRUE(Saved("char.ch"));
    ui.msgAnswers = {MsgResult::Yes};
    Key('Q', kAltMask);
    EXPECT_FALSE(Saved("char.ch"));
    EXPECT_FALSE(fs::exists(folder.path() / "monst.cnt"));
    EXPECT_EQ(ui.Count(L"EndProgram"), 1);
}

TEST_F(Quit, ShiftSAsksToSaveAndQuitWhileSOpensTheSpells) {
    ui.msgAnswers = {MsgResult::No};
    Key('S', kShiftMask);
    EXPECT_EQ(ui.log.front(), L"MsgBox|Morvath|Сохраниться и выйти?");
    EXPECT_FALSE(g().gameScreen.spells.visible);
    EXPECT_EQ(ui.Count(L"EndProgram"), 0);
    ui.msgAnswers = {MsgResult::Yes};
    Key('S', kShiftMask);
    EXPECT_EQ(ui.Count(L"EndProgram"), 1);
    EXPECT_TRUE(Saved("char.ch"));
}

TEST_F(KeyMap, TheSpellListShowsKnownSpellsAndFocusesTheLast) {
    g().LightningKnown = true;
    g().HealingKnown = true;
    Key('S');
    const auto& list = g().gameScreen.spells;
    EXPECT_TRUE(list.visible);
    EXPECT_EQ(list.optionVisible, (std::array<bool, 6>{false, true, false, true, false, true}));
    EXPECT_EQ(list.focus, 3);
    // Nothing known: the keyboard rests on "Закрыть".
    g().LightningKnown = g().HealingKnown = false;
    Key('S');
    EXPECT_EQ(list.focus, SpellList::kClose);
    EXPECT_TRUE(list.optionVisible[1]);  // once shown, never hidden again
}

TEST_F(KeyMap, NotOnTheWildMap) {
    w().WorldName = L"wild";
    Key('S');
    EXPECT_FALSE(g().gameScreen.spells.visible);
    EXPECT_EQ(g().screen.lblII, L"Не на карте...");
    Key('D');
    EXPECT_EQ(g().screen.lblII, L"Не на карте...");
    EXPECT_EQ(w().Turn, 0);
    Key('A');
    EXPECT_EQ(g().screen.lblII, L"Не на карте...");
}

TEST_F(KeyMap, SpellListKeys) {
    Key('S');
    // Enter on "Закрыть" spends a turn and leaves a last spell that repeats nothing.
    ChooseSpellWithEnter(SpellList::kClose, kVkReturn);
    EXPECT_FALSE(g().gameScreen.spells.visible);
    EXPECT_EQ(w().Turn, 1);
    EXPECT_EQ(g().LastSpell, 6);
    // A double click on it does not.
    Key('S');
    ChooseSpell(SpellList::kClose);
    EXPECT_FALSE(g().gameScreen.spells.visible);
    EXPECT_EQ(w().Turn, 1);
    Key('S');
    ChooseSpell(2);
    EXPECT_EQ(g().LastSpell, 3);
    EXPECT_EQ(w().Turn, 2);
    Key('S');
    CloseSpellListOnEscape(1, kVkEscape);
    EXPECT_FALSE(g().gameScreen.spells.visible);
    EXPECT_EQ(w().Turn, 2);
}

TEST_F(KeyMap, SkillListKeys) {
    auto& list = g().gameScreen.skills;
    list.visible = true;
    g().ForgeChoice = true;
    ChooseSkillWithEnter(kVkReturn);  // the smithing choice is confirmed
    EXPECT_FALSE(list.visible);
    EXPECT_TRUE(g().ForgeChoice);
    list.visible = true;
    CloseSkillListOnEscape(kVkEscape);
    EXPECT_FALSE(list.visible);
    EXPECT_FALSE(g().ForgeChoice);
}

TEST_F(KeyMap, TheSpeechBoxKeepsItsScrollKeysAndPassesTheRest) {
    WriteLocation(L"house", Grass(20, 20), {}, kMapHouse);
    Record(5, 5, L"house", Variant(3), Variant(7));
    g().screen.speechVisible = true;
    EXPECT_TRUE(SpeechBoxKey(kVkPageDown, 0));
    EXPECT_TRUE(SpeechBoxKey(kVkUp, 0));
    EXPECT_TRUE(g().screen.speechVisible);
    EXPECT_EQ(g().PlayerY, 5);
    EXPECT_FALSE(SpeechBoxKey('X', 0));
    EXPECT_FALSE(g().screen.speechVisible);
    EXPECT_EQ(w().WorldName, L"house");
}

TEST_F(KeyMap, TacticKeysSetTheBehaviourAndSayIt) {
    Key(kVkF4);
    EXPECT_EQ(g().Player->HeroeTactic, -2);
    EXPECT_EQ(g().screen.txtSpeech,
              L"Ваше поведение : Скрытное, сила удара упала на 4, защита возросла на 4.\r\n\r\n[пробел]");
    Key(kVkF8);
    EXPECT_EQ(g().Player->HeroeTactic, 2);
    Key(kVkF6);
    EXPECT_EQ(g().Player->HeroeTactic, 0);
    EXPECT_EQ(g().screen.txtSpeech, L"Ваше поведение : Нормальное\r\n\r\n[пробел]");
}

TEST_F(KeyMap, LookListsTheItemsOnTheHerosSquare) {
    auto add = [&](const wchar_t* name, long type, float x, float y) {
        auto item = w().mapItemCol->Add();
        item->ItemName = name;
        item->ItemType = type;
        item->X = x;
        item->Y = y;
        item->WeaponPlus = 3;
        item->DefendPlus = 1;
        item->Critical = 15;
    };
    add(L"Меч", kWeapon, 5, 5);
    add(L"Хлеб", kFood, 5, 5);
    add(L"Щит", kShield, 6, 5);
    Key('L');
    EXPECT_EQ(g().screen.txtSpeech, L"Меч[3,1] (15%)\r\nХлеб\r\n\r\n\r\n[пробел]");
    EXPECT_EQ(w().Turn, 1);
    w().mapItemCol->Clear();
    Key('L');  // said even when nothing lies here
    EXPECT_EQ(g().screen.txtSpeech, L"\r\n\r\n[пробел]");
}

TEST_F(KeyMap, DebugKeys) {
    Key('P');
    EXPECT_EQ(ui.log.back(), L"MsgBox|Morvath|5,5");
    Key(kVkF10);
    EXPECT_EQ(g().Money, 1000);
    EXPECT_TRUE(g().CutSpellKnown);
    EXPECT_TRUE(g().LightningKnown);
    EXPECT_EQ(g().Player->Mana, 80);
}

TEST_F(KeyMap, TheWorldDebugKeyLoadsOnlyALoadableLocation) {
    WriteLocation(L"N1", Grass(20, 20), {});
    ui.inputAnswers = {L"..\\saved\\N1", L"nowhere", L"N1"};
    Key(kVkF11);
    Key(kVkF11);
    EXPECT_EQ(w().WorldName, L"town");
    Key(kVkF11);
    EXPECT_EQ(ui.Count(L"InputBox|Morvath|World:"), 3);
    EXPECT_EQ(w().WorldName, L"N1");
    EXPECT_EQ(w().Row(0).size(), 20u);
}

TEST_F(KeyMap, HelpKeysShowTheirTextsAndNothingWhenMissing) {
    Key(kVkF1);
    EXPECT_EQ(ui.Count(L"ShowText"), 0);
    WriteText(L"intros/keys.txt", L"Стрелки - ходить");
    WriteText(L"manual.txt", L"Руководство");
    Key(kVkF1);
    Key(kVkF2);
    EXPECT_EQ(ui.log[0], L"ShowText|modeless|Стрелки - ходить");
    EXPECT_EQ(ui.log[1], L"ShowText|modeless|Руководство");
}

TEST_F(KeyMap, WaitingAndTheMusicToggle) {
    Key(kVkNumpad5);
    Key(kVk5);
    EXPECT_EQ(w().Turn, 2);
    modMusicEngine::MusicOn = false;
    Key(kVkF9);
    EXPECT_TRUE(modMusicEngine::MusicOn);
    EXPECT_FALSE(modMusicEngine::MidiOpen());  // the switch starts no tune
    Key(kVkF9);
    EXPECT_FALSE(modMusicEngine::MusicOn);
    EXPECT_EQ(w().Turn, 2);
}

TEST_F(KeyMap, PassingACharacterNeedsAFreeCellBehindAndAPeacefulCharacter) {
    auto npc = g().NPCs->Add();
    npc->Symbol = L"2";
    npc->X = 6;
    npc->Y = 5;
    npc->Tactic = kTacticApproach;
    PutNPCsOnMap();
    g().FacingDir = 3;
    ui.inputAnswers = {L"S"};
    Key(kVkSemicolon, kShiftMask);
    EXPECT_EQ(ui.log.front(), L"InputBox|Morvath|Расширенные команды([s]leep, [S]wap):");
    EXPECT_EQ(g().PlayerX, 5);  // a hunting character will not let him by
    EXPECT_EQ(w().Turn, 0);

    npc->Tactic = kTacticStay;
    Put(7, 5, L"a");
    ui.inputAnswers = {L"S"};
    Key(kVkSemicolon, kShiftMask);
    EXPECT_EQ(g().PlayerX, 5);  // nowhere to land

    Put(7, 5, L"G");
    ui.inputAnswers = {L"s "};  // neither command
    Key(kVkSemicolon, kShiftMask);
    EXPECT_EQ(g().PlayerX, 5);
    ui.inputAnswers = {L"S"};
    Key(kVkSemicolon, kShiftMask);
    EXPECT_EQ(g().PlayerX, 7);
    EXPECT_EQ(w().Turn, 1);
    EXPECT_EQ(npc->X, 6);
}

TEST_F(KeyMap, SemicolonWithoutAModifierPicksUpAndSpendsATurn) {
    Key(kVkSemicolon);
    Key(kVkComma);
    EXPECT_EQ(ui.Count(L"InputBox"), 0);
    EXPECT_EQ(w().Turn, 2);
}

TEST_F(KeyMap, ClosingTheWindowSavesOnlyARunningGame) {
    WriteText(L"saved/char.ch", L"до смерти\r\n");
    g().PlayerDead = true;
    g().KeepSaveOnDeath = true;
    CloseGameScreen();
    EXPECT_EQ(ReadWholeFile(folder.path() / "saved" / "char.ch").value_or(L""), L"до смерти\r\n");
}

}  // namespace
