#pragma once
// The output that plays a song as it is previewed: FluidSynth with a
// SoundFont through the machine's sound server or card (PulseAudio, else
// ALSA) on Linux, the system's MIDI synthesizer (midiOut) on Windows. Where
// no device can be opened there is no output, and the preview runs silent:
// the lyrics still move in time.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "base/result.h"
#include "playback/midi_output.h"

namespace zmr {

struct LiveOutputOptions {
    std::optional<std::filesystem::path> soundFont;  // FluidSynth only; the default otherwise
};

struct LiveOutput {
    std::unique_ptr<MidiOutput> output;  // nothing: no device, the preview runs silent
    std::string description;             // what plays ("FluidSynth through PulseAudio"), or "no audio device"
    std::string details;                 // the SoundFont played, or the devices' own reasons
};

// Whether the output plays a SoundFont (FluidSynth); the system's MIDI
// synthesizer has its own sounds.
bool liveOutputTakesSoundFont();

// Fails only for a SoundFont that is missing or cannot be read; a missing
// device gives a LiveOutput without output.
Result<LiveOutput> openLiveOutput(const LiveOutputOptions& options);

}  // namespace zmr
