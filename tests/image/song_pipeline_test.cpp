// The pipeline on its own: outcomes in list order whatever the workers do, a
// song that throws on a worker done again in its turn, a run stopped early,
// and a FIFO that waits for its turn on the calling thread.

#include "image/song_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "image/song_path_list.h"
#include "support/midi_writer.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zmr {
namespace {

// The outcome names the song and where it was worked on. SongPathList starting
// "fail" fail; "throw" throws on a worker, "throw always" in its turn too.
SongWork<Result<std::string>> labelling(std::atomic<int>& aheadCalls) {
    return {[&aheadCalls](const std::string& path, ConversionBuffers&) -> std::optional<Result<std::string>> {
                ++aheadCalls;
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                if (path.starts_with("throw")) throw std::runtime_error("no memory");
                if (path.starts_with("fail")) return Result<std::string>(Failure{path});
                return Result<std::string>(path + " ahead");
            },
            [](const std::string& path, ConversionBuffers&) -> Result<std::string> {
                if (path == "throw always") throw std::runtime_error("no memory");
                if (path.starts_with("fail")) return Failure{path};
                return path + " in turn";
            }};
}

TEST(SongPipeline, FailuresAndThrowsOnWorkersComeBackInListOrder) {
    std::vector<std::string> paths;
    for (int i = 0; i < 60; ++i) paths.push_back((i % 7 == 3 ? "fail " : i % 11 == 5 ? "throw " : "") + std::to_string(i));
    paths.push_back("throw always");
    for (const unsigned jobs : {1u, 3u}) {
        std::atomic<int> aheadCalls = 0;
        const SongPathList source(paths);
        SongPipeline<Result<std::string>> pipeline(source, labelling(aheadCalls), jobs);
        for (int32_t i = 0; i + 1 < source.count(); ++i) {
            const auto [path, outcome] = pipeline.take(i);
            EXPECT_EQ(path, paths[static_cast<size_t>(i)]);
            // A worker that threw leaves the song to the calling thread.
            const bool ahead = jobs > 1 && !path.starts_with("throw");
            if (path.starts_with("fail")) EXPECT_EQ(outcome.message(), path);
            else EXPECT_EQ(*outcome, path + (ahead ? " ahead" : " in turn"));
        }
        EXPECT_EQ(aheadCalls > 0, jobs > 1);
        // What the work throws in the song's turn reaches the caller.
        EXPECT_THROW(pipeline.take(source.count() - 1), std::runtime_error);
    }
}

TEST(SongPipeline, StoppedEarlyItEndsWithoutWorkingFarAhead) {
    std::atomic<int> aheadCalls = 0;
    {
        const SongPathList source(std::vector<std::string>(500, "song"));
        SongPipeline<Result<std::string>> pipeline(source, labelling(aheadCalls), 4);
        EXPECT_TRUE(pipeline.take(0).second);
    }
    EXPECT_LE(aheadCalls, 4 * 4);  // a window of four songs a worker
}

#ifndef _WIN32  // FIFOs
TEST(SongPipeline, AFifoIsReadInItsTurnAndNeverWhenTheRunStopsBeforeIt) {
    test::TempDir dir;
    const std::vector<uint8_t> song = test::oneNoteSong("La");
    const std::string fifo = dir / "fifo.mid", unwritten = dir / "unwritten.mid";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(unwritten.c_str(), 0600), 0);
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);  // until the calling thread opens it
        EXPECT_EQ(::write(fd, song.data(), song.size()), static_cast<ssize_t>(song.size()));
        ::close(fd);
    });
    const SongPathList source({dir.write("a.mid", song), fifo, dir.write("c.mid", song), unwritten});
    const auto work = songFileWork<Result<SongRecord>>(
        [](const std::string& path, std::span<const uint8_t> bytes, ConversionBuffers& buffers) {
            return convertSong(path, bytes, buffers);
        },
        [](Failure reason) { return Result<SongRecord>(std::move(reason)); });
    {
        SongPipeline<Result<SongRecord>> pipeline(source, work, 3);
        for (int32_t i = 0; i < 3; ++i) {
            const auto [path, record] = pipeline.take(i);
            ASSERT_TRUE(record) << record.message();
            EXPECT_EQ(record->bytes, convertSong(path, song)->bytes);
        }
    }  // the unwritten FIFO is never opened, so this ends
    writer.join();
}
#endif

}  // namespace
}  // namespace zmr
