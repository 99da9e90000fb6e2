#include "image/compile_image.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "image/convert_song.h"
#include "image/image_layout.h"
#include "image/memory_image_writer.h"
#include "image/song_path_list.h"
#include "support/image_inspector.h"
#include "support/midi_writer.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

// Records everything a compilation reports.
struct Recorder : ProgressSink, StateSink, SongMessageSink {
    std::vector<int32_t> positions;
    std::pair<int32_t, int32_t> range{-1, -1};
    std::vector<CompileState> states;
    std::vector<std::string> failures;
    void setRange(int32_t lo, int32_t hi) override { range = {lo, hi}; }
    void setPosition(int32_t p) override { positions.push_back(p); }
    void stateChanged(CompileState state) override { states.push_back(state); }
    void songFailed(std::string_view path, std::string_view message) override {
        failures.push_back(std::string(path) + ": " + std::string(message));
    }
    CompileSinks sinks() { return CompileSinks{*this, *this, *this}; }
};

// Songs named "<size>" become records of that many bytes (a multiple of 16);
// "bad" fails as a rejected song would.
Result<SongRecord> sizedRecord(const std::string& path) {
    if (path == "bad") return Failure{"Unknown command 0xF8\n"};
    const size_t size = std::stoul(path);
    std::vector<uint8_t> bytes(size, 0);
    bytes[0] = 0xAB;  // marks the record's first byte
    return SongRecord{std::move(bytes), path + "\tname"};
}

struct Compiled {
    Result<CompileSummary> summary;
    std::vector<uint8_t> image;
    std::string songList;
};

Compiled compile(std::vector<std::string> paths, Recorder& recorder, bool skipBad = false) {
    MemoryImageWriter writer;
    SongPathList source(std::move(paths));
    auto summary = compileImage(source, writer, recorder.sinks(), CompileOptions{skipBad, sizedRecord});
    return {std::move(summary), writer.image(), std::string(writer.songList().begin(), writer.songList().end())};
}

TEST(CompileImage, EmptyListGivesHeaderAndZeroGroupTable) {
    Recorder recorder;
    const Compiled out = compile({}, recorder);
    ASSERT_TRUE(out.summary);
    ASSERT_EQ(out.image.size(), 2048u);
    const auto header = imageHeader();
    EXPECT_TRUE(std::equal(header.begin(), header.end(), out.image.begin()));
    for (size_t i = 512; i < 2048; ++i) ASSERT_EQ(out.image[i], 0) << i;
    EXPECT_TRUE(out.songList.empty());
    EXPECT_EQ(recorder.range, std::make_pair(0, 99));
    EXPECT_EQ(recorder.positions, std::vector<int32_t>{0});
    EXPECT_EQ(recorder.states, (std::vector<CompileState>{CompileState::Compiling, CompileState::Done}));
}

TEST(CompileImage, ThreeSongsLayOutAsThePlayerReadsThem) {
    Recorder recorder;
    const Compiled out = compile({"3008", "1488", "16000"}, recorder);
    ASSERT_TRUE(out.summary);
    EXPECT_EQ(out.summary->songsWritten, 3);
    ASSERT_EQ(out.image.size(), 24592u);
    EXPECT_EQ(test::wordAt(out.image, 512), 1u);
    EXPECT_EQ(test::wordAt(out.image, 516), 0u);
    const auto groups = test::readGroups(out.image);
    ASSERT_EQ(groups.size(), 1u);
    const uint32_t offsets[] = {2048, 5056, 6544};
    const uint32_t figures[] = {2, 1, 10};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(groups[0].entries[k].offsetWord, offsets[k]);
        EXPECT_EQ(groups[0].entries[k].sizeFigure, figures[k]);
        EXPECT_EQ(out.image[2048 + offsets[k]], 0xAB);  // 4096, 7104, 8592
    }
    for (size_t k = 3; k < 256; ++k) EXPECT_EQ(groups[0].entries[k].offsetWord, 0u);
    EXPECT_EQ(out.songList, "1\t3008\tname\r\n2\t1488\tname\r\n3\t16000\tname\r\n");
    EXPECT_EQ(recorder.positions, (std::vector<int32_t>{0, 33, 66, 100}));
}

