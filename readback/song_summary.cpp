#include "readback/song_summary.h"

#include "readback/event_records.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"
#include "text/code_page_inverse.h"

namespace zmr {

Result<SongSummary> readSongSummary(std::span<const uint8_t> image, const SongLocation& song) {
    Result<SongStreams> streams = readSongStreams(image, song);
    if (!streams) return streams.failure();
    const TextStreamParts text = readTextStream(streams->text);
    const EventStreamParts events = readEventStream(streams->events);
    return SongSummary{events.notes, lyricCharacterCount(text.lyrics()), events.lastTime, codesToUtf8(text.titleCodes)};
}

}  // namespace zmr
