// The end of a run: game over, the warlock's revivals and the save set; the hall of fame's
// score, its enciphered file and the deeds file.
#include <fstream>

#include "game/hall_of_fame.h"
#include "game/screen.h"
#include "platform/textforms.h"
#include "services/crypto.h"
#include "services/file_cipher.h"
#include "services/music.h"
#include "test_support.h"
#include "world/game_over.h"
#include "world/save_set.h"

using namespace morvath;

namespace {

std::string ReadFile(const fs::path& p) { return ReadBytes(p).value_or(""); }

template <class Lines>
std::wstring Joined(const Lines& lines) {
    std::wstring out;
    for (const auto& l : lines) out += (out.empty() ? L"" : L"|") + std::wstring(l);
    return out;
}
std::wstring NamesAndScores(const std::vector<HallOfFameRecord>& records) {
    std::wstring out;
    for (const auto& r : records) out += r.name + L":" + NumText(r.score) + L";";
    return out;
}

struct HallOfFameTest : GameTest {
    // The records on disk, deciphered.
    std::wstring Deciphered() { return NamesAndScores(ParseHallOfFame(DecryptText(ReadFile(HiscorePath())).value_or(""))); }
    // The hero of a run that ended in a fight with a wolf.
    void KilledByWolf(const std::wstring& name) {
        std::tie(h().PlayerName, h().Profession, h().Level, h().Exp) = std::tuple(name, kClaw, 2, 15);
        g().hallOfFame = {L"Волк", L"", true};
    }
};

struct GameOverTest : GameTest {
    GameOverTest() {
        std::tie(h().PlayerName, h().HP, h().MaxHp, h().Strenght, h().HardIness, h().Level) = std::tuple(L"Всеслав", 0, 40, 9, 7, 6);
        std::tie(w().WorldName, w().InfLevel) = std::tuple(L"N1", 0);
        for (int row = 0; row <= 70; ++row) w().SetRow(row, std::wstring(80, L'G'));
    }
    // The hero has just been killed in a fight.
    void Killed(Profession person, int revivals) {
        h().Profession = person;
        std::tie(g().ResurrectionsLeft, g().PlayerDead, g().hallOfFame.EnemyName, g().RunEnded) = std::tuple(revivals, true, L"Волк", false);
    }
};

TEST_F(GameOverTest, TheWarlockWithOneRevivalLeftComesBackOnce) {
    Killed(kWarlock, 1);
    std::tie(g().hallOfFame.win, g().NPCs->Add()->NPCName, w().mapItemCol->Add()->ItemName) = std::tuple(L"старая эпитафия", L"Волк", L"Топор");
    GameOver();
    // A later death by hunger is not blamed on the wolf, nor taken for an ending; the status line shows the one hit point.
    EXPECT_EQ(std::tuple(ui.log, int(g().ResurrectionsLeft), g().PlayerDead, int(h().HP), int(h().MaxHp), h().Strenght, h().HardIness, int(h().Level),
                         w().WorldName, int(w().MapType), g().hallOfFame.EnemyName + g().hallOfFame.win, g().screen.lblInfo),
              std::tuple(std::vector<std::wstring>{L"MsgBox|Morvath|Чёрная Магия и Власть над мёртвыми опять помогли вам - Вы возродились!"},
                         0, false, 1, 5, 1.0, 1.0, 0, L"AG", int(kMapCave), L"", L"ХП: 1 Опыт:0  Ур:0  День:0 Ход:0  Мана:"));
    // The place he died in is kept whole: its characters, its map and its floor.
    for (const wchar_t* ext : {L".lst", L".map", L".itm"}) EXPECT_TRUE(FileExists(World::SavedFile(L"N1", ext)));
    std::tie(h().HP, g().PlayerDead) = std::tuple(0, true);
    GameOver();
    EXPECT_EQ(std::tuple(ui.Count(L"MsgBox"), ui.log.back(), g().hallOfFame.writehf, int(h().HP)), std::tuple(1, L"ShowHallOfFame|modal", true, 0));
}

// Other persons, a warlock without revivals, a living warlock closing the screen and an
// ending all go straight to the hall of fame.
TEST_F(GameOverTest, EveryOtherEndGoesToTheHallOfFame) {
    struct Case { Profession person; int revivals; int hp; bool ended; };
    for (const Case& c : {Case{kPrince, 1, 0, false}, Case{kMonk, 5, 0, false}, Case{kHunter, 0, 0, false}, Case{kClaw, 2, 0, false},
                          Case{kWarlock, 0, 0, false}, Case{kWarlock, 1, 30, false}, Case{kWarlock, 3, 30, true}}) {
        ScriptedFrontend ui;
        Killed(c.person, c.revivals);
        std::tie(g().PlayerDead, h().HP, g().hallOfFame.writehf) = std::tuple(c.hp == 0, c.hp, false);
        g().hallOfFame.win = c.ended ? L"закончил своё путешествие Героем злых духов - их наместником на Земле!" : L"";
        GameOver();
        EXPECT_EQ(std::tuple(ui.log, g().hallOfFame.writehf, int(g().ResurrectionsLeft), g().PlayerDead, int(h().HP), w().WorldName),
                  std::tuple(std::vector<std::wstring>{L"ShowHallOfFame|modal"}, true, c.revivals, c.hp == 0, c.hp, L"N1")) << c.person << " " << c.revivals;
    }
}

TEST_F(GameOverTest, TheSaveSetIsDeletedUnlessKeptAndARunEndsOnce) {
    const fs::path saved = folder.path() / "saved";
    for (const char* name : {"char.ch", "inven", "N1.map", "sub/keep"}) ASSERT_TRUE(WriteFileAtomic(saved / name, "x"));
    auto present = [&] {
        std::string s;
        for (const char* name : {"char.ch", "inven", "N1.map", "sub/keep"}) s += FileExists(saved / name) ? '1' : '0';
        return s;
    };
    // The game screen closes while the hall of fame opens, and its closing calls game over.
    struct Reentering : ScriptedFrontend {
        void ShowHallOfFame(bool modal) override {
            ScriptedFrontend::ShowHallOfFame(modal);
            EXPECT_TRUE(modVarsAndMain.GameOverRunning);
            GameOver();
        }
    } reentering;
    Killed(kPrince, 0);
    g().KeepSaveOnDeath = true;
    GameOver();
    EXPECT_EQ(present(), "1111");
    Killed(kPrince, 0);
    g().KeepSaveOnDeath = false;
    GameOver();
    GameOver();  // the pass is over, and so is the run
    // Only the files of the folder itself, as the game has always deleted them.
    EXPECT_EQ(std::tuple(present(), reentering.Count(L"ShowHallOfFame"), g().GameOverRunning), std::tuple("0001", 2, false));
}

// Closing the game screen ends the run; a living hero is saved first, with one hit point
// too, a dead one never (his kept save holds him as he was before he died).
TEST_F(GameOverTest, ClosingTheScreenSavesOnlyALivingHero) {
    g().KeepSaveOnDeath = true;
    for (auto [hp, dead, saved] : {std::tuple{5, true, false}, {0, false, false}, {1, false, true}}) {
        std::tie(h().HP, g().PlayerDead, g().RunEnded) = std::tuple(hp, dead, false);
        CloseGameScreen();
        EXPECT_EQ(std::tuple(FileExists(folder.saved("char.ch")), g().RunEnded), std::tuple(saved, true)) << hp;
    }
}

}  // namespace

