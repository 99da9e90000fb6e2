// The LZW coder and decoder as whole processes on whole files, so the
// benchmark script can time them the way it times `compress`:
//
//   zmr_lzw_file events FOLDER OUT       the event streams of FOLDER's songs, one after another
//   zmr_lzw_file compress IN OUT         IN coded with lzwCompressInto
//   zmr_lzw_file expand IN LENGTH OUT    a code stream decoded back to LENGTH bytes
//   zmr_lzw_file rates IN [ROUNDS]       coder and decoder timed inside the process, in turn, on 20 KB sections
//   zmr_lzw_file merge FOLDER [ROUNDS]   the songs' tracks merged into event records, timed inside the process
//
// The input is mapped rather than copied and the output goes to fresh huge
// pages, as `compress` streams through small buffers: the process then costs
// the coder's time and little else.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "codec/lzw_compress.h"
#include "codec/lzw_decompress.h"
#include "fileio/file_bytes.h"
#include "image/song_order.h"
#include "midi/event_stream.h"
#include "midi/song_file.h"
#include "midi/track_merger.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "zmr_lzw_file: %s\n", message.c_str());
    return 1;
}

bool writeFile(const char* path, std::span<const uint8_t> bytes) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "wb"), &std::fclose);
    return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
           std::fflush(file.get()) == 0;
}

// A whole file mapped read-only.
class MappedFile {
public:
    explicit MappedFile(const char* path) {
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_size > 0) {
            size_ = static_cast<size_t>(info.st_size);
            void* mapped = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
            if (mapped != MAP_FAILED) data_ = static_cast<const uint8_t*>(mapped);
        }
        ::close(fd);
    }
    ~MappedFile() {
        if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool ok() const { return data_ != nullptr; }
    std::span<const uint8_t> bytes() const { return {data_, size_}; }

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

int writeEvents(const std::string& folder, const char* out) {
    auto paths = zmr::listSongFolder(folder);
    if (!paths) return fail(folder + ": " + paths.message());
    zmr::sortSongPaths(*paths);
    std::vector<uint8_t> all;
    for (const std::string& path : *paths) {
        auto bytes = zmr::readFileBytes(path);
        if (!bytes) return fail(path + ": " + bytes.message());
        auto song = zmr::loadSongFile(*bytes);
        if (!song) return fail(path + ": " + song.message());
        zmr::EventStream events;
        events.startEventStream(song->totalTrackBytes);
        if (auto merged = zmr::mergeTracks(*song, events); !merged) return fail(path + ": " + merged.message());
        events.finishEventStream();
        all.insert(all.end(), events.bytes().begin(), events.bytes().end());
    }
    if (!writeFile(out, all)) return fail(std::string("cannot write ") + out);
    std::printf("%zu songs, %zu bytes of event records\n", paths->size(), all.size());
    return 0;
}

// Room for the code stream, in huge pages where the system offers them: the
// stream is written once, front to back, and a fault per 4 KiB page would
// cost more than `compress` spends on its small reused buffers.
class OutputBuffer {
public:
    explicit OutputBuffer(size_t size) : size_((size + kHugePage - 1) / kHugePage * kHugePage) {
        void* mapped = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) return;
        data_ = static_cast<uint8_t*>(mapped);
        (void)::madvise(data_, size_, MADV_HUGEPAGE);  // a hint: without it the pages are small
    }
    ~OutputBuffer() {
        if (data_) ::munmap(data_, size_);
    }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    bool ok() const { return data_ != nullptr; }
    std::span<uint8_t> bytes() const { return {data_, size_}; }

private:
    static constexpr size_t kHugePage = size_t{2} << 20;
    size_t size_;
    uint8_t* data_ = nullptr;
};

int compress(const char* in, const char* out) {
    const MappedFile input(in);
    if (!input.ok()) return fail(std::string("cannot read ") + in);
    const OutputBuffer buffer(zmr::lzwMaxCompressedSize(input.bytes().size()));
    if (!buffer.ok()) return fail("out of memory");
    const size_t written = zmr::lzwCompressInto(input.bytes(), buffer.bytes());
    if (!writeFile(out, buffer.bytes().first(written))) return fail(std::string("cannot write ") + out);
    return 0;
}

