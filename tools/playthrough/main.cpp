// Replays recorded games (keys and answers, see replay.h) on copies of a built game folder,
// each from the new-game button as far as it was recorded: the story, an ending, the hall
// of fame and the deeds file.
//   usage: playthrough <game folder> [--seeds LIST] [--date YYYY-MM-DD]... <recording>...
//   Without --seeds every recording plays once, as recorded (exit 1, with the step that failed
//   and where the hero stood, when one does not; the played game folders are then kept).
//   With --seeds (a list such as 1-20 or 3,7,11) every recording plays once for each of those
//   seeds and each --date (the recording's own date when none is given), in place of its own
//   seed and date; the tool prints, for each recording and day, how many runs reached the end
//   and why the others did not (exit 1 when any run failed).
#include <cstdio>
#include <cstdlib>

#include "game/game_rules.h"
#include "replay.h"

using namespace morvath;

namespace {

// "1-20", "3,7,11" or a mix: the seeds in the order given; empty for a bad list.
std::vector<int> SeedList(const std::string& text) {
    std::vector<int> seeds;
    std::stringstream parts(text);
    std::string part;
    while (std::getline(parts, part, ',')) {
        const auto dash = part.find('-');
        const int first = std::atoi(part.substr(0, dash).c_str());
        const int last = dash == std::string::npos ? first : std::atoi(part.substr(dash + 1).c_str());
        if (first < 1 || last < first) return {};
        for (int s = first; s <= last; ++s) seeds.push_back(s);
    }
    return seeds;
}

// The recording with the seed and the day of this run instead of its own.
std::vector<playthrough::Step> WithSeed(std::vector<playthrough::Step> steps, int seed, const std::string& date) {
    std::erase_if(steps, [&](const playthrough::Step& s) { return s.verb == L"seed" || (!date.empty() && s.verb == L"date"); });
    std::string head = "seed " + std::to_string(seed) + "\n";
    if (!date.empty()) head += "date " + date + "\n";
    auto first = playthrough::Parse(head);
    steps.insert(steps.begin(), first.begin(), first.end());
    return steps;
}

struct Run {
    playthrough::Outcome outcome;
    fs::path folder;
};

Run Play(const fs::path& game, const fs::path& scratch, int n, const std::vector<playthrough::Step>& steps) {
    Run run;
    run.folder = scratch / std::to_string(n);
    fs::create_directories(run.folder);
    playthrough::CopyGameFolder(game, run.folder);
    SetGameFolder(run.folder);
    ResetGame();
    playthrough::Player player;
    run.outcome = playthrough::Replay(player).Run(steps);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<int> seeds;
    std::vector<std::string> dates;
    std::vector<std::string> recordings;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--seeds" && i + 1 < args.size()) {
            seeds = SeedList(args[++i]);
            if (seeds.empty()) {
                std::fprintf(stderr, "playthrough: bad seed list %s\n", args[i].c_str());
                return 2;
            }
        } else if (args[i] == "--date" && i + 1 < args.size()) {
            dates.push_back(args[++i]);
        } else {
            recordings.push_back(args[i]);
        }
    }
    if (recordings.empty()) {
        std::fprintf(stderr, "usage: playthrough <game folder> [--seeds LIST] [--date YYYY-MM-DD]... <recording>...\n");
        return 2;
    }
    InstallGameRules();
    const fs::path game = args[0];
    std::string scratch = (fs::temp_directory_path() / "morvath-playthrough-XXXXXX").string();
    if (!::mkdtemp(scratch.data())) {
        std::perror("playthrough: mkdtemp");
        return 2;
    }
    int failed = 0, n = 0;
    if (seeds.empty()) {
        for (const auto& recording : recordings) {
            const Run run = Play(game, scratch, ++n, playthrough::ParseFile(recording));
            const auto& outcome = run.outcome;
            std::printf("%s: %s (%d keys)\n", recording.c_str(), outcome.ok ? "played as recorded" : outcome.failure.c_str(), outcome.keys);
            failed += outcome.ok ? 0 : 1;
        }
    } else {
        if (dates.empty()) dates.push_back("");
        std::vector<std::string> table;
        for (const auto& recording : recordings) {
            const auto steps = playthrough::ParseFile(recording);
            for (const auto& date : dates) {
                int reached = 0;
                for (int seed : seeds) {
                    Run run = Play(game, scratch, ++n, WithSeed(steps, seed, date));
                    if (run.outcome.ok) {
                        ++reached;
                        std::error_code ec;
                        fs::remove_all(run.folder, ec);
                    } else {
                        ++failed;
                        std::printf("%s %s seed %d: %s\n", recording.c_str(), date.c_str(), seed, run.outcome.failure.c_str());
                    }
                    std::fflush(stdout);
                }
                table.push_back(recording + "  " + (date.empty() ? "(its own day)" : date) + "  " + std::to_string(reached) + "/" +
                                std::to_string(seeds.size()));
            }
        }
        std::printf("reached the end:\n");
        for (const auto& line : table) std::printf("  %s\n", line.c_str());
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
