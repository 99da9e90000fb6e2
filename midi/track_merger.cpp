#include "midi/track_merger.h"

#include <cstdio>
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
};

Failure unknownCommand(const char* format, uint8_t byte) {
    char text[40];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(byte));
    return Failure{text};
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

Status readMeta(TrackState& track, MergeState& merge) {
    if (!track.active()) return success();
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
            return unknownCommand("Unknown command 0xFF 0x%02X\n", type);
    }
    return success();
}

// Data bytes that follow a status, by its high nibble; 0 for a status the player does not know.
uint32_t dataByteCount(uint8_t status) {
    switch (status >> 4) {
        case 0x8: case 0x9: case 0xA: case 0xB: case 0xE: return 2;
        case 0xC: case 0xD: return 1;
        default: return 0;
    }
}

Status readChannelMessage(TrackState& track, uint8_t status, MergeState& merge) {
    const uint32_t count = dataByteCount(status);
    if (count == 0) return unknownCommand("Unknown command 0x%02X\n", status);
    if (!track.holds(count)) {
        track.finish();
        return success();
    }
    const uint8_t data1 = track.next();
    const uint8_t data2 = count == 2 ? track.next() : 0;
    merge.consumer.channelMessage(status, data1, data2, track.time, merge.tickFactor);
    return success();
}

Status readEvent(TrackState& track, MergeState& merge) {
    const uint8_t first = track.next();
    if (first == 0xF0 || first == 0xF7) {
        skipCounted(track);
        return success();
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

// The earliest active track, the lowest-numbered on ties; nullptr when all are finished.
TrackState* selectTrack(std::vector<TrackState>& tracks) {
    TrackState* selected = nullptr;
    for (TrackState& track : tracks) {
        if (track.active() && (selected == nullptr || track.time < selected->time)) selected = &track;
    }
    return selected;
}

}  // namespace

Status mergeTracks(const SongFile& song, MergeConsumer& consumer, MidiReading reading) {
    MergeState merge{consumer, song.division, initialTickFactor(song.division), reading};

    // Tracks the header claims beyond the chunks present are empty and never
    // selected, so only the chunks present get a state.
    std::vector<TrackState> tracks(song.tracks.size());
    for (size_t i = 0; i < tracks.size(); ++i) {
        tracks[i].bytes = song.trackBytes(i);
        tracks[i].number = static_cast<uint32_t>(i);
        tracks[i].readDelta();
    }

    while (TrackState* track = selectTrack(tracks)) {
        if (Status status = readEvent(*track, merge); !status) return status;
        track->readDelta();
    }
    return success();
}

}  // namespace zmr
