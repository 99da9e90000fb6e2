#include "playback/preview_song.h"

#include <algorithm>

#include "playback/playback_time.h"
#include "readback/event_records.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"

namespace zmr {

Result<PreviewSong> loadPreviewSong(std::span<const uint8_t> image, const SongLocation& song) {
    Result<SongStreams> streams = readSongStreams(image, song);
    if (!streams) return streams.failure();
    return previewSongFromStreams(song.number, *streams);
}

PreviewSong previewSongFromStreams(int32_t number, const SongStreams& streams) {
    const EventStreamParts events = readEventStream(streams.events);
    PreviewSong out;
    out.number = number;
    out.lyrics = LyricTimeline(readTextStream(streams.text));
    out.music = songMidiEvents(events.records);
    out.eventRecords = events.records.size();
    out.musicEnd = unitsToTime(out.music.endTime());
    out.length = std::max(out.musicEnd, unitsToTime(out.lyrics.lastUnits()));
    return out;
}

}  // namespace zmr
