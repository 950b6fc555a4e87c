// Music: the shipped tunes rendered without a device, tunes changed while a device renders
// them, the switch, and silence whenever a device, a tune or the instruments are missing.
#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "services/music.h"
#include "test_support.h"

using namespace morvath;

namespace {

const fs::path kMusic = fs::path(MORVATH_GAME_DIR) / "music";

int Peak(const std::vector<std::int16_t>& samples, std::size_t from = 0) {
    int peak = 0;
    for (std::size_t i = from; i < samples.size(); ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

class Music : public ::testing::Test {
protected:
    void SetUp() override {
        SetGameFolder(MORVATH_GAME_DIR);
        modMusicEngine::ResetMusic();
    }
    void TearDown() override {
        modMusicEngine::ReleaseSynthesizer();
        MusicConfig() = savedSetup_;
        SetGameFolder(savedFolder_);
    }
    // ALSA's default device is the null device from here on, which plays into nothing as
    // fast as it is fed (ALSA keeps the configuration it read first anyway); the home
    // folder is the test process's private one.
    static void UseNullSoundCard() {
        const fs::path home = fs::temp_directory_path();
        std::ofstream(home / ".asoundrc") << "pcm.!default { type null }\n";
        ::setenv("HOME", home.c_str(), 1);
    }
    MusicSetup savedSetup_ = MusicConfig();
    fs::path savedFolder_ = GameFolder();
};

}  // namespace

// Every shipped tune is heard, one after another on the same instruments, rendered faster
// than it would play; the town's lasts as long as its scene wants; a stopped tune falls
// silent at once. Then on a device: tunes change and stop while the device's thread renders
// them, again and again (the sanitizers watch for a tune freed under it); the device plays
// the last one to its end, and nothing is left to pull.
TEST_F(Music, ShippedTunesPlayOneAfterAnotherOnOneSynthesizer) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    auto synth = Synthesizer::Load(*soundFont);
    ASSERT_TRUE(synth && !Synthesizer::Load(kMusic / "Town.mid") && !synth->Play(fs::path(MORVATH_GAME_DIR) / "morvath.ini") &&
                synth->Finished());
    const int rate = synth->SampleRate(), chunk = rate / 10;
    for (const char* name : {"Town.mid", "Fight.mid", "final.mid", "music.mid"}) {
        ASSERT_TRUE(synth->Play(kMusic / name)) << name;
        const long limit = (name[0] == 'T' ? 120 : 3) * rate;
        long peak = 0, frames = 0, lastSound = 0;
        for (; !synth->Finished() && frames < limit; frames += chunk) {
            const int p = Peak(synth->Render(chunk));
            std::tie(peak, lastSound) = std::pair(std::max<long>(peak, p), p > 300 ? frames / rate : lastSound);
        }
        const bool whole = synth->Finished();
        synth->Stop();
        const auto after = synth->Render(chunk);  // past the few milliseconds already computed
        EXPECT_EQ(std::tuple(peak > 4000, whole, whole ? lastSound >= 20 && lastSound <= 60 : frames >= limit,
                             synth->Finished(), Peak(after, after.size() / 10) < 300, after.size()),
                  std::tuple(true, name[0] == 'T', true, true, true, 2u * chunk))
            << name;
    }
    if (!synth->OpenDevice({"alsa"})) GTEST_SKIP() << "FluidSynth without ALSA";
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(synth->Play(kMusic / (i % 3 ? "Town.mid" : "Fight.mid")) && !synth->Finished()) << i;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (i % 10 == 9) synth->Stop();
    }
    ASSERT_TRUE(synth->Finished() && synth->Play(kMusic / "Fight.mid"));
    for (int waited = 0; waited < 15000 && !synth->Finished(); waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(std::pair(synth->Finished(), Peak(synth->Render(256))), std::pair(true, 0));
}

// No device or no soundfont: music stays silent, says nothing and the game goes on.
TEST_F(Music, EveryFailureIsSilent) {
    ScriptedFrontend ui;
    const auto fonts = MusicConfig().soundFonts;
    std::vector<std::pair<std::vector<fs::path>, std::vector<std::string>>> cases = {{fonts, {"no-such-driver"}},
                                                                                   {{"/no/such.sf2"}, {"no-such-driver"}}};
    // A machine with no sound card at all (as in CI): the real drivers fail, and neither
    // FluidSynth nor ALSA may print their complaints.
    std::error_code ec;
    if (!fs::exists("/dev/snd", ec)) cases.push_back({fonts, MusicConfig().audioDrivers});
    std::tie(modMusicEngine::MusicOn, modMusicEngine::MusicName) = std::tuple(true, L"\\music\\Fight.mid");
    for (const auto& [soundFonts, drivers] : cases) {
        std::tie(MusicConfig().soundFonts, MusicConfig().audioDrivers) = std::tie(soundFonts, drivers);
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        modMusicEngine::PlayMusic();
        modMusicEngine::MidiClose();  // closing with nothing open is no error either
        EXPECT_EQ(::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_TRUE(ui.log.empty());
}

// The switch decides only the next tune; names are found without regard to case; the game
// keeps its instruments for the run and tries a changed list of drivers afresh; a reset game
// is a fresh program: silence, and music off. SDL's dummy device renders straight from the
// synthesizer, in real time (ALSA's null device, pulling through the game's own feed, plays
// above).
TEST_F(Music, TheSwitchDecidesTheNextTuneAndChangedDevicesAreTriedAgain) {
    if (!FindSoundFont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto sdlInit = reinterpret_cast<int (*)(std::uint32_t)>(::dlsym(RTLD_DEFAULT, "SDL_Init"));
    const std::string dev = sdlInit && sdlInit(0x10 /* SDL_INIT_AUDIO */) == 0 ? "sdl2" : "alsa";
    if (!Synthesizer::Load(*FindSoundFont())->OpenDevice({dev})) GTEST_SKIP() << "FluidSynth without " << dev;
    struct Step { std::vector<std::string> drivers; bool on; const wchar_t* tune; };  // no tune: the switch alone
    const Step steps[] = {{{dev}, false, L"\\music\\Fight.mid"}, {{dev}, true, L"\\music\\Fight.mid"},
                          {{dev}, false, nullptr},  // switching off leaves the tune playing
                          {{dev}, false, L"\\music\\Town.mid"}, {{dev}, true, L"\\MUSIC\\town.MID"},
                          {{dev}, true, L"\\music\\Gone.mid"}, {{"no-such-driver"}, true, L"\\music\\music.mid"},
                          {{dev}, true, L"\\music\\music.mid"}, {{}, true, L"\\music\\Fight.mid"},
                          {{dev}, true, L"\\music\\Fight.mid"}};
    std::string open;
    auto mark = [&] { open += modMusicEngine::MidiOpen() ? '1' : '0'; };
    for (const Step& s : steps) {
        std::tie(MusicConfig().audioDrivers, modMusicEngine::MusicOn) = std::tie(s.drivers, s.on);
        if (s.tune) modMusicEngine::MusicName = s.tune, modMusicEngine::PlayMusic();
        mark();
    }
    for (auto act : {modMusicEngine::MidiClose, modMusicEngine::PlayMusic, ResetGame}) act(), mark();
    EXPECT_EQ(std::pair(open, modMusicEngine::MusicOn), std::pair(std::string("0110100101010"), false)) << dev;
}
