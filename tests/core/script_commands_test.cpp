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

// say() needs the speaking character, say2() does not; finish() sets the speaker's last speech.
TEST_F(Commands, SayAndFinishNeedTheSpeakingCharacter) {
    Run(L"say(\"никого\")\nfinish(\"nobody\")");
    EXPECT_FALSE(modVarsAndMain.screen.speechVisible);
    auto npc = AddSpeaker(L"Кузнец");
    Run(L"say(\"Здравствуй\")\nfinish(\"Уходи.\")");
    EXPECT_EQ(std::tuple(modVarsAndMain.screen.txtSpeech, npc->Last_Speech), std::tuple(L"Кузнец:Здравствуй\r\n\r\n[пробел]", L"Уходи."));
}

// An empty fourth caption hides the third option; a choice closed without an answer, the
// hidden third and a stray code are no answers: skipped, not the previous answer.
TEST_F(Commands, SpeakShowsTheChoiceAndReturnsTheAnswer) {
    ui.choiceAnswers = {2, 1, kChoiceSkipped, 2, 7};
    modVarsAndMain.screen.txtSpeech = L"old";
    EXPECT_EQ(RunAndSee(L"var r\nr ~ speak(\"Куда?\";\"Север\";\"Юг\";\"Запад\")\ninput(r)\nr ~ speak(\"Ещё?\";\"Да\";\"Нет\";\"\")\ninput(r)\n"
                        L"r ~ speak(\"?\";\"a\";\"b\";\"c\")\ninput(r)\nr ~ speak(\"?\";\"a\";\"b\";\"\")\ninput(r)\n"
                        L"r ~ speak(\"?\";\"a\";\"b\";\"c\")\ninput(r)"),
              (Seen_{L"2", L"1", L"11", L"11", L"11"}));
    EXPECT_EQ(std::tuple(ui.log[0], ui.log[2], modVarsAndMain.screen.txtSpeech, int(modVarsAndMain.ChoiceResult)),
              std::tuple(L"Choice|Куда?|Север|Юг|Запад", L"Choice|Ещё?|Да|Нет|", L"", 11));
}

// "SAY2()" has its one (empty) argument; "Say2" alone is not a call at all. The command goes
// on with its next step, yet one call reports once.
TEST_F(Commands, MissingArgumentBoxNamesTheCommandAsWrittenOncePerCall) {
    Run(L"SAY2()\nSay2\nstrcpy(\"a\")\nPRINT()\nSetQ(\"1\")\nSpeak(\"Куда?\")");
    EXPECT_EQ(std::tuple(ui.log, modVarsAndMain.screen.lblII),
              std::tuple(Seen_{kMissing + L"strcpy", kMissing + L"SetQ", kMissing + L"Speak", L"Choice|Куда?|||"}, L""));
}

// The viewer's caption becomes "..." for a script's file; a file that cannot be read shows
// nothing; a path that climbs out is never read.
TEST_F(Commands, ShowFileReadsFromTheGameFolder) {
    fs::create_directories(dir.path() / "intros");
    ASSERT_TRUE(WriteFileAtomic(dir.path() / "intros" / "Legend.txt", EncodeCp1251(L"Давным-давно\r\n")));
    const fs::path outside = dir.path() / ".." / (dir.path().filename().string() + "-outside.txt");
    ASSERT_TRUE(WriteFileAtomic(outside, "x"));
    Run(L"showfile(\"intros\\legend.txt\")\nshowfile(\"\\INTROS\\legend.txt\")\nshowfile(\"intros\")\nshowfile(\"\\\")\n"
        L"showfile(\"intros\\none.txt\")\nshowfile(\"..\\" + dir.path().filename().wstring() + L"-outside.txt\")\nshowfile(\"c:\\x.txt\")\nshowfile(\"\")");
    fs::remove(outside);
    EXPECT_EQ(std::tuple(ui.Count(L"ShowText|modal|Давным-давно\r\n"), ui.Count(L"ShowText"), ui.textCaption), std::tuple(2, 2, L"..."));
}

