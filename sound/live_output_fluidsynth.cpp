// The live output on Linux: FluidSynth through PulseAudio, else ALSA.

#include "sound/live_output.h"

#if ZMR_WITH_ALSA
#include <alsa/asoundlib.h>
#endif

#include <mutex>
#include <utility>

#include "fileio/native_path.h"
#include "sound/fluid_synth.h"
#include "sound/sound_font.h"

namespace zmr {
namespace {

constexpr double kSampleRate = 44100;

struct AudioDriver {
    const char* name;   // FluidSynth's
    const char* shown;  // the user's
};
constexpr AudioDriver kDrivers[] = {{"pulseaudio", "PulseAudio"}, {"alsa", "ALSA"}};

#if ZMR_WITH_ALSA
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif

// ALSA prints its failures straight to stderr, through the terminal's display;
// FluidSynth's message says the same in one line.
void keepAlsaQuiet() {
#if ZMR_WITH_ALSA
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quietAlsa); });
#endif
}

class FluidLiveOutput : public MidiOutput {
public:
    FluidLiveOutput(std::unique_ptr<FluidSynth> fluid, fluid_audio_driver_t* driver)
        : fluid_(std::move(fluid)), driver_(driver), synth_(fluid_->synth()) {}
    ~FluidLiveOutput() override { delete_fluid_audio_driver(driver_); }

    void send(std::span<const uint8_t> message) override { synth_.send(message); }
    void reset() override { synth_.reset(); }

private:
    std::unique_ptr<FluidSynth> fluid_;
    fluid_audio_driver_t* driver_;
    FluidSynthOutput synth_;
};

}  // namespace

bool liveOutputTakesSoundFont() { return true; }

Result<LiveOutput> openLiveOutput(const LiveOutputOptions& options) {
    Result<std::filesystem::path> soundFont = findSoundFont(options.soundFont);
    if (!soundFont) return soundFont.failure();
    Result<std::unique_ptr<FluidSynth>> fluid = FluidSynth::create(*soundFont, kSampleRate);
    if (!fluid) return fluid.failure();
    keepAlsaQuiet();
    std::string reasons;
    for (const AudioDriver& driver : kDrivers) {
        clearFluidSynthError();
        // A FluidSynth built without this driver keeps its default, which may be
        // another one altogether (even "file", which would write a file).
        if (fluid_settings_setstr((*fluid)->settings(), "audio.driver", driver.name) != FLUID_OK) {
            reasons += std::string(reasons.empty() ? "" : "; ") + driver.shown + ": not in this FluidSynth";
            continue;
        }
        if (fluid_audio_driver_t* opened = new_fluid_audio_driver((*fluid)->settings(), (*fluid)->synth())) {
            LiveOutput live;
            live.description = std::string("FluidSynth through ") + driver.shown;
            live.details = "SoundFont " + pathText(*soundFont);
            live.output = std::make_unique<FluidLiveOutput>(std::move(fluid).value(), opened);
            return live;
        }
        reasons += std::string(reasons.empty() ? "" : "; ") + driver.shown + ": " +
                   lastFluidSynthError("cannot be opened");
    }
    return LiveOutput{nullptr, "no audio device", reasons};
}

}  // namespace zmr
