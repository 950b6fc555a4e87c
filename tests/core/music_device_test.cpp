// Tunes change while an audio device's thread renders them: ALSA's null device plays into
// nothing as fast as it is fed, so the changes meet the device thread mid-buffer again and
// again (the sanitizers watch for a tune freed under it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/files.h"
#include "services/music.h"
#include "test_support.h"

using namespace morvath;

namespace {

// ALSA's default device is the null device from here on (ALSA keeps the configuration it
// read first anyway); the home folder is the test process's private one.
void UseNullSoundCard() {
    const fs::path home = fs::temp_directory_path();
    std::ofstream(home / ".asoundrc") << "pcm.!default { type null }\n";
    ::setenv("HOME", home.c_str(), 1);
}

TEST(MusicDevice, TunesChangeAndStopWhileTheDeviceRenders) {
    auto soundFont = FindSoundFont();
    if (!soundFont) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    auto synth = Synthesizer::Load(*soundFont);
    ASSERT_NE(synth, nullptr);
    if (!synth->OpenDevice({"alsa"})) GTEST_SKIP() << "FluidSynth without ALSA";
    const fs::path music = fs::path(MORVATH_GAME_DIR) / "music";
    const fs::path tunes[] = {music / "Fight.mid", music / "Town.mid", music / "final.mid"};
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(synth->Play(tunes[i % 3])) << i;
        EXPECT_FALSE(synth->Finished());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (i % 10 == 9) {
            synth->Stop();
            EXPECT_TRUE(synth->Finished());
        }
    }
    // With a device, the sound goes there and nothing is left to pull; the device plays the
    // last tune to its end, faster than it would sound.
    for (std::int16_t v : synth->Render(256)) ASSERT_EQ(v, 0);
    ASSERT_TRUE(synth->Play(tunes[0]));
    for (int waited = 0; waited < 15000 && !synth->Finished(); waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(synth->Finished());
}

// The game keeps its instruments for the run; a changed list of drivers is tried afresh.
TEST(MusicDevice, TheGameTriesTheDevicesAgainWhenTheirListChanges) {
    if (!FindSoundFont()) GTEST_SKIP() << "no General MIDI soundfont installed";
    UseNullSoundCard();
    const MusicSetup saved = MusicConfig();
    const fs::path folder = GameFolder();
    SetGameFolder(MORVATH_GAME_DIR);
    modMusicEngine::ResetMusic();
    modMusicEngine::MusicOn = true;
    modMusicEngine::MusicName = L"\\music\\Fight.mid";
    const struct {
        std::vector<std::string> drivers;
        bool plays;
    } steps[] = {{{"no-such-driver"}, false}, {{"alsa"}, true}, {{"alsa"}, true}, {{}, false}};
    for (const auto& step : steps) {
        MusicConfig().audioDrivers = step.drivers;
        modMusicEngine::PlayMusic();
        EXPECT_EQ(modMusicEngine::MidiOpen(), step.plays) << step.drivers.size();
    }
    modMusicEngine::ReleaseSynthesizer();
    modMusicEngine::ResetMusic();
    MusicConfig() = saved;
    SetGameFolder(folder);
}

}  // namespace
