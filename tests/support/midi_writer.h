#pragma once
// Builds Standard MIDI Files in tests from readable event lists, e.g.
//
//   TrackWriter t;
//   t.noteOn(0, 0, 60, 100).lyric(0, "Hello").noteOff(480, 0, 60).endOfTrack();
//   std::vector<uint8_t> file = MidiFile(480).add(t).bytes();
//
// Every event method takes its delta time first. The writer can also lie
// (claim another track count or chunk length, emit raw bytes) so hostile
// input can be built just as easily.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zmr::test {


class TrackWriter {
public:
    // With running status on, a channel status equal to the previous one is
    // left out. Meta and sysex events do not reset it, as in real files.
    explicit TrackWriter(bool runningStatus = false) : runningStatus_(runningStatus) {}

    TrackWriter& noteOn(uint32_t delta, uint8_t channel, uint8_t note, uint8_t velocity);
    TrackWriter& noteOff(uint32_t delta, uint8_t channel, uint8_t note, uint8_t velocity = 0);
    TrackWriter& controller(uint32_t delta, uint8_t channel, uint8_t number, uint8_t value);
    TrackWriter& programChange(uint32_t delta, uint8_t channel, uint8_t program);
    TrackWriter& channelPressure(uint32_t delta, uint8_t channel, uint8_t pressure);
    TrackWriter& pitchBend(uint32_t delta, uint8_t channel, uint8_t lsb, uint8_t msb);
    // Any channel message by its full status byte; `data2` only for two-byte statuses.
    TrackWriter& channel(uint32_t delta, uint8_t status, uint8_t data1, std::optional<uint8_t> data2 = std::nullopt);

    // 0xFF type, the length as a variable-length quantity, then the bytes.
    TrackWriter& meta(uint32_t delta, uint8_t type, std::span<const uint8_t> data);
    TrackWriter& meta(uint32_t delta, uint8_t type, std::initializer_list<uint8_t> data);
    TrackWriter& text(uint32_t delta, std::string_view text);   // type 0x01
    TrackWriter& lyric(uint32_t delta, std::string_view text);  // type 0x05
    TrackWriter& lyric(uint32_t delta, std::span<const uint8_t> bytes);
    TrackWriter& tempo(uint32_t delta, uint32_t microsecondsPerQuarter);  // 0xFF 0x51 0x03 + 3 bytes
    TrackWriter& endOfTrack(uint32_t delta = 0);                          // 0xFF 0x2F 0x00
    TrackWriter& sysex(uint32_t delta, std::initializer_list<uint8_t> data, uint8_t status = 0xF0);

    // Raw material: a delta (or any quantity) alone, or bytes as they stand.
    TrackWriter& varLen(uint32_t value);
    TrackWriter& raw(std::initializer_list<uint8_t> data);
    TrackWriter& raw(std::span<const uint8_t> data);

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void status(uint8_t status);

    bool runningStatus_;
    uint8_t lastStatus_ = 0;
    std::vector<uint8_t> bytes_;
};

class MidiFile {
public:
    explicit MidiFile(uint16_t division = 480, uint16_t format = 1) : division_(division), format_(format) {}

    // Appends a track chunk; `claimedLength` replaces the true length in its header.
    MidiFile& add(const TrackWriter& track, std::optional<uint32_t> claimedLength = std::nullopt);
    MidiFile& add(std::span<const uint8_t> eventBytes, std::optional<uint32_t> claimedLength = std::nullopt);
    // The header states this many tracks instead of the number added.
    MidiFile& claimTrackCount(uint16_t count);
    // The header's own chunk length (6 in a sound file).
    MidiFile& claimHeaderLength(uint32_t length);

    // MThd, length, format, track count, division, then one MTrk chunk per track.
    std::vector<uint8_t> bytes() const;

private:
    struct Chunk {
        std::vector<uint8_t> events;
        std::optional<uint32_t> claimedLength;
    };

    uint16_t division_;
    uint16_t format_;
    uint32_t headerLength_ = 6;
    std::optional<uint16_t> claimedTrackCount_;
    std::vector<Chunk> chunks_;
};

// The smallest song the tool takes: one lyric event and one note, at 96
// ticks per quarter note.
std::vector<uint8_t> oneNoteSong(std::string_view lyric);
// A short song with two lyrics; `pitch` makes songs differ.
std::vector<uint8_t> goodSong(uint8_t pitch = 60);
// A song that the reader rejects with "Unknown command 0xF8\n".
std::vector<uint8_t> rejectedSong();

}  // namespace zmr::test
