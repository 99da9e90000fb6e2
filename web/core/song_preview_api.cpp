// A song as the page previews it: its lyrics in time and the messages that
// sound it, read from its decoded streams as `zmrimage play` reads them. The
// page's clock says where the song stands; the sequencer answers with the
// messages due, which the page hands to its synthesizer.

#include <emscripten/bind.h>

#include <cstdint>
#include <string>
#include <vector>

#include "playback/midi_output.h"
#include "playback/playback_time.h"
#include "playback/preview_song.h"
#include "playback/sequencer.h"
#include "web/core/js_values.h"

namespace zmr::web {
namespace {

using emscripten::val;

// The messages a step sends, four bytes each: the message's length and its
// bytes; a length of 0 is a reset of the synthesizer.
class CollectedMessages : public MidiOutput {
public:
    void send(std::span<const uint8_t> message) override {
        bytes_.push_back(static_cast<uint8_t>(message.size()));
        for (size_t i = 0; i < 3; ++i) bytes_.push_back(i < message.size() ? message[i] : 0);
    }
    void reset() override { bytes_.insert(bytes_.end(), {0, 0, 0, 0}); }
    val take() const { return bytesToJs(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

PlaybackTime atMs(double ms) { return PlaybackTime(ms > 0 ? static_cast<int64_t>(ms) : 0); }

class SongPreview {
public:
    SongPreview(int number, const val& text, const val& events)
        : song_(previewSongFromStreams(number, SongStreams{bytesFromJs(text), bytesFromJs(events)})),
          sequencer_(song_.music.messages) {}

    std::string title() const { return song_.lyrics.title(); }
    double lengthMs() const { return static_cast<double>(song_.length.count()); }
    double notes() const {
        size_t count = 0;
        for (const TimedMessage& m : song_.music.messages) count += m.isNoteOn() ? 1 : 0;
        return static_cast<double>(count);
    }

    // Each line's characters, for the page to lay out once.
    val lines() const {
        val lines = val::array();
        for (const TimedLine& line : song_.lyrics.lines()) {
            val characters = val::array();
            for (const TimedCharacter& c : line.characters) characters.call<void>("push", c.text);
            lines.call<void>("push", characters);
        }
        return lines;
    }

    // What shows at `ms`: {line, sung, next}, -1 for no line.
    val at(double ms) const {
        const LyricView view = song_.lyrics.at(atMs(ms));
        val result = val::object();
        result.set("line", view.line ? static_cast<double>(*view.line) : -1.0);
        result.set("sung", static_cast<double>(view.sung));
        result.set("next", view.next ? static_cast<double>(*view.next) : -1.0);
        return result;
    }

    // The messages that set the synthesizer up to play on from `ms`.
    val jumpTo(double ms) {
        CollectedMessages out;
        sequencer_.jumpTo(atMs(ms), out);
        return out.take();
    }

    // The messages due at or before `ms` not sent yet.
    val playUntil(double ms) {
        CollectedMessages out;
        sequencer_.playUntil(atMs(ms), out);
        return out.take();
    }

    // All sound off on every channel, for a pause.
    val silence() const {
        CollectedMessages out;
        Sequencer::silence(out);
        return out.take();
    }

private:
    PreviewSong song_;
    Sequencer sequencer_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(song_preview) {
    emscripten::class_<SongPreview>("SongPreview")
        .constructor<int, const val&, const val&>()
        .function("title", &SongPreview::title)
        .function("lengthMs", &SongPreview::lengthMs)
        .function("notes", &SongPreview::notes)
        .function("lines", &SongPreview::lines)
        .function("at", &SongPreview::at)
        .function("jumpTo", &SongPreview::jumpTo)
        .function("playUntil", &SongPreview::playUntil)
        .function("silence", &SongPreview::silence);
}

}  // namespace zmr::web
