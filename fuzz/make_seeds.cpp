// Writes the generated seeds of the fuzz corpus: small songs that reach each
// corner of the MIDI reader on purpose, LZW inputs that reach each corner of
// the decoder, and images compiled from such songs (and from the example
// songs, when their folder is given), so that a short fuzzing run starts from
// deep coverage.
//
//   zmr_fuzz_seeds fuzz/corpus [examples]

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codec/lzw_compress.h"
#include "image/compile_image.h"
#include "image/convert_song.h"
#include "image/memory_image_writer.h"
#include "support/midi_writer.h"

namespace {

namespace fs = std::filesystem;
using zmr::test::MidiFile;
using zmr::test::TrackWriter;
using Bytes = std::vector<uint8_t>;

bool save(const fs::path& folder, const std::string& name, const Bytes& bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / ("gen-" + name), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes tinySong() {
    TrackWriter t;
    t.lyric(0, "La").noteOn(0, 0, 60, 100).noteOff(96, 0, 60).endOfTrack();
    return MidiFile(96).add(t).bytes();
}

// Two tracks that interleave in time, with tempo changes and both note-off forms.
Bytes twoTrackSong() {
    TrackWriter conductor;
    conductor.tempo(0, 500000).tempo(960, 300000).meta(0, 0x58, {4, 2, 24, 8}).meta(0, 0x59, {0, 0}).endOfTrack();
    TrackWriter voice;
    voice.programChange(0, 1, 5).controller(0, 1, 7, 100).lyric(0, "Em").noteOn(0, 1, 64, 90)
        .lyric(240, " ye^u").noteOn(0, 1, 64, 0).noteOn(0, 1, 67, 80).pitchBend(120, 1, 0, 64)
        .channelPressure(0, 1, 30).noteOff(120, 1, 67).endOfTrack();
    return MidiFile(480).add(conductor).add(voice).bytes();
}

Bytes runningStatusSong() {
    TrackWriter t(true);
    for (uint8_t n = 60; n < 72; ++n) t.noteOn(10, 2, n, 100).noteOn(10, 2, n, 0);
    t.controller(0, 2, 64, 127).controller(5, 2, 64, 0).endOfTrack();
    return MidiFile(120).add(t).bytes();
}

// Lyrics in VIQR and VNI, a long one that is named but not shown, and zeros.
Bytes lyricSong() {
    TrackWriter t;
    t.lyric(0, "Vie^.t Nam").lyric(10, "Vie65t Nam").lyric(10, "Ddu+o+`ng xa mu+o+n da.m qua^n")
        .lyric(10, Bytes{'a', 0, 'b', 0xE0, 0xFF}).text(0, "title").meta(0, 0x03, {'T'}).noteOn(0, 0, 50, 1)
        .lyric(10, "\r\n").endOfTrack();
    return MidiFile(96).add(t).bytes();
}

Bytes everyMetaAndSysex() {
    TrackWriter t;
    t.meta(0, 0x00, {0, 1}).meta(0, 0x02, {'c'}).meta(0, 0x04, {'i'}).meta(0, 0x06, {'m'}).meta(0, 0x07, {'q'})
        .meta(0, 0x20, {3}).meta(0, 0x21, {1}).meta(0, 0x54, {0, 0, 0, 0, 0}).meta(0, 0x7F, {0x41, 1})
        .sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).sysex(0, {0x01}, 0xF7).endOfTrack(0).noteOn(5, 0, 40, 40)
        .endOfTrack();
    return MidiFile(96).add(t).bytes();
}

Bytes unknownMeta() {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).meta(0, 0x08, {'x'}).endOfTrack();
    return MidiFile(96).add(t).bytes();
}

// What the reading options are for: a RIFF wrapper with a LIST chunk of odd
// size before its data, a chunk other than MTrk among the tracks with a
// device-name meta event, Soft Karaoke text events, and lyrics in UTF-8
// (valid and not) and in Windows-1258.
void appendChunk(Bytes& out, const std::string& id, const Bytes& body, bool littleEndian) {
    out.insert(out.end(), id.begin(), id.end());
    const auto size = static_cast<uint32_t>(body.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(size >> (littleEndian ? 8 * i : 24 - 8 * i)));
    out.insert(out.end(), body.begin(), body.end());
}

Bytes riffWrapped() {
    Bytes body = text("RMID");
    appendChunk(body, "LIST", text("INFOx"), true);
    body.push_back(0);
    appendChunk(body, "data", twoTrackSong(), true);
    Bytes riff;
    appendChunk(riff, "RIFF", body, true);
    return riff;
}

