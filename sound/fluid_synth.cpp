#include "sound/fluid_synth.h"

#include <mutex>

#include "fileio/native_path.h"
#include "midi/midi_status.h"

namespace zmr {
namespace {

thread_local std::string lastError;

void keepError(int level, const char* message, void*) {
    if ((level == FLUID_PANIC || level == FLUID_ERR) && message) lastError = message;
}

// FluidSynth logs through process-wide functions: set once, to the same ones.
void routeFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = 0; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, keepError, nullptr);
    });
}

}  // namespace

std::string lastFluidSynthError(const std::string& otherwise) { return lastError.empty() ? otherwise : lastError; }

void clearFluidSynthError() { lastError.clear(); }

Result<std::unique_ptr<FluidSynth>> FluidSynth::create(const std::filesystem::path& soundFont, double sampleRate) {
    routeFluidSynthLog();
    clearFluidSynthError();
    const std::string name = pathText(soundFont);
    if (!fluid_is_soundfont(name.c_str()))
        return Failure{name + ": not a SoundFont (.sf2) file", FailureKind::UnreadableInput};
    std::unique_ptr<FluidSynth> fluid(new FluidSynth);
    fluid->settings_ = new_fluid_settings();
    if (!fluid->settings_) return Failure{"FluidSynth cannot start: out of memory", FailureKind::OutOfMemory};
    fluid_settings_setnum(fluid->settings_, "synth.sample-rate", sampleRate);
    fluid->synth_ = new_fluid_synth(fluid->settings_);
    if (!fluid->synth_) return Failure{"FluidSynth cannot start: " + lastFluidSynthError("no reason given")};
    if (fluid_synth_sfload(fluid->synth_, name.c_str(), 1) == FLUID_FAILED) {
        return Failure{name + ": the SoundFont cannot be loaded: " + lastFluidSynthError("no reason given"),
                       FailureKind::UnreadableInput};
    }
    return fluid;
}

FluidSynth::~FluidSynth() {
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

void FluidSynthOutput::send(std::span<const uint8_t> message) {
    if (message.size() < 2) return;
    const int channel = message[0] & 0x0F;
    const int data1 = message[1];
    const int data2 = message.size() > 2 ? message[2] : 0;
    switch (midi::statusKind(message[0])) {
        case midi::kNoteOff: fluid_synth_noteoff(synth_, channel, data1); break;
        case midi::kNoteOn: fluid_synth_noteon(synth_, channel, data1, data2); break;
        case midi::kKeyPressure: fluid_synth_key_pressure(synth_, channel, data1, data2); break;
        case midi::kControlChange: fluid_synth_cc(synth_, channel, data1, data2); break;
        case midi::kProgramChange: fluid_synth_program_change(synth_, channel, data1); break;
        case midi::kChannelPressure: fluid_synth_channel_pressure(synth_, channel, data1); break;
        case midi::kPitchBend: fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7)); break;
        default: break;
    }
}

void FluidSynthOutput::reset() { fluid_synth_system_reset(synth_); }

}  // namespace zmr
