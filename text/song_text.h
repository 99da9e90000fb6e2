#pragma once
// A song's text as the conversion options read it: the title and the lyric
// events in VIQR/VNI, UTF-8 or Windows-1258, and, for Soft Karaoke files,
// lyrics taken from text events. Sits between the merge and the text stream.

#include <cstdint>
#include <string_view>
#include <vector>

#include "midi/merge_consumer.h"
#include "text/name_buffer.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"
#include "text/timed_text.h"

namespace zmr {

struct TextReading {
    TextEncoding encoding = TextEncoding::ViqrVni;
    // A song whose merge meets no lyric event takes its lyrics from the text
    // events of one track (Soft Karaoke).
    bool karText = false;
};

// Where a song's lyrics come from.
enum class LyricSource { LyricEvents, TextEvents, None };

class SongText : public MergeConsumer {
public:
    // With the default reading every call passes straight to `stream`, as the
    // player's own reading does.
    SongText(TextStream& stream, TextReading reading) : stream_(stream), reading_(reading) {}

    // Starts the stream with the song title, read by the name rules of the encoding.
    void begin(std::string_view path, NameBuffer& name);
    void channelMessage(uint8_t, uint8_t, uint8_t, int32_t, float) override {}
    void lyric(std::span<const uint8_t> bytes, int64_t timeUnits) override;
    void textEvent(uint32_t track, std::span<const uint8_t> bytes, int64_t timeUnits) override;
    // Hands on what was held back and ends the stream; returns its length.
    uint32_t end();

private:
    void feed(std::span<const TimedText> lyrics);

    TextStream& stream_;
    TextReading reading_;
    uint32_t lyricEvents_ = 0;
    std::vector<TimedText> heldLyrics_;   // under auto, until the song's encoding is known
    std::vector<TrackText> textEvents_;   // with karText
};

// The auto rule: every event valid UTF-8 and at least one with a multi-byte sequence.
bool lyricsAreUtf8(std::span<const TimedText> lyrics);

}  // namespace zmr