Bytes otherChunkAndDeviceName() {
    TrackWriter first;
    first.tempo(0, 400000).endOfTrack();
    TrackWriter second;
    second.meta(0, 0x09, {'S', 'y', 'n'}).lyric(0, "La").noteOn(0, 0, 60, 100).noteOff(96, 0, 60).endOfTrack();
    Bytes bytes = MidiFile(96).add(first).claimTrackCount(2).bytes();
    appendChunk(bytes, "XFIH", {1, 2, 3}, false);
    appendChunk(bytes, "MTrk", second.bytes(), false);
    return bytes;
}

Bytes softKaraoke() {
    TrackWriter t;
    t.text(0, "@KMIDI KARAOKE FILE").text(0, "@TLo+`i ru").text(0, "\\Ru ").noteOn(0, 0, 60, 90).text(96, "con")
        .text(96, "/ngu? ").text(0, "").noteOff(0, 0, 60).text(96, "ngon").endOfTrack();
    TrackWriter other;
    other.text(0, "words").endOfTrack();
    return MidiFile(96).add(other).add(t).bytes();
}

Bytes unicodeLyrics() {
    TrackWriter t;
    t.lyric(0, "Chúc ").lyric(10, "mừng ").lyric(10, "đâu?").lyric(10, Bytes{'a', 0xC3, 0x28, 0xE2, 0x82})
        .lyric(10, "ñ\xCC\x81").noteOn(0, 0, 64, 80).lyric(10, Bytes{'V', 'i', 0xEA, 0xF2, 't', 0x81}).endOfTrack();
    return MidiFile(96).add(t).bytes();
}

Bytes systemStatus(uint8_t status) {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).varLen(0).raw({status, 1, 2}).endOfTrack();
    return MidiFile(96).add(t).bytes();
}

Bytes truncatedChunk() {
    Bytes bytes = twoTrackSong();
    bytes.resize(bytes.size() - 7);
    return bytes;
}

Bytes hugeClaims() {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).endOfTrack();
    return MidiFile(96).add(t, 0xFFFFFFFFu).claimTrackCount(65535).bytes();
}

Bytes longQuantities() {
    TrackWriter t;
    t.raw({0x81, 0x80, 0x80, 0x80, 0x80, 0x00}).raw({0x90, 60, 100}).raw({0x8F, 0xFF, 0xFF, 0xFF, 0x7F}).raw({0x80, 60, 0})
        .raw({0xFF, 0x05, 0x8F, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}).raw({0x80, 0x80});
    return MidiFile(96).add(t).bytes();
}

Bytes lyricPastTheEnd() {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).raw({0x00, 0xFF, 0x05, 0x40, 'a', 'b'});
    return MidiFile(96).add(t).bytes();
}

Bytes oddTempo() {
    TrackWriter t;
    t.raw({0x00, 0xFF, 0x51, 0x00, 0xFF, 0xFF, 0xFF}).noteOn(0, 0, 60, 100).raw({0x00, 0xFF, 0x51, 0x03, 0x00});
    return MidiFile(1).add(t).bytes();
}

Bytes divisionOf(uint16_t division) {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).noteOff(0x0FFFFFFF, 0, 60).endOfTrack();
    return MidiFile(division).add(t).bytes();
}

Bytes headerOnly(size_t size) {
    Bytes bytes = tinySong();
    bytes.resize(size);
    return bytes;
}

// A text that codes to well over one dictionary cycle, so the decoder restarts.
Bytes manyStrings() {
    Bytes bytes;
    uint32_t x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        bytes.push_back(static_cast<uint8_t>('a' + (x >> 16) % 7));
    }
    return bytes;
}