TEST(HallOfFameScore, FormulaEndingAndRange) {
    // A hero whose score can be worked out by hand:
    // Int(10 * 0.5) + 110 * 3 * 4 + 3 + 20 + Int(4.5) + 15 - 30 + 5.5 + 2 + 3.25 + 1.5 = 1349.25
    auto scored = [] { MainCharacter h; h.Exp = 100, h.Level = 3, h.MaxHp = 20, h.Mana = 45, h.HP = 15, h.Hungry = 30, h.Strenght = 5.5, h.Learning = 2, h.HardIness = 3.25, h.Magic = 1.5; return h; };
    auto starving = [](MainCharacter& h) { h.Hungry = 32767, h.Level = 1, h.Exp = 0; };
    auto blank = [](MainCharacter& h) { h = MainCharacter{}, h.HP = 30, h.MaxHp = 30; };
    const struct { std::function<void(MainCharacter&)> change; bool ending; double r; int score; } cases[] = {
        {[](MainCharacter&) {}, false, 0.5, 1349}, {[](MainCharacter&) {}, true, 0.5, 2698},
        // The random share is Int((Luck + 10) * r): at most Luck + 9.
        {[](MainCharacter& h) { h.Luck = 10; }, false, 0.0, 1344}, {[](MainCharacter& h) { h.Luck = 10; }, false, 0.999, 1363},
        // No experience and no level score one; either one counts.
        {blank, false, 0.7, 1}, {blank, true, 0.7, 2}, {[&](MainCharacter& h) { blank(h), h.Exp = 1; }, false, 0.7, 67},  // 7 + 30 + 30
        {[](MainCharacter& h) { h.Exp = 30000, h.Level = 300; }, true, 0.5, kMaxScore},
        // A starving hero's sum is negative: its absolute value counts, rounded down.
        {starving, false, 0.0, 32675}, {[&](MainCharacter& h) { starving(h), h.Mana = -1e9; }, false, 0.0, kMaxScore},
        {[&](MainCharacter& h) { starving(h), h.Mana = std::nan(""); }, false, 0.0, 0},
    };
    for (const auto& c : cases) {
        MainCharacter h = scored();
        c.change(h);
        EXPECT_EQ(ScoreOf(h, c.ending, c.r), c.score) << &c - cases;
    }
}