// Flags 0 to 49 (the conversions have their own test); outside the table the call reports
// and changes nothing.
TEST_F(Commands, QuestFlags) {
    modVarsAndMain.QuestFlags[7] = 3;
    EXPECT_EQ(RunAndSee(L"var a;b\na ~ getq(\"6\")\nb ~ getq(\"7\")\ninput(a & b)\nif a < \"1\"\ninput(\"a<1\")\nend\n"
                        L"setq(\"49\";\"-1\")\nsetq(\"0\";\"99999\")\na ~ getq(\"50\")\ninput(a)\nsetq(\"-1\";\"5\")\nsetq(\"50\";\"5\")"),
              (Seen_{L"03", L"a<1", L"0"}));
    auto& q = modVarsAndMain.QuestFlags;
    EXPECT_EQ(std::tuple(int(q[49]), int(q[0]), int(q[48]), ui.Count(kMissing + L"getq"), ui.Count(kMissing + L"setq")), std::tuple(-1, 32767, 0, 1, 2));
}

// exe() runs another script for the speaker (without one nothing runs); missing or climbing
// names run nothing and the run goes on. getevent() is the speaker's reason.
TEST_F(Commands, ExeRunsAnotherScriptForTheSpeaker) {
    WriteScript("other.tai", L"setq(\"3\";\"1\")\nsay(\"тут\")");
    const wchar_t* script = L"var e\ne ~ getevent()\ninput(e)\nexe(\"other.tai\")\ninput(\"b\")\nexe(\"missing.tai\")\nexe(\"..\\scripts\\other.tai\")";
    EXPECT_EQ(std::tuple(RunAndSee(script), int(modVarsAndMain.QuestFlags[3])), std::tuple(Seen_{L"", L"b"}, 0));
    AddSpeaker(L"Волхв")->ScriptEvent = kEventDied;
    EXPECT_EQ(RunAndSee(script), (Seen_{L"1", L"b"}));
    EXPECT_EQ(std::tuple(int(modVarsAndMain.QuestFlags[3]), modVarsAndMain.screen.txtSpeech), std::tuple(1, L"Волхв:тут\r\n\r\n[пробел]"));
}

// The outer run is one level; fifteen runs of the script nest inside it, every level finishes
// and the outermost last.
TEST_F(Commands, AScriptThatRunsItselfStopsAtTheNestingLimit) {
    WriteScript("self.tai", L"var n\nn ~ getq(\"1\")\nn = n + \"1\"\nsetq(\"1\";n)\nexe(\"self.tai\")\nsetq(\"2\";n)");
    AddSpeaker(L"Эхо");
    Run(L"exe(\"self.tai\")");
    EXPECT_EQ(std::tuple(int(modVarsAndMain.QuestFlags[1]), int(modVarsAndMain.QuestFlags[2]), modVarsAndMain.scriptRun.depth), std::tuple(15, 1, 0));
}

// Nested runs spend the budget of the outermost one.
TEST_F(Commands, ALoopOfNestedRunsEndsWithTheBudget) {
    WriteScript("tick.tai", L"var n\nn ~ getq(\"1\")\nn = n + \"1\"\nsetq(\"1\";n)");
    AddSpeaker(L"Часы");
    EXPECT_EQ(RunAndSee(L"while \"1\" = \"1\"\nexe(\"tick.tai\")\nend\ninput(\"never\")"), (Seen_{}));
    EXPECT_TRUE(modVarsAndMain.QuestFlags[1] > 100 && modVarsAndMain.QuestFlags[1] < 1001) << modVarsAndMain.QuestFlags[1];
}

TEST_F(Commands, PlainValues) {
    PinnedDraws draws{0, 0.9999, 0.9999};
    ui.msgAnswers = {MsgResult::Yes, MsgResult::No};
    EXPECT_EQ(RunAndSee(L"var a;b;c;d\na ~ star(\"2.5\";\"4\")\nb ~ lcase(\"ПРИВЕТ Мир ЁЖ\")\nc ~ strcpy(\"ab\";b)\n"
                        L"d ~ star(\"x\";\"3\")\ninput(a)\ninput(b)\ninput(c)\ninput(d)\nd ~ star(\"1 0\";\"2e2\")\ninput(d)\n"
                        L"d ~ rnd(\"4\")\ninput(d)\nd ~ rnd(\"4\")\ninput(d)\nd ~ rnd(\"1\")\ninput(d)\na ~ yesno(\"Да?\")\nb ~ yesno(\"Нет?\")\n"
                        L"input(a & b)\nprint(c)"),
              (Seen_{L"10", L"привет мир ёж", L"abпривет мир ёж", L"0", L"20", L"0", L"3", L"0", L"10"}));
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox|Morvath|Да?"), modVarsAndMain.screen.lblII), std::tuple(1, L"abпривет мир ёж"));
}

}  // namespace
