// Verification of whole images: every image the compiler makes is sound, and
// a single damaged byte in any structure is found and blamed on its own song.

#include "readback/image_verify.h"

#include <gtest/gtest.h>

#include <random>

#include "codec/byte_order.h"
#include "codec/lzw_compress.h"
#include "image/image_layout.h"
#include "readback/song_list_check.h"
#include "readback/song_streams.h"
#include "support/memory_compile.h"

namespace zmr {
namespace {

using test::compileInMemory;
using test::SongFiles;

std::string songPath(size_t i) { return "/songs/Song " + std::to_string(1000 + i) + ".kar"; }

SongFiles generatedSongs(size_t count, uint32_t seed) {
    SongFiles songs;
    for (size_t i = 0; i < count; ++i) {
        const auto songSeed = static_cast<uint32_t>(seed + i);
        songs.emplace_back(songPath(i), test::generatedSong(songSeed, 4 + songSeed % 40, songSeed % 3 != 0));
    }
    return songs;
}

std::string describe(const ImageVerification& report) {
    std::string text;
    for (const ImageProblem& p : report.problems) {
        text += "song " + std::to_string(p.song) + " byte " + std::to_string(p.offset) + ": " + p.message + "\n";
    }
    return text;
}

void expectSound(const test::CompiledImage& compiled, size_t songs, std::optional<uint32_t> groups = std::nullopt) {
    const ImageVerification report = verifyImage(compiled.image);
    EXPECT_TRUE(report.sound()) << describe(report);
    EXPECT_EQ(report.scan.songs.size(), songs);
    EXPECT_EQ(report.scan.groupCount, groups.value_or(static_cast<uint32_t>((songs + kSongsPerGroup - 1) / kSongsPerGroup)));
    const auto listed = checkSongList(std::span(reinterpret_cast<const uint8_t*>(compiled.songList.data()),
                                                compiled.songList.size()),
                                      report.titles);
    for (const SongListProblem& p : listed) ADD_FAILURE() << "song list line " << p.line << ": " << p.message;
}

TEST(VerifyImage, AcceptsCollectionsAcrossThreeGroups) {
    const SongFiles songs = generatedSongs(600, 1);
    const auto compiled = compileInMemory(songs);
    ASSERT_EQ(compiled.summary.songsWritten, 600);
    expectSound(compiled, 600);

    // The walk finds each record where the compiler put it.
    const ImageIndex scan = readImageIndex(compiled.image);
    for (size_t i = 0; i < scan.songs.size(); ++i) {
        const SongLocation& song = scan.songs[i];
        ASSERT_EQ(song.number, static_cast<int32_t>(i + 1));
        EXPECT_EQ(song.group, i / 256);
        EXPECT_EQ(song.indexBlockOffset + song.offsetWord, song.recordOffset);
    }
}

TEST(VerifyImage, AcceptsGroupsThatEndOnASectorBoundary) {
    // 256 records of one size end exactly on a sector: group 1 follows without fill.
    const auto song = test::generatedSong(7, 20);
    SongFiles songs;
    for (size_t i = 0; i < 300; ++i) songs.emplace_back(songPath(i), song);
    const auto compiled = compileInMemory(songs);
    const ImageIndex scan = readImageIndex(compiled.image);
    ASSERT_EQ(scan.songs.size(), 300u);
    EXPECT_EQ(scan.songs[256].indexBlockOffset, scan.songs[255].recordOffset + scan.songs[255].recordSize);
    expectSound(compiled, 300);
}

TEST(VerifyImage, AcceptsTheEmptyImageAndSongsWithoutEventsOrLyrics) {
    expectSound(compileInMemory({}), 0);
    test::TrackWriter silent;
    silent.text(0, "no events").endOfTrack();
    const auto compiled = compileInMemory({{"/a/Silent.mid", test::MidiFile(96).add(silent).bytes()},
                                           {"/a/Plain.mid", test::generatedSong(3, 5, false)}});
    expectSound(compiled, 2);
    EXPECT_EQ(readImageIndex(compiled.image).songs[0].framing.events.compressedLength, 0u);
}

TEST(VerifyImage, AcceptsCompilationsStoppedByAFailedSongAndNotesTheEntry) {
    for (const size_t failing : {size_t{0}, size_t{5}, size_t{256}}) {
        SCOPED_TRACE(failing);
        SongFiles songs = generatedSongs(failing + 3, 20);
        songs[failing].second.clear();  // fails to convert
        const auto compiled = compileInMemory(songs);
        ASSERT_TRUE(compiled.summary.stoppedEarly);
        // The failed song opened its group, if it was a group's first.
        expectSound(compiled, failing, static_cast<uint32_t>(failing / 256 + 1));
        const ImageIndex scan = readImageIndex(compiled.image);
        ASSERT_TRUE(scan.failedSong.has_value());
        EXPECT_EQ(scan.failedSong->entryNumber, static_cast<int32_t>(failing + 1));
    }
}

TEST(VerifyImage, AcceptsCompilationsThatLeftBadSongsOut) {
    SongFiles songs = generatedSongs(270, 40);
    for (const size_t bad : {0, 100, 255, 256, 269}) songs[bad].second.clear();
    const auto compiled = compileInMemory(songs, true);
    ASSERT_EQ(compiled.summary.songsWritten, 265);
    expectSound(compiled, 265);
    EXPECT_FALSE(readImageIndex(compiled.image).failedSong.has_value());
}

// A two-group image and where its parts lie, for the damage below.
class DamagedImage : public testing::Test {
protected:
    static void SetUpTestSuite() {
        compiled_ = new test::CompiledImage(compileInMemory(generatedSongs(300, 500)));
        scan_ = new ImageIndex(readImageIndex(compiled_->image));
        ASSERT_TRUE(verifyImage(compiled_->image).sound());
    }
    static void TearDownTestSuite() {
        delete compiled_;
        delete scan_;
    }

