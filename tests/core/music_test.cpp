#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstdlib>

#include "platform/files.h"
#include "platform/frontend.h"
#include "services/music.h"
#include "world/game_state.h"

using namespace morvath;

namespace {

class Music : public ::testing::Test {
protected:
    void SetUp() override {
        savedSetup_ = MusicConfig();
        savedFolder_ = GameFolder();
        SetGameFolder(MORVATH_GAME_DIR);
        modMusicEngine::ResetMusic();
    }
    void TearDown() override {
        modMusicEngine::ResetMusic();
        MusicConfig() = savedSetup_;
        SetGameFolder(savedFolder_);
    }

private:
    MusicSetup savedSetup_;
    fs::path savedFolder_;
};

struct Rendered {
    double lastSoundSeconds = 0;  // the last moment louder than a whisper
    int peak = 0;
    double rms = 0;
};

Rendered RenderWhole(Synthesizer& tune, int seconds = 120) {
    Rendered r;
    const int rate = tune.SampleRate();
    const int chunk = rate / 10;
    double sumSquares = 0;
    long long frames = 0;
    while (!tune.Finished() && frames < static_cast<long long>(seconds) * rate) {
        auto samples = tune.Render(chunk);
        int chunkPeak = 0;
        for (std::int16_t s : samples) {
            chunkPeak = std::max(chunkPeak, std::abs(static_cast<int>(s)));
            sumSquares += static_cast<double>(s) * s;
        }
        frames += chunk;
        r.peak = std::max(r.peak, chunkPeak);
        if (chunkPeak > 300) r.lastSoundSeconds = static_cast<double>(frames) / rate;
    }
    r.rms = std::sqrt(sumSquares / std::max<long long>(1, 2 * frames));
    return r;
}

}  // namespace

// Every shipped tune plays and is heard, one after another on the same instruments, rendered
// without any audio device, faster than it would play. One lasts as long as its scene wants
// (rendering every tune to its end takes seconds); a stopped tune falls silent at once.
TEST_F(Music, ShippedTunesPlayOneAfterAnotherOnOneSynthesizer) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    auto synth = Synthesizer::Load(*soundFont);
    ASSERT_NE(synth, nullptr);
    for (const char* name : {"Town.mid", "Fight.mid", "final.mid", "music.mid"}) {
        SCOPED_TRACE(name);
        fs::path file = fs::path(MORVATH_GAME_DIR) / "music" / name;
        ASSERT_TRUE(FileExists(file));
        ASSERT_TRUE(synth->Play(file));
        const bool whole = std::string(name) == "Town.mid";
        Rendered r = RenderWhole(*synth, whole ? 120 : 3);
        EXPECT_GT(r.peak, 4000);
        if (whole) {
            EXPECT_TRUE(synth->Finished());
            EXPECT_GT(r.rms, 400);
            EXPECT_GE(r.lastSoundSeconds, 20);
            EXPECT_LE(r.lastSoundSeconds, 60);
            continue;
        }
        EXPECT_FALSE(synth->Finished());
        synth->Stop();
        EXPECT_TRUE(synth->Finished());
        // Past the few milliseconds the synthesizer had already computed, silence.
        const auto after = synth->Render(synth->SampleRate() / 10);
        int peak = 0;
        for (std::size_t i = after.size() / 10; i < after.size(); ++i) peak = std::max(peak, std::abs(static_cast<int>(after[i])));
        EXPECT_LT(peak, 300);
    }
}

TEST_F(Music, LoadRefusesWhatIsNoTuneOrNoSoundFont) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    fs::path tune = fs::path(MORVATH_GAME_DIR) / "music" / "Town.mid";
    EXPECT_EQ(Synthesizer::Load(tune), nullptr);
    EXPECT_EQ(Synthesizer::Load("/no/such.sf2"), nullptr);
    auto synth = Synthesizer::Load(*soundFont);
    ASSERT_NE(synth, nullptr);
    EXPECT_FALSE(synth->Play(fs::path(MORVATH_GAME_DIR) / "music" / "none.mid"));
    EXPECT_FALSE(synth->Play(fs::path(MORVATH_GAME_DIR) / "morvath.ini"));
    EXPECT_TRUE(synth->Finished());
}

