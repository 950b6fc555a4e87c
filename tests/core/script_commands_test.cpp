// The command dispatcher and the commands for dialogue, dialogs, quest flags, script
// control and plain values, run from script text against a scripted player.
#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "script/choice.h"
#include "script_test_support.h"

using namespace morvath;

namespace {

using Commands = ScriptFixture;
using Seen_ = std::vector<std::wstring>;

const std::wstring kMissing = L"MsgBox|Script VM Error|Argument not optional in call to procedure: ";

TEST_F(Commands, InputAndYesNoAskThePlayer) {
    ui.inputAnswers.push_back(L"Иван");
    ui.msgAnswers = {MsgResult::Yes, MsgResult::No};
    Run(L"var n;a;b\nn ~ input(\"Имя?\")\na ~ yesno(\"Да?\")\nb ~ yesno(\"Нет?\")\n"
        L"if a = \"1\"\nsay2(n)\nend\nif b = \"0\"\nprint(n & \"!\")\nend");
    EXPECT_EQ(ui.log[0], L"InputBox|Morvath|Имя?");
    EXPECT_EQ(ui.log[1], L"MsgBox|Morvath|Да?");
    EXPECT_EQ(ui.log[2], L"MsgBox|Morvath|Нет?");
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Иван\r\n\r\n[пробел]");
    EXPECT_EQ(modVarsAndMain.screen.lblII, L"Иван!");
}

TEST_F(Commands, SayNeedsTheSpeakingCharacterSay2DoesNot) {
    Run(L"say(\"никого\")");
    EXPECT_FALSE(modVarsAndMain.screen.speechVisible);
    AddSpeaker(L"Кузнец");
    Run(L"say(\"Здравствуй\")");
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Кузнец:Здравствуй\r\n\r\n[пробел]");
    Run(L"say2(\"Ветер\")");
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Ветер\r\n\r\n[пробел]");
}

TEST_F(Commands, FinishSetsTheLastSpeechOfTheSpeaker) {
    Run(L"finish(\"nobody\")");  // no speaker: nothing to set, nothing breaks
    auto npc = AddSpeaker(L"Старик");
    Run(L"finish(\"Уходи.\")");
    EXPECT_EQ(npc->Last_Speech, L"Уходи.");
}

TEST_F(Commands, SpeakShowsTheChoiceAndReturnsTheAnswer) {
    ui.choiceAnswers = {2, 1};
    modVarsAndMain.screen.txtSpeech = L"old";
    EXPECT_EQ(RunAndSee(L"var r\nr ~ speak(\"Куда?\";\"Север\";\"Юг\";\"Запад\")\ninput(r)\n"
                        L"r ~ speak(\"Ещё?\";\"Да\";\"Нет\";\"\")\ninput(r)"),
              (Seen_{L"2", L"1"}));
    EXPECT_EQ(ui.log[0], L"Choice|Куда?|Север|Юг|Запад");
    EXPECT_EQ(ui.log[2], L"Choice|Ещё?|Да|Нет|");  // an empty fourth hides the third option
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"");
    EXPECT_EQ(modVarsAndMain.ChoiceResult, 1);
}

TEST_F(Commands, ChoiceClosedWithoutAnAnswerIsSkippedNotThePreviousAnswer) {
    modVarsAndMain.ChoiceResult = 1;
    ui.choiceAnswers = {kChoiceSkipped, 2, 7};
    EXPECT_EQ(RunAndSee(L"var r\nr ~ speak(\"?\";\"a\";\"b\";\"c\")\ninput(r)\n"
                        L"r ~ speak(\"?\";\"a\";\"b\";\"\")\ninput(r)\n"
                        L"r ~ speak(\"?\";\"a\";\"b\";\"c\")\ninput(r)"),
              (Seen_{L"11", L"11", L"11"}));  // the hidden third and a stray code are no answers
}

TEST_F(Commands, TheDialogsTextsComeFromTheScreenState) {
    auto& s = modVarsAndMain.screen;
    s.choiceQuestion = L"Q";
    s.choiceCaptions = {L"A", L"B", L"C"};
    ui.choiceAnswers = {2};
    EXPECT_EQ(ShowChoiceDialog(), 2);
    EXPECT_EQ(ui.log.back(), L"Choice|Q|A|B|C");
}

