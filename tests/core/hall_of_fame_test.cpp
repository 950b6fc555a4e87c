#include <cmath>
#include <fstream>

#include "game/hall_of_fame.h"
#include "platform/cp1251.h"
#include "platform/textforms.h"
#include "services/crypto.h"
#include "services/file_cipher.h"
#include "test_support.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

// A game folder of its own and a clean game for each test.
struct HallOfFameTest : GameTest {
    MainCharacter& hero() { return *modVarsAndMain.Player; }

    // What a plain hall-of-fame text looks like on disk.
    void WriteEnciphered(const std::string& plain) {
        ASSERT_TRUE(WriteFileAtomic(HiscorePath(), plain));
        ASSERT_TRUE(EncryptFileInPlace(HiscorePath()));
    }
    std::string Deciphered() {
        fs::path copy = folder.path() / "copy";
        fs::copy_file(HiscorePath(), copy, fs::copy_options::overwrite_existing);
        EXPECT_TRUE(DecryptFileInPlace(copy));
        return ReadBytes(copy).value_or("");
    }

    // The hero of a run that ended in a fight with a wolf.
    void KilledByWolf(const std::wstring& name) {
        hero().PlayerName = name;
        hero().Profession = kClaw;
        hero().Level = 2;
        hero().Exp = 15;
        modVarsAndMain.hallOfFame = {L"Волк", L"", true};
    }
};

std::string ReadFile(const fs::path& p) { return ReadBytes(p).value_or(""); }

std::vector<std::wstring> Utf8Lines(const fs::path& p) {
    std::vector<std::wstring> lines;
    std::ifstream in(p);
    std::string line;
    while (std::getline(in, line)) lines.push_back(FromUtf8(line));
    return lines;
}

// A hero whose score can be worked out by hand.
MainCharacter ScoredHero() {
    MainCharacter h;
    h.Luck = 0;
    h.Exp = 100;
    h.Level = 3;
    h.MaxHp = 20;
    h.Mana = 45;
    h.HP = 15;
    h.Hungry = 30;
    h.Strenght = 5.5;
    h.Learning = 2;
    h.HardIness = 3.25;
    h.Magic = 1.5;
    return h;
}

}  // namespace

TEST(HallOfFameScore, FollowsTheFormulaAndDoublesForAnEnding) {
    MainCharacter h = ScoredHero();
    // Int(10 * 0.5) + 110 * 3 * 4 + 3 + 20 + Int(4.5) + 15 - 30 + 5.5 + 2 + 3.25 + 1.5 = 1349.25
    EXPECT_EQ(ScoreOf(h, false, 0.5), 1349);
    EXPECT_EQ(ScoreOf(h, true, 0.5), 2698);
    // The random share is Int((Luck + 10) * r): at most Luck + 9.
    h.Luck = 10;
    EXPECT_EQ(ScoreOf(h, false, 0.0), 1344);
    EXPECT_EQ(ScoreOf(h, false, 0.999), 1344 + 19);
}

TEST(HallOfFameScore, AHeroWithNoExperienceAndNoLevelScoresOne) {
    MainCharacter h;
    h.HP = 30;
    h.MaxHp = 30;
    EXPECT_EQ(ScoreOf(h, false, 0.7), 1);
    EXPECT_EQ(ScoreOf(h, true, 0.7), 2);
    h.Exp = 1;  // either one counts
    EXPECT_GT(ScoreOf(h, false, 0.7), 1);
}

TEST(HallOfFameScore, IsKeptWithinTheRecordsRange) {
    MainCharacter h = ScoredHero();
    h.Exp = 30000;
    h.Level = 300;
    EXPECT_EQ(ScoreOf(h, false, 0.5), kMaxScore);
    EXPECT_EQ(ScoreOf(h, true, 0.5), kMaxScore);
    // A starving hero's sum is negative: its absolute value counts, and -32768 may not overflow.
    h = ScoredHero();
    h.Hungry = 32767;
    h.Level = 1;
    h.Exp = 0;
    // 40 + 1 + 20 + 4 + 15 - 32767 + 5.5 + 2 + 3.25 + 1.5 = -32674.75, rounded down
    EXPECT_EQ(ScoreOf(h, false, 0.0), 32675);
    h.Mana = -1e9;
    EXPECT_EQ(ScoreOf(h, false, 0.0), kMaxScore);
    h.Mana = std::nan("");
    EXPECT_EQ(ScoreOf(h, false, 0.0), 0);
}