// No device, no tune file, no soundfont: music stays silent, says nothing and the game goes
// on.
TEST_F(Music, EveryFailureIsSilent) {
    ScriptedFrontend ui;
    struct Case {
        const char* what;
        std::wstring tune;
        std::vector<fs::path> soundFonts;
        std::vector<std::string> drivers;
    };
    const auto fonts = MusicConfig().soundFonts;
    std::vector<Case> cases = {
        {"no device", L"\\music\\Fight.mid", fonts, {"no-such-driver"}},
        {"no drivers at all", L"\\music\\Fight.mid", fonts, {}},
        {"no tune", L"\\music\\Nothing.mid", fonts, {"no-such-driver"}},
        {"no soundfont", L"\\music\\Fight.mid", {"/no/such.sf2"}, {"no-such-driver"}},
    };
    // A machine with no sound card at all (as in CI): the real drivers fail, and neither
    // FluidSynth nor ALSA may print their complaints.
    std::error_code ec;
    if (!fs::exists("/dev/snd", ec)) {
        cases.push_back({"the real drivers without a sound card", L"\\music\\Fight.mid", fonts,
                         MusicConfig().audioDrivers});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MusicConfig().soundFonts = c.soundFonts;
        MusicConfig().audioDrivers = c.drivers;
        modMusicEngine::MusicOn = true;
        modMusicEngine::MusicName = c.tune;
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        modMusicEngine::PlayMusic();
        modMusicEngine::MidiClose();  // closing with nothing open is no error either
        std::string out = ::testing::internal::GetCapturedStdout();
        std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(modMusicEngine::MidiOpen());
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "");
    }
    EXPECT_TRUE(ui.log.empty());
}

// On this machine's own sound system music may really be heard; SDL's dummy device plays
// in real time into nothing, so the tests can watch tunes open and close.
TEST_F(Music, TunePlaysOnceOnADeviceAndTheSwitchOnlyDecidesTheNext) {
    using SdlInit = int (*)(std::uint32_t);
    using SdlQuit = void (*)();
    auto init = reinterpret_cast<SdlInit>(::dlsym(RTLD_DEFAULT, "SDL_Init"));
    auto quit = reinterpret_cast<SdlQuit>(::dlsym(RTLD_DEFAULT, "SDL_Quit"));
    if (!init || !quit || !FindSoundFont()) GTEST_SKIP() << "FluidSynth without SDL, or no soundfont";
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (init(0x10 /* SDL_INIT_AUDIO */) != 0) GTEST_SKIP() << "SDL has no dummy audio";
    MusicConfig().audioDrivers = {"sdl2"};

    // Off at the start: nothing plays.
    modMusicEngine::MusicName = L"\\music\\Fight.mid";
    modMusicEngine::PlayMusic();
    EXPECT_FALSE(modMusicEngine::MidiOpen());

    modMusicEngine::MusicOn = true;
    modMusicEngine::PlayMusic();
    EXPECT_TRUE(modMusicEngine::MidiOpen());

    // Switching off leaves the tune playing; the next tune is then only a stop.
    modMusicEngine::MusicOn = false;
    EXPECT_TRUE(modMusicEngine::MidiOpen());
    modMusicEngine::MusicName = L"\\music\\Town.mid";
    modMusicEngine::PlayMusic();
    EXPECT_FALSE(modMusicEngine::MidiOpen());

    // A tune in place of another; names are found without regard to case.
    modMusicEngine::MusicOn = true;
    modMusicEngine::MusicName = L"\\MUSIC\\town.MID";
    modMusicEngine::PlayMusic();
    EXPECT_TRUE(modMusicEngine::MidiOpen());
    modMusicEngine::MusicName = L"\\music\\Gone.mid";
    modMusicEngine::PlayMusic();
    EXPECT_FALSE(modMusicEngine::MidiOpen());

    modMusicEngine::MusicName = L"\\music\\music.mid";
    modMusicEngine::PlayMusic();
    EXPECT_TRUE(modMusicEngine::MidiOpen());
    modMusicEngine::MidiClose();
    EXPECT_FALSE(modMusicEngine::MidiOpen());

    // A reset game is a fresh program: silence, and music off.
    modMusicEngine::MusicOn = true;
    modMusicEngine::PlayMusic();
    ASSERT_TRUE(modMusicEngine::MidiOpen());
    ResetGame();
    EXPECT_FALSE(modMusicEngine::MidiOpen());
    EXPECT_FALSE(modMusicEngine::MusicOn);
    modMusicEngine::ReleaseSynthesizer();
    quit();
}
