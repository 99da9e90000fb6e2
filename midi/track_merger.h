#pragma once
// Walks all tracks of a song in time order and hands each event on.
//
// A template over the consumer, so that the event stream's calls are direct
// and inlined on the path every event takes; any MergeConsumer works too,
// through its virtual functions.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "base/result.h"
#include "codec/var_len.h"
#include "midi/merge_consumer.h"
#include "midi/midi_reading.h"
#include "midi/midi_status.h"
#include "midi/song_file.h"
#include "midi/time_units.h"

namespace zmr {

namespace track_merge {

// Reading position and time of one track. Every read checks the bytes that
// remain first, so a track that ends in mid-event is simply finished and
// nothing is read outside it; the cursor never wraps.
struct TrackState {
    std::span<const uint8_t> bytes;
    uint32_t number = 0;        // in the song, from 0
    uint32_t cursor = 0;
    int32_t time = 0;           // absolute tick of the next event
    uint8_t runningStatus = 0;  // 0 until the track's first channel status

    uint32_t length() const { return static_cast<uint32_t>(bytes.size()); }
    bool active() const { return cursor < length(); }
    bool holds(uint32_t count) const { return count <= length() - cursor; }
    void finish() { cursor = length(); }
    uint8_t next() { return bytes[cursor++]; }

    // A skip past the end finishes the track.
    void skip(uint32_t count) {
        if (holds(count)) cursor += count;
        else finish();
    }

    // Track times are 32-bit and wrap, as in the player; adding in unsigned
    // arithmetic keeps the wrap well defined.
    void addDelta(uint32_t delta) { time = static_cast<int32_t>(static_cast<uint32_t>(time) + delta); }

    // Reads the delta time before the next event, if the track goes on.
    void readDelta() {
        if (!active()) return;
        if (const std::optional<uint32_t> delta = readVarLen(bytes, cursor)) addDelta(*delta);
    }
};

// What the merge knows beside the tracks: the factor in force, and the event
// that ended the merge, kept as its format and byte until the message is made
// at the end.
struct MergeClock {
    uint16_t division;
    float tickFactor;
    MidiReading reading;
    const char* unknownFormat = nullptr;
    uint8_t unknownByte = 0;

    bool unknownCommand(const char* format, uint8_t byte) {
        unknownFormat = format;
        unknownByte = byte;
        return false;
    }
};

Failure unknownCommandFailure(const char* format, uint8_t byte);

// Reads a length and skips that many bytes (system exclusive, text meta events).
void skipCounted(TrackState& track);

// The bytes of a counted meta event; nothing when the track does not hold them
// all, which finishes it. The cursor moves past them.
std::optional<std::span<const uint8_t>> readCounted(TrackState& track);

// The length byte is passed over unread; three tempo bytes follow it whatever it says.
void readTempo(TrackState& track, MergeClock& clock);

// Data bytes that follow a status, by its high nibble; 0 for a status the player does not know.
inline uint32_t dataByteCount(uint8_t status) {
    if (status < midi::kNoteOff || status >= midi::kSysEx) return 0;
    return midi::hasOneDataByte(status) ? 1 : 2;
}

template <class Consumer>
bool readMeta(TrackState& track, MergeClock& clock, Consumer& consumer) {
    if (!track.active()) return true;
    const uint8_t type = track.next();
    switch (type) {
        case 0x00: track.skip(3); break;  // sequence number: length byte and two bytes
        case midi::kMetaText:
            if (const auto bytes = readCounted(track)) {
                consumer.textEvent(track.number, *bytes, ticksToTimeUnits(track.time, clock.tickFactor));
            }
            break;
        case 0x02: case 0x03: case 0x04: case 0x06: case 0x07: case 0x7F:
            skipCounted(track);
            break;
        case midi::kMetaLyric:  // a lyric is handed on only when the track holds all of its bytes
            if (const auto bytes = readCounted(track)) {
                consumer.lyric(*bytes, ticksToTimeUnits(track.time, clock.tickFactor));
            }
            break;
        case 0x20: case 0x21: track.skip(2); break;  // channel prefix, port
        case midi::kMetaEndOfTrack: track.skip(1); break;  // end of track does not end the track
        case midi::kMetaTempo: readTempo(track, clock); break;
        case 0x54: track.skip(6); break;
        case 0x58: track.skip(5); break;
        case 0x59: track.skip(3); break;
        default:
            if (clock.reading == MidiReading::Lenient) {
                skipCounted(track);
                break;
            }
            return clock.unknownCommand("Unknown command 0xFF 0x%02X\n", type);
    }
    return true;
}

template <class Consumer>
bool readChannelMessage(TrackState& track, uint8_t status, MergeClock& clock, Consumer& consumer) {
    const uint32_t count = dataByteCount(status);
    if (count == 0) return clock.unknownCommand("Unknown command 0x%02X\n", status);
    if (!track.holds(count)) {
        track.finish();
        return true;
    }
    const uint8_t data1 = track.next();
    const uint8_t data2 = count == 2 ? track.next() : 0;
    consumer.channelMessage(status, data1, data2, track.time, clock.tickFactor);
    return true;
}

template <class Consumer>
bool readEvent(TrackState& track, MergeClock& clock, Consumer& consumer) {
    const uint8_t first = track.next();
    if (first < midi::kNoteOff) {
        // A data byte: read again as the first data byte under the running status.
        --track.cursor;
        return readChannelMessage(track, track.runningStatus, clock, consumer);
    }
    if (first < midi::kSysEx) {
        track.runningStatus = first;
        return readChannelMessage(track, first, clock, consumer);
    }
    if (first == midi::kSysEx || first == midi::kSysExContinued) {
        skipCounted(track);
        return true;
    }
    if (first == midi::kMeta) return readMeta(track, clock, consumer);
    return readChannelMessage(track, first, clock, consumer);  // system status: running status kept
}

// Which track goes next: the earliest active one, the lowest-numbered on ties.
// Each track's turn is one number, its time above its index, so no two are
// equal and the earliest names its track. The turns sit at the leaves of a
// tree whose every node holds the earliest turn below it: after an event only
// the path from its track's leaf to the root is compared again, a few steps
// however many tracks the song has.
class TrackOrder {
public:
    explicit TrackOrder(size_t tracks) : leaves_(std::bit_ceil(std::max<size_t>(tracks, 1))), nodes_(2 * leaves_, kFinished) {}