TEST(CompileImage, SongAfter256OpensGroupOneOnTheNextSector) {
    // 256 songs of 48 bytes end 16 bytes past a sector boundary: 2032 bytes of fill follow.
    std::vector<std::string> paths(257, "48");
    Recorder recorder;
    const Compiled out = compile(paths, recorder);
    ASSERT_TRUE(out.summary);
    const auto groups = test::readGroups(out.image);
    ASSERT_EQ(groups.size(), 2u);
    const size_t endOfGroup0 = 4096 + 256 * 48;  // 16384, already aligned: no fill
    EXPECT_EQ(groups[1].sector, endOfGroup0 / 2048);
    EXPECT_EQ(groups[1].entries[0].offsetWord, 2048u);
    EXPECT_EQ(groups[0].entries[255].offsetWord, 2048u + 255 * 48);
    EXPECT_EQ(out.image.size(), endOfGroup0 + 2048 + 48);

    paths.assign(256, "64");
    paths.insert(paths.begin(), "16");  // shifts everything 16 bytes off the sector
    const Compiled shifted = compile(paths, recorder);
    const auto g = test::readGroups(shifted.image);
    ASSERT_EQ(g.size(), 2u);
    const size_t end0 = 4096 + 16 + 255 * 64;
    EXPECT_EQ(g[1].sector * 2048u, (end0 + 2047) / 2048 * 2048);
    for (size_t i = end0; i < g[1].sector * 2048u; ++i) ASSERT_EQ(shifted.image[i], 0);
}

TEST(CompileImage, FirstSongFailingLeavesItsOffsetWordAndNothingElse) {
    Recorder recorder;
    const Compiled out = compile({"bad", "32"}, recorder);
    ASSERT_TRUE(out.summary);
    EXPECT_TRUE(out.summary->stoppedEarly);
    EXPECT_EQ(out.summary->songsWritten, 0);
    ASSERT_EQ(out.image.size(), 4096u);
    EXPECT_EQ(test::wordAt(out.image, 512), 1u);
    EXPECT_EQ(test::wordAt(out.image, 2048), 2048u);
    for (size_t i = 2052; i < 4096; ++i) ASSERT_EQ(out.image[i], 0) << i;
    EXPECT_TRUE(out.songList.empty());
    EXPECT_EQ(recorder.positions, std::vector<int32_t>{0});
    EXPECT_EQ(recorder.states.back(), CompileState::Done);
    EXPECT_EQ(recorder.failures, std::vector<std::string>{"bad: Unknown command 0xF8\n"});
}

TEST(CompileImage, SongAtPosition256FailingStillOpensGroupOne) {
    std::vector<std::string> paths(256, "32");
    paths.push_back("bad");
    paths.push_back("32");
    Recorder recorder;
    const Compiled out = compile(paths, recorder);
    ASSERT_TRUE(out.summary);
    const auto groups = test::readGroups(out.image);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].entries[255].sizeFigure, 0u);
    EXPECT_EQ(groups[0].entries[255].offsetWord, 2048u + 255 * 32);
    EXPECT_EQ(groups[1].entries[0].offsetWord, 2048u);
    EXPECT_EQ(groups[1].entries[1].offsetWord, 0u);
    EXPECT_EQ(out.image.size(), groups[1].sector * 2048u + 2048);
    EXPECT_EQ(std::count(out.songList.begin(), out.songList.end(), '\n'), 256);
}

TEST(CompileImage, SkipBadLeavesFailedSongsOutAndNumbersTheRest) {
    Recorder recorder;
    const Compiled out = compile({"bad", "32", "bad", "48"}, recorder, true);
    ASSERT_TRUE(out.summary);
    EXPECT_EQ(out.summary->songsWritten, 2);
    EXPECT_EQ(out.summary->songsFailed, 2);
    EXPECT_FALSE(out.summary->stoppedEarly);
    EXPECT_EQ(out.songList, "1\t32\tname\r\n2\t48\tname\r\n");
    const auto groups = test::readGroups(out.image);
    EXPECT_EQ(groups[0].entries[0].offsetWord, 2048u);
    EXPECT_EQ(groups[0].entries[1].offsetWord, 2080u);
    EXPECT_EQ(groups[0].entries[2].offsetWord, 0u);
    EXPECT_EQ(out.image.size(), 4096u + 80);
}

