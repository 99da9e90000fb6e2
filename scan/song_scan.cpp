#include "scan/song_scan.h"

#include <algorithm>
#include <vector>

#include "fileio/file_bytes.h"
#include "image/convert_song.h"
#include "midi/midi_status.h"
#include "midi/riff_midi.h"
#include "midi/time_units.h"
#include "midi/track_merger.h"
#include "text/soft_karaoke.h"
#include "text/text_stream.h"

namespace zmr {
namespace {

// What one reading of the song hands on: its channel messages go straight
// into the event stream that the song's record is built from, and its text is
// kept for the analysis and for the record's text stream.
class SongListener : public MergeConsumer {
public:
    explicit SongListener(EventStream& events) : events_(events) {}

    void channelMessage(uint8_t status, uint8_t data1, uint8_t data2, int32_t tick, float tickFactor) override {
        events_.addChannelMessage(status, data1, data2, tick, tickFactor);
        // Note-offs close a note record instead of adding one. Messages come
        // in time order: the last one's time is worked out once, at the end.
        const uint8_t kind = midi::statusKind(status);
        if (kind == midi::kNoteOff || (kind == midi::kNoteOn && data2 == 0)) return;
        lastTick_ = tick;
        lastFactor_ = tickFactor;
        anyRecord_ = true;
    }
    void lyric(std::span<const uint8_t> bytes, int64_t timeUnits) override {
        lyrics.push_back({std::vector<uint8_t>(bytes.begin(), bytes.end()), timeUnits});
    }
    void textEvent(uint32_t track, std::span<const uint8_t> bytes, int64_t timeUnits) override {
        texts.push_back({track, {std::vector<uint8_t>(bytes.begin(), bytes.end()), timeUnits}});
    }

    void forget() {
        lyrics.clear();
        texts.clear();
        anyRecord_ = false;
    }

    // The time of the last event record, in time units.
    int64_t lastTime() const { return anyRecord_ ? ticksToTimeUnits(lastTick_, lastFactor_) : 0; }

