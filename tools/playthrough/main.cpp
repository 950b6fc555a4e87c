// Replays recorded games (keys and answers, see replay.h) on copies of a built game folder,
// each from the new-game button as far as it was recorded: the story, an ending, the hall
// of fame and the deeds file.
//   usage: playthrough <game folder> <recording>...   (exit 1, with the step that failed and
//          where the hero stood, when a recording does not play as recorded; the played game
//          folders are then kept)
#include <cstdio>
#include <cstdlib>

#include "game/game_rules.h"
#include "replay.h"

using namespace morvath;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: playthrough <game folder> <recording>...\n");
        return 2;
    }
    InstallGameRules();
    const fs::path game = argv[1];
    std::string scratch = (fs::temp_directory_path() / "morvath-playthrough-XXXXXX").string();
    if (!::mkdtemp(scratch.data())) {
        std::perror("playthrough: mkdtemp");
        return 2;
    }
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        const fs::path folder = fs::path(scratch) / std::to_string(i);
        fs::create_directories(folder);
        playthrough::CopyGameFolder(game, folder);
        SetGameFolder(folder);
        ResetGame();
        playthrough::Player player;
        const auto outcome = playthrough::Replay(player).Run(playthrough::ParseFile(argv[i]));
        std::printf("%s: %s (%d keys)\n", argv[i], outcome.ok ? "played as recorded" : outcome.failure.c_str(), outcome.keys);
        failed += outcome.ok ? 0 : 1;
    }
    // The game folders of a failed replay stay for a look at what the hero found there.
    if (failed) {
        std::printf("played game folders kept in %s\n", scratch.c_str());
        return 1;
    }
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return 0;
}