TEST(HallOfFameCause, TheKillerInTheInstrumentalCaseOrTheLastMatchingState) {
    // Only the exact name gets the irregular form; the rules look at the last letter only.
    const std::pair<const wchar_t*, const wchar_t*> killers[] = {
        {L"Тварь", L"Тварью"}, {L"Собака", L"Собакой"}, {L"Медведь", L"Медведем"}, {L"Злодей", L"Злодем"}, {L"Волк", L"Волком"},
        {L"Солдат", L"Солдатом"}, {L"Большая Тварь", L"Большая Тварем"}, {L"А", L"Аом"}, {L"а", L"ой"}};
    MainCharacter h;
    for (auto [name, form] : killers) EXPECT_EQ(DeathCause(h, name), std::wstring(L" был убит ") + form);
    struct State {
        int hungry, sick, poison;
        const wchar_t* cause;
    };
    for (State s : {State{0, 0, 0, L" умер по неизвестной причине."}, State{139, 0, 0, L" умер по неизвестной причине."},
                    State{140, 0, 0, L" умер от голода."}, State{140, 1, 0, L" умер от болезни."}, State{140, 0, 1, L" умер от яда."}}) {
        h.Hungry = s.hungry;
        h.Sick = s.sick;
        h.Poison = s.poison;
        EXPECT_EQ(DeathCause(h, L""), s.cause) << s.hungry << s.sick << s.poison;
    }
    EXPECT_EQ(DeathCause(h, L"Паук"), L" был убит Пауком");  // a killer wins over every state
}

TEST(HallOfFameList, FourLinesPerRecord) {
    HallOfFameRecord death{L"Ратибор", 3, 1349, 4, L" умер от голода.", L""};
    EXPECT_EQ(ListLines(death), (std::vector<std::wstring>{L"Ратибор - Коготь",
                                                           L"Достиг уровня:4 и набрал 1349 очков.",
                                                           L"И  умер от голода.", L" "}));
    HallOfFameRecord ending{L"Всеслав", 1, 500, 9, L"#", L"В лучах славы, Героем вы прожили свою жизнь..."};
    EXPECT_EQ(ListLines(ending)[0], L"Всеслав - Чернокнижник");
    EXPECT_EQ(ListLines(ending)[2], L"И В лучах славы, Героем вы прожили свою жизнь...");
    // A person code the game does not know is shown as it stands.
    HallOfFameRecord odd{L"X", 7, 1, 0, L"c", L""};
    EXPECT_EQ(ListLines(odd)[0], L"X - 7");
    EXPECT_EQ(ListLines(HallOfFameRecord{L"Y", 0, 1, 0, L"c", L""})[0], L"Y - Князь");
}

TEST(HallOfFameFile, RecordsRoundTripAndAQuoteInANameCannotBreakTheFile) {
    std::vector<HallOfFameRecord> runs = {
        {L"Иван \"Грозный\", сын", 0, 12, 1, L" был убит Волком", L""},
        {L"Всеслав", 4, 32767, 20, L"#", L"Героем вы вернулись, к себе"},
    };
    std::string text;
    for (const auto& r : runs) text += RecordLine(r);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    auto back = ParseHallOfFame(text);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, L"Иван 'Грозный', сын");
    EXPECT_EQ(back[1], runs[1]);
}

