// The platform layer: the code page, numbers, settings and file names; then the player's own
// files holding what no one meant: numbers beyond every range, window sizes no screen has.
#include <cfloat>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "game/new_game.h"
#include "platform/settings.h"
#include "script/script_text.h"
#include "test_support.h"
#include "world/file_values.h"

using namespace morvath;

TEST(Cp1251, EveryByteRoundTripsAndOthersBecomeQuestionMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::wstring text = DecodeCp1251(all);
    EXPECT_EQ(std::tuple(EncodeCp1251(text), std::wstring{text[0xC0], text[0xFF], text[0xA8], text[0x98], text[0x8C]}),
              std::tuple(all, L"АяЁ\u0098Њ"));
    EXPECT_EQ(std::tuple(EncodeCp1251(L"a\u4E2Db"), UnicodeToCp1251(L'\u4E2D'), FromUtf8("Князь"), ToUtf8(L"Монах\U0001F40E"),
                         ToCrlf("a\nb\r\nc\rd")),
              std::tuple("a?b", -1, L"Князь", "Монах\xF0\x9F\x90\x8E", "a\r\nb\r\nc\r\nd"));
}

TEST(Numbers, RoundingIsHalfToEvenAndSaturates) {
    const std::tuple<double, int, int, double> cases[] = {
        // value, CInt, CLng, Int
        {2.5, 2, 2, 2},          {3.5, 4, 4, 3},       {-2.5, -2, -2, -3}, {-3.5, -4, -4, -4},
        {2.4999, 2, 2, 2},       {0.5, 0, 0, 0},       {1.5, 2, 2, 1},     {-0.5, 0, 0, -1},
        {1e9, 32767, 1000000000, 1e9}, {-1e9, -32768, -1000000000, -1e9}, {1e12, 32767, 2147483647, 1e12},
        {-4503599627370495.5, -32768, -2147483647 - 1, -4503599627370496.0}, {1e300, 32767, 2147483647, 1e300},
    };
    for (const auto& [v, cint, clng, intPart] : cases)
        EXPECT_EQ(std::tuple(static_cast<int>(CInt(v)), static_cast<int>(CLng(v)), Int(v)), std::tuple(cint, clng, intPart)) << v;
    EXPECT_EQ(static_cast<int>(CInt(NAN)), 0);
}

TEST(Numbers, TextAndNumbers) {
    const std::tuple<const wchar_t*, double, bool> read[] = {
        {L"12abc", 12, false}, {L"  -3.5", -3.5, true}, {L"abc", 0, false}, {L".5", 0.5, true},
        {L"3,5", 3, false},    {L"", 0, false},         {L" 4 ", 4, true},  {L"-20.5", -20.5, true},
    };
    for (const auto& [text, val, numeric] : read) EXPECT_EQ(std::pair(Val(text), IsNumeric(text)), std::pair(val, numeric)) << ToUtf8(text);
    const std::pair<double, const wchar_t*> written[] = {
        {20.5, L"20.5"}, {-3, L"-3"}, {0.1 + 0.2, L"0.3"}, {1e-7, L"0.0000001"}, {123456789012.0, L"123456789012"},
        {NAN, L"0"},     {-INFINITY, L"0"}, {INFINITY, L"0"},
    };
    for (const auto& [v, text] : written) EXPECT_EQ(NumText(v), text) << v;
    EXPECT_EQ(std::pair(StrNum(2), StrNum(-2)), std::pair(std::wstring(L" 2"), std::wstring(L"-2")));
}

