#pragma once
// The hall of fame: every finished run as one record of the enciphered file \Hiscore, the
// list the hall-of-fame window shows, the deeds file with the tombstone that the player may
// have written at the end of a run, and the kill log \monst.cnt that the deeds file lists.
//
// The rules live here; the window (src/ui/hall_of_fame.h) only shows List1 and passes on
// the player's closing of it. What to record comes from modVarsAndMain.hallOfFame
// (EnemyName, win, writehf) and the hero.
//
// \Hiscore is only ever replaced whole: it is deciphered in memory, the run is added, and
// the whole is enciphered again and written over the old file through a temporary file, so
// a crash at any moment leaves the old hall of fame or the new one, never a plain or
// half-written one. A file that cannot be written (a full disk) is left as it was.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/numbers.h"
#include "world/main_character.h"

namespace morvath {

// One line of the plain hall-of-fame file, one finished run.
struct HallOfFameRecord {
    std::wstring name;
    Integer person;        // Profession
    Integer score;
    Integer level;
    std::wstring cause;    // "#" for an ending, else the death cause
    std::wstring epitaph;  // the ending's epitaph, "" for a death

    bool operator==(const HallOfFameRecord&) const = default;
};

// A record holds a 16-bit score; the formula easily passes it for a strong hero.
inline constexpr int kMaxScore = 32767;

fs::path HiscorePath();

// The run's score with the random share r in [0, 1): 1 for a hero with no experience and
// no level, doubled for an ending, kept within 0..kMaxScore.
int ScoreOf(const MainCharacter& hero, bool ending, double r);
// " был убит " + the killer's name in the instrumental case, or what else ended the hero.
std::wstring DeathCause(const MainCharacter& hero, std::wstring_view enemyName);

// The records of a plain hall-of-fame text, in file order, up to the first line that is not
// a whole record: a damaged tail never hides the runs before it.
std::vector<HallOfFameRecord> ParseHallOfFame(std::string_view plain);
// The record as one line of the file (CRLF included).
std::string RecordLine(const HallOfFameRecord& record);
// The four lines the list shows for a record.
std::vector<std::wstring> ListLines(const HallOfFameRecord& record);

// The deeds file of the hero: in the game folder whatever the hero is called.
fs::path DeedsFilePath(std::wstring_view playerName);
// The sentence on the hero's leaning between the spirits; "" for the values it has none for.
std::wstring AlignmentSentence(double doom);
// The names in the kill log, in file order; none when it is missing.
std::vector<std::wstring> ReadKillLog();
// The deeds file's lines for the hero of modVarsAndMain, with the run's score and cause.
std::vector<std::wstring> DeedsLines(int score, const std::wstring& cause);

// One showing of the hall-of-fame screen.
class HallOfFame {
public:
    // Opening: records the run that has just ended (writehf), lists every run, starts the
    // closing tune, offers the deeds file and clears the kill log. From the start menu
    // (writehf False) it only lists, and leaves the files alone.
    void Open();
    // Closing: the music stops. True when a run has ended, and with it the program.
    bool Close();

    // Appends this run's record to the plain hall-of-fame text.
    void AddHallOfFame(std::string& plain);
    // Fills List1 from the plain hall-of-fame text.
    void LoadHallOfFame(std::string_view plain);
    // Writes the deeds file; false (after telling the player) when it cannot be written.
    bool WriteDeedsFile();

    std::vector<std::wstring> List1;
    // Of the record just written, or else of the last one listed.
    int score = 0;
    std::wstring cause;
    std::wstring epitaph;

private:
    // This run's record; its score and cause also stay for the deeds file.
    HallOfFameRecord RunRecord();
    // The deciphered hall of fame (empty for none); nothing when it cannot be had without
    // risking it. The player is told what happened to a file that could not be read.
    std::optional<std::string> ReadRecords(const fs::path& file) const;
    // Enciphers the records over the file; false, after telling the player, when it fails.
    static bool WriteRecords(const fs::path& file, std::string_view plain);

    bool writehf_ = false;
    bool recorded_ = false;
    int runScore_ = 0;
    std::wstring runCause_;
};

}  // namespace morvath