TEST_F(Commands, MissingArgumentBoxNamesTheCommandAsWrittenOncePerCall) {
    Run(L"SAY2()\nSay2\nstrcpy(\"a\")");
    // "SAY2()" has its one (empty) argument; "Say2" alone is not a call at all.
    EXPECT_EQ(ui.log, (Seen_{kMissing + L"strcpy"}));
    ui.log.clear();
    Run(L"PRINT()\nSetQ(\"1\")");
    EXPECT_EQ(ui.log, (Seen_{kMissing + L"SetQ"}));
    EXPECT_EQ(modVarsAndMain.screen.lblII, L"");
    // The command goes on with its next step, yet one call reports once: then the dialog
    // comes all the same.
    ui.log.clear();
    Run(L"Speak(\"Куда?\")");
    EXPECT_EQ(ui.log, (Seen_{kMissing + L"Speak", L"Choice|Куда?|||"}));
}

TEST_F(Commands, ShowFileReadsFromTheGameFolder) {
    fs::create_directories(dir.path() / "intros");
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "intros" / "Legend.txt", EncodeCp1251(L"Давным-давно\r\n")));
    Run(L"showfile(\"intros\\legend.txt\")\nshowfile(\"\\INTROS\\legend.txt\")");
    EXPECT_EQ(ui.Count(L"ShowText|modal|Давным-давно\r\n"), 2);
    // The viewer's caption becomes "..." for a script's file.
    EXPECT_EQ(ui.textCaption, L"...");
    ui.log.clear();
    // A file that cannot be read shows nothing; a path that climbs out is never read.
    ASSERT_TRUE(WriteFileAtomic(dir.path() / ".." / (dir.path().filename().string() + "-outside.txt"), "x"));
    Run(L"showfile(\"intros\")\nshowfile(\"\\\")\nshowfile(\"intros\\none.txt\")\nshowfile(\"..\\" + dir.path().filename().wstring() +
        L"-outside.txt\")\nshowfile(\"c:\\x.txt\")\nshowfile(\"\")");
    fs::remove(dir.path() / ".." / (dir.path().filename().string() + "-outside.txt"));
    EXPECT_EQ(ui.Count(L"ShowText"), 0);
}

TEST_F(Commands, QuestFlags) {
    modVarsAndMain.QuestFlags[7] = 3;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ getq(\"6\")\nb ~ getq(\"7\")\ninput(a)\ninput(b)\n"
                        L"if a < \"1\"\ninput(\"a<1\")\nend\nif b > \"2\"\ninput(\"b>2\")\nend\nif a = \"0\"\ninput(\"a=0\")\nend"),
              (Seen_{L"0", L"3", L"a<1", L"b>2", L"a=0"}));
    Run(L"setq(\"6\";\"12\")\nsetq(\"2.5\";\"4\")\nsetq(\"49\";\"-1\")\nsetq(\"0\";\"99999\")");
    EXPECT_EQ(modVarsAndMain.QuestFlags[6], 12);
    EXPECT_EQ(modVarsAndMain.QuestFlags[2], 4);  // 2.5 rounds to the even 2
    EXPECT_EQ(modVarsAndMain.QuestFlags[49], -1);
    EXPECT_EQ(modVarsAndMain.QuestFlags[0], 32767);  // too big for a flag: the largest one
}

TEST_F(Commands, QuestFlagsOutsideTheTableReportAndChangeNothing) {
    auto before = modVarsAndMain.QuestFlags;
    EXPECT_EQ(RunAndSee(L"var a\na ~ getq(\"50\")\ninput(a)\nsetq(\"-1\";\"5\")\nsetq(\"50\";\"5\")"), (Seen_{L"0"}));
    EXPECT_EQ(ui.Count(kMissing + L"getq"), 1);
    EXPECT_EQ(ui.Count(kMissing + L"setq"), 2);
    // Texts that are not numbers fail quietly: no flag 0 by accident.
    Run(L"setq(\"abc\";\"5\")\nsetq(\"1\";\"abc\")\nsetq(\"\";\"5\")");
    EXPECT_EQ(modVarsAndMain.QuestFlags, before);
    EXPECT_EQ(ui.Count(L"MsgBox"), 3);
}

TEST_F(Commands, GetEventIsTheSpeakersReason) {
    EXPECT_EQ(RunAndSee(L"var e\ne ~ getevent()\ninput(e)"), (Seen_{L""}));
    AddSpeaker(L"Волк")->ScriptEvent = kEventDied;
    EXPECT_EQ(RunAndSee(L"var e\ne ~ getevent()\ninput(e)"), (Seen_{L"1"}));
}

