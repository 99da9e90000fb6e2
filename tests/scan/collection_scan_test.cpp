// Scanning a collection on workers: the songs come back in list order, each
// announced before it is handed over, with the summary of them all, whatever
// the number of workers.

#include "scan/collection_scan.h"

#include <gtest/gtest.h>

#include "image/song_path_list.h"
#include "support/midi_writer.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

std::vector<uint8_t> songWithLyric(std::string_view word) {
    test::TrackWriter track;
    track.lyric(0, word).noteOn(0, 0, 60, 100).noteOff(480, 0, 60).endOfTrack();
    return test::MidiFile(480).add(track).bytes();
}

TEST(CollectionScan, SongsComeInListOrderWithTheSummaryForAnyNumberOfJobs) {
    test::TempDir dir;
    const std::vector<uint8_t> notMidi = {'n', 'o', 't'};
    const std::vector<std::string> paths = {dir.write("a.mid", songWithLyric("a")), dir.write("b.mid", notMidi),
                                            dir / "missing.mid", dir.write("c.kar", songWithLyric("c"))};
    for (const unsigned jobs : {1u, 3u}) {
        SCOPED_TRACE(std::to_string(jobs) + " jobs");
        std::vector<std::string> events;
        CollectionScanSinks sinks;
        sinks.songStarted = [&](int32_t index, int32_t count, const std::string& path) {
            EXPECT_EQ(count, 4);
            EXPECT_EQ(path, paths.at(static_cast<size_t>(index)));
            events.push_back("start " + path);
        };
        sinks.songScanned = [&](const std::string& path, const SongScan& scan) {
            events.push_back((scan.compiles ? "ok " : "fails ") + path);
        };
        const ScanSummary summary = scanCollection(SongPathList(paths), jobs, sinks);
        const std::vector<std::string> expected = {
            "start " + paths[0], "ok " + paths[0],    "start " + paths[1], "fails " + paths[1],
            "start " + paths[2], "fails " + paths[2], "start " + paths[3], "ok " + paths[3],
        };
        EXPECT_EQ(events, expected);
        EXPECT_EQ(summary.songs(), 4);
        EXPECT_EQ(summary.count(ScanOutcome::Compiles), 2);
        EXPECT_EQ(summary.count(ScanOutcome::Fails), 2);
    }
}

}  // namespace
}  // namespace zmr
