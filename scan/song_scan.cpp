#include "scan/song_scan.h"

#include <algorithm>
#include <vector>

#include "image/convert_song.h"
#include "image/file_bytes.h"
#include "midi/time_units.h"
#include "midi/track_merger.h"
#include "text/soft_karaoke.h"
#include "text/text_stream.h"

namespace zmr {
namespace {

// What one reading of the song hands on, kept for the analysis.
class SongListener : public MergeConsumer {
public:
    void channelMessage(uint8_t status, uint8_t, uint8_t data2, int32_t tick, float tickFactor) override {
        // Note-offs close a note record instead of adding one.
        const uint8_t kind = status & 0xF0;
        if (kind == 0x80 || (kind == 0x90 && data2 == 0)) return;
        lastTime = ticksToTimeUnits(tick, tickFactor);
    }
    void lyric(std::span<const uint8_t> bytes, int64_t timeUnits) override {
        lyrics.push_back({std::vector<uint8_t>(bytes.begin(), bytes.end()), timeUnits});
    }
    void textEvent(uint32_t track, std::span<const uint8_t> bytes, int64_t timeUnits) override {
        texts.push_back({track, {std::vector<uint8_t>(bytes.begin(), bytes.end()), timeUnits}});
    }

    std::vector<TimedText> lyrics;
    std::vector<TrackText> texts;
    int64_t lastTime = 0;
};

struct SongReading {
    Status status = success();
    SongListener listener;
};

// convertSong fails exactly where loading or the merge fails.
SongReading readSong(std::span<const uint8_t> bytes, MidiReading reading) {
    SongReading result;
    Result<SongFile> song = loadSongFile(bytes, reading);
    if (!song) {
        result.status = song.failure();
        return result;
    }
    result.status = mergeTracks(*song, result.listener, reading);
    return result;
}

// The song's text stream as its guessed encodings would read it, for the count
// of characters without a code.
int32_t uncodedCharacters(std::string_view path, std::span<const TimedText> lyrics, TextEncoding title, TextEncoding text) {
    TextStream stream;
    NameBuffer name;
    stream.beginTextStream(path, name, title);
    for (const TimedText& lyric : lyrics) stream.addLyric(lyric.bytes, lyric.timeUnits, text);
    return stream.uncodedCharacters();
}

void describe(std::string_view path, const SongListener& listener, SongScan& scan) {
    scan.read = true;
    scan.lengthUnits = std::max<int64_t>(0, listener.lastTime);
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
    scan.uncoded = uncodedCharacters(path, lyrics, scan.titleEncoding, scan.encoding);
}

// The options a build would want for this song, read as the scan found it.
ConvertOptions optionsFor(const SongScan& scan) {
    ConvertOptions options;
    options.lenient = !scan.compiles;
    options.karText = scan.lyrics == LyricSource::TextEvents;
    options.textEncoding = scan.encoding == TextEncoding::Cp1258 ? TextEncoding::Cp1258 : TextEncoding::Auto;
    return options;
}

void measureRecord(std::string_view path, std::span<const uint8_t> bytes, SongScan& scan) {
    Result<SongRecord> record = convertSong(path, bytes, optionsFor(scan));
    if (!record) return;
    scan.recordBytes = record->bytes.size();
    scan.songListNameBytes = record->name.size();
}

}  // namespace

SongScan scanSong(std::string_view path, std::span<const uint8_t> bytes) {
    SongScan scan;
    const SongReading strict = readSong(bytes, MidiReading::Strict);
    const SongReading lenient = readSong(bytes, MidiReading::Lenient);
    scan.compiles = strict.status.ok();
    scan.lenientCompiles = lenient.status.ok();
    if (!scan.compiles) scan.message = strict.status.message();
    if (scan.compiles) describe(path, strict.listener, scan);
    else if (scan.lenientCompiles) describe(path, lenient.listener, scan);
    if (scan.read) measureRecord(path, bytes, scan);
    return scan;
}

SongScan scanSongFile(const std::string& path) {
    Result<std::vector<uint8_t>> bytes = readFileBytes(path);
    if (!bytes) return SongScan{.compiles = false, .message = bytes.message()};
    return scanSong(path, *bytes);
}

}  // namespace zmr
