// Games replayed from recordings of keys and answers (tests/data/playthrough): each runs from
// the new-game button through the story, as far as it was recorded (an ending, the hall of
// fame and the deeds file included), on a copy of the built game folder.
#include <gtest/gtest.h>

#include "playthrough_replay.h"
#include "test_support.h"

using namespace morvath;

namespace {

const fs::path kGame = MORVATH_GAME_DIR;
const fs::path kRecordings = fs::path(MORVATH_TEST_DATA) / "playthrough";

// The game folder as shipped, without the pictures and the program, which no rule reads.
void CopyGame(const fs::path& to) {
    for (const char* part : {"intros", "maps", "scripts", "music", "morvath.ini", "manual.txt"}) {
        fs::copy(kGame / part, to / part, fs::copy_options::recursive);
    }
    fs::create_directories(to / "saved");
}

}  // namespace

TEST(Playthrough, EveryRecordedGamePlaysAsRecorded) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(kRecordings)) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    const fs::path previous = GameFolder();
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        TempDir dir;
        CopyGame(dir.path());
        SetGameFolder(dir.path());
        ResetGame();
        playthrough::Player player;
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const auto outcome = playthrough::Replay(player).Run(playthrough::Parse(text.str()));
        EXPECT_TRUE(outcome.ok) << outcome.failure;
    }
    SetGameFolder(previous);
}
