#include "midi/track_merger.h"

#include <cstdio>

namespace zmr::track_merge {

Failure unknownCommandFailure(const char* format, uint8_t byte) {
    char text[40];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(byte));
    return Failure{text, FailureKind::BadSong};
}

void skipCounted(TrackState& track) {
    if (const std::optional<uint32_t> count = readVarLen(track.bytes, track.cursor)) track.skip(*count);
}

std::optional<std::span<const uint8_t>> readCounted(TrackState& track) {
    const std::optional<uint32_t> count = readVarLen(track.bytes, track.cursor);
    if (!count) return std::nullopt;
    if (!track.holds(*count)) {
        track.finish();
        return std::nullopt;
    }
    const std::span<const uint8_t> bytes = track.bytes.subspan(track.cursor, *count);
    track.cursor += *count;
    return bytes;
}

void readTempo(TrackState& track, MergeClock& clock) {
    if (!track.holds(4)) {
        track.finish();
        return;
    }
    const uint8_t* bytes = track.bytes.data() + track.cursor + 1;
    const uint32_t tempo = (uint32_t{bytes[0]} << 16) | (uint32_t{bytes[1]} << 8) | uint32_t{bytes[2]};
    track.cursor += 4;
    clock.tickFactor = tempoTickFactor(tempo, clock.division);
}

}  // namespace zmr::track_merge

namespace zmr {

// The merge through the consumer interface, compiled once here for every
// caller that hands one on.
template Status mergeTracks<MergeConsumer>(const SongFile&, MergeConsumer&, MidiReading);

}  // namespace zmr