TEST(CompileImage, SongListNamesHaveLineBreaksReplaced) {
    MemoryImageWriter writer;
    SongPathList source({"x"});
    Recorder recorder;
    auto convert = [](const std::string&) -> Result<SongRecord> {
        return SongRecord{std::vector<uint8_t>(16), "Abc\tEm\r\nye^u"};
    };
    ASSERT_TRUE(compileImage(source, writer, recorder.sinks(), CompileOptions{false, convert}));
    EXPECT_EQ(std::string(writer.songList().begin(), writer.songList().end()), "1\tAbc\tEm  ye^u\r\n");
}

TEST(CompileImage, TooManySongsWritesNothing) {
    MemoryImageWriter writer;
    SongPathList source(std::vector<std::string>(static_cast<size_t>(kMaxSongs) + 1, "16"));
    Recorder recorder;
    auto result = compileImage(source, writer, recorder.sinks(), CompileOptions{false, sizedRecord});
    ASSERT_FALSE(result);
    EXPECT_NE(result.message().find("98304"), std::string::npos);
    EXPECT_TRUE(recorder.states.empty());
    EXPECT_TRUE(writer.image().empty());
}

TEST(CompileImage, FullDiskKeepsTheEarlierImage) {
    MemoryImageWriter writer;
    Recorder recorder;
    SongPathList first({"32"});
    ASSERT_TRUE(compileImage(first, writer, recorder.sinks(), CompileOptions{false, sizedRecord}));
    const auto goodImage = writer.image();
    const auto goodList = writer.songList();

    for (uint64_t budget : {0u, 100u, 2100u, 4100u}) {
        writer.failAfter(budget);
        SongPathList second({"32", "64", "4000"});
        auto result = compileImage(second, writer, recorder.sinks(), CompileOptions{false, sizedRecord});
        ASSERT_FALSE(result) << budget;
        EXPECT_NE(result.message().find("disk is full"), std::string::npos);
        EXPECT_EQ(writer.image(), goodImage);
        EXPECT_EQ(writer.songList(), goodList);
    }
}

// Three groups of real songs, each converted from a generated file, read back
// through the index blocks.
TEST(CompileImage, GeneratedCollectionAcrossThreeGroups) {
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> paths;
    for (int i = 0; i < 600; ++i) {
        test::TrackWriter track;
        for (int n = 0; n < 1 + i % 7; ++n) track.noteOn(n == 0 ? 0 : 30, 0, static_cast<uint8_t>(60 + n), 90).noteOff(60, 0, static_cast<uint8_t>(60 + n));
        track.lyric(0, "la").endOfTrack();
        const std::string path = "songs/" + std::to_string(1000 + i) + ".mid";
        files[path] = test::MidiFile(96).add(track).bytes();
        paths.push_back(path);
    }
    auto convert = [&files](const std::string& path) { return convertSong(path, files.at(path)); };
    MemoryImageWriter writer;
    SongPathList source(paths);
    Recorder recorder;
    auto result = compileImage(source, writer, recorder.sinks(), CompileOptions{false, convert});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->songsWritten, 600);
    const auto& image = writer.image();
    EXPECT_EQ(result->imageSize, image.size());

    const auto groups = test::readGroups(image);
    ASSERT_EQ(groups.size(), 3u);
    size_t song = 0;
    for (size_t g = 0; g < groups.size(); ++g) {
        const size_t block = size_t{groups[g].sector} * 2048;
        if (g > 0) {
            EXPECT_GT(groups[g].sector, groups[g - 1].sector);
        }
        for (size_t k = 0; k < 256 && song < 600; ++k, ++song) {
            const auto record = convertSong(paths[song], files.at(paths[song]));
            ASSERT_TRUE(record);
            const size_t at = block + groups[g].entries[k].offsetWord;
            ASSERT_LE(at + record->bytes.size(), image.size());
            EXPECT_TRUE(std::equal(record->bytes.begin(), record->bytes.end(), image.begin() + static_cast<long>(at)))
                << "song " << song;
            EXPECT_EQ(groups[g].entries[k].sizeFigure, record->bytes.size() / 1472);
        }
    }
    EXPECT_EQ(test::wordAt(image, 512 + 12), 0u);
    const std::string list(writer.songList().begin(), writer.songList().end());
    EXPECT_EQ(list.substr(0, 12), "1\t1000\tla\r\n2");
}