TEST(HallOfFameCause, TheKillerInTheInstrumentalCaseOrTheLastMatchingState) {
    // Only the exact name gets the irregular form; the rules look at the last letter only.
    const std::pair<const wchar_t*, const wchar_t*> killers[] = {
        {L"Тварь", L"Тварью"}, {L"Собака", L"Собакой"}, {L"Медведь", L"Медведем"}, {L"Злодей", L"Злодем"}, {L"Волк", L"Волком"},
        {L"Большая Тварь", L"Большая Тварем"}, {L"А", L"Аом"}, {L"а", L"ой"}};
    MainCharacter h;
    for (auto [name, form] : killers) EXPECT_EQ(DeathCause(h, name), std::wstring(L" был убит ") + form);
    const std::tuple<int, int, int, const wchar_t*> states[] = {
        {139, 0, 0, L" умер по неизвестной причине."}, {140, 0, 0, L" умер от голода."}, {140, 1, 0, L" умер от болезни."}, {140, 1, 1, L" умер от яда."}};
    for (auto [hungry, sick, poison, cause] : states) {
        h.Hungry = hungry, h.Sick = sick, h.Poison = poison;
        EXPECT_EQ(DeathCause(h, L""), cause) << hungry << sick << poison;
    }
    EXPECT_EQ(DeathCause(h, L"Паук"), L" был убит Пауком");  // a killer wins over every state
}

TEST(HallOfFameFile, RecordsListedReadBackAndReadingStopsAtTheFirstDamagedOne) {
    // A person code the game does not know is shown as it stands.
    EXPECT_EQ(Joined(ListLines({L"Ратибор", 3, 1349, 4, L" умер от голода.", L""})) + L"/" + Joined(ListLines({L"X", 7, 1, 0, L"#", L"Героем"})),
              L"Ратибор - Коготь|Достиг уровня:4 и набрал 1349 очков.|И умер от голода.| /X - 7|Достиг уровня:0 и набрал 1 очков.|И Героем| ");
    // A quote in a name cannot break the file.
    const HallOfFameRecord quoted{L"Иван \"Грозный\", сын", 0, 12, 1, L" был убит Волком", L""}, ending{L"Всеслав", 4, 32767, 20, L"#", L"Героем вы вернулись, к себе"};
    const std::string text = RecordLine(quoted) + RecordLine(ending);
    auto back = ParseHallOfFame(text);
    EXPECT_EQ(std::tuple(text.find('\n'), back.size(), back.at(0).name, back.at(1)), std::tuple(text.find("\r\n") + 1, 2u, L"Иван 'Грозный', сын", ending));

    const std::string a = RecordLine({L"A", 1, 10, 2, L" c", L""}), b = RecordLine({L"B", 2, 20, 3, L" c", L""});
    const std::pair<std::string, const wchar_t*> cases[] = {
        // A blank line is no record, and no damage either.
        {a + "\r\n" + b + "\"C\",1,\"not a number\",3,\" c\",\"\"\r\n" + a, L"A:10;B:20;"},
        {"\"A\",1,10,2,\" c\"\r\n", L""},          // a field short
        {"\"A\",1,10,2,\" c\",\"\",7\r\n", L""},   // one too many
        {"\"A\",1,10,2,\" c\",\"\"", L"A:10;"},    // no line end
        // A score from an old or foreign file stays within the record's range.
        {"\"A\",1,99999,2,\" c\",\"\"\r\n\"B\",1,-5,2,\" c\",\"\"\r\n", L"A:32767;B:0;"},
    };
    for (const auto& [text, records] : cases) EXPECT_EQ(NamesAndScores(ParseHallOfFame(text)), records) << text;
}

