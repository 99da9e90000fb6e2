#pragma once
// Sends a song's messages to an output as a position moves: every message
// whose time has come, in order. A jump (a seek, or the first start) does not
// play through what it skips: the output is reset and the messages that set
// the channels up (programs, controllers, pitch bends, pressure) are sent
// again up to the new position, so the notes after it sound as they would
// had the song played up to there. No clock and no thread of its own: the
// caller says where the song stands, so the same sequencer serves live play
// and rendering into a file.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "playback/midi_output.h"
#include "playback/playback_clock.h"
#include "readback/song_midi_events.h"

namespace zmr {

class Sequencer {
public:
    explicit Sequencer(std::vector<TimedMessage> messages);

    // Resets the output and sets the channels up as they stand at `position`;
    // the messages at `position` itself are left for playUntil.
    void jumpTo(PlaybackTime position, MidiOutput& out);
    // Sends every message due at or before `position` that has not been sent.
    void playUntil(PlaybackTime position, MidiOutput& out);
    // All sound off on every channel (a pause); the channels keep their set-up.
    static void silence(MidiOutput& out);

    // When the next message is due; nothing once all are sent.
    std::optional<PlaybackTime> nextDue() const;
    bool done() const { return next_ >= messages_.size(); }

private:
    std::vector<TimedMessage> messages_;
    size_t next_ = 0;
};

}  // namespace zmr
