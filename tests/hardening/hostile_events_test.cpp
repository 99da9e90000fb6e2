// Every meta type, every system status and heaps of random bytes through
// convertSong: each gives a record or one of the reader's messages, and none
// crashes, hangs or allocates beyond what the file holds.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/hex_text.h"
#include "hardening/child_process.h"
#include "hardening/hostile_files.h"
#include "image/convert_song.h"

namespace zmr {
namespace {

using test::Bytes;

// Meta types the reader knows: everything else is rejected by name.
const std::set<int> kKnownMetaTypes = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                       0x20, 0x21, 0x2F, 0x51, 0x54, 0x58, 0x59, 0x7F};

TEST(HostileEvents, EveryMetaTypeConvertsOrIsRejectedByName) {
    for (int type = 0; type < 256; ++type) {
        SCOPED_TRACE("meta type " + hexNumber(static_cast<uint32_t>(type)));
        // Enough body bytes for the longest fixed-size meta event, whatever the type reads.
        const Bytes song = test::songWithEvents({0x00, 0xFF, static_cast<uint8_t>(type), 0x02, 0x01, 0x01, 0x01, 0x01,
                                                 0x01, 0x01, 0x00, 0x80, 60, 0});
        const auto record = convertSong("meta.mid", song);
        if (kKnownMetaTypes.count(type)) {
            EXPECT_TRUE(record.ok()) << record.message();
        } else {
            ASSERT_FALSE(record.ok());
            EXPECT_EQ(record.message(), "Unknown command 0xFF " + hexNumber(static_cast<uint32_t>(type)) + "\n");
        }
    }
}

TEST(HostileEvents, EverySystemStatusIsSkippedReadOrRejectedByName) {
    for (int status = 0xF0; status <= 0xFF; ++status) {
        SCOPED_TRACE("status " + hexNumber(static_cast<uint32_t>(status)));
        const Bytes song = test::songWithEvents({0x00, static_cast<uint8_t>(status), 0x01, 0x01, 0x00, 0x80, 60, 0});
        const auto record = convertSong("system.mid", song);
        // 0xF0 and 0xF7 are system exclusive, 0xFF a meta event (here type 1, a text).
        if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
            EXPECT_TRUE(record.ok()) << record.message();
        } else {
            ASSERT_FALSE(record.ok());
            EXPECT_EQ(record.message(), "Unknown command " + hexNumber(static_cast<uint32_t>(status)) + "\n");
        }
    }
}

bool isReaderMessage(const std::string& message) {
    return message == "Invalid MIDI file\n" || message == "Invalid MIDI division 0\n" ||
           message.rfind("Unknown command 0x", 0) == 0;
}

// Random bytes alone, and random bytes behind a believable header, of sizes
// up to 4 KiB; counted so a change that rejects everything shows.
TEST(HostileEvents, RandomBytesGiveARecordOrAReadersMessage) {
    const test::ChildOutcome outcome = test::runInChild([] {
        int converted = 0;
        for (uint32_t seed = 1; seed <= 3000; ++seed) {
            Bytes bytes = test::randomBytes(seed % 4097, seed);
            if (seed % 2 == 0 && bytes.size() >= 22) {
                const Bytes header = test::MidiFile(96).claimTrackCount(static_cast<uint16_t>(seed % 5)).bytes();
                std::copy(header.begin(), header.end(), bytes.begin());
                const uint8_t chunk[] = {'M', 'T', 'r', 'k', 0, 0, static_cast<uint8_t>(seed >> 4), static_cast<uint8_t>(seed)};
                std::copy(std::begin(chunk), std::end(chunk), bytes.begin() + 14);
            }
            const auto record = convertSong("random.mid", bytes);
            if (record.ok()) ++converted;
            else if (!isReaderMessage(record.message())) return 2;
        }
        return converted > 0 ? 0 : 3;
    });
    EXPECT_TRUE(outcome.exited && outcome.exitCode == 0) << outcome.describe();
}

}  // namespace
}  // namespace zmr
