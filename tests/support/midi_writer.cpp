#include "support/midi_writer.h"

#include "codec/var_len.h"

namespace zmr::test {

namespace {

void appendBigEndian(std::vector<uint8_t>& out, uint32_t value, int byteCount) {
    for (int shift = (byteCount - 1) * 8; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void appendId(std::vector<uint8_t>& out, const char (&id)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(id[i]));
}

}  // namespace

void TrackWriter::status(uint8_t status) {
    if (!runningStatus_ || status != lastStatus_) bytes_.push_back(status);
    lastStatus_ = status;
}

TrackWriter& TrackWriter::channel(uint32_t delta, uint8_t statusByte, uint8_t data1, std::optional<uint8_t> data2) {
    varLen(delta);
    status(statusByte);
    bytes_.push_back(data1);
    if (data2) bytes_.push_back(*data2);
    return *this;
}

TrackWriter& TrackWriter::noteOn(uint32_t delta, uint8_t ch, uint8_t note, uint8_t velocity) {
    return channel(delta, static_cast<uint8_t>(0x90 | (ch & 0x0F)), note, velocity);
}

TrackWriter& TrackWriter::noteOff(uint32_t delta, uint8_t ch, uint8_t note, uint8_t velocity) {
    return channel(delta, static_cast<uint8_t>(0x80 | (ch & 0x0F)), note, velocity);
}

TrackWriter& TrackWriter::controller(uint32_t delta, uint8_t ch, uint8_t number, uint8_t value) {
    return channel(delta, static_cast<uint8_t>(0xB0 | (ch & 0x0F)), number, value);
}

TrackWriter& TrackWriter::programChange(uint32_t delta, uint8_t ch, uint8_t program) {
    return channel(delta, static_cast<uint8_t>(0xC0 | (ch & 0x0F)), program);
}

TrackWriter& TrackWriter::channelPressure(uint32_t delta, uint8_t ch, uint8_t pressure) {
    return channel(delta, static_cast<uint8_t>(0xD0 | (ch & 0x0F)), pressure);
}

TrackWriter& TrackWriter::pitchBend(uint32_t delta, uint8_t ch, uint8_t lsb, uint8_t msb) {
    return channel(delta, static_cast<uint8_t>(0xE0 | (ch & 0x0F)), lsb, msb);
}

TrackWriter& TrackWriter::meta(uint32_t delta, uint8_t type, std::span<const uint8_t> data) {
    varLen(delta);
    bytes_.push_back(0xFF);
    bytes_.push_back(type);
    varLen(static_cast<uint32_t>(data.size()));
    return raw(data);
}

TrackWriter& TrackWriter::meta(uint32_t delta, uint8_t type, std::initializer_list<uint8_t> data) {
    return meta(delta, type, std::span<const uint8_t>(data.begin(), data.size()));
}

TrackWriter& TrackWriter::text(uint32_t delta, std::string_view text) {
    return meta(delta, 0x01, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TrackWriter& TrackWriter::lyric(uint32_t delta, std::string_view text) {
    return lyric(delta, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TrackWriter& TrackWriter::lyric(uint32_t delta, std::span<const uint8_t> bytes) {
    return meta(delta, 0x05, bytes);
}

TrackWriter& TrackWriter::tempo(uint32_t delta, uint32_t microsecondsPerQuarter) {
    return meta(delta, 0x51,
                {static_cast<uint8_t>(microsecondsPerQuarter >> 16), static_cast<uint8_t>(microsecondsPerQuarter >> 8),
                 static_cast<uint8_t>(microsecondsPerQuarter)});
}

TrackWriter& TrackWriter::endOfTrack(uint32_t delta) {
    return meta(delta, 0x2F, {});
}

TrackWriter& TrackWriter::sysex(uint32_t delta, std::initializer_list<uint8_t> data, uint8_t statusByte) {
    varLen(delta);
    bytes_.push_back(statusByte);
    varLen(static_cast<uint32_t>(data.size()));
    return raw(data);
}

TrackWriter& TrackWriter::varLen(uint32_t value) {
    appendVarLen(bytes_, value);
    return *this;
}

TrackWriter& TrackWriter::raw(std::initializer_list<uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
}

TrackWriter& TrackWriter::raw(std::span<const uint8_t> data) {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
}

MidiFile& MidiFile::add(const TrackWriter& track, std::optional<uint32_t> claimedLength) {
    return add(track.bytes(), claimedLength);
}

MidiFile& MidiFile::add(std::span<const uint8_t> eventBytes, std::optional<uint32_t> claimedLength) {
    chunks_.push_back({std::vector<uint8_t>(eventBytes.begin(), eventBytes.end()), claimedLength});
    return *this;
}

MidiFile& MidiFile::claimTrackCount(uint16_t count) {
    claimedTrackCount_ = count;
    return *this;
}

MidiFile& MidiFile::claimHeaderLength(uint32_t length) {
    headerLength_ = length;
    return *this;
}

std::vector<uint8_t> MidiFile::bytes() const {
    std::vector<uint8_t> out;
    appendId(out, "MThd");
    appendBigEndian(out, headerLength_, 4);
    appendBigEndian(out, format_, 2);
    appendBigEndian(out, claimedTrackCount_.value_or(static_cast<uint16_t>(chunks_.size())), 2);
    appendBigEndian(out, division_, 2);
    for (const Chunk& chunk : chunks_) {
        appendId(out, "MTrk");
        appendBigEndian(out, chunk.claimedLength.value_or(static_cast<uint32_t>(chunk.events.size())), 4);
        out.insert(out.end(), chunk.events.begin(), chunk.events.end());
    }
    return out;
}

std::vector<uint8_t> oneNoteSong(std::string_view lyric) {
    TrackWriter track;
    track.lyric(0, lyric).noteOn(0, 0, 60, 100).noteOff(96, 0, 60).endOfTrack();
    return MidiFile(96).add(track).bytes();
}

std::vector<uint8_t> goodSong(uint8_t pitch) {
    TrackWriter track;
    track.lyric(0, "Em ye^u").noteOn(0, 0, pitch, 100).noteOff(480, 0, pitch).lyric(0, " ma^i").endOfTrack();
    return MidiFile(480).add(track).bytes();
}

std::vector<uint8_t> rejectedSong() {
    TrackWriter track;
    track.noteOn(0, 0, 60, 100).raw({0x00, 0xF8}).endOfTrack();
    return MidiFile(480).add(track).bytes();
}

}  // namespace zmr::test
