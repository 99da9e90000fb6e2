#pragma once
// One song of an image as it is previewed: its lyrics in time and the
// messages that sound it, both read from the song's records as the player
// reads them, not from the file it was compiled from.

#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"
#include "playback/lyric_timeline.h"
#include "playback/playback_clock.h"
#include "readback/image_index.h"
#include "readback/song_midi_events.h"
#include "readback/song_streams.h"

namespace zmr {

struct PreviewSong {
    int32_t number = 0;
    LyricTimeline lyrics;
    SongMidiEvents music;
    PlaybackTime musicEnd{0};  // when the last note ends
    // Until the music and the lyrics have both ended: where the player's
    // one-byte gaps lost time, the music runs ahead and may end first.
    PlaybackTime length{0};
    size_t eventRecords = 0;
};

// Song `song` of `image`, located there by readImageIndex.
Result<PreviewSong> loadPreviewSong(std::span<const uint8_t> image, const SongLocation& song);

// Song `number` from its decoded streams, which the web page reads in one
// worker and previews in another place.
PreviewSong previewSongFromStreams(int32_t number, const SongStreams& streams);

}  // namespace zmr
