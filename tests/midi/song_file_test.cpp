#include "midi/song_file.h"

#include <gtest/gtest.h>

#include "support/midi_writer.h"

namespace zmr {
namespace {

using test::MidiFile;
using test::TrackWriter;
using Bytes = std::vector<uint8_t>;

Bytes trackBytes(const SongFile& song, size_t index) {
    const auto span = song.trackBytes(index);
    return Bytes(span.begin(), span.end());
}

TEST(SongFile, RejectsShortFileAndZeroDivision) {
    EXPECT_EQ(loadSongFile(std::span<const uint8_t>{}).message(), "Invalid MIDI file\n");
    Bytes header = MidiFile(480).bytes();
    header.pop_back();
    EXPECT_EQ(loadSongFile(header).message(), "Invalid MIDI file\n");
    const Bytes zeroDivision = MidiFile(0).bytes();
    EXPECT_EQ(loadSongFile(zeroDivision).message(), "Invalid MIDI division 0\n");
}

TEST(SongFile, ReadsHeaderAndTracksBackToBack) {
    TrackWriter a;
    a.noteOn(0, 0, 60, 100).endOfTrack();
    TrackWriter b;
    b.lyric(5, "la");
    const Bytes file = MidiFile(96).add(a).add(Bytes{}).add(b).bytes();
    const Result<SongFile> song = loadSongFile(file);
    ASSERT_TRUE(song.ok());
    EXPECT_EQ(song->trackCount, 3);
    EXPECT_EQ(song->division, 96);
    ASSERT_EQ(song->tracks.size(), 3u);
    EXPECT_EQ(trackBytes(*song, 0), a.bytes());
    EXPECT_EQ(trackBytes(*song, 1), Bytes{});
    EXPECT_EQ(trackBytes(*song, 2), b.bytes());
    EXPECT_EQ(song->totalTrackBytes, a.bytes().size() + b.bytes().size());
}

TEST(SongFile, IgnoresHeaderLengthFormatAndChunkIds) {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100);
    Bytes file = MidiFile(96, 7).claimHeaderLength(22).add(t).bytes();
    file[0] = 'X';
    file[14] = 'J';  // chunk id of track 0
    const Result<SongFile> song = loadSongFile(file);
    ASSERT_TRUE(song.ok());
    ASSERT_EQ(song->tracks.size(), 1u);
    EXPECT_EQ(song->tracks[0].offset, 22u);
    EXPECT_EQ(trackBytes(*song, 0), t.bytes());
}

TEST(SongFile, KeepsOnlyTheBytesTheFileHolds) {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100).noteOff(10, 0, 60);
    const Bytes honest = MidiFile(96).add(t).add(t).bytes();

    // Cut inside the second chunk's events: it holds what is left.
    const Bytes cutEvents(honest.begin(), honest.end() - 3);
    Result<SongFile> song = loadSongFile(cutEvents);
    ASSERT_TRUE(song.ok());
    ASSERT_EQ(song->tracks.size(), 2u);
    EXPECT_EQ(song->tracks[1].length, t.bytes().size() - 3);
    EXPECT_EQ(song->totalTrackBytes, 2 * t.bytes().size() - 3);

    // Cut inside the second chunk header: only the first track is present.
    const size_t secondHeader = 14 + 8 + t.bytes().size();
    const Bytes cutHeader(honest.begin(), honest.begin() + secondHeader + 7);
    song = loadSongFile(cutHeader);
    ASSERT_TRUE(song.ok());
    EXPECT_EQ(song->trackCount, 2);
    EXPECT_EQ(song->tracks.size(), 1u);
    EXPECT_EQ(song->totalTrackBytes, t.bytes().size());
}

TEST(SongFile, ClaimedCountsCostNoMemoryBeyondTheFile) {
    TrackWriter t;
    t.noteOn(0, 0, 60, 100);
    const Bytes manyTracks = MidiFile(96).add(t).claimTrackCount(65535).bytes();
    Result<SongFile> song = loadSongFile(manyTracks);
    ASSERT_TRUE(song.ok());
    EXPECT_EQ(song->trackCount, 65535);
    EXPECT_EQ(song->tracks.size(), 1u);

    const Bytes longChunk = MidiFile(96).add(t, 0xFFFFFFFF).add(t).bytes();
    song = loadSongFile(longChunk);
    ASSERT_TRUE(song.ok());
    ASSERT_EQ(song->tracks.size(), 1u);  // the first chunk swallows the rest of the file
    EXPECT_EQ(song->tracks[0].length, t.bytes().size() + 8 + t.bytes().size());
    EXPECT_EQ(song->totalTrackBytes, song->tracks[0].length);

    const Bytes noTracks = MidiFile(96).claimTrackCount(0).add(t).bytes();
    song = loadSongFile(noTracks);
    ASSERT_TRUE(song.ok());
    EXPECT_TRUE(song->tracks.empty());
    EXPECT_EQ(song->totalTrackBytes, 0u);
}

}  // namespace
}  // namespace zmr
