#include "services/music.h"

#include <dlfcn.h>
#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
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

struct Synthesizer::Impl {
    // The audio device's thread renders under this lock, so that a tune is never exchanged
    // while the synthesizer runs it. The game's thread asks for it through Hold, and the
    // device then gives way (a buffer of silence) rather than taking it again: a change of
    // tune waits for one buffer's rendering at most.
    mutable std::mutex lock;
    mutable std::atomic<int> waiting{0};
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    // A driver that cannot call back renders straight from the synthesizer, without the lock:
    // it is closed while the tune changes and opened again.
    bool direct = false;
    // The effect outputs (reverb, chorus, per group), each stereo pair mixed into the two outputs.
    int effectPairs = 0;

    ~Impl() {
        // The driver's thread feeds on the synthesizer: it goes first.
        if (driver) delete_fluid_audio_driver(driver);
        DropPlayer();
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }

    std::unique_lock<std::mutex> Hold() const {
        ++waiting;
        std::unique_lock<std::mutex> held(lock);
        --waiting;
        return held;
    }

    void DropPlayer() {
        if (!player) return;
        fluid_player_stop(player);
        delete_fluid_player(player);
        player = nullptr;
    }

    // Under the lock (and with a direct driver closed): the tune that plays ends.
    void StopTune() {
        if (!player) return;
        DropPlayer();
        // The stopped tune's programs and controllers go with it, so that the next tune starts
        // on instruments as a fresh synthesizer has them; and its notes end now, not with
        // their release (in this order: a reset alone lets them ring on).
        fluid_synth_system_reset(synth);
        fluid_synth_all_sounds_off(synth, -1);
    }

    bool StartTune(const fs::path& midi) {
        fluid_player_t* p = new_fluid_player(synth);
        if (!p) return false;
        if (fluid_player_add(p, midi.c_str()) != FLUID_OK || fluid_player_play(p) != FLUID_OK) {
            delete_fluid_player(p);
            return false;
        }
        player = p;
        return true;
    }

    // Changes the tune (none: silence) while no device thread renders it.
    bool Change(const fs::path* midi) {
        const bool reopen = direct && driver && (player || midi);
        if (reopen) {
            delete_fluid_audio_driver(driver);
            driver = nullptr;
        }
        bool started = false;
        {
            auto held = Hold();
            StopTune();
            started = midi && StartTune(*midi);
        }
        if (reopen) driver = new_fluid_audio_driver(settings, synth);
        return started;
    }

    // The audio device asks for its next buffer.
    static int Fill(void* data, int len, int, float*[], int nout, float* out[]) {
        auto* m = static_cast<Impl*>(data);
        for (int i = 0; i < nout; ++i) std::fill_n(out[i], len, 0.0f);
        if (nout < 2) return FLUID_OK;
        // No allocation on the audio thread: a fixed table of effect outputs.
        constexpr int kMaxPairs = 8;
        float* effects[2 * kMaxPairs];
        const int pairs = std::min(m->effectPairs, kMaxPairs);
        for (int i = 0; i < pairs; ++i) {
            effects[2 * i] = out[0];
            effects[2 * i + 1] = out[1];
        }
        if (m->waiting > 0) return FLUID_OK;
        std::lock_guard<std::mutex> hold(m->lock);
        return fluid_synth_process(m->synth, len, 2 * pairs, effects, 2, out);
    }
};

Synthesizer::~Synthesizer() = default;

std::unique_ptr<Synthesizer> Synthesizer::Load(const fs::path& soundFont) {
    SilenceSoundLibraries();
    if (!FileExists(soundFont) || !fluid_is_soundfont(soundFont.c_str())) return nullptr;
    std::unique_ptr<Synthesizer> s(new Synthesizer);
    s->impl_ = std::make_unique<Impl>();
    Impl& m = *s->impl_;
    m.settings = new_fluid_settings();
    if (!m.settings) return nullptr;
    fluid_settings_setnum(m.settings, "synth.gain", 0.5);
    m.synth = new_fluid_synth(m.settings);
    if (!m.synth || fluid_synth_sfload(m.synth, soundFont.c_str(), 1) == FLUID_FAILED) return nullptr;
    m.effectPairs = fluid_synth_count_effects_channels(m.synth) * fluid_synth_count_effects_groups(m.synth);
    return s;
}

bool Synthesizer::OpenDevice(const std::vector<std::string>& drivers) {
    Impl& m = *impl_;
    if (m.driver) return true;
    for (const std::string& name : drivers) {
        fluid_settings_setstr(m.settings, "audio.driver", name.c_str());
        m.driver = new_fluid_audio_driver2(m.settings, &Impl::Fill, &m);
        if (m.driver) return true;
        m.driver = new_fluid_audio_driver(m.settings, m.synth);
        m.direct = m.driver != nullptr;
        if (m.driver) return true;
    }
    return false;
}

bool Synthesizer::Play(const fs::path& midi) {
    if (!FileExists(midi) || !fluid_is_midifile(midi.c_str())) {
        Stop();
        return false;
    }
    return impl_->Change(&midi);
}

void Synthesizer::Stop() { impl_->Change(nullptr); }

std::vector<std::int16_t> Synthesizer::Render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(std::max(0, frames)) * 2);
    auto held = impl_->Hold();
    if (frames > 0 && !impl_->driver) {
        fluid_synth_write_s16(impl_->synth, frames, out.data(), 0, 2, out.data(), 1, 2);
    }
    return out;
}

int Synthesizer::SampleRate() const {
    double rate = 44100;
    fluid_settings_getnum(impl_->settings, "synth.sample-rate", &rate);
    return static_cast<int>(rate);
}

bool Synthesizer::Finished() const {
    auto held = impl_->Hold();
    return !impl_->player || fluid_player_get_status(impl_->player) == FLUID_PLAYER_DONE;
}

namespace modMusicEngine {
namespace {

// The run's instruments and audio device, made at the first tune and kept; made anew only
// when the configuration changes. No soundfont or no device leaves none, and silence.
struct Instruments {
    std::unique_ptr<Synthesizer> synth;
    bool made = false;
    MusicSetup madeFor;
    bool open = false;  // a tune was started and not closed
};

Instruments& Engine() {
    static Instruments engine;
    return engine;
}

Synthesizer* TheSynthesizer() {
    Instruments& e = Engine();
    const MusicSetup& setup = MusicConfig();
    if (e.made && e.madeFor.soundFonts == setup.soundFonts && e.madeFor.audioDrivers == setup.audioDrivers) {
        return e.synth.get();
    }
    e.synth.reset();
    e.made = true;
    e.madeFor = setup;
    if (auto soundFont = FindSoundFont()) {
        auto synth = Synthesizer::Load(*soundFont);
        if (synth && synth->OpenDevice(setup.audioDrivers)) e.synth = std::move(synth);
    }
    return e.synth.get();
}

}  // namespace

void PlayMusic() {
    MidiClose();
    if (!MusicOn) return;
    // The tune file, in full: no short-name form, so a deep game folder still has music.
    const fs::path file = GamePath(MusicName);
    UI().DoEvents();
    Synthesizer* synth = TheSynthesizer();
    Engine().open = synth && synth->Play(file);
}

void MidiClose() {
    Instruments& e = Engine();
    if (e.open && e.synth) e.synth->Stop();
    e.open = false;
}

bool MidiOpen() { return Engine().open; }

void ResetMusic() {
    MidiClose();
    MusicOn = false;
    MusicName.clear();
}

void ReleaseSynthesizer() {
    MidiClose();
    Engine() = Instruments{};
}

}  // namespace modMusicEngine
}  // namespace morvath
