#pragma once
// Music: one MIDI tune at a time, played once from the start on a software synthesizer
// (FluidSynth with a General MIDI soundfont). Music is a nicety: when there is no audio
// device, no tune file or no soundfont, the game goes on in silence and says nothing.
//
// Callers set the tune (a path in the game folder) and play it:
//     modMusicEngine::MusicName = L"\\music\\Fight.mid";
//     modMusicEngine::PlayMusic();
// Music is off until the start of a new game switches it on; the switch only decides
// whether the next PlayMusic plays, it never stops a tune that is playing.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace morvath {

namespace modMusicEngine {

inline bool MusicOn = false;
// The tune's path in the game folder, beginning with a backslash.
inline std::wstring MusicName;

// Stops what plays, then plays MusicName when music is on.
void PlayMusic();
// Stops the tune that plays, if any.
void MidiClose();
// A tune is open on the audio device (it may have finished playing).
bool MidiOpen();
// Closes the tune and switches music off, as at the program's start. The instruments stay
// loaded: they belong to the run, not to a game.
void ResetMusic();
// Stops the music and lets go of the instruments and the audio device, before the sound
// system they use is shut down; the next tune loads them again.
void ReleaseSynthesizer();

}  // namespace modMusicEngine

// Where the instruments come from and which audio drivers are tried, in order. Tests point
// them elsewhere to have no soundfont or no device.
struct MusicSetup {
    std::vector<fs::path> soundFonts;
    std::vector<std::string> audioDrivers;
};
MusicSetup& MusicConfig();
// The first soundfont of the list that can be loaded.
std::optional<fs::path> FindSoundFont();

// A synthesizer with its soundfont, loaded once: loading the instruments takes tens of
// milliseconds, far longer than a key press may, so tune after tune plays on the same one.
class Synthesizer {
public:
    // Nothing when the soundfont cannot be loaded.
    static std::unique_ptr<Synthesizer> Load(const fs::path& soundFont);
    ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // Sends the sound to the first audio driver of the list that opens; false when none does.
    // Without a device, Render pulls the sound, as fast as it is computed.
    bool OpenDevice(const std::vector<std::string>& drivers);
    // Stops what plays and plays the tune once from its start, on instruments as a fresh
    // synthesizer has them. False, and silence, when the file is no tune.
    bool Play(const fs::path& midi);
    // Stops the tune; its notes end at once.
    void Stop();
    // The next frames, interleaved stereo at SampleRate(); silence while a device plays.
    std::vector<std::int16_t> Render(int frames);
    int SampleRate() const;
    // No tune plays: none was started, it was stopped, or it has played to its end (the last
    // notes' release included).
    bool Finished() const;

    struct Impl;

private:
    Synthesizer() = default;
    std::unique_ptr<Impl> impl_;
};

}  // namespace morvath
