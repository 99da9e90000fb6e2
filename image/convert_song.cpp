#include "image/convert_song.h"

#include "midi/track_merger.h"
#include "text/song_text.h"

namespace zmr {
namespace {

// The merge walks the song once and both streams listen. Not a MergeConsumer:
// the merge is compiled for this class, and its calls on every event are direct.
class StreamFanOut {
public:
    StreamFanOut(EventStream& events, SongText& text) : events_(events), text_(text) {}
    void channelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) {
        events_.addChannelMessage(status, data1, data2, tick, tickFactor);
    }
    void lyric(std::span<const uint8_t> bytes, int64_t timeUnits) { text_.lyric(bytes, timeUnits); }
    void textEvent(uint32_t track, std::span<const uint8_t> bytes, int64_t timeUnits) {
        text_.textEvent(track, bytes, timeUnits);
    }

private:
    EventStream& events_;
    SongText& text_;
};

}  // namespace

Result<SongRecord> convertSong(std::string_view path, std::span<const uint8_t> fileBytes, ConversionBuffers& buffers,
                               const ConvertOptions& options) {
    Result<SongFile> song = loadSongFile(fileBytes, options.midiReading());
    if (!song) return song.failure();

    NameBuffer name;
    TextStream& text = buffers.text;
    SongText songText(text, options.textReading());
    songText.begin(path, name);
    EventStream& events = buffers.events;
    events.startEventStream(song->totalTrackBytes);

    StreamFanOut streams(events, songText);
    if (Status merged = mergeTracks(*song, streams, options.midiReading()); !merged) return merged.failure();

    const uint32_t textLength = songText.end();
    events.finishEventStream();

    // Text first, then events, both before anything of the song leaves this function.
    compressSongRecord(text.bytes().first(textLength), events.bytes(), buffers.record);
    return SongRecord{std::move(buffers.record), name.text(), text.uncodedCharacters()};
}

Result<SongRecord> convertSong(std::string_view path, std::span<const uint8_t> fileBytes, const ConvertOptions& options) {
    ConversionBuffers buffers;
    return convertSong(path, fileBytes, buffers, options);
}

}  // namespace zmr