    static const SongLocation& song(int32_t number) { return scan_->songs.at(static_cast<size_t>(number - 1)); }

    // Changes one byte and expects every problem found to name `blamed` (0 for the header and group table).
    static void expectBlamed(uint64_t offset, uint8_t value, int32_t blamed) {
        std::vector<uint8_t> image = compiled_->image;
        ASSERT_LT(offset, image.size());
        ASSERT_NE(image[offset], value) << "the damage must change the byte";
        image[offset] = value;
        const ImageVerification report = verifyImage(image);
        ASSERT_FALSE(report.sound()) << "byte " << offset;
        ASSERT_FALSE(report.problems.empty());
        for (const ImageProblem& p : report.problems) {
            EXPECT_EQ(p.song, blamed) << "byte " << offset << ": " << p.message;
        }
    }
    static void flip(uint64_t offset, uint8_t bits, int32_t blamed) {
        expectBlamed(offset, static_cast<uint8_t>(compiled_->image.at(offset) ^ bits), blamed);
    }

    static test::CompiledImage* compiled_;
    static ImageIndex* scan_;
};

test::CompiledImage* DamagedImage::compiled_ = nullptr;
ImageIndex* DamagedImage::scan_ = nullptr;

TEST_F(DamagedImage, HeaderAndGroupTable) {
    flip(2, 0x01, 0);
    flip(19, 0x01, 0);
    flip(300, 0x80, 0);
    flip(kGroupTableOffset + 3, 0x02, 0);      // group 0 said to be elsewhere
    flip(kGroupTableOffset + 4 + 3, 0x01, 0);  // group 1 said to be elsewhere
    flip(kGroupTableOffset + 8 + 3, 0x01, 0);  // a third group that does not exist
    flip(kGroupTableOffset + 100 + 1, 0x01, 0);
}

TEST_F(DamagedImage, IndexBlockEntries) {
    const uint64_t block0 = song(1).indexBlockOffset;
    const uint64_t block1 = song(257).indexBlockOffset;
    flip(block0 + 4 * 0 + 2, 0x01, 1);    // offset words: first of a group,
    flip(block0 + 4 * 9 + 2, 0x01, 10);   // in the middle,
    flip(block0 + 4 * 255 + 3, 0x10, 256);  // last of a full group,
    flip(block1 + 4 * 0 + 2, 0x04, 257);  // first of group 1,
    flip(block1 + 4 * 43 + 1, 0x01, 300);  // the last song
    flip(block0 + 1024 + 4 * 9 + 3, 0x01, 10);  // size figures
    flip(block1 + 1024 + 4 * 43 + 0, 0x01, 300);
    flip(block1 + 4 * 44 + 3, 0x05, 301);  // entries past the last song
    flip(block1 + 1024 + 4 * 44 + 3, 0x01, 301);
    flip(block1 + 4 * 200 + 2, 0x01, 457);
}

TEST_F(DamagedImage, RecordFramingWords) {
    for (const int32_t number : {1, 10, 256, 257, 300}) {
        SCOPED_TRACE(number);
        const RecordFraming& f = song(number).framing;
        flip(f.text.wordsOffset + 3, 0x01, number);       // C_t
        flip(f.text.wordsOffset + 7, 0x04, number);       // L_t
        flip(f.text.wordsOffset + 9, 0x01, number);       // reserved
        flip(f.events.wordsOffset + 3, 0x02, number);     // C_e
        flip(f.events.wordsOffset + 7, 0x01, number);     // L_e, no longer a multiple of 5
        flip(f.events.wordsOffset + 6, 0x01, number);     // L_e, 256 more
        flip(f.events.wordsOffset + 11, 0x20, number);    // reserved
    }
}

TEST_F(DamagedImage, CompressedSectionsAndZeroFill) {
    for (const int32_t number : {2, 128, 256, 299, 300}) {
        SCOPED_TRACE(number);
        const SongLocation& s = song(number);
        const RecordFraming& f = s.framing;
        flip(f.text.dataOffset(), 0x80, number);  // a first code that is no literal
        flip(f.events.dataOffset(), 0x80, number);
        flip(f.text.dataOffset() + f.text.compressedLength - 1, 0x01, number);  // bits after the last code
        flip(f.events.dataOffset() + f.events.compressedLength - 1, 0x01, number);
        if (f.framedEnd() < s.recordOffset + s.recordSize) flip(s.recordOffset + s.recordSize - 1, 0x01, number);
    }
    // The fill between group 0's last record and group 1's index block.
    const SongLocation& last = song(256);
    const uint64_t fillStart = last.recordOffset + last.recordSize;
    ASSERT_LT(fillStart, song(257).indexBlockOffset) << "this collection must leave fill before group 1";
    flip(fillStart, 0x01, 256);
    flip(song(257).indexBlockOffset - 1, 0x40, 256);
}

TEST_F(DamagedImage, CutShortOrGoingOn) {
    std::vector<uint8_t> image = compiled_->image;
    image.resize(image.size() - 7);
    ImageVerification report = verifyImage(image);
    ASSERT_FALSE(report.sound());
    for (const ImageProblem& p : report.problems) EXPECT_EQ(p.song, 300) << p.message;

    image = compiled_->image;
    image.insert(image.end(), 100, 0);
    report = verifyImage(image);
    ASSERT_FALSE(report.sound());
    for (const ImageProblem& p : report.problems) EXPECT_EQ(p.song, 300) << p.message;

    image.resize(1000);
    report = verifyImage(image);
    EXPECT_FALSE(report.sound());
    EXPECT_FALSE(report.scan.complete);
}

// Streams the compiler never writes, framed and laid out as it would be.
std::vector<uint8_t> reframe(const SongRecord& record, const std::function<void(std::vector<uint8_t>&, std::vector<uint8_t>&)>& change) {
    const auto image = std::span<const uint8_t>(record.bytes);
    const std::optional<RecordFraming> f = readRecordFraming(image, 0);
    EXPECT_TRUE(f.has_value());
    std::vector<uint8_t> text = *decodeSection(image, f->text, true);
    std::vector<uint8_t> events = *decodeSection(image, f->events, true);
    change(text, events);
    return frameSongRecord(lzwCompress(text), static_cast<uint32_t>(text.size()), lzwCompress(events),
                           static_cast<uint32_t>(events.size()));
}

void expectStreamProblem(const std::function<void(std::vector<uint8_t>&, std::vector<uint8_t>&)>& change,
                         const std::string& expected) {
    const SongFiles songs = generatedSongs(6, 900);
    const auto compiled = compileInMemory(songs, false, [&](const std::string& path, SongRecord& record) {
        if (path == songs[3].first) record.bytes = reframe(record, change);
    });
    const ImageVerification report = verifyImage(compiled.image);
    ASSERT_FALSE(report.sound());
    bool found = false;
    for (const ImageProblem& p : report.problems) {
        EXPECT_EQ(p.song, 4) << p.message;
        found = found || p.message.find(expected) != std::string::npos;
    }
    EXPECT_TRUE(found) << expected << " not in:\n" << describe(report);
}

TEST(VerifyImage, FindsStreamsTheCompilerNeverWrites) {
    using Bytes = std::vector<uint8_t>;
    expectStreamProblem([](Bytes& text, Bytes&) { text[4 * 5 + 1] = 0; }, "line-feed flag 0 beside code 13");
    expectStreamProblem([](Bytes& text, Bytes&) { text[4 * 2 + 1] = 10; }, "line-feed flag 10 beside code 48");
    expectStreamProblem([](Bytes& text, Bytes&) { text[text.size() - 4] = 32; }, "closing records");
    expectStreamProblem([](Bytes& text, Bytes&) { text[0] = 'h'; }, "template");
    expectStreamProblem([](Bytes& text, Bytes&) { text.push_back(0); }, "multiple of 4");
    expectStreamProblem([](Bytes&, Bytes& events) { events[2] = 0x50; }, "byte 2 is 0x50");
    expectStreamProblem([](Bytes&, Bytes& events) { events[5 * 2 + 2] = 0xF0; }, "byte 2 is 0xF0");
    expectStreamProblem([](Bytes&, Bytes& events) { events.push_back(1); }, "multiple of 5");
}

TEST(VerifyImage, HostileImagesGiveProblemsNotCrashes) {
    const SongFiles songs = generatedSongs(5, 77);
    const std::vector<uint8_t> original = compileInMemory(songs).image;
    std::mt19937 random(12345);
    for (int round = 0; round < 1500; ++round) {
        std::vector<uint8_t> image = original;
        const size_t at = random() % image.size();
        switch (random() % 4) {
            case 0:
                image[at] = static_cast<uint8_t>(random());
                break;
            case 1:
                // Every cut loses part of a record or of the layout.
                image.resize(at);
                EXPECT_FALSE(verifyImage(image).sound()) << "cut at " << at;
                continue;
            case 2:
                if (at + 4 <= image.size()) storeBigEndian32(&image[at], static_cast<uint32_t>(random()) | 0x80000000u);
                break;
            default:
                for (int i = 0; i < 8; ++i) image[random() % image.size()] = static_cast<uint8_t>(random());
        }
        // A changed compressed byte may still decode to a valid stream; what
        // matters here is that any image is read within its bounds.
        const ImageVerification report = verifyImage(image);
        EXPECT_LE(report.scan.songs.size(), songs.size() + 1);
    }
}

TEST(VerifyImage, ClaimedLengthsAreNotTrustedWithMemory) {
    const auto compiled = compileInMemory(generatedSongs(1, 5));
    std::vector<uint8_t> image = compiled.image;
    const ImageIndex scan = readImageIndex(image);
    storeBigEndian32(&image[scan.songs[0].framing.text.wordsOffset + 4], 0xFFFFFFF0u);
    const ImageVerification report = verifyImage(image);
    ASSERT_FALSE(report.sound());
    bool refused = false;
    for (const ImageProblem& p : report.problems) refused = refused || p.message.find("can hold") != std::string::npos;
    EXPECT_TRUE(refused) << describe(report);
}

}  // namespace
}  // namespace zmr