    void update(size_t index, const TrackState& track) {
        size_t node = leaves_ + index;
        int64_t earliest = track.active() ? static_cast<int64_t>(track.time) * kIndexRange + static_cast<int64_t>(index)
                                          : kFinished;
        nodes_[node] = earliest;
        // The minimum so far stays in a register: only the siblings are loaded.
        for (; node > 1; node /= 2) {
            earliest = std::min(earliest, nodes_[node ^ 1]);
            nodes_[node / 2] = earliest;
        }
    }

    // The next track's index, or nothing when every track is finished.
    std::optional<size_t> next() const {
        const int64_t earliest = nodes_[1];
        if (earliest == kFinished) return std::nullopt;
        return static_cast<size_t>(earliest & (kIndexRange - 1));
    }

private:
    static constexpr int64_t kIndexRange = int64_t{1} << 16;  // a header counts at most 65,535 tracks
    static constexpr int64_t kFinished = std::numeric_limits<int64_t>::max();
    size_t leaves_;
    std::vector<int64_t> nodes_;  // node n's children are 2n and 2n + 1; the leaves start at leaves_
};

}  // namespace track_merge

// Repeatedly takes the track whose next event is earliest (the lowest-numbered
// one on ties), follows tempo changes and hands channel messages and lyrics to
// `consumer`. Fails with "Unknown command 0xFF 0x%02X\n" for an unknown meta
// type and "Unknown command 0x%02X\n" for an unknown status. A lenient reading
// skips a meta event of an unknown type by its variable-length size instead.
template <class Consumer>
Status mergeTracks(const SongFile& song, Consumer& consumer, MidiReading reading = MidiReading::Strict) {
    using namespace track_merge;
    MergeClock clock{song.division, initialTickFactor(song.division), reading};

    // Tracks the header claims beyond the chunks present are empty and never
    // selected, so only the chunks present get a state.
    std::vector<TrackState> tracks(song.tracks.size());
    TrackOrder order(tracks.size());
    for (size_t i = 0; i < tracks.size(); ++i) {
        tracks[i].bytes = song.trackBytes(i);
        tracks[i].number = static_cast<uint32_t>(i);
        tracks[i].readDelta();
        order.update(i, tracks[i]);
    }

    while (const std::optional<size_t> next = order.next()) {
        TrackState& track = tracks[*next];
        if (!readEvent(track, clock, consumer)) return unknownCommandFailure(clock.unknownFormat, clock.unknownByte);
        track.readDelta();
        order.update(*next, track);
    }
    return success();
}

// Compiled once, in track_merger.cpp, for every caller that hands on to the interface.
extern template Status mergeTracks<MergeConsumer>(const SongFile&, MergeConsumer&, MidiReading);

}  // namespace zmr