TEST_F(Commands, ExeRunsAnotherScriptForTheSpeaker) {
    WriteScript("other.tai", L"setq(\"3\";\"1\")\nsay(\"тут\")");
    Run(L"exe(\"other.tai\")");
    EXPECT_EQ(modVarsAndMain.QuestFlags[3], 0);  // no speaker: nothing runs
    AddSpeaker(L"Волхв");
    EXPECT_EQ(RunAndSee(L"input(\"a\")\nexe(\"other.tai\")\ninput(\"b\")\nexe(\"missing.tai\")\nexe(\"..\\scripts\\other.tai\")"),
              (Seen_{L"a", L"b"}));
    EXPECT_EQ(modVarsAndMain.QuestFlags[3], 1);
    EXPECT_EQ(modVarsAndMain.screen.txtSpeech, L"Волхв:тут\r\n\r\n[пробел]");
}

TEST_F(Commands, AScriptThatRunsItselfStopsAtTheNestingLimit) {
    WriteScript("self.tai", L"var n\nn ~ getq(\"1\")\nn = n + \"1\"\nsetq(\"1\";n)\nexe(\"self.tai\")\nsetq(\"2\";n)");
    AddSpeaker(L"Эхо");
    Run(L"exe(\"self.tai\")");
    // The outer run is one level; fifteen runs of the script nest inside it.
    EXPECT_EQ(modVarsAndMain.QuestFlags[1], 15);
    EXPECT_EQ(modVarsAndMain.QuestFlags[2], 1);  // every level finished; the outermost last
    EXPECT_EQ(modVarsAndMain.scriptRun.depth, 0);
}

TEST_F(Commands, ALoopOfNestedRunsEndsWithTheBudget) {
    WriteScript("tick.tai", L"var n\nn ~ getq(\"1\")\nn = n + \"1\"\nsetq(\"1\";n)");
    AddSpeaker(L"Часы");
    EXPECT_EQ(RunAndSee(L"while \"1\" = \"1\"\nexe(\"tick.tai\")\nend\ninput(\"never\")"), (Seen_{}));
    EXPECT_GT(modVarsAndMain.QuestFlags[1], 100);
    EXPECT_LT(modVarsAndMain.QuestFlags[1], 1001);
    // The budget belongs to one outermost run: the next one starts afresh.
    modVarsAndMain.QuestFlags[1] = 0;
    Run(L"exe(\"tick.tai\")");
    EXPECT_EQ(modVarsAndMain.QuestFlags[1], 1);
}

TEST_F(Commands, SkipMakesEveryLaterCommandDoNothing) {
    EXPECT_EQ(RunAndSee(L"input(\"a\")\nskip()\ninput(\"b\")\nsetq(\"1\";\"1\")\nspeak(\"q\";\"a\";\"b\")"), (Seen_{L"a"}));
    EXPECT_EQ(modVarsAndMain.QuestFlags[1], 0);
    EXPECT_EQ(ui.log.size(), 1u);  // not even the missing-argument box
}

TEST_F(Commands, PlainValues) {
    EXPECT_EQ(RunAndSee(L"var a;b;c;d\na ~ star(\"2.5\";\"4\")\nb ~ lcase(\"ПРИВЕТ Мир ЁЖ\")\nc ~ strcpy(\"ab\";b)\n"
                        L"d ~ star(\"x\";\"3\")\ninput(a)\ninput(b)\ninput(c)\ninput(d)\nd ~ star(\"1 0\";\"2e2\")\ninput(d)"),
              (Seen_{L"10", L"привет мир ёж", L"abпривет мир ёж", L"0", L"20"}));
}

TEST_F(Commands, RndDrawsBelowItsArgument) {
    PinnedDraws draws{0, 0.9999, 0.9999};
    EXPECT_EQ(RunAndSee(L"var r\nr ~ rnd(\"4\")\ninput(r)\nr ~ rnd(\"4\")\ninput(r)\nr ~ rnd(\"1\")\ninput(r)"), (Seen_{L"0", L"3", L"0"}));
    EXPECT_EQ(RunAndSee(L"var r\nr = \"x\"\nr ~ rnd(\"abc\")\ninput(r)"), (Seen_{L""}));
}

TEST_F(Commands, CommandsOfCharactersAndWorldAreKnownButQuiet) {
    for (const wchar_t* line : {L"fight()", L"run()", L"died()", L"cmap(\"1\";\"1\";\"x\")", L"imap(\"1\";\"1\")",
                                L"put()", L"genweap()", L"genitem(\"a\")", L"light()", L"addlocation()",
                                L"getturns()", L"rash()", L"rashbyname(\"a\")", L"moveworld(\"a\")",
                                L"getinflevel()", L"gendungeon()", L"genhouse()", L"intalk(\"5\")"}) {
        EXPECT_EQ(RunAndSee(std::wstring(line) + L"\ninput(\"on\")"), (Seen_{L"on"})) << ToUtf8(line);
    }
    EXPECT_EQ(ui.Count(L"MsgBox"), 0);
}

}  // namespace