TEST_F(HallOfFameTest, AnEndedRunIsAddedToTheEncipheredFileAndListedLast) {
    ui.msgAnswers = {MsgResult::No, MsgResult::No};
    KilledByWolf(L"Ратибор");
    HallOfFame first;
    first.Open();
    EXPECT_EQ(Joined(first.List1), L"Ратибор - Коготь|Достиг уровня:2 и набрал " + NumText(first.score) + L" очков.|И был убит Волком| ");
    // On disk only cipher text: the name is nowhere in the file.
    EXPECT_EQ(ReadFile(HiscorePath()).find(EncodeCp1251(L"Ратибор")), std::string::npos);
    // A file whose last line has no line end gets one before the new record.
    const std::string plain = DecryptText(ReadFile(HiscorePath())).value();
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), EncryptText(plain.substr(0, plain.size() - 2)).value()));

    std::tie(h().PlayerName, h().Profession) = std::tuple(L"Всеслав", kWarlock);
    g().hallOfFame = {L"", L"закончил своё путешествие Героем злых духов - их наместником на Земле!", true};
    HallOfFame second;
    second.Open();
    const std::wstring list2 = Joined(second.List1);
    // The screen keeps the fields of the last record listed; an ending's cause is "#".
    EXPECT_EQ(std::tuple(second.List1.size(), list2.substr(list2.rfind(L"|И ")), second.cause + L"|" + second.epitaph, Deciphered()),
              std::tuple(8u, L"|И закончил своё путешествие Героем злых духов - их наместником на Земле!| ", L"#|" + g().hallOfFame.win,
                         Deciphered().substr(0, Deciphered().find(L';') + 1) + L"Всеслав:" + NumText(second.score) + L";"));
    // No working copy stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 3);  // saved, scripts, Hiscore
    // Browsed from the menu: the same list, no question, and no file changes; the kill log
    // belongs to a saved game still in progress. Either way the hall's own tune plays.
    const std::string before = ReadFile(HiscorePath());
    ASSERT_TRUE(AppendToFile(KillLogPath(), "x"));
    std::tie(g().hallOfFame.writehf, modMusicEngine::MusicName) = std::tuple(false, L"\\music\\final.mid");
    HallOfFame browsed;
    browsed.Open();
    EXPECT_EQ(std::tuple(Joined(browsed.List1) == list2, ReadFile(HiscorePath()) == before, FileExists(KillLogPath()), ui.Count(L"MsgBox"), browsed.Close(), modMusicEngine::MusicName),
              std::tuple(true, true, true, 2, false, L"\\music\\music.mid"));
}

TEST_F(HallOfFameTest, AnEndedRunOffersTheDeedsFileAndClearsTheKillLog) {
    const fs::path deeds = folder.path() / ToUtf8(L"Ратибор.dth");
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        ui.log.clear();
        ui.msgAnswers = {answer};
        ASSERT_TRUE(AppendToFile(KillLogPath(), EncodeCp1251(L"Волк\r\n")));
        KilledByWolf(L"Ратибор");
        HallOfFame hall;
        hall.Open();
        EXPECT_EQ(std::tuple(Joined(ui.log), FileExists(KillLogPath()), hall.Close(), FileExists(deeds)),
                  std::tuple(L"MsgBox|Morvath|Хотите создать файл описания деяний вашего персонажа?", false, true, answer == MsgResult::Yes));
    }
    // Written before the kill log goes, in the game's own code page and line ends.
    const std::wstring text = DecodeCp1251(ReadFile(deeds));
    EXPECT_EQ(std::tuple(text.find(L" очка(ов) и был убит Волком.\r\n") != std::wstring::npos, text.find(L"\r\n          Волк\r\n") != std::wstring::npos, text.substr(0, 40)),
              std::tuple(true, true, L"               _______________________\r\n"));
}

