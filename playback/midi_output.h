#pragma once
// Where a song's channel messages go to be heard: a software synthesizer, the
// system's MIDI synthesizer, or a test that records them. Called from the one
// thread that plays the song.

#include <cstdint>
#include <span>

namespace zmr {

class MidiOutput {
public:
    virtual ~MidiOutput() = default;
    // One channel message: the status byte and its one or two data bytes.
    virtual void send(std::span<const uint8_t> message) = 0;
    // Back to how the synthesizer starts: no sound, every controller and
    // pitch bend at rest, program 0 of bank 0 on every channel.
    virtual void reset() = 0;
};

}  // namespace zmr
