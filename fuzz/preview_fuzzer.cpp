// An image file's bytes taken the way play, render and the preview window
// take a song: each located song loaded for previewing, its lyrics placed in
// time and written as LRC and ASS, and its messages sent through the
// sequencer, with seeks, into an output that checks them instead of sounding.
// Beyond not crashing: every message sent is a whole channel message, the
// sequencer sends the song's messages in time order and ends done, a seek
// sends no note, and the view of the lyrics lies inside them.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_check.h"
#include "playback/ass_file.h"
#include "playback/lrc_file.h"
#include "playback/lyric_timeline.h"
#include "playback/midi_output.h"
#include "playback/playback_time.h"
#include "playback/preview_song.h"
#include "playback/sequencer.h"
#include "readback/image_index.h"

namespace {

using zmr::fuzz::check;

// The image fuzzer covers the scan over many songs; here each song costs a
// whole run through the sequencer.
constexpr size_t kSongsPreviewed = 8;

class CheckingOutput final : public zmr::MidiOutput {
public:
    void send(std::span<const uint8_t> message) override {
        check(message.size() == 2 || message.size() == 3, "a message is two or three bytes");
        check((message[0] & 0x80) != 0 && message[0] < 0xF0, "a message starts with a channel status");
        for (size_t i = 1; i < message.size(); ++i) check(message[i] < 0x80, "a message's data bytes are 7-bit");
        ++sent;
        const uint8_t kind = message[0] & 0xF0;
        if (kind == 0x90 || kind == 0x80) ++notes;
    }
    void reset() override { ++resets; }

    size_t sent = 0;
    size_t notes = 0;
    size_t resets = 0;
};

void playThrough(const zmr::PreviewSong& song) {
    zmr::Sequencer sequencer(song.music.messages);
    CheckingOutput out;

    // A seek halfway sends the set-up only, never a note.
    sequencer.jumpTo(zmr::PlaybackTime(song.length.count() / 2), out);
    check(out.resets == 1 && out.notes == 0, "a seek resets the output and sounds no note");

    sequencer.jumpTo(zmr::PlaybackTime(0), out);
    out.sent = 0;
    zmr::PlaybackTime last(0);
    // Step from one due message to the next, as the playing thread does.
    while (auto due = sequencer.nextDue()) {
        check(*due >= last, "messages come due in time order");
        check(*due <= song.length, "no message is due after the song's end");
        last = *due;
        sequencer.playUntil(*due, out);
    }
    check(sequencer.done(), "the sequencer ends done");
    check(out.sent == song.music.messages.size(), "every message is sent once");
    zmr::Sequencer::silence(out);
}

void viewLyrics(const zmr::LyricTimeline& lyrics) {
    for (const zmr::TimedLine& line : lyrics.lines()) {
        const zmr::LyricView view = lyrics.at(zmr::unitsToTime(line.units));
        check(view.line && *view.line < lyrics.lines().size(), "the view's line lies inside the lyrics");
        check(view.sung <= lyrics.lines()[*view.line].characters.size(), "the sung part lies inside its line");
        check(!view.next || *view.next < lyrics.lines().size(), "the next line lies inside the lyrics");
        (void)zmr::characterGroups(line);
    }
    (void)lyrics.at(zmr::PlaybackTime(0));
    (void)zmr::lrcFile(lyrics);
    (void)zmr::assFile(lyrics);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> image(data, size);
    const zmr::ImageIndex scan = zmr::readImageIndex(image);
    for (size_t i = 0; i < scan.songs.size() && i < kSongsPreviewed; ++i) {
        auto song = zmr::loadPreviewSong(image, scan.songs[i]);
        if (!song) continue;
        check(song->musicEnd <= song->length, "the song lasts at least as long as its music");
        viewLyrics(song->lyrics);
        playThrough(*song);
    }
    return 0;
}