// The player reads, in Russian, what happened and what was kept.
TEST_F(HallOfFameTest, AnUndecipherableHallOfFameIsMovedAsideAndANewOneStarted) {
    ui.msgAnswers = {MsgResult::Ok, MsgResult::No, MsgResult::Ok, MsgResult::No, MsgResult::Ok, MsgResult::No};
    const std::string garbage = EncodeCp1251(L"\"Старый\",1,10,2,\" c\",\"\"\r\n") + std::string(61, '\x5a');
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), garbage));
    KilledByWolf(L"Ратибор");
    HallOfFame hall;
    hall.Open();
    EXPECT_EQ(std::tuple(ReadFile(folder.path() / "Hiscore.bad"), hall.List1.size(), Deciphered()), std::tuple(garbage, 4u, L"Ратибор:" + NumText(hall.score) + L";"));
    // A second damaged file never takes the place of the first one set aside; one that
    // cannot be set aside stays as it is, and the run is not added to it.
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), "junk"));
    HallOfFame().Open();
    ASSERT_TRUE(WriteFileAtomic(HiscorePath(), "more junk"));
    {
        DiskFaults stuck([](const DiskCall& c) { return c.step == DiskStep::Rename; });
        HallOfFame().Open();
    }
    EXPECT_EQ(std::tuple(ReadFile(folder.path() / "Hiscore.bad"), ReadFile(folder.path() / "Hiscore.bad2"), ReadFile(HiscorePath())),
              std::tuple(garbage, "junk", "more junk"));
    const std::wstring deeds = L"MsgBox|Morvath|Хотите создать файл описания деяний вашего персонажа?";
    EXPECT_EQ(ui.log, (std::vector<std::wstring>{
                          L"MsgBox|Morvath|Файл Hiscore повреждён. Он сохранён как Hiscore.bad, начат новый Зал Славы.", deeds,
                          L"MsgBox|Morvath|Файл Hiscore повреждён. Он сохранён как Hiscore.bad2, начат новый Зал Славы.", deeds,
                          L"MsgBox|Morvath|Файл Hiscore повреждён, и отложить его не удалось: он оставлен как есть. Этот герой в него не записан.",
                          deeds}));
}

TEST_F(HallOfFameTest, TheDeedsFileOfAHandMadeHero) {
    std::tie(h().PlayerName, h().Profession, h().Level, h().Doom, h().dMonsters) = std::tuple(L"Ратибор", kClaw, 4, -1, 3);
    std::tie(w().Day, g().Money, g().QuestFlags[9], g().QuestFlags[7], g().QuestFlags[41]) = std::tuple(12, 57, 2, 1, 2);
    const std::tuple<int, const wchar_t*, int, int, double> worn[] = {
        {kSlotHead, L"Шлем", 0, 2, 1.5}, {kSlotNeck, L"Амулет", 0, 0, 0.1}, {kSlotRightHand, L"Меч", 5, 0, 3}, {kSlotLegs, L"Сапоги", 0, 1, 2.25}};
    for (auto [slot, name, attack, defence, weight] : worn) {
        auto& row = g().Equip[static_cast<std::size_t>(slot)];
        row[kEqName] = name, row[kEqWeaponPlus] = attack, row[kEqDefendPlus] = defence, row[kEqWeight] = weight;
    }
    const std::tuple<const wchar_t*, int, int, int, int, double, int> carried[] = {
        {L"Кинжал", kWeapon, 3, 0, 70, 0.5, 0}, {L"Хлеб", kFood, 0, 0, 0, 0.25, 2}, {L"Кольчуга", kBody, 0, 4, 0, 8, 0}};
    for (auto [name, kind, attack, defence, critical, weight, more] : carried) {
        auto it = g().Inventory->Add();
        std::tie(it->ItemName, it->ItemType, it->WeaponPlus, it->DefendPlus, it->Critical, it->Weight, it->ItemCount) = std::tuple(name, kind, attack, defence, critical, weight, more);
    }
    // A name with a comma is two entries of the log.
    ASSERT_TRUE(AppendToFile(KillLogPath(), EncodeCp1251(L"Волк\r\nПаук\r\nБродяга, старый\r\n")));
    std::vector<std::wstring> expected;
    std::ifstream in(fs::path(MORVATH_TEST_DATA) / "hall_of_fame" / "deeds_expected.txt");
    for (std::string line; std::getline(in, line);) expected.push_back(FromUtf8(line));
    EXPECT_EQ(DeedsLines(1349, L" был убит Волком"), expected);

    // The alignment line is the 32nd; some values have no sentence at all.
    const std::pair<double, const wchar_t*> doom[] = {{0.5, L"."}, {0, L"Он находился на перепутье между Духами."}, {-5.5, L"Духи Добра расположены к нему..."},
                                                      {-10.5, L"Он преклонялся перед духами Добра."}, {10.5, L"Им владели Духи Зла."}, {1.5, L"Он склонялся в сторону Духов Зла."}};
    for (const auto& [value, line] : doom) {
        h().Doom = value;
        EXPECT_EQ(DeedsLines(1, L"")[31], line) << value;
    }
}

