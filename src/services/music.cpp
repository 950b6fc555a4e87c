#include "services/music.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <mutex>

#include "platform/frontend.h"

namespace morvath {
namespace {

// ALSA's error hook has this shape; ours swallows everything.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Neither the synthesizer nor the sound system may talk to the player: with no audio device
// both would print their complaints on every tune.
void SilenceSoundLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, nullptr, nullptr);
        // ALSA comes in with FluidSynth; looked up rather than linked, so that a FluidSynth
        // built without it costs nothing.
        using SetHandler = int (*)(AlsaErrorHandler);
        if (auto set = reinterpret_cast<SetHandler>(::dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"))) {
            set(IgnoreAlsaError);
        }
    });
}

}  // namespace

MusicSetup& MusicConfig() {
    static MusicSetup setup{
        {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
         "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
         "/usr/share/soundfonts/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2",
         "/usr/share/soundfonts/FluidR3_GM.sf2", "/usr/local/share/soundfonts/default.sf2"},
        // JACK is left out: asking for it may start a sound server behind the player's back.
        {"pipewire", "pulseaudio", "alsa"}};
    return setup;
}

std::optional<fs::path> FindSoundFont() {
    SilenceSoundLibraries();
    for (const fs::path& p : MusicConfig().soundFonts) {
        if (FileExists(p) && fluid_is_soundfont(p.c_str())) return p;
    }
    return std::nullopt;
}

struct MidiTune::Impl {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    fluid_audio_driver_t* driver = nullptr;

    ~Impl() {
        // The driver's thread feeds on the synthesizer: it goes first.
        if (driver) delete_fluid_audio_driver(driver);
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
        }
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

MidiTune::~MidiTune() = default;

std::unique_ptr<MidiTune> MidiTune::Load(const fs::path& midi, const fs::path& soundFont) {
    SilenceSoundLibraries();
    if (!FileExists(midi) || !fluid_is_midifile(midi.c_str())) return nullptr;
    if (!FileExists(soundFont) || !fluid_is_soundfont(soundFont.c_str())) return nullptr;
    std::unique_ptr<MidiTune> tune(new MidiTune);
    tune->impl_ = std::make_unique<Impl>();
    Impl& m = *tune->impl_;
    m.settings = new_fluid_settings();
    if (!m.settings) return nullptr;
    fluid_settings_setnum(m.settings, "synth.gain", 0.5);
    m.synth = new_fluid_synth(m.settings);
    if (!m.synth || fluid_synth_sfload(m.synth, soundFont.c_str(), 1) == FLUID_FAILED) return nullptr;
    m.player = new_fluid_player(m.synth);
    if (!m.player || fluid_player_add(m.player, midi.c_str()) != FLUID_OK) return nullptr;
    return tune;
}

bool MidiTune::PlayOnDevice(const std::vector<std::string>& drivers) {
    if (impl_->driver || fluid_player_play(impl_->player) != FLUID_OK) return false;
    for (const std::string& name : drivers) {
        fluid_settings_setstr(impl_->settings, "audio.driver", name.c_str());
        impl_->driver = new_fluid_audio_driver(impl_->settings, impl_->synth);
        if (impl_->driver) return true;
    }
    fluid_player_stop(impl_->player);
    return false;
}

bool MidiTune::Start() { return !impl_->driver && fluid_player_play(impl_->player) == FLUID_OK; }

std::vector<std::int16_t> MidiTune::Render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    if (frames > 0 && !impl_->driver) {
        fluid_synth_write_s16(impl_->synth, frames, out.data(), 0, 2, out.data(), 1, 2);
    }
    return out;
}

int MidiTune::SampleRate() const {
    double rate = 44100;
    fluid_settings_getnum(impl_->settings, "synth.sample-rate", &rate);
    return static_cast<int>(rate);
}

bool MidiTune::Finished() const { return fluid_player_get_status(impl_->player) == FLUID_PLAYER_DONE; }

namespace modMusicEngine {
namespace {

std::unique_ptr<MidiTune>& Playing() {
    static std::unique_ptr<MidiTune> tune;
    return tune;
}

// The tune file, in full: no short-name form, so a deep game folder still has music.
fs::path& MidiFile() {
    static fs::path file;
    return file;
}

void MidiOpenAndPlay() {
    auto soundFont = FindSoundFont();
    if (!soundFont) return;
    auto tune = MidiTune::Load(MidiFile(), *soundFont);
    if (!tune || !tune->PlayOnDevice(MusicConfig().audioDrivers)) return;
    Playing() = std::move(tune);
}

}  // namespace

void PlayMusic() {
    MidiClose();
    if (!MusicOn) return;
    MidiFile() = GamePath(MusicName);
    UI().DoEvents();
    MidiOpenAndPlay();
}

void MidiClose() { Playing().reset(); }

bool MidiOpen() { return Playing() != nullptr; }

void ResetMusic() {
    MidiClose();
    MusicOn = false;
    MusicName.clear();
}

}  // namespace modMusicEngine
}  // namespace morvath