TEST(CompileImage, ConvertingAheadOnThreadsGivesTheSameBytes) {
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> paths;
    for (int i = 0; i < 300; ++i) {
        test::TrackWriter track;
        for (int n = 0; n < 5 + i % 50; ++n) track.noteOn(7, n % 16, static_cast<uint8_t>(30 + (n * i) % 70), 64).lyric(0, "ha`t ");
        track.endOfTrack();
        paths.push_back("p/" + std::to_string(i) + (i == 150 ? ".bad" : ".mid"));
        files[paths.back()] = i == 150 ? std::vector<uint8_t>{1, 2, 3} : test::MidiFile(120).add(track).bytes();
    }
    auto convert = [&files](const std::string& path) { return convertSong(path, files.at(path)); };
    std::vector<std::vector<uint8_t>> images, lists;
    for (unsigned jobs : {1u, 2u, 7u}) {
        for (bool skipBad : {false, true}) {
            MemoryImageWriter writer;
            SongPathList source(paths);
            Recorder recorder;
            ASSERT_TRUE(compileImage(source, writer, recorder.sinks(), CompileOptions{skipBad, convert, jobs}));
            images.push_back(writer.image());
            lists.push_back(writer.songList());
            EXPECT_EQ(recorder.failures.size(), 1u);
        }
    }
    for (size_t i = 2; i < images.size(); ++i) {
        EXPECT_EQ(images[i], images[i % 2]) << i;
        EXPECT_EQ(lists[i], lists[i % 2]) << i;
    }
}

// Songs read from files by 1 to 8 threads, ahead of their turn and out of
// order (their sizes differ widely): the same image, song list and messages,
// with songs that cannot be opened, read or converted among them.
TEST(CompileImage, ReadingAheadOnAnyNumberOfThreadsGivesTheSameBytes) {
    test::TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 150; ++i) {
        test::TrackWriter track(true);
        for (int n = 0; n < 3 + (i * 37) % 400; ++n) {
            const auto key = static_cast<uint8_t>(40 + (n * i) % 50);
            track.noteOn(3, static_cast<uint8_t>(n % 4), key, 90).lyric(0, "ye^u ").noteOn(2, static_cast<uint8_t>(n % 4), key, 0);
        }
        const auto bytes = i % 29 == 7 ? std::vector<uint8_t>{1, 2, 3} : test::MidiFile(96).add(track.endOfTrack()).bytes();
        paths.push_back(dir.write(std::to_string(1000 + i) + ".mid", bytes));
    }
    paths.insert(paths.begin() + 40, dir / "missing.mid");
    std::filesystem::create_directories(dir.path() / "folder.mid");
    paths.insert(paths.begin() + 90, dir / "folder.mid");

    struct Output {
        std::vector<uint8_t> image, songList;
        std::vector<std::string> failures;
        bool operator==(const Output&) const = default;
    };
    for (const bool skipBad : {false, true}) {
        std::optional<Output> first;
        for (const unsigned jobs : {1u, 2u, 3u, 8u}) {
            SCOPED_TRACE(std::to_string(jobs) + (skipBad ? " jobs, skipping bad songs" : " jobs"));
            MemoryImageWriter writer;
            SongPathList source(paths);
            Recorder recorder;
            ASSERT_TRUE(compileImage(source, writer, recorder.sinks(), CompileOptions{skipBad, {}, jobs}));
            Output output{writer.image(), writer.songList(), recorder.failures};
            EXPECT_EQ(output.failures.size(), skipBad ? 7u : 1u);
            if (!first) first = output;
            EXPECT_TRUE(output == *first);
        }
    }
}

}  // namespace
}  // namespace zmr
