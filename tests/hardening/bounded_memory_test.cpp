// Sizes and counts that a file claims cost nothing beyond the bytes it really
// holds: each case runs in a child whose address space may grow only by a
// fixed headroom (so one allocation from a claimed size ends it) and whose
// peak resident memory is measured.

// Each case runs in a forked child under an address-space limit (fork,
// setrlimit, getrusage): POSIX only, so not in the Windows build.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/lzw_decompress.h"
#include "hardening/child_process.h"
#include "hardening/hostile_files.h"
#include "hardening/recording_sinks.h"
#include "image/compile_image.h"
#include "image/convert_song.h"
#include "image/file_image_writer.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::Bytes;

constexpr size_t kHeadroom = size_t{256} << 20;
constexpr long kSmallGrowthKib = 16 * 1024;

struct Claim {
    std::string name;
    Bytes bytes;
};

std::vector<Claim> claims() {
    return {
        {"tracks_65535_none_present", test::MidiFile(96).claimTrackCount(65535).bytes()},
        {"tracks_65535_one_present", test::MidiFile(96).add(test::TrackWriter().noteOn(0, 0, 60, 1)).claimTrackCount(65535).bytes()},
        {"chunk_length_ffffffff", test::songWithEvents({0x00, 0x80, 60, 0}, 0xFFFFFFFFu)},
        {"every_chunk_length_ffffffff",
         test::MidiFile(96).add(test::TrackWriter().noteOn(0, 0, 60, 1), 0xFFFFFFFFu).add(test::TrackWriter(), 0xFFFFFFFFu).bytes()},
        {"lyric_length_0fffffff", test::songWithEvents({0x00, 0xFF, 0x05, 0xFF, 0xFF, 0xFF, 0x7F, 'L', 'a'})},
        {"sysex_length_0fffffff", test::songWithEvents({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0xF7})},
        {"delta_0fffffff_then_notes", test::songWithEvents({0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 61, 1})},
    };
}

class ClaimedSize : public testing::TestWithParam<Claim> {};

TEST_P(ClaimedSize, CostsNothingBeyondTheFile) {
    const Bytes bytes = GetParam().bytes;
    const test::ChildOutcome outcome = test::runInChild(
        [&] {
            // A few rounds, so that a slow leak would show as growth.
            for (int round = 0; round < 50; ++round) (void)convertSong("claim.mid", bytes);
            return 0;
        },
        {.addressSpaceHeadroom = kHeadroom});
    ASSERT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
    if (!test::underAddressSanitizer()) {
        EXPECT_LT(outcome.peakRssGrowthKib, kSmallGrowthKib) << outcome.describe();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ClaimedSize, testing::ValuesIn(claims()),
                         [](const testing::TestParamInfo<Claim>& info) { return info.param.name; });

// A real song of 8 MiB behind a chunk length of 0xFFFFFFFF: memory stays a
// small multiple of the file (the file, its events, both compressed streams).
TEST(BoundedMemory, LargeSongCostsAFewTimesItsSize) {
    test::TrackWriter track(true);
    while (track.bytes().size() < (size_t{8} << 20)) track.noteOn(1, 0, 60, 100).noteOn(1, 0, 60, 0);
    const Bytes bytes = test::MidiFile(96).add(track, 0xFFFFFFFFu).bytes();
    const long fileKib = static_cast<long>(bytes.size() / 1024);
    const test::ChildOutcome outcome = test::runInChild(
        [&] { return convertSong("large.mid", bytes).ok() ? 0 : 1; },
        {.addressSpaceHeadroom = bytes.size() * 16 + kHeadroom});
    ASSERT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
    if (!test::underAddressSanitizer()) {
        EXPECT_LT(outcome.peakRssGrowthKib, 12 * fileKib) << outcome.describe();
    }
}

// The decoder is asked for 4 GiB from sections that cannot hold it: it fails
// after decoding what is there, without reserving the claim.
TEST(BoundedMemory, DecoderReservesNoClaimedLength) {
    for (size_t sectionSize : {size_t{16}, size_t{4096}, size_t{1} << 20, size_t{4} << 20}) {
        SCOPED_TRACE("section of " + std::to_string(sectionSize) + " bytes");
        const Bytes zeros(sectionSize, 0);
        const Bytes noise = test::randomBytes(sectionSize, 7);
        const test::ChildOutcome outcome = test::runInChild(
            [&] {
                const bool refused = !lzwDecompress(zeros, 0xFFFFFFFFu).ok() && !lzwDecompressStrict(noise, 0xFFFFFFFFu).ok();
                return refused ? 0 : 1;
            },
            {.addressSpaceHeadroom = sectionSize * 16 + kHeadroom});
        EXPECT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
    }
}

// Memory follows the largest song, not the count: 3,000 songs cost what 300 do.
TEST(BoundedMemory, CompilationMemoryDoesNotGrowWithTheSongCount) {
    test::TempDir dir;
    const std::string song = dir.write("song.mid", test::honestSong());
    struct Repeated : SongSource {
        std::string file;
        int32_t songs = 0;
        int32_t count() const override { return songs; }
        std::string path(int32_t) const override { return file; }
    };
    auto growthFor = [&](int32_t count) {
        return test::runInChild(
            [&] {
                Repeated list;
                list.file = song;
                list.songs = count;
                test::RecordingSinks sinks;
                FileImageWriter writer(dir.path());
                const auto result = compileImage(list, writer, sinks.sinks());
                return result.ok() && result->songsWritten == count ? 0 : 1;
            },
            {.addressSpaceHeadroom = kHeadroom});
    };
    const test::ChildOutcome few = growthFor(300);
    const test::ChildOutcome many = growthFor(3000);
    ASSERT_TRUE(few.exited && few.exitCode == 0) << few.describe();
    ASSERT_TRUE(many.exited && many.exitCode == 0) << many.describe();
    if (test::underAddressSanitizer()) GTEST_SKIP() << "peak memory under AddressSanitizer includes its quarantine";
    EXPECT_LT(many.peakRssGrowthKib, few.peakRssGrowthKib + 2048) << few.describe() << " / " << many.describe();
}

}  // namespace
}  // namespace zmr
#endif  // _WIN32