TEST(HallOfFameFile, ReadingStopsAtTheFirstDamagedRecord) {
    std::string text = RecordLine({L"A", 1, 10, 2, L" c", L""});
    text += "\r\n";  // a blank line is no record, and no damage either
    text += RecordLine({L"B", 2, 20, 3, L" c", L""});
    text += "\"C\",1,\"not a number\",3,\" c\",\"\"\r\n";
    text += RecordLine({L"D", 2, 20, 3, L" c", L""});
    auto records = ParseHallOfFame(text);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].name, L"B");

    EXPECT_EQ(ParseHallOfFame("\"A\",1,10,2,\" c\"\r\n").size(), 0u);                  // a field short
    EXPECT_EQ(ParseHallOfFame("\"A\",1,10,2,\" c\",\"\",7\r\n").size(), 0u);          // one too many
    EXPECT_EQ(ParseHallOfFame("\"A\",1,10,2,\" c\",\"\"").size(), 1u);                // no line end
    // A score from an old or foreign file stays within the record's range.
    auto big = ParseHallOfFame("\"A\",1,99999,2,\" c\",\"\"\r\n\"B\",1,-5,2,\" c\",\"\"\r\n");
    ASSERT_EQ(big.size(), 2u);
    EXPECT_EQ(big[0].score, kMaxScore);
    EXPECT_EQ(big[1].score, 0);
}

TEST_F(HallOfFameTest, AnEndedRunIsAddedToTheEncipheredFileAndListedLast) {
    ui.msgAnswers = {MsgResult::No, MsgResult::No};
    KilledByWolf(L"Ратибор");
    HallOfFame first;
    first.Open();
    EXPECT_EQ(first.List1.size(), 4u);
    EXPECT_EQ(first.List1[2], L"И  был убит Волком");
    // On disk only cipher text: the name is nowhere in the file.
    EXPECT_EQ(ReadFile(HiscorePath()).find(EncodeCp1251(L"Ратибор")), std::string::npos);

    hero().PlayerName = L"Всеслав";
    hero().Profession = kWarlock;
    modVarsAndMain.hallOfFame = {L"", L"закончил своё путешествие Героем злых духов - их наместником на Земле!", true};
    HallOfFame second;
    second.Open();
    ASSERT_EQ(second.List1.size(), 8u);
    EXPECT_EQ(second.List1[0], L"Ратибор - Коготь");
    EXPECT_EQ(second.List1[4], L"Всеслав - Чернокнижник");
    EXPECT_EQ(second.List1[6], L"И закончил своё путешествие Героем злых духов - их наместником на Земле!");
    // The screen keeps the fields of the last record listed.
    EXPECT_EQ(second.cause, L"#");
    EXPECT_EQ(second.epitaph, modVarsAndMain.hallOfFame.win);
    // The ending's record keeps "#" as its cause, and its score is even (doubled).
    auto records = ParseHallOfFame(Deciphered());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].cause, L"#");
    EXPECT_EQ(records[1].score % 2, 0);
    EXPECT_EQ(records[1].score, second.score);
    // No working copy stays behind.
    for (const auto& e : fs::directory_iterator(folder.path())) {
        EXPECT_TRUE(e.is_directory() || e.path().filename() == "Hiscore" || e.path().filename() == "copy") << e.path();
    }
}

TEST_F(HallOfFameTest, BrowsingFromTheMenuChangesNoFile) {
    WriteEnciphered(RecordLine({L"A", 1, 10, 2, L" c", L""}) + RecordLine({L"B", 2, 20, 3, L" d", L""}));
    const std::string before = ReadFile(HiscorePath());
    ASSERT_TRUE(AppendToFile(KillLogPath(), EncodeCp1251(L"Волк\r\n")));
    modVarsAndMain.hallOfFame = {L"Волк", L"", false};

    HallOfFame h;
    h.Open();
    EXPECT_EQ(h.List1.size(), 8u);
    EXPECT_EQ(h.score, 20);
    EXPECT_EQ(h.cause, L" d");
    EXPECT_EQ(ReadFile(HiscorePath()), before);
    // The kill log belongs to a saved game still in progress.
    EXPECT_TRUE(FileExists(KillLogPath()));
    EXPECT_EQ(ui.Count(L"MsgBox"), 0);
    EXPECT_FALSE(h.Close());
}