// A missing file reads empty and is never created; a write keeps the other lines; a value in
// a pair of quotes loses them; long values come back cut to 254.
TEST(Settings, ReadsAndWritesKeepingOtherLines) {
    TempDir dir;
    const fs::path ini = dir.path() / "morvath.ini";
    EXPECT_EQ(std::tuple(ReadIni(L"morvath", L"loadfromkill", ini), WriteIni(L"morvath", L"loadfromkill", L"1", ini),
                         fs::exists(ini)),
              std::tuple(L"", 0, false));
    WriteFileAtomic(ini, "; comment\r\n[Other]\r\nloadfromkill=9\r\n[MORVATH]\r\n  LoadFromKill = 0 ; note\r\nwheight=8000\r\n"
                         "a=\"quoted\"\r\nb='single]'\r\nc=\"half\r\nd=\"\r\nz\xDF=last letters\r\n");  // \xDF: Я in the code page
    // The last letter of each alphabet matches in either case.
    std::wstring values;
    for (const wchar_t* key : {L"a", L"b", L"c", L"d", L"loadfromkill", L"Zя", L"WHEIGHT", L"wwidth"})
        values += ReadIni(L"MorvatH", key, ini) + L"|";
    EXPECT_EQ(values, L"quoted|single]|\"half|\"|0 ; note|last letters|8000||");  // only a line starting with [ is a section
    EXPECT_EQ(WriteIni(L"morvath", L"loadfromkill", L"1", ini) + WriteIni(L"morvath", L"wwidth", L"640", ini) +
                  WriteIni(L"fresh", L"k", L"v", ini),
              3);
    // A new key goes after the section's last line, a new section at the end.
    EXPECT_EQ(*ReadBytes(ini), "; comment\r\n[Other]\r\nloadfromkill=9\r\n[MORVATH]\r\nloadfromkill=1\r\nwheight=8000\r\n"
                               "a=\"quoted\"\r\nb='single]'\r\nc=\"half\r\nd=\"\r\nz\xDF=last letters\r\nwwidth=640\r\n"
                               "[fresh]\r\nk=v\r\n");
    ASSERT_EQ(WriteIni(L"morvath", L"name", std::wstring(300, L'я'), ini), 1);
    EXPECT_EQ(ReadIni(L"morvath", L"name", ini), std::wstring(254, L'я'));
    // An editor's UTF-8 mark hides no section, and stays.
    ASSERT_TRUE(WriteFileAtomic(ini, "\xEF\xBB\xBF[morvath]\r\nloadfromkill=1\r\n"));
    EXPECT_EQ(ReadIni(L"morvath", L"loadfromkill", ini), L"1");
    ASSERT_EQ(WriteIni(L"morvath", L"loadfromkill", L"0", ini), 1);
    EXPECT_EQ(*ReadBytes(ini), "\xEF\xBB\xBF[morvath]\r\nloadfromkill=0\r\n");
}

TEST(Files, PathsIgnoreCaseAndBackslashesAndFoldersReadAsNothing) {
    TempDir dir;
    WriteFileAtomic(dir.path() / "Images" / "Crest.bmp", "x");
    EXPECT_FALSE(ReadBytes(dir.path() / "Images") || ReadWholeFile(dir.path() / "Images") || ReadBytes(dir.path() / "none"));
    std::wstring plain;
    for (const wchar_t* name : {L"vira", L"Иван Грозный", L"a.map", L"", L"../x", L"a\\b", L"a/b", L"c:x", L"..", L".",
                                L"a\nb", L"CON", L"nul.txt", L"com1"})
        plain += IsPlainName(name) ? L'1' : L'0';
    EXPECT_EQ(plain, L"11100000000000");
}

