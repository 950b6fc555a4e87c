// Music: the shipped tunes rendered without a device, tunes changed while a device renders
// them, the switch, and silence whenever a device, a tune or the instruments are missing.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/cp1251.h"
#include "platform/frontend.h"
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

private:
    MusicSetup savedSetup_ = MusicConfig();
    fs::path savedFolder_ = GameFolder();
};

}  // namespace

// Every shipped tune plays and is heard, one after another on the same instruments, rendered
// faster than it would play. One lasts as long as its scene wants; a stopped tune falls
// silent at once.
TEST_F(Music, ShippedTunesPlayOneAfterAnotherOnOneSynthesizer) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    EXPECT_EQ(Synthesizer::Load(kMusic / "Town.mid"), nullptr);
    EXPECT_EQ(Synthesizer::Load("/no/such.sf2"), nullptr);
    auto synth = Synthesizer::Load(*soundFont);
    ASSERT_NE(synth, nullptr);
    EXPECT_FALSE(synth->Play(kMusic / "none.mid"));
    EXPECT_FALSE(synth->Play(fs::path(MORVATH_GAME_DIR) / "morvath.ini"));
    EXPECT_TRUE(synth->Finished());
    const int rate = synth->SampleRate();
    for (const char* name : {"Town.mid", "Fight.mid", "final.mid", "music.mid"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(synth->Play(kMusic / name));
        const bool whole = name[0] == 'T';
        int peak = 0;
        double squares = 0, lastSound = 0;
        long frames = 0;
        while (!synth->Finished() && frames < (whole ? 120 : 3) * rate) {
            const auto chunk = synth->Render(rate / 10);
            frames += rate / 10;
            peak = std::max(peak, Peak(chunk));
            if (Peak(chunk) > 300) lastSound = static_cast<double>(frames) / rate;
            for (std::int16_t s : chunk) squares += static_cast<double>(s) * s;
        }
        EXPECT_GT(peak, 4000);
        EXPECT_EQ(synth->Finished(), whole);
        if (whole) {
            EXPECT_GT(std::sqrt(squares / (2.0 * frames)), 400);
            EXPECT_GE(lastSound, 20);
            EXPECT_LE(lastSound, 60);
            continue;
        }
        synth->Stop();
        EXPECT_TRUE(synth->Finished());
        // Past the few milliseconds the synthesizer had already computed, silence.
        const auto after = synth->Render(rate / 10);
        EXPECT_LT(Peak(after, after.size() / 10), 300);
        EXPECT_EQ(after.size() + synth->Render(0).size(), 2u * (rate / 10));  // interleaved stereo
    }
}

// No device, no tune file, no soundfont: music stays silent, says nothing and the game goes
// on.
TEST_F(Music, EveryFailureIsSilent) {
    ScriptedFrontend ui;
    const auto fonts = MusicConfig().soundFonts;
    struct Case { const wchar_t* tune; std::vector<fs::path> soundFonts; std::vector<std::string> drivers; };
    std::vector<Case> cases = {
        {L"\\music\\Fight.mid", fonts, {"no-such-driver"}},
        {L"\\music\\Fight.mid", fonts, {}},
        {L"\\music\\Nothing.mid", fonts, {"no-such-driver"}},
        {L"\\music\\Fight.mid", {"/no/such.sf2"}, {"no-such-driver"}},
    };
    // A machine with no sound card at all (as in CI): the real drivers fail, and neither
    // FluidSynth nor ALSA may print their complaints.
    std::error_code ec;
    if (!fs::exists("/dev/snd", ec)) cases.push_back({L"\\music\\Fight.mid", fonts, MusicConfig().audioDrivers});
    for (const Case& c : cases) {
        MusicConfig().soundFonts = c.soundFonts;
        MusicConfig().audioDrivers = c.drivers;
        modMusicEngine::MusicOn = true;
        modMusicEngine::MusicName = c.tune;
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        modMusicEngine::PlayMusic();
        modMusicEngine::MidiClose();  // closing with nothing open is no error either
        EXPECT_EQ(::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr(), "");
        EXPECT_FALSE(modMusicEngine::MidiOpen());
    }
    EXPECT_TRUE(ui.log.empty());
}