TEST_F(HallOfFameTest, AnEndedRunOffersTheDeedsFileAndClearsTheKillLog) {
    const fs::path deeds = folder.path() / ToUtf8(L"Ратибор.dth");
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        ui.log.clear();
        ui.msgAnswers = {answer};
        ASSERT_TRUE(AppendToFile(KillLogPath(), EncodeCp1251(L"Волк\r\n")));
        KilledByWolf(L"Ратибор");
        HallOfFame h;
        h.Open();
        EXPECT_EQ(ui.log, std::vector<std::wstring>{
                              L"MsgBox|Morvath|Хотите создать файл описания деяний вашего персонажа?"});
        EXPECT_FALSE(FileExists(KillLogPath()));
        EXPECT_TRUE(h.Close());
        if (answer == MsgResult::No) {
            EXPECT_FALSE(FileExists(deeds));
            continue;
        }
        // Written before the kill log goes, in the game's own code page and line ends.
        std::string bytes = ReadFile(deeds);
        std::wstring text = DecodeCp1251(bytes);
        EXPECT_NE(text.find(L"Он набрал " + NumText(h.score) + L" очка(ов) и был убит Волком.\r\n"),
                  std::wstring::npos);
        EXPECT_NE(text.find(L"\r\n          Волк\r\n"), std::wstring::npos);
        EXPECT_EQ(text.substr(0, 40), L"               _______________________\r\n");
        EXPECT_EQ(bytes.find("\n"), bytes.find("\r\n") + 1);
    }
}

TEST_F(HallOfFameTest, AnUndecipherableHallOfFameIsMovedAsideAndANewOneStarted) {
    ui.msgAnswers = {MsgResult::Ok, MsgResult::No};
    std::string garbage = EncodeCp1251(L"\"Старый\",1,10,2,\" c\",\"\"\r\n");
    garbage += std::string(61, '\x5a');
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), garbage));
    KilledByWolf(L"Ратибор");

    HallOfFame h;
    h.Open();
    EXPECT_EQ(ReadFile(folder.path() / "Hiscore.bad"), garbage);
    ASSERT_EQ(h.List1.size(), 4u);
    EXPECT_EQ(h.List1[0], L"Ратибор - Коготь");
    auto records = ParseHallOfFame(Deciphered());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, L"Ратибор");

    // A second damaged file never takes the place of the first one set aside.
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), "junk"));
    HallOfFame again;
    again.Open();
    EXPECT_EQ(ReadFile(folder.path() / "Hiscore.bad"), garbage);
    EXPECT_EQ(ReadFile(folder.path() / "Hiscore.bad2"), "junk");
}

