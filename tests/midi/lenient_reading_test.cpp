// The lenient reading: RIFF MIDI files, chunks other than MTrk and unknown
// meta types give the song that the plain file gives.

#include <gtest/gtest.h>

#include "image/convert_song.h"
#include "midi/riff_midi.h"
#include "support/midi_writer.h"

namespace zmr {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr ConvertOptions kLenient{.lenient = true};

test::TrackWriter conductor() {
    test::TrackWriter t;
    t.tempo(0, 600000).endOfTrack();
    return t;
}

test::TrackWriter voice(bool deviceName) {
    test::TrackWriter t;
    if (deviceName) t.meta(0, 0x09, {'S', 'y', 'n', 't', 'h'});  // device name, unknown to the player
    t.programChange(0, 1, 5).lyric(0, "Em ").noteOn(0, 1, 64, 90).lyric(240, "ye^u").noteOff(240, 1, 64).endOfTrack();
    return t;
}

Bytes plainSong() { return test::MidiFile(480).add(conductor()).add(voice(false)).bytes(); }

void appendChunk(Bytes& out, std::string_view id, const Bytes& body, bool littleEndian) {
    out.insert(out.end(), id.begin(), id.end());
    const auto size = static_cast<uint32_t>(body.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(size >> (littleEndian ? 8 * i : 24 - 8 * i)));
    out.insert(out.end(), body.begin(), body.end());
}

Bytes riffWrapped(const Bytes& midi, bool withData = true) {
    Bytes body = {'R', 'M', 'I', 'D'};
    appendChunk(body, "LIST", {'I', 'N', 'F', 'O', 'x'}, true);  // odd size: one pad byte follows
    body.push_back(0);
    if (withData) appendChunk(body, "data", midi, true);
    Bytes riff;
    appendChunk(riff, "RIFF", body, true);
    return riff;
}

TEST(LenientReading, RiffMidiFileGivesThePlainSong) {
    const auto plain = convertSong("a/Song.mid", plainSong());
    ASSERT_TRUE(plain);
    const auto wrapped = convertSong("a/Song.mid", riffWrapped(plainSong()), kLenient);
    ASSERT_TRUE(wrapped) << wrapped.message();
    EXPECT_EQ(wrapped->bytes, plain->bytes);
    EXPECT_EQ(wrapped->name, plain->name);

    EXPECT_EQ(convertSong("a/Song.mid", riffWrapped(plainSong(), false), kLenient).message(),
              "RIFF MIDI file without a data chunk\n");
    // A data chunk claiming more than the file holds gives the bytes present.
    Bytes cut = riffWrapped(plainSong());
    cut.resize(cut.size() - 4);
    ASSERT_TRUE(riffMidiData(cut).ok());
    EXPECT_EQ(riffMidiData(cut)->size(), plainSong().size() - 4);
    // Shorter than the form header: nothing read past the end (the sanitizer build checks).
    for (size_t size = 0; size < 20; ++size) EXPECT_FALSE(riffMidiData(std::span(cut).first(size)).ok()) << size;
}

TEST(LenientReading, OtherChunksAndUnknownMetaEventsArePassedOver) {
    // The header claims two tracks: the MTrk chunks, not the chunk between them.
    Bytes file = test::MidiFile(480).add(conductor()).claimTrackCount(2).bytes();
    appendChunk(file, "XTRA", {1, 2, 3}, false);
    appendChunk(file, "MTrk", voice(true).bytes(), false);

    // The player reads the chunk as a track: delta 1, then a data byte before any status.
    EXPECT_EQ(convertSong("a/Song.mid", file).message(), "Unknown command 0x00\n");
    const auto lenient = convertSong("a/Song.mid", file, kLenient);
    ASSERT_TRUE(lenient) << lenient.message();
    EXPECT_EQ(lenient->bytes, convertSong("a/Song.mid", plainSong())->bytes);

    const Bytes deviceName = test::MidiFile(480).add(conductor()).add(voice(true)).bytes();
    EXPECT_EQ(convertSong("a/Song.mid", deviceName).message(), "Unknown command 0xFF 0x09\n");
    EXPECT_EQ(convertSong("a/Song.mid", deviceName, kLenient)->bytes, convertSong("a/Song.mid", plainSong())->bytes);
}

}  // namespace
}  // namespace zmr
