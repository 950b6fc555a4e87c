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
// Stops and releases the tune that plays, if any.
void MidiClose();
// A tune is open on the audio device (it may have finished playing).
bool MidiOpen();
// Closes the tune and switches music off, as at the program's start.
void ResetMusic();

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

// One tune in a synthesizer of its own.
class MidiTune {
public:
    // Nothing when the soundfont or the tune cannot be loaded.
    static std::unique_ptr<MidiTune> Load(const fs::path& midi, const fs::path& soundFont);
    ~MidiTune();
    MidiTune(const MidiTune&) = delete;
    MidiTune& operator=(const MidiTune&) = delete;

    // Starts the tune on the first audio driver of the list that opens; false when none does.
    bool PlayOnDevice(const std::vector<std::string>& drivers);
    // Starts the tune with no device: Render then pulls the sound, as fast as it is computed.
    bool Start();
    // The next frames of the tune, interleaved stereo at SampleRate().
    std::vector<std::int16_t> Render(int frames);
    int SampleRate() const;
    // The tune has played to its end (the last notes' release included).
    bool Finished() const;

private:
    MidiTune() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace morvath