// The decoder target reads a 3-byte length before its section.
Bytes lengthAndSection(const Bytes& data) {
    const auto n = static_cast<uint32_t>(data.size());
    Bytes out{static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    const Bytes compressed = zmr::lzwCompress(data);
    out.insert(out.end(), compressed.begin(), compressed.end());
    return out;
}

bool writeSongSeeds(const fs::path& folder) {
    bool ok = save(folder, "tiny.mid", tinySong()) && save(folder, "two-tracks.mid", twoTrackSong()) &&
              save(folder, "running-status.mid", runningStatusSong()) && save(folder, "lyrics.kar", lyricSong()) &&
              save(folder, "every-meta.mid", everyMetaAndSysex()) && save(folder, "unknown-meta.mid", unknownMeta()) &&
              save(folder, "truncated-chunk.mid", truncatedChunk()) && save(folder, "huge-claims.mid", hugeClaims()) &&
              save(folder, "long-quantities.mid", longQuantities()) &&
              save(folder, "lyric-past-end.mid", lyricPastTheEnd()) && save(folder, "odd-tempo.mid", oddTempo()) &&
              save(folder, "division-0.mid", divisionOf(0)) && save(folder, "division-1.mid", divisionOf(1)) &&
              save(folder, "division-smpte.mid", divisionOf(0xE728)) && save(folder, "header-13.mid", headerOnly(13)) &&
              save(folder, "header-14.mid", headerOnly(14)) && save(folder, "riff.rmi", riffWrapped()) &&
              save(folder, "other-chunk.mid", otherChunkAndDeviceName()) &&
              save(folder, "soft-karaoke.kar", softKaraoke()) && save(folder, "unicode-lyrics.kar", unicodeLyrics());
    for (uint8_t status : {0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8, 0xFE})
        ok = ok && save(folder, "system-" + std::to_string(status) + ".mid", systemStatus(status));
    return ok;
}

bool writeLzwSeeds(const fs::path& folder) {
    const Bytes words = text("TOBEORNOTTOBEORTOBEORNOT#TOBEORNOTTOBEORTOBEORNOT");
    const Bytes many = manyStrings();
    return save(folder, "words", words) && save(folder, "words-coded", lengthAndSection(words)) &&
           save(folder, "repeats-coded", lengthAndSection(Bytes(5000, 'a'))) &&
           save(folder, "cycles-coded", lengthAndSection(many)) && save(folder, "song", twoTrackSong()) &&
           save(folder, "zeros", Bytes(64, 0));
}

// Songs held in memory under their names, compiled in list order.
class SongsInMemory : public zmr::SongSource, public zmr::ProgressSink, public zmr::StateSink, public zmr::SongMessageSink {
public:
    void add(const std::string& name, Bytes bytes) { songs_.emplace_back(name, std::move(bytes)); }
    int32_t count() const override { return static_cast<int32_t>(songs_.size()); }
    std::string path(int32_t index) const override { return std::to_string(index) + "/" + songs_[static_cast<size_t>(index)].first; }
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void stateChanged(zmr::CompileState) override {}
    void songFailed(std::string_view, std::string_view) override {}

    Bytes image() {
        zmr::MemoryImageWriter writer;
        zmr::CompileOptions options;
        options.jobs = 1;
        options.convert = [this](const std::string& path) {
            const size_t index = std::stoul(path.substr(0, path.find('/')));
            return zmr::convertSong(path, songs_[index].second);
        };
        if (!zmr::compileImage(*this, writer, {*this, *this, *this}, options).ok()) return {};
        return writer.image();
    }

private:
    std::vector<std::pair<std::string, Bytes>> songs_;
};

bool writeImageSeeds(const fs::path& folder, const fs::path& examples) {
    SongsInMemory none, one, three, failed, twoGroups, collection;
    one.add("Tiny.mid", tinySong());
    three.add("Tiny.mid", tinySong());
    three.add("Two Tracks.mid", twoTrackSong());
    three.add("Lo+`i ru.kar", lyricSong());
    failed.add("Tiny.mid", tinySong());
    failed.add("Broken.mid", divisionOf(0));
    for (int i = 0; i < 257; ++i) twoGroups.add("Song " + std::to_string(i) + ".mid", i % 2 ? tinySong() : runningStatusSong());
    bool ok = save(folder, "none.dez", none.image()) && save(folder, "one.dez", one.image()) &&
              save(folder, "three.dez", three.image()) && save(folder, "failed-song.dez", failed.image()) &&
              save(folder, "two-groups.dez", twoGroups.image());
    if (examples.empty()) return ok;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(examples)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".mid" || extension == ".MID" || extension == ".kar") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        collection.add(file.filename().string(), Bytes(std::istreambuf_iterator<char>(in), {}));
    }
    return ok && save(folder, "examples.dez", collection.image());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [EXAMPLES_FOLDER]\n", argv[0]);
        return 2;
    }
    const fs::path corpus(argv[1]);
    const fs::path examples(argc == 3 ? argv[2] : "");
    if (!writeSongSeeds(corpus / "convert_song") || !writeLzwSeeds(corpus / "lzw") ||
        !writeImageSeeds(corpus / "image", examples) || !writeImageSeeds(corpus / "preview", examples)) {
        std::fprintf(stderr, "%s: cannot write the seeds\n", argv[1]);
        return 1;
    }
    return 0;
}
