// Peak resident memory and time per song of whole compilations of generated
// collections of small songs, written to disk first and compiled into image
// files in a temporary folder, as the build command does. Each compilation
// runs in a child process of its own, so its peak (getrusage ru_maxrss) is
// its own and not the highest of every run before it. The peak must not grow
// with the number of songs: the compilation holds a bounded window of songs,
// never the collection.
//
//   zmr_bench --benchmark_filter=CompileCollection

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "image/compile_image.h"
#include "image/file_image_writer.h"
#include "support/midi_writer.h"

namespace {

namespace fs = std::filesystem;

// About 2 KB: a melody of 120 notes with a lyric syllable on every fourth.
std::vector<uint8_t> smallSong(uint32_t seed) {
    static const char* const syllables[] = {"Em ", "ye^u ", "que^ ", "hu+o+ng ", "dde^m ", "tra(ng "};
    std::mt19937 random(seed);
    zmr::test::TrackWriter track(true);
    track.tempo(0, 400000 + random() % 200000).programChange(0, 0, static_cast<uint8_t>(random() % 128));
    for (int i = 0; i < 120; ++i) {
        const auto note = static_cast<uint8_t>(55 + random() % 24);
        if (i % 4 == 0) track.lyric(0, syllables[random() % 6]);
        track.noteOn(0, 0, note, static_cast<uint8_t>(70 + random() % 40)).noteOff(60 + random() % 120, 0, note);
    }
    return zmr::test::MidiFile(96).add(track.endOfTrack()).bytes();
}

class Collection : public zmr::SongSource {
public:
    std::vector<std::string> paths;
    int32_t count() const override { return static_cast<int32_t>(paths.size()); }
    std::string path(int32_t index) const override { return paths[static_cast<size_t>(index)]; }
};

class Silent : public zmr::ProgressSink, public zmr::StateSink, public zmr::SongMessageSink {
public:
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void stateChanged(zmr::CompileState) override {}
    void songFailed(std::string_view, std::string_view) override {}
};

// The benchmark's folder, removed when the program ends.
struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("zmr-memory-bench-" + std::to_string(::getpid()));
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// Each size's songs are written once and kept for every run.
const Collection& collection(int32_t count) {
    static ScratchFolder scratch;
    static std::map<int32_t, Collection> collections;
    Collection& songs = collections[count];
    if (!songs.paths.empty()) return songs;
    const fs::path folder = scratch.path / std::to_string(count);
    fs::create_directories(folder / "out");
    for (int32_t i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "song%05d.kar", i);
        const std::vector<uint8_t> bytes = smallSong(static_cast<uint32_t>(i));
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        songs.paths.push_back((folder / name).string());
    }
    return songs;
}

struct ChildReport {
    double seconds = 0;
    long startRssKib = 0;  // the child's resident memory before compiling
    int32_t songsWritten = 0;
};

long peakRssKib() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

[[noreturn]] void compileInChild(const Collection& songs, const fs::path& out, int reportFd) {
    ChildReport report;
    report.startRssKib = peakRssKib();
    Silent silent;
    zmr::FileImageWriter writer(out);
    const auto start = std::chrono::steady_clock::now();
    const auto result = zmr::compileImage(songs, writer, {silent, silent, silent});
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.songsWritten = result.ok() ? result->songsWritten : -1;
    (void)!::write(reportFd, &report, sizeof report);
    ::_exit(result.ok() ? 0 : 1);
}

void BM_CompileCollection(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    const Collection& songs = collection(count);
    const fs::path out = fs::path(songs.paths.front()).parent_path() / "out";
    long peakKib = 0, startKib = 0;
    double seconds = 0;
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) return state.SkipWithError("no pipe");
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            compileInChild(songs, out, fds[1]);
        }
        ::close(fds[1]);
        ChildReport report;
        const bool reported = ::read(fds[0], &report, sizeof report) == static_cast<ssize_t>(sizeof report);
        ::close(fds[0]);
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || report.songsWritten != count)
            return state.SkipWithError("the compilation failed");
        state.SetIterationTime(report.seconds);
        peakKib = std::max(peakKib, usage.ru_maxrss);
        startKib = report.startRssKib;
        seconds += report.seconds;
    }
    state.counters["us_per_song"] = 1e6 * seconds / (static_cast<double>(count) * static_cast<double>(state.iterations()));
    state.counters["songs"] = count;
    state.counters["peak_rss_MiB"] = static_cast<double>(peakKib) / 1024.0;
    state.counters["start_rss_MiB"] = static_cast<double>(startKib) / 1024.0;
    // What the compilation itself added: the list of paths is the caller's and grows with the count.
    state.counters["growth_MiB"] = static_cast<double>(peakKib - startKib) / 1024.0;
}
BENCHMARK(BM_CompileCollection)->Arg(1000)->Arg(10000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
