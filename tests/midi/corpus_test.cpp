// Runs the reader, the merge and the event stream over real third-party files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

#include "midi/event_stream.h"
#include "midi/track_merger.h"

namespace zmr {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "" when the song converts, else the message that rejected it.
std::string convert(std::vector<uint8_t> bytes) {
    Result<SongFile> song = loadSongFile(bytes);
    if (!song) return song.message();
    EventStream stream;
    stream.startEventStream(song->totalTrackBytes);
    const Status merged = mergeTracks(*song, stream);
    if (!merged) return merged.message();
    stream.finishEventStream();
    EXPECT_EQ(stream.bytes().size() % kEventRecordSize, 0u);
    return "";
}

TEST(MidiCorpus, EveryFileConvertsOrIsRejectedWithAKnownMessage) {
    const fs::path corpus = ZMR_CORPUS_DIR;
    // The corpus ships with the repository: a missing folder is a broken checkout, not a reason to skip.
    ASSERT_TRUE(fs::is_directory(corpus)) << "no corpus at " << corpus;

    const std::regex known(
        "Invalid MIDI file\n|Invalid MIDI division 0\n|Unknown command 0xFF 0x[0-9A-F]{2}\n|Unknown command 0x[0-9A-F]{2}\n");
    std::map<std::string, std::string> outcomes;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".mid" && extension != ".kar")) continue;
        const std::string outcome = convert(readFile(entry.path()));
        EXPECT_TRUE(outcome.empty() || std::regex_match(outcome, known)) << entry.path() << ": " << outcome;
        outcomes[entry.path().filename().string()] = outcome;
    }
    ASSERT_FALSE(outcomes.empty());

    const std::map<std::string, std::string> expected = {
        {"test-empty-file.mid", "Invalid MIDI file\n"},
        {"test-illegal-message-f8.mid", "Unknown command 0xF8\n"},
        {"test-non-midi-track.mid", "Unknown command 0x00\n"},
        {"MIDIBadHeaderTracksNum.mid", ""},
        {"MIDIBadTrackLength.mid", ""},
        {"test-corrupt-file-missing-byte.mid", ""},
        {"haendel_hallelujah.mid", ""},
        {"twinkle.kar", ""},
    };
    for (const auto& [name, message] : expected) {
        if (outcomes.contains(name)) {
            EXPECT_EQ(outcomes[name], message) << name;
        }
    }
}

}  // namespace
}  // namespace zmr
