#include "readback/song_extract.h"

#include <algorithm>
#include <string>

#include "codec/byte_order.h"
#include "codec/var_len.h"
#include "midi/midi_status.h"
#include "readback/song_midi_events.h"
#include "text/transcoder.h"

namespace zmr {
namespace {

using midi::kMeta;
using midi::kMetaEndOfTrack;
using midi::kMetaLyric;
using midi::kMetaTempo;

// The compiler shows lyric events shorter than 16 bytes and only names longer ones.
constexpr size_t kMaxShownLyricBytes = 15;

// One track's events, each behind its delta from the one before.
class TrackBytes {
public:
    void event(uint64_t tick, std::span<const uint8_t> bytes) {
        appendVarLen(bytes_, tick - tick_);
        tick_ = tick;
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }

    void meta(uint64_t tick, uint8_t type, std::span<const uint8_t> data) {
        const uint8_t head[] = {kMeta, type};
        event(tick, head);
        appendVarLen(bytes_, data.size());
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }

    void appendChunk(std::vector<uint8_t>& file) {
        meta(tick_, kMetaEndOfTrack, {});
        const uint8_t id[] = {'M', 'T', 'r', 'k'};
        file.insert(file.end(), std::begin(id), std::end(id));
        uint8_t length[4];
        storeBigEndian32(length, static_cast<uint32_t>(bytes_.size()));
        file.insert(file.end(), std::begin(length), std::end(length));
        file.insert(file.end(), bytes_.begin(), bytes_.end());
    }

private:
    std::vector<uint8_t> bytes_;
    uint64_t tick_ = 0;
};

std::vector<uint8_t> musicTrack(std::span<const EventRecord> events, ExtractedSong& out) {
    TrackBytes track;
    const uint8_t tempo[] = {static_cast<uint8_t>(kExtractTempo >> 16), static_cast<uint8_t>(kExtractTempo >> 8),
                             static_cast<uint8_t>(kExtractTempo)};
    track.meta(0, kMetaTempo, tempo);
    const SongMidiEvents music = songMidiEvents(events);
    for (const TimedMessage& m : music.messages) track.event(m.time, m.message());
    out.skippedRecords = music.skippedRecords;
    out.cutDataBytes = music.cutDataBytes;
    out.overlappedNotes = music.overlappedNotes;
    std::vector<uint8_t> chunk;
    track.appendChunk(chunk);
    return chunk;
}

// A text record takes the time of the lyric event holding the byte that
// releases it, which is the first byte of the next code; the last one takes
// the time of the last lyric event. So code i goes into an event at the time
// of record i - 1 (the first code with the second), and an empty event at the
// last record's time ends the lyrics.
std::vector<uint8_t> lyricTrack(std::span<const TextRecord> lyrics, const CodePageInverse& inverse, ExtractedSong& out) {
    TrackBytes track;
    std::vector<uint8_t> codes;
    for (const TextRecord& r : lyrics) codes.push_back(r.code);
    const std::vector<std::string> spellings = inverse.spell(codes);

    uint64_t previousTime = 0;
    auto eventTime = [&](uint64_t wanted) {
        if (wanted < previousTime) ++out.movedLyrics;
        previousTime = std::max(previousTime, wanted);
        return previousTime;
    };
    std::vector<uint8_t> pending;
    uint64_t pendingTime = 0;
    auto flush = [&] {
        if (!pending.empty()) track.meta(pendingTime, kMetaLyric, pending);
        pending.clear();
    };
    for (size_t i = 0; i < lyrics.size(); ++i) {
        const uint64_t time = eventTime(lyrics[i == 0 ? 0 : i - 1].time);
        const std::string& spelling = spellings[i];
        if (time != pendingTime || pending.size() + spelling.size() > kMaxShownLyricBytes) flush();
        pendingTime = time;
        pending.insert(pending.end(), spelling.begin(), spelling.end());
    }
    flush();
    if (!lyrics.empty()) track.meta(eventTime(lyrics.back().time), kMetaLyric, {});

    // What the compiler will make of these bytes, as a check on the spelling.
    Transcoder transcoder;
    std::vector<uint8_t> again;
    bool reset = true;
    auto feed = [&](uint8_t byte) {
        if (const uint8_t code = transcoder.transcodeChar(byte, reset)) again.push_back(code);
        reset = false;
    };
    for (const std::string& spelling : spellings) {
        for (const char c : spelling) feed(static_cast<uint8_t>(c));
    }
    if (!codes.empty()) feed(0);
    for (size_t i = 0; i < std::max(codes.size(), again.size()); ++i) {
        out.changedCodes += i >= codes.size() || i >= again.size() || codes[i] != again[i];
    }

    std::vector<uint8_t> chunk;
    track.appendChunk(chunk);
    return chunk;
}

}  // namespace

ExtractedSong extractSong(std::span<const EventRecord> events, std::span<const TextRecord> lyrics,
                          const CodePageInverse& inverse) {
    ExtractedSong out;
    const std::vector<uint8_t> music = musicTrack(events, out);
    const std::vector<uint8_t> words = lyricTrack(lyrics, inverse, out);

    // Format 1, two tracks, ticks per quarter note.
    out.midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2,
                static_cast<uint8_t>(kExtractDivision >> 8), static_cast<uint8_t>(kExtractDivision & 0xFF)};
    out.midi.insert(out.midi.end(), music.begin(), music.end());
    out.midi.insert(out.midi.end(), words.begin(), words.end());
    return out;
}

}  // namespace zmr
