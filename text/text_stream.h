#pragma once
// The player's text of one song: a fixed header carrying the song title, then
// every lyric character as a 4-byte record stamped with its time.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "midi/merge_consumer.h"
#include "text/name_buffer.h"
#include "text/text_decoder.h"
#include "text/transcoder.h"

namespace zmr {

inline constexpr size_t kTextRecordSize = 4;

// The song title within a path: after the last '/' or '\', less the last four
// bytes (the extension with its dot); empty when the name is shorter.
std::string_view songTitle(std::string_view path);

class TextStream : public MergeConsumer {
public:
    explicit TextStream(const CompositionTable& table = CompositionTable::standard()) : transcoder_(table) {}

    // Appends one record: code, line-feed flag (10 for code 13), time low byte first.
    void putTextRecord(uint8_t code, uint32_t time);
    // Writes the text header with the song title and puts the title and a tab into `name`.
    // A title in a decoded encoding (isDecoded) is read so and spelled in VIQR.
    void beginTextStream(std::string_view path, NameBuffer& name,
                         TextEncoding titleEncoding = TextEncoding::ViqrVni);
    // One lyric meta event; its time counts only when it has fewer than 16 bytes.
    // In a decoded encoding the event is read so on its own and spelled in
    // VIQR, where only the marks the spelling adds compose. The name buffer
    // takes the event's own bytes either way.
    void addLyric(std::span<const uint8_t> bytes, int64_t timeUnits,
                  TextEncoding encoding = TextEncoding::ViqrVni);
    // Flushes the transcoder, appends the two closing records and returns the stream's length.
    uint32_t endTextStream();

    std::span<const uint8_t> bytes() const { return buffer_; }
    // Characters of decoded text that the player has no code for, written as '?'.
    int32_t uncodedCharacters() const { return uncoded_; }

    void channelMessage(uint8_t, uint8_t, uint8_t, int32_t, float) override {}
    void lyric(std::span<const uint8_t> bytes, int64_t timeUnits) override { addLyric(bytes, timeUnits); }

private:
    void transcode(uint8_t byte, uint32_t time);
    void flush(uint32_t time);
    void transcodeDecoded(std::span<const uint8_t> bytes, TextEncoding encoding, uint32_t time);

    Transcoder transcoder_;
    std::vector<uint8_t> buffer_;
    NameBuffer* name_ = nullptr;
    bool reset_ = false;
    int32_t lyricTime_ = 0;
    int32_t uncoded_ = 0;
};

}  // namespace zmr