int expand(const char* in, const char* lengthText, const char* out) {
    const MappedFile input(in);
    if (!input.ok()) return fail(std::string("cannot read ") + in);
    const auto length = static_cast<uint32_t>(std::strtoul(lengthText, nullptr, 10));
    auto decoded = zmr::lzwDecompress(input.bytes(), length);
    if (!decoded) return fail(std::string(in) + ": " + decoded.message());
    if (!writeFile(out, *decoded)) return fail(std::string("cannot write ") + out);
    return 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The coder and the decoder in turn on the same bytes cut into sections of
// 20 KB, about a song's event section each; the time of each is the median of
// ROUNDS passes over all sections, and neither pays for reading or writing files.
int rates(const char* in, const char* roundsText) {
    constexpr size_t kSection = 20000;
    const MappedFile input(in);
    if (!input.ok()) return fail(std::string("cannot read ") + in);
    const std::vector<uint8_t> bytes(input.bytes().begin(), input.bytes().end());
    std::vector<std::span<const uint8_t>> sections;
    for (size_t at = 0; at < bytes.size(); at += kSection)
        sections.push_back(std::span(bytes).subspan(at, std::min(kSection, bytes.size() - at)));
    std::vector<std::vector<uint8_t>> coded;
    for (const auto section : sections) coded.push_back(zmr::lzwCompress(section));

    const int rounds = roundsText ? std::max(1, std::atoi(roundsText)) : 9;
    std::vector<uint8_t> out(zmr::lzwMaxCompressedSize(kSection));
    std::vector<double> coder, decoder;
    for (int round = 0; round < rounds; ++round) {
        bool same = true;
        const auto start = std::chrono::steady_clock::now();
        for (size_t i = 0; i < sections.size(); ++i) same &= zmr::lzwCompressInto(sections[i], out) == coded[i].size();
        const auto middle = std::chrono::steady_clock::now();
        for (size_t i = 0; i < sections.size(); ++i) {
            const auto decoded = zmr::lzwDecompress(coded[i], static_cast<uint32_t>(sections[i].size()));
            same &= decoded.ok() && decoded->size() == sections[i].size();
        }
        const auto end = std::chrono::steady_clock::now();
        if (!same) return fail("a section did not come back the same size");
        coder.push_back(std::chrono::duration<double>(middle - start).count());
        decoder.push_back(std::chrono::duration<double>(end - middle).count());
    }
    // Each pass's own ratio too: their lowest and highest show how steady the run was.
    std::vector<double> ratios;
    for (size_t i = 0; i < coder.size(); ++i) ratios.push_back(coder[i] / decoder[i]);
    const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
    const double megabytes = static_cast<double>(bytes.size()) / 1e6;
    std::printf("coder %.1f MB/s, decoder %.1f MB/s, decoder / coder %.2f (passes %.2f .. %.2f)\n",
                megabytes / median(coder), megabytes / median(decoder), median(coder) / median(decoder), *lowest,
                *highest);
    return 0;
}

// Every song of FOLDER read into memory first; then each pass parses and
// merges them all into one reused event stream, as a compilation's worker
// does before the coder. The median pass, and its lowest and highest.
int merge(const char* folder, const char* roundsText) {
    auto paths = zmr::listSongFolder(folder);
    if (!paths) return fail(std::string(folder) + ": " + paths.message());
    zmr::sortSongPaths(*paths);
    std::vector<std::vector<uint8_t>> files;
    for (const std::string& path : *paths) {
        auto bytes = zmr::readFileBytes(path);
        if (!bytes) return fail(path + ": " + bytes.message());
        files.push_back(std::move(*bytes));
    }
    const int rounds = roundsText ? std::max(1, std::atoi(roundsText)) : 9;
    zmr::EventStream events;
    size_t recordBytes = 0;
    std::vector<double> passes;
    for (int round = 0; round < rounds; ++round) {
        recordBytes = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const auto& file : files) {
            auto song = zmr::loadSongFile(file);
            if (!song) return fail(song.message());
            events.startEventStream(song->totalTrackBytes);
            if (auto merged = zmr::mergeTracks(*song, events); !merged) return fail(merged.message());
            events.finishEventStream();
            recordBytes += events.bytes().size();
        }
        passes.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    const auto [lowest, highest] = std::minmax_element(passes.begin(), passes.end());
    std::printf("merge %.1f ms per pass of %zu songs (%.1f .. %.1f; %d passes), %zu bytes of event records\n",
                median(passes) * 1e3, files.size(), *lowest * 1e3, *highest * 1e3, rounds, recordBytes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "events" && argc == 4) return writeEvents(argv[2], argv[3]);
    if (mode == "compress" && argc == 4) return compress(argv[2], argv[3]);
    if (mode == "expand" && argc == 5) return expand(argv[2], argv[3], argv[4]);
    if (mode == "rates" && (argc == 3 || argc == 4)) return rates(argv[2], argc == 4 ? argv[3] : nullptr);
    if (mode == "merge" && (argc == 3 || argc == 4)) return merge(argv[2], argc == 4 ? argv[3] : nullptr);
    std::fprintf(stderr,
                 "usage: zmr_lzw_file events FOLDER OUT\n"
                 "       zmr_lzw_file compress IN OUT\n"
                 "       zmr_lzw_file expand IN LENGTH OUT\n"
                 "       zmr_lzw_file rates IN [ROUNDS]\n"
                 "       zmr_lzw_file merge FOLDER [ROUNDS]\n");
    return 2;
}
