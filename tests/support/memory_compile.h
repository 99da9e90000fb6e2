#pragma once
// Compiles songs built in code into an image in memory, and generates songs
// for the read-back tests: with notes that never overlap on one key, every
// gap and every duration below 256 time units, and lyrics in VIQR or VNI.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "image/compile_image.h"
#include "image/convert_song.h"
#include "image/memory_image_writer.h"
#include "support/midi_writer.h"

namespace zmr::test {

struct CompiledImage {
    std::vector<uint8_t> image;
    std::string songList;
    CompileSummary summary;
};

using SongFiles = std::vector<std::pair<std::string, std::vector<uint8_t>>>;
// Changes a converted song's record before it is laid out.
using RecordAdjuster = std::function<void(const std::string& path, SongRecord& record)>;

// Paths name the songs; a path without a file fails as a rejected song would.
inline CompiledImage compileInMemory(const SongFiles& songs, bool skipBad = false, RecordAdjuster adjust = {},
                                     const ConvertOptions& conversion = {}) {
    struct Sinks : ProgressSink, StateSink, SongMessageSink {
        void setRange(int32_t, int32_t) override {}
        void setPosition(int32_t) override {}
        void stateChanged(CompileState) override {}
        void songFailed(std::string_view, std::string_view) override {}
    } sinks;
    struct Paths : SongSource {
        std::vector<std::string> paths;
        int32_t count() const override { return static_cast<int32_t>(paths.size()); }
        std::string path(int32_t i) const override { return paths[static_cast<size_t>(i)]; }
    } source;
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& [path, bytes] : songs) {
        source.paths.push_back(path);
        if (!bytes.empty()) files[path] = bytes;
    }
    CompileOptions options;
    options.skipBad = skipBad;
    options.convert = [&files, &adjust, &conversion](const std::string& path) -> Result<SongRecord> {
        const auto found = files.find(path);
        if (found == files.end()) return Failure{"Unknown command 0xF8\n"};
        Result<SongRecord> record = convertSong(path, found->second, conversion);
        if (record && adjust) adjust(path, *record);
        return record;
    };
    MemoryImageWriter writer;
    Result<CompileSummary> summary = compileImage(source, writer, CompileSinks{sinks, sinks, sinks}, options);
    CompiledImage out;
    if (summary) out.summary = *summary;
    out.image = writer.image();
    out.songList.assign(writer.songList().begin(), writer.songList().end());
    return out;
}

// VIQR syllables, a few of them ending a line.
inline const std::vector<std::string>& viqrSyllables() {
    static const std::vector<std::string> syllables = {
        "Em ", "ye^u ", "a^'m ", "DDi ", "tu*o*'i ", "nga`y ", "dde^m ", "Vie^.t ", "Nam\r", "mu*a ",
        "xua^n ", "Ho^`ng ", "ca?nh ", "ha.t ", "nho*' ", "la'\r", "A^'u ", "Cu*?a ", "bie^?n ", "tro*`i\r",
    };
    return syllables;
}

// A song at division 96 with the default tempo, so ticks do not map one to
// one onto time units (a tick is about 0.31 units). Gaps between records and
// notes last at most 180 ticks, about 55 units; each key sounds once at a time.
inline std::vector<uint8_t> generatedSong(uint32_t seed, size_t notes, bool lyrics = true) {
    std::mt19937 random(seed);
    auto pick = [&random](uint32_t low, uint32_t high) {
        return std::uniform_int_distribution<uint32_t>(low, high)(random);
    };
    constexpr uint32_t kTickStep = 3;
    TrackWriter music(pick(0, 1) == 1);
    TrackWriter words;
    music.programChange(0, 0, static_cast<uint8_t>(pick(0, 127))).controller(0, 1, 7, 100);
    struct Event {
        uint32_t tick;
        int kind;  // 0 note-off, 1 note-on, 2 pitch bend
        uint8_t channel, note, velocity;
    };
    std::vector<Event> events;
    std::map<uint32_t, uint32_t> keyFree;  // key -> tick when it may sound again
    uint32_t tick = 0;
    for (size_t i = 0; i < notes; ++i) {
        tick += pick(1, 60) * kTickStep;
        const auto channel = static_cast<uint8_t>(pick(0, 3));
        auto note = static_cast<uint8_t>(pick(48, 72));
        while (keyFree[note * 16u + channel] > tick) note = static_cast<uint8_t>(note + 1);
        const uint32_t length = pick(1, 60) * kTickStep;
        events.push_back({tick, 1, channel, note, static_cast<uint8_t>(pick(1, 127))});
        events.push_back({tick + length, 0, channel, note, 0});
        keyFree[note * 16u + channel] = tick + length;
        if (pick(0, 9) == 0) events.push_back({tick, 2, channel, static_cast<uint8_t>(pick(0, 127)), 0x40});
    }
    // Note-offs before note-ons on one tick, as a sequencer writes them.
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.kind < b.kind; });
    uint32_t last = 0;
    for (const Event& e : events) {
        const uint32_t delta = e.tick - last;
        last = e.tick;
        if (e.kind == 1) music.noteOn(delta, e.channel, e.note, e.velocity);
        if (e.kind == 0) music.noteOff(delta, e.channel, e.note);
        if (e.kind == 2) music.pitchBend(delta, e.channel, e.note, e.velocity);
    }
    music.endOfTrack();
    if (lyrics) {
        uint32_t lyricTick = 0;
        const auto& syllables = viqrSyllables();
        for (size_t i = 0; i < notes / 2 + 1; ++i) {
            const uint32_t delta = pick(0, 40) * kTickStep;
            lyricTick += delta;
            words.lyric(delta, syllables[pick(0, static_cast<uint32_t>(syllables.size() - 1))]);
        }
    }
    words.endOfTrack();
    return MidiFile(96).add(music).add(words).bytes();
}

}  // namespace zmr::test