TEST_F(HallOfFameTest, TheDeedsFileOfAHandMadeHero) {
    auto& g = modVarsAndMain;
    hero().PlayerName = L"Ратибор";
    hero().Profession = kClaw;
    hero().Level = 4;
    hero().Doom = -1;
    hero().dMonsters = 3;
    g.TheWorld->Day = 12;
    g.QuestFlags[9] = 2;
    g.QuestFlags[7] = 1;
    g.QuestFlags[41] = 2;
    g.Money = 57;
    auto equip = [&](int slot, const wchar_t* name, int attack, int defence, double weight) {
        auto& row = g.Equip[static_cast<std::size_t>(slot)];
        row[kEqName] = name;
        row[kEqWeaponPlus] = attack;
        row[kEqDefendPlus] = defence;
        row[kEqWeight] = weight;
    };
    equip(kSlotHead, L"Шлем", 0, 2, 1.5);
    equip(kSlotNeck, L"Амулет", 0, 0, 0.1);
    equip(kSlotRightHand, L"Меч", 5, 0, 3);
    equip(kSlotLegs, L"Сапоги", 0, 1, 2.25);
    auto carry = [&](const wchar_t* name, int kind, int attack, int defence, int critical, double weight, int more) {
        auto it = g.Inventory->Add();
        it->ItemName = name;
        it->ItemType = kind;
        it->WeaponPlus = attack;
        it->DefendPlus = defence;
        it->Critical = critical;
        it->Weight = weight;
        it->ItemCount = more;
    };
    carry(L"Кинжал", kWeapon, 3, 0, 70, 0.5, 0);
    carry(L"Хлеб", kFood, 0, 0, 0, 0.25, 2);
    carry(L"Кольчуга", kBody, 0, 4, 0, 8, 0);
    // A name with a comma is two entries of the log.
    ASSERT_TRUE(AppendToFile(KillLogPath(), EncodeCp1251(L"Волк\r\nПаук\r\nБродяга, старый\r\n")));

    auto lines = DeedsLines(1349, L" был убит Волком");
    auto expected = Utf8Lines(fs::path(MORVATH_TEST_DATA) / "hall_of_fame" / "deeds_expected.txt");
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;

    // The alignment line is the 32nd; some values have no sentence at all.
    const std::pair<double, const wchar_t*> doom[] = {
        {0.5, L"."}, {-1, L"Он склонялся к духам Добра."}, {10, L"Он склонялся в сторону Духов Зла."},
        {1, L"."}, {0, L"Он находился на перепутье между Духами."}, {-0.5, L"."},
        {-5, L"Он склонялся к духам Добра."}, {-5.5, L"Духи Добра расположены к нему..."},
        {-10, L"Духи Добра расположены к нему..."}, {-10.5, L"Он преклонялся перед духами Добра."},
        {10.5, L"Им владели Духи Зла."}, {1.5, L"Он склонялся в сторону Духов Зла."},
    };
    for (const auto& [value, line] : doom) {
        hero().Doom = value;
        EXPECT_EQ(DeedsLines(1, L"")[31], line) << value;
    }
}

TEST_F(HallOfFameTest, NoKillsGiveTheHeadingsAndNoNames) {
    auto lines = DeedsLines(1, L" умер от голода.");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], L"Он уничтожил 0 существ...");
    EXPECT_EQ(lines.back(), L"Вот полная летопись их имен:");
    // The cause ends in a full stop of its own, and the line adds one.
    EXPECT_EQ(lines[29], L"Он набрал 1 очка(ов) и умер от голода..");
}

TEST_F(HallOfFameTest, AHeroNamedWithPathCharactersWritesInsideTheGameFolder) {
    const std::pair<const wchar_t*, const wchar_t*> names[] = {
        {L"..\\x:y", L"_.._x_y.dth"}, {L"../../etc/passwd", L"_.._.._etc_passwd.dth"}, {L"C:\\Windows\\evil", L"C__Windows_evil.dth"},
        {L"a*b?c<d>e|f\"g", L"a_b_c_d_e_f_g.dth"}, {L"CON", L"_CON.dth"}, {L"lpt1.txt", L"_lpt1.txt.dth"}, {L"   ", L"Герой.dth"},
        {L"..", L"Герой.dth"}, {L" Иван. ", L"Иван.dth"}};
    for (auto [name, file] : names) EXPECT_EQ(DeedsFilePath(name), folder.path() / ToUtf8(file)) << ToUtf8(name);
    EXPECT_LE(DeedsFilePath(std::wstring(400, L'Ж')).filename().string().size(), 255u);

    ui.msgAnswers = {MsgResult::Yes};
    fs::create_directories(folder.path() / "x");
    KilledByWolf(L"..\\x:y");
    HallOfFame h;
    h.Open();
    EXPECT_TRUE(FileExists(folder.path() / "_.._x_y.dth"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "x"), fs::directory_iterator()), 0);
    EXPECT_FALSE(FileExists(folder.path().parent_path() / "x:y.dth"));
}

TEST_F(HallOfFameTest, ADeedsFileThatCannotBeWrittenIsReportedNotFatal) {
    ui.msgAnswers = {MsgResult::Yes, MsgResult::Ok};
    KilledByWolf(L"Ратибор");
    // A folder in the way of the file.
    fs::create_directories(folder.path() / ToUtf8(L"Ратибор.dth") / "inside");
    HallOfFame h;
    h.Open();
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[1], L"MsgBox|Morvath|Не удалось записать файл Ратибор.dth");
    EXPECT_EQ(h.List1.size(), 4u);
}