    std::vector<TimedText> lyrics;
    std::vector<TrackText> texts;

private:
    EventStream& events_;
    int32_t lastTick_ = 0;
    float lastFactor_ = 0;
    bool anyRecord_ = false;
};

// Only whether the reading succeeds matters.
class Unheard : public MergeConsumer {
public:
    void channelMessage(uint8_t, uint8_t, uint8_t, int32_t, float) override {}
    void lyric(std::span<const uint8_t>, int64_t) override {}
};

// Reads the song as convertSong would, which fails exactly where loading or the merge fails.
Status readSong(const Result<SongFile>& song, MergeConsumer& listener, EventStream* events, MidiReading reading) {
    if (!song) return song.failure();
    if (events) events->startEventStream(song->totalTrackBytes);
    return mergeTracks(*song, listener, reading);
}

// A plain MIDI file whose chunks are all MTrk reads leniently as it reads
// strictly: the same tracks, and no meta type the strict reading refused.
bool readsAlikeLeniently(std::span<const uint8_t> bytes, const SongFile& song) {
    if (isRiffMidi(bytes)) return false;
    return std::all_of(song.tracks.begin(), song.tracks.end(), [&](const TrackChunk& track) {
        const uint8_t* id = song.bytes.data() + track.offset - 8;
        return id[0] == 'M' && id[1] == 'T' && id[2] == 'r' && id[3] == 'k';
    });
}

// The song's text stream as its guessed encodings would read it, for the count
// of characters without a code.
int32_t uncodedCharacters(std::string_view path, std::span<const TimedText> lyrics, TextEncoding title, TextEncoding text,
                          TextStream& stream) {
    // Only text read from Unicode or Windows-1258 can lack a code.
    if (!isDecoded(title) && !isDecoded(text)) return 0;
    NameBuffer name;
    stream.beginTextStream(path, name, title);
    for (const TimedText& lyric : lyrics) stream.addLyric(lyric.bytes, lyric.timeUnits, text);
    return stream.uncodedCharacters();
}

void describe(std::string_view path, const SongListener& listener, TextStream& stream, SongScan& scan) {
    scan.read = true;
    scan.lengthUnits = std::max<int64_t>(0, listener.lastTime());
    std::vector<TimedText> kar;
    std::span<const TimedText> lyrics = listener.lyrics;
    if (!listener.lyrics.empty()) {
        scan.lyrics = LyricSource::LyricEvents;
    } else if (kar = softKaraokeLyrics(listener.texts); !kar.empty()) {
        scan.lyrics = LyricSource::TextEvents;
        lyrics = kar;
    }

    const std::string_view title = songTitle(path);
    const std::span<const uint8_t> titleBytes(reinterpret_cast<const uint8_t*>(title.data()), title.size());
    scan.titleEncoding = guessTextEncoding(std::span(&titleBytes, 1));
    std::vector<std::span<const uint8_t>> pieces;
    for (const TimedText& lyric : lyrics) pieces.emplace_back(lyric.bytes);
    const bool anyText = std::any_of(pieces.begin(), pieces.end(), [](auto piece) { return !piece.empty(); });
    scan.encoding = anyText ? guessTextEncoding(pieces) : scan.titleEncoding;
    scan.uncoded = uncodedCharacters(path, lyrics, scan.titleEncoding, scan.encoding, stream);
}

// The options a build would want for this song, read as the scan found it.
ConvertOptions optionsFor(const SongScan& scan) {
    ConvertOptions options;
    options.lenient = !scan.compiles;
    options.karText = scan.lyrics == LyricSource::TextEvents;
    options.textEncoding = scan.encoding == TextEncoding::Cp1258 ? TextEncoding::Cp1258 : TextEncoding::Auto;
    return options;
}

// The record a build with those options writes: the reading's events, and its
// text handed to the text stream as that build's merge would hand it on.
void measureRecord(std::string_view path, const SongListener& listener, ConversionBuffers& buffers, SongScan& scan) {
    NameBuffer name;
    SongText text(buffers.text, optionsFor(scan).textReading());
    text.begin(path, name);
    for (const TimedText& lyric : listener.lyrics) text.lyric(lyric.bytes, lyric.timeUnits);
    for (const TrackText& event : listener.texts) text.textEvent(event.track, event.text.bytes, event.text.timeUnits);
    const uint32_t textLength = text.end();
    buffers.events.finishEventStream();
    compressSongRecord(buffers.text.bytes().first(textLength), buffers.events.bytes(), buffers.record);
    scan.recordBytes = buffers.record.size();
    scan.songListNameBytes = name.text().size();
}

}  // namespace

SongScan scanSong(std::string_view path, std::span<const uint8_t> bytes, ConversionBuffers& buffers) {
    SongScan scan;
    SongListener listener(buffers.events);
    const Result<SongFile> strict = loadSongFile(bytes, MidiReading::Strict);
    const Status strictRead = readSong(strict, listener, &buffers.events, MidiReading::Strict);
    scan.compiles = strictRead.ok();
    if (scan.compiles) {
        Unheard unheard;
        scan.lenientCompiles = readsAlikeLeniently(bytes, *strict) ||
                               readSong(loadSongFile(bytes, MidiReading::Lenient), unheard, nullptr, MidiReading::Lenient).ok();
    } else {
        scan.message = strictRead.message();
        listener.forget();
        scan.lenientCompiles =
            readSong(loadSongFile(bytes, MidiReading::Lenient), listener, &buffers.events, MidiReading::Lenient).ok();
    }
    if (scan.compiles || scan.lenientCompiles) {
        describe(path, listener, buffers.text, scan);
        measureRecord(path, listener, buffers, scan);
    }
    return scan;
}

SongScan scanSong(std::string_view path, std::span<const uint8_t> bytes) {
    ConversionBuffers buffers;
    return scanSong(path, bytes, buffers);
}

SongScan scanSongFile(const std::string& path) {
    Result<std::vector<uint8_t>> bytes = readFileBytes(path);
    if (!bytes) return unreadableSong(bytes.failure());
    return scanSong(path, *bytes);
}

SongScan unreadableSong(const Failure& reason) { return SongScan{.compiles = false, .message = reason.message}; }

}  // namespace zmr
