#pragma once
// Plays a song on a thread of its own: it follows the transport, sending each
// message to the output when the transport's position reaches it, jumping
// when the transport was moved, and silencing the output on a pause. The
// thread that shows the lyrics only moves the transport.

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "playback/midi_output.h"
#include "playback/sequencer.h"
#include "playback/transport.h"

namespace zmr {

class LivePlayback {
public:
    // `transport` and `output` must outlive this object.
    LivePlayback(Transport& transport, std::vector<TimedMessage> messages, MidiOutput& output);
    // Stops the thread and silences the output.
    ~LivePlayback();
    LivePlayback(const LivePlayback&) = delete;
    LivePlayback& operator=(const LivePlayback&) = delete;

private:
    void run();

    Transport& transport_;
    Sequencer sequencer_;
    MidiOutput& output_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace zmr
