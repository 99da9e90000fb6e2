#pragma once
// FluidSynth set up to play a song: its settings, the synthesizer and the
// SoundFont loaded into it, and the synthesizer as a MidiOutput. Shared by
// the live output and the renderer. FluidSynth's own log lines are kept from
// the terminal; the last error it reported completes our messages instead.

#include <fluidsynth.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/result.h"
#include "playback/midi_output.h"

namespace zmr {

class FluidSynth {
public:
    ~FluidSynth();
    FluidSynth(const FluidSynth&) = delete;
    FluidSynth& operator=(const FluidSynth&) = delete;

    // A synthesizer at `sampleRate` with `soundFont` loaded; fails when the
    // file is not a SoundFont or cannot be loaded.
    static Result<std::unique_ptr<FluidSynth>> create(const std::filesystem::path& soundFont, double sampleRate);

    fluid_settings_t* settings() const { return settings_; }
    fluid_synth_t* synth() const { return synth_; }

private:
    FluidSynth() = default;

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
};

// The last error FluidSynth reported on this thread, or `otherwise`.
std::string lastFluidSynthError(const std::string& otherwise);
void clearFluidSynthError();

class FluidSynthOutput : public MidiOutput {
public:
    explicit FluidSynthOutput(fluid_synth_t* synth) : synth_(synth) {}
    void send(std::span<const uint8_t> message) override;
    void reset() override;

private:
    fluid_synth_t* synth_;
};

}  // namespace zmr
