#include "midi/track_merger.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

#include "codec/var_len.h"
#include "midi/time_units.h"

namespace zmr {

namespace {

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

struct MergeState {
    MergeConsumer& consumer;
    uint16_t division;
    float tickFactor;
    MidiReading reading;
    // The event that ended the merge: its format and byte, set once.
    const char* unknownFormat = nullptr;
    uint8_t unknownByte = 0;

    // Events report success as a plain bool; the message is made only once, at the end.
    bool unknownCommand(const char* format, uint8_t byte) {
        unknownFormat = format;
        unknownByte = byte;
        return false;
    }
};

Failure unknownCommand(const char* format, uint8_t byte) {
    char text[40];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(byte));
    return Failure{text, FailureKind::BadSong};
}

// Reads a length and skips that many bytes (system exclusive, text meta events).
void skipCounted(TrackState& track) {
    if (const std::optional<uint32_t> count = readVarLen(track.bytes, track.cursor)) track.skip(*count);
}

// The bytes of a counted meta event; nothing when the track does not hold them
// all, which finishes it. The cursor moves past them.
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

// A lyric is handed on only when the track holds all of its bytes.
void readLyric(TrackState& track, MergeState& merge) {
    if (const auto bytes = readCounted(track)) {
        merge.consumer.lyric(*bytes, ticksToTimeUnits(track.time, merge.tickFactor));
    }
}

void readText(TrackState& track, MergeState& merge) {
    if (const auto bytes = readCounted(track)) {
        merge.consumer.textEvent(track.number, *bytes, ticksToTimeUnits(track.time, merge.tickFactor));
    }
}

// The length byte is passed over unread; three tempo bytes follow it whatever it says.
void readTempo(TrackState& track, MergeState& merge) {
    if (!track.holds(4)) {
        track.finish();
        return;
    }
    const uint8_t* bytes = track.bytes.data() + track.cursor + 1;
    const uint32_t tempo = (uint32_t{bytes[0]} << 16) | (uint32_t{bytes[1]} << 8) | uint32_t{bytes[2]};
    track.cursor += 4;
    merge.tickFactor = tempoTickFactor(tempo, merge.division);
}

bool readMeta(TrackState& track, MergeState& merge) {
    if (!track.active()) return true;
    const uint8_t type = track.next();
    switch (type) {
        case 0x00: track.skip(3); break;  // sequence number: length byte and two bytes
        case 0x01: readText(track, merge); break;
        case 0x02: case 0x03: case 0x04: case 0x06: case 0x07: case 0x7F:
            skipCounted(track);
            break;
        case 0x05: readLyric(track, merge); break;
        case 0x20: case 0x21: track.skip(2); break;  // channel prefix, port
        case 0x2F: track.skip(1); break;              // end of track does not end the track
        case 0x51: readTempo(track, merge); break;
        case 0x54: track.skip(6); break;
        case 0x58: track.skip(5); break;
        case 0x59: track.skip(3); break;
        default:
            if (merge.reading == MidiReading::Lenient) {
                skipCounted(track);
                break;
            }
            return merge.unknownCommand("Unknown command 0xFF 0x%02X\n", type);
    }
    return true;
}

// Data bytes that follow a status, by its high nibble; 0 for a status the player does not know.
uint32_t dataByteCount(uint8_t status) {
    switch (status >> 4) {
        case 0x8: case 0x9: case 0xA: case 0xB: case 0xE: return 2;
        case 0xC: case 0xD: return 1;
        default: return 0;
    }
}

bool readChannelMessage(TrackState& track, uint8_t status, MergeState& merge) {
    const uint32_t count = dataByteCount(status);
    if (count == 0) return merge.unknownCommand("Unknown command 0x%02X\n", status);
    if (!track.holds(count)) {
        track.finish();
        return true;
    }
    const uint8_t data1 = track.next();
    const uint8_t data2 = count == 2 ? track.next() : 0;
    merge.consumer.channelMessage(status, data1, data2, track.time, merge.tickFactor);
    return true;
}

bool readEvent(TrackState& track, MergeState& merge) {
    const uint8_t first = track.next();
    if (first == 0xF0 || first == 0xF7) {
        skipCounted(track);
        return true;
    }
    if (first == 0xFF) return readMeta(track, merge);
    if (first >= 0x80 && first <= 0xEF) {
        track.runningStatus = first;
        return readChannelMessage(track, first, merge);
    }
    if (first >= 0x80) return readChannelMessage(track, first, merge);  // system status: running status kept
    // A data byte: read again as the first data byte under the running status.
    --track.cursor;
    return readChannelMessage(track, track.runningStatus, merge);
}

// Which track goes next: the earliest active one, the lowest-numbered on ties.
// Each track's turn is one number, its time above its index, so the choice is
// a plain minimum over a short array; a finished track never comes up.
class TrackOrder {
public:
    explicit TrackOrder(size_t tracks) : keys_(tracks, kFinished) {}

    void update(size_t index, const TrackState& track) {
        keys_[index] = track.active() ? static_cast<int64_t>(track.time) * kIndexRange + static_cast<int64_t>(index)
                                      : kFinished;
    }

    // The next track's index, or nothing when every track is finished. Four
    // running minima, so the comparisons of neighbouring tracks overlap.
    std::optional<size_t> next() const {
        int64_t e0 = kFinished, e1 = kFinished, e2 = kFinished, e3 = kFinished;
        const size_t count = keys_.size();
        size_t i = 0;
        for (; i + 4 <= count; i += 4) {
            e0 = std::min(e0, keys_[i]);
            e1 = std::min(e1, keys_[i + 1]);
            e2 = std::min(e2, keys_[i + 2]);
            e3 = std::min(e3, keys_[i + 3]);
        }
        for (; i < count; ++i) e0 = std::min(e0, keys_[i]);
        const int64_t earliest = std::min(std::min(e0, e1), std::min(e2, e3));
        if (earliest == kFinished) return std::nullopt;
        return static_cast<size_t>(earliest & (kIndexRange - 1));
    }

private:
    static constexpr int64_t kIndexRange = int64_t{1} << 16;  // a header counts at most 65,535 tracks
    static constexpr int64_t kFinished = std::numeric_limits<int64_t>::max();
    std::vector<int64_t> keys_;
};

}  // namespace

Status mergeTracks(const SongFile& song, MergeConsumer& consumer, MidiReading reading) {
    MergeState merge{consumer, song.division, initialTickFactor(song.division), reading};

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
        if (!readEvent(track, merge)) return unknownCommand(merge.unknownFormat, merge.unknownByte);
        track.readDelta();
        order.update(*next, track);
    }
    return success();
}

}  // namespace zmr
