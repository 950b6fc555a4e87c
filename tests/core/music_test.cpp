// Music: the shipped tunes rendered without a device, tunes changed while a device renders
// them, the switch, and silence whenever a device, a tune or the instruments are missing.
#include <fluidsynth.h>

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

// One snare stroke: a tune that has ended before anyone would wait for it.
fs::path ShortNote() {
    const fs::path file = fs::temp_directory_path() / "note.mid";
    const char bytes[] = "MThd\0\0\0\6\0\0\0\1\0\x60" "MTrk\0\0\0\x0c" "\0\x99\x26\x7f" "\x30\x89\x26\x40" "\0\xff\x2f\0";
    WriteFileAtomic(file, std::string(bytes, sizeof bytes - 1));
    return file;
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

// Every shipped tune is heard at once, one after another on the same instruments; a stopped
// tune falls silent at once; a tune plays once, to its end, and stays silent after it. Then
// on a device: tunes change and stop while the device's thread renders them, again and again
// (the sanitizers watch for a tune freed under it); the device plays the last one to its end,
// and nothing is left to pull. Nothing here waits for music to play out: the tunes are heard
// for a second each, and the one played to its end is a single short note.
TEST_F(Music, ShippedTunesPlayOneAfterAnotherOnOneSynthesizer) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    auto synth = Synthesizer::Load(*soundFont);
    ASSERT_TRUE(synth && !Synthesizer::Load(kMusic / "Town.mid") && !synth->Play(fs::path(MORVATH_GAME_DIR) / "morvath.ini") &&
                synth->Finished());
    const int rate = synth->SampleRate(), chunk = rate / 10;
    const fs::path note = ShortNote();
    for (const fs::path& tune : {kMusic / "Town.mid", kMusic / "Fight.mid", kMusic / "final.mid", kMusic / "music.mid", note}) {
        ASSERT_TRUE(synth->Play(tune)) << tune;
        const bool toTheEnd = tune == note;
        const long limit = (toTheEnd ? 5 : 1) * rate;
        long peak = 0, frames = 0;
        for (; !synth->Finished() && frames < limit; frames += chunk) peak = std::max(peak, long{Peak(synth->Render(chunk))});
        const bool finished = synth->Finished();
        synth->Stop();
        const auto after = synth->Render(chunk);  // past the few milliseconds already computed
        EXPECT_EQ(std::tuple(peak > 4000, finished, synth->Finished(), Peak(after, after.size() / 10) < 300, after.size()),
                  std::tuple(true, toTheEnd, true, true, 2u * chunk))
            << tune;
    }
    if (!synth->OpenDevice({"alsa"})) GTEST_SKIP() << "FluidSynth without ALSA";
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(synth->Play(kMusic / (i % 3 ? "Town.mid" : "Fight.mid")) && !synth->Finished()) << i;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (i % 10 == 9) synth->Stop();
    }
    ASSERT_TRUE(synth->Finished() && synth->Play(note));
    for (int waited = 0; waited < 15000 && !synth->Finished(); waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(std::pair(synth->Finished(), Peak(synth->Render(256))), std::pair(true, 0));
}

// The town's tune lasts as long as its scene wants: read by the synthesizer's own player,
// run to its end without instruments, which costs next to nothing.
TEST_F(Music, TheTownsTuneLastsAsLongAsItsScene) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.reverb.active", 0);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_player_t* player = new_fluid_player(synth);
    double rate = 0, seconds = 0;
    fluid_settings_getnum(settings, "synth.sample-rate", &rate);
    std::vector<float> block(2 * 4410);
    ASSERT_TRUE(fluid_player_add(player, (kMusic / "Town.mid").c_str()) == FLUID_OK && fluid_player_play(player) == FLUID_OK);
    for (; fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && seconds < 120; seconds += 4410 / rate)
        fluid_synth_write_float(synth, 4410, block.data(), 0, 2, block.data(), 1, 2);
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    EXPECT_TRUE(seconds >= 20 && seconds <= 60) << seconds;
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
// is a fresh program: silence, and music off. The device is ALSA's null one, which plays as
// fast as it is fed.
TEST_F(Music, TheSwitchDecidesTheNextTuneAndChangedDevicesAreTriedAgain) {
    if (!FindSoundFont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    const std::string dev = "alsa";
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
    // The instruments loaded for the first tune play every later one, their soundfont gone since.
    const fs::path font = fs::temp_directory_path() / "gone.sf2";
    fs::create_symlink(*FindSoundFont(), font);
    std::tie(MusicConfig().soundFonts, modMusicEngine::MusicOn, modMusicEngine::MusicName) = std::tuple(std::vector{font}, true, L"\\music\\Town.mid");
    modMusicEngine::PlayMusic();
    fs::remove(font);
    modMusicEngine::PlayMusic();
    EXPECT_TRUE(modMusicEngine::MidiOpen());
}

// A device that cannot call back is closed while the tune changes and opened again: tunes
// change and stop on it like on any other. The synthesizer's own file writer is such a
// device; it writes into the test's private folder.
TEST_F(Music, TunesChangeOnADeviceThatRendersByItself) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    const fs::path here = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    auto synth = Synthesizer::Load(*soundFont);
    const bool opened = synth->OpenDevice({"file"});
    int played = 0;
    for (int i = 0; i < 60 && opened; ++i) {
        played += synth->Play(kMusic / (i % 3 ? "Town.mid" : "Fight.mid"));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    synth->Stop();
    const bool finished = synth->Finished();
    synth.reset();
    fs::current_path(here);
    if (!opened) GTEST_SKIP() << "FluidSynth without its file writer";
    EXPECT_EQ(std::tuple(played, finished, fs::file_size(fs::temp_directory_path() / "fluidsynth.wav") > 0), std::tuple(60, true, true));
}