// Tunes change and stop while the device's thread renders them, again and again (the
// sanitizers watch for a tune freed under it); then the device plays the last one to its end.
TEST_F(Music, TunesChangeAndStopWhileTheDeviceRenders) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    auto synth = Synthesizer::Load(*soundFont);
    ASSERT_NE(synth, nullptr);
    if (!synth->OpenDevice({"alsa"})) GTEST_SKIP() << "FluidSynth without ALSA";
    const fs::path tunes[] = {kMusic / "Fight.mid", kMusic / "Town.mid", kMusic / "final.mid"};
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(synth->Play(tunes[i % 3])) << i;
        EXPECT_FALSE(synth->Finished());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (i % 10 == 9) {
            synth->Stop();
            EXPECT_TRUE(synth->Finished());
        }
    }
    // With a device, the sound goes there and nothing is left to pull.
    EXPECT_EQ(Peak(synth->Render(256)), 0);
    ASSERT_TRUE(synth->Play(tunes[0]));
    for (int waited = 0; waited < 15000 && !synth->Finished(); waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(synth->Finished());
}

// The switch decides only the next tune; names are found without regard to case; the game
// keeps its instruments for the run and tries a changed list of drivers afresh; a reset game
// is a fresh program: silence, and music off. ALSA's null device pulls the sound through the
// game's own feed; SDL's dummy device renders straight from the synthesizer, in real time.
TEST_F(Music, TheSwitchDecidesTheNextTuneAndChangedDevicesAreTriedAgain) {
    if (!FindSoundFont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto sdlInit = reinterpret_cast<int (*)(std::uint32_t)>(::dlsym(RTLD_DEFAULT, "SDL_Init"));
    auto sdlQuit = reinterpret_cast<void (*)()>(::dlsym(RTLD_DEFAULT, "SDL_Quit"));
    for (const std::string dev : {"alsa", "sdl2"}) {
        if (dev == "sdl2" && (!sdlInit || !sdlQuit || sdlInit(0x10 /* SDL_INIT_AUDIO */) != 0)) continue;
        if (!Synthesizer::Load(*FindSoundFont())->OpenDevice({dev})) continue;  // FluidSynth built without it
        SCOPED_TRACE(dev);
        struct Step { std::vector<std::string> drivers; bool on; const wchar_t* tune; bool open; };  // no tune: the switch alone
        const Step steps[] = {
            {{dev}, false, L"\\music\\Fight.mid", false},  // off at the start: nothing plays
            {{dev}, true, L"\\music\\Fight.mid", true},
            {{dev}, false, nullptr, true},  // switching off leaves the tune playing
            {{dev}, false, L"\\music\\Town.mid", false},
            {{dev}, true, L"\\MUSIC\\town.MID", true},
            {{dev}, true, L"\\music\\Gone.mid", false},
            {{"no-such-driver"}, true, L"\\music\\music.mid", false},
            {{dev}, true, L"\\music\\music.mid", true},
            {{dev}, true, L"\\music\\Fight.mid", true},
            {{}, true, L"\\music\\Fight.mid", false},
            {{dev}, true, L"\\music\\Fight.mid", true},
        };
        for (const Step& s : steps) {
            MusicConfig().audioDrivers = s.drivers;
            modMusicEngine::MusicOn = s.on;
            if (s.tune) {
                modMusicEngine::MusicName = s.tune;
                modMusicEngine::PlayMusic();
            }
            EXPECT_EQ(modMusicEngine::MidiOpen(), s.open) << ToUtf8(s.tune ? s.tune : L"") << s.drivers.size();
        }
        modMusicEngine::MidiClose();
        EXPECT_FALSE(modMusicEngine::MidiOpen());
        modMusicEngine::PlayMusic();
        ASSERT_TRUE(modMusicEngine::MidiOpen());
        ResetGame();
        EXPECT_FALSE(modMusicEngine::MidiOpen());
        EXPECT_FALSE(modMusicEngine::MusicOn);
        modMusicEngine::ReleaseSynthesizer();
    }
    if (sdlQuit) sdlQuit();
}