// A name found without regard to case follows every change to its folder, whoever makes it:
// this process outside the game's own writes, another process (which looks names up too),
// a folder made anew, more changes at once than the system keeps reports of. Of two
// spellings of one name, the first in byte order.
TEST(Files, NamesFoundWithoutRegardToCaseFollowEveryChangeToTheFolder) {
    TempDir dir;
    const fs::path folder = dir.path() / "Saved";
    fs::create_directories(folder);
    auto touch = [](const fs::path& p) { std::ofstream(p) << "x"; };
    auto byAnotherProcess = [&](const fs::path& p) {
        if (const pid_t child = ::fork(); child == 0) touch(p), ResolvePath(dir.path(), L"saved\\d.dat"), ::_exit(0);
        else ::waitpid(child, nullptr, 0);
    };
    const std::pair<std::function<void()>, std::vector<std::pair<const wchar_t*, const char*>>> steps[] = {
        {[] {}, {{L"saved\\a.map", "Saved/a.map"}}},
        {[&] { touch(folder / "a.map"); }, {{L"\\SAVED\\A.MAP", "Saved/a.map"}}},
        {[&] { fs::rename(folder / "a.map", folder / "B.Map"); }, {{L"saved\\a.map", "Saved/a.map"}, {L"saved/b.MAP", "Saved/B.Map"}}},
        {[&] { fs::remove(folder / "B.Map"); }, {{L"saved\\b.map", "Saved/b.map"}}},
        {[&] { fs::remove_all(folder), fs::create_directories(folder), touch(folder / "C.txt"); }, {{L"saved\\c.TXT", "Saved/C.txt"}}},
        {[&] { byAnotherProcess(folder / "D.dat"); }, {{L"saved\\d.DAT", "Saved/D.dat"}}},
        {[&] {
             for (int i = 0; i < 9000; ++i) touch(folder / "e"), fs::remove(folder / "e");
             touch(folder / "E.end");
         },
         {{L"saved\\e.END", "Saved/E.end"}}},
        {[&] { touch(folder / "f.TXT"), touch(folder / "F.txt"); }, {{L"saved\\f.txt", "Saved/F.txt"}}},
    };
    for (const auto& [change, lookUps] : steps) {
        change();
        for (const auto& [relative, found] : lookUps) EXPECT_EQ(ResolvePath(dir.path(), relative), dir.path() / found) << ToUtf8(relative);
    }
}

// The player's own files holding what no one meant: numbers beyond every range, window
// sizes no screen has.
TEST(BadInput, NumbersBeyondADoubleSaturateAndReadTheSameBack) {
    const std::wstring huge = L"1" + std::wstring(400, L'0');
    struct Case { std::wstring text; double val, script; };
    const Case cases[] = {{L"1e400", DBL_MAX, 1},        {L"-1e400", -DBL_MAX, -1},     {L"1e-400", 0, 1},
                          {L"0.0001e-330", 0, 0.0001},  {L"0.1e400", DBL_MAX, 0.1},    {L" 25e-1x", 2.5, 25},
                          {L"+7.5", 7.5, 7.5},          {huge, DBL_MAX, DBL_MAX},      {L"-" + huge, -DBL_MAX, -DBL_MAX},
                          {L"1." + huge + L"e309", DBL_MAX, 1.1}};  // the zeros after the point count for nothing
    for (const auto& c : cases) EXPECT_EQ(std::pair(Val(c.text), ScriptNumber(c.text)), std::pair(c.val, c.script)) << ToUtf8(c.text);
    EXPECT_EQ(std::tuple(Val(NumText(DBL_MAX)), NumText(123456789012345678.0), NumText(-0.1)), std::tuple(DBL_MAX, L"123456789012345680", L"-0.1"));
}

// The truth words and an empty field are numbers too (true is -1).
TEST(BadInput, AFieldTooSmallForItsValueSaturates) {
    TextReader r("1e400,-1e400,1e400,-1e40,1e400,#FALSE#,#TRUE#,\r\n");
    FieldReader f(r);
    Long money = 0;
    Integer hp = 0;
    float x = 0, y = 0;
    double d = 0, no = 9, yes = 9, empty = 9;
    f.Number(money).Number(hp).Single(x).Single(y).Number(d).Number(no).Number(yes).Number(empty);
    EXPECT_EQ(std::tuple(f.ok(), money, hp, x, y, d, no, yes, empty), std::tuple(true, 2147483647, -32768, FLT_MAX, -FLT_MAX, DBL_MAX, 0.0, -1.0, 0.0));
}

TEST(BadInput, AWindowSizeBeyondAnyScreenIsCut) {
    TempGameFolder folder;
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "morvath.ini", "[morvath]\r\nwheight=1e400\r\nwwidth=1e7\r\n"));
    int w = 0, h = 0;
    GameScreenSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(16384, 16384));
}