TEST_F(HallOfFameTest, NoKillsGiveTheHeadingsAndNoNames) {
    g().Money = 1;  // a single coin is no fortune
    auto lines = DeedsLines(1, L" умер от голода.");
    EXPECT_EQ(std::tuple(Joined(lines).find(L"Его состояние"), Joined(std::vector{lines.at(lines.size() - 2), lines.back()})),
              std::tuple(std::wstring::npos, L"Он уничтожил 0 существ...|Вот полная летопись их имен:"));
}

// What ended the run follows "и" after one blank in the list and in the deeds file alike,
// though death causes are stored with a blank in front and the endings' epitaphs without;
// a cause that ends its own sentence gets no second full stop.
TEST_F(HallOfFameTest, WhatEndedTheRunReadsAsOneSentenceInTheListAndTheDeeds) {
    const std::wstring evil = L"закончил своё путешествие Героем злых духов - их наместником на Земле!";
    const std::wstring good = L"В лучах славы, Героем вы прожили свою жизнь...";
    const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {
        {L" умер от голода.", L"", L"умер от голода."}, {L"#", evil, evil}, {L"#", good, good}};
    for (const auto& [cause, epitaph, told] : cases) {
        const std::wstring run = cause == L"#" ? epitaph : cause;
        EXPECT_EQ(ListLines({L"Ратибор", kClaw, 4044, 9, cause, epitaph}).at(2) + L"|" + DeedsLines(4044, run).at(29),
                  L"И " + told + L"|Он набрал 4044 очка(ов) и " + told)
            << ToUtf8(run);
    }
}

TEST_F(HallOfFameTest, AHeroNamedWithPathCharactersWritesInsideTheGameFolder) {
    const std::pair<const wchar_t*, const wchar_t*> names[] = {
        {L"..\\x:y", L"_.._x_y.dth"}, {L"../../etc/passwd", L"_.._.._etc_passwd.dth"}, {L"C:\\Windows\\evil", L"C__Windows_evil.dth"},
        {L"a*b?c<d>e|f\"g", L"a_b_c_d_e_f_g.dth"}, {L"CON", L"_CON.dth"}, {L"lpt1.txt", L"_lpt1.txt.dth"}, {L"   ", L"Герой.dth"},
        {L"..", L"Герой.dth"}, {L" Иван. ", L"Иван.dth"}, {L"\x01\x7F", L"__.dth"}};
    for (auto [name, file] : names) EXPECT_EQ(DeedsFilePath(name), folder.path() / ToUtf8(file)) << ToUtf8(name);
    EXPECT_EQ(DeedsFilePath(std::wstring(99, L'Ж') + L" .Ж").filename(), ToUtf8(std::wstring(99, L'Ж') + L".dth"));
    // A name the file cannot be written under is reported, and the run is still recorded.
    ui.msgAnswers = {MsgResult::Yes, MsgResult::Ok};
    KilledByWolf(L"Ратибор");
    fs::create_directories(folder.path() / ToUtf8(L"Ратибор.dth") / "inside");
    HallOfFame hall;
    hall.Open();
    EXPECT_EQ(std::tuple(ui.log.size(), ui.log.back(), hall.List1.size()), std::tuple(2u, L"MsgBox|Morvath|Не удалось записать файл Ратибор.dth", 4u));
}

