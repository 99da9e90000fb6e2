#pragma once
// Walks all tracks of a song in time order and hands each event on.

#include "base/result.h"
#include "midi/merge_consumer.h"
#include "midi/midi_reading.h"
#include "midi/song_file.h"

namespace zmr {

// Repeatedly takes the track whose next event is earliest (the lowest-numbered
// one on ties), follows tempo changes and hands channel messages and lyrics to
// `consumer`. Fails with "Unknown command 0xFF 0x%02X\n" for an unknown meta
// type and "Unknown command 0x%02X\n" for an unknown status. A lenient reading
// skips a meta event of an unknown type by its variable-length size instead.
Status mergeTracks(const SongFile& song, MergeConsumer& consumer, MidiReading reading = MidiReading::Strict);

}  // namespace zmr
