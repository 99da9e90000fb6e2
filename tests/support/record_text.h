#pragma once
// A converted song's text stream read back, for tests that state what the
// player will show: its lyric records and their lines.

#include <gtest/gtest.h>

#include "image/song_record.h"
#include "readback/record_framing.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"
#include "text/code_page_inverse.h"

namespace zmr::test {

inline TextStreamParts recordText(const SongRecord& record) {
    const auto framing = readRecordFraming(record.bytes, 0);
    EXPECT_TRUE(framing.has_value());
    if (!framing) return {};
    const Result<std::vector<uint8_t>> text = decodeSection(record.bytes, framing->text, true);
    EXPECT_TRUE(text.ok());
    return text ? readTextStream(*text) : TextStreamParts{};
}

inline std::vector<uint8_t> lyricCodes(const TextStreamParts& text) {
    std::vector<uint8_t> codes;
    for (const TextRecord& r : text.lyrics()) codes.push_back(r.code);
    return codes;
}

// Each line as the player shows it, in UTF-8, with the time of its first record.
inline std::vector<std::pair<uint16_t, std::string>> shownLines(const TextStreamParts& text) {
    std::vector<std::pair<uint16_t, std::string>> lines;
    for (const LyricLine& line : lyricLines(text.lyrics())) lines.emplace_back(line.time, codesToUtf8(line.codes));
    return lines;
}

}  // namespace zmr::test
