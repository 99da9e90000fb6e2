#include "readback/text_records.h"

#include "text/name_buffer.h"
#include "text/text_stream.h"

namespace zmr {
namespace {

constexpr uint8_t kLineEnd = TextRecord::kLineEnd;
constexpr uint8_t kLineFeedFlag = 10;
constexpr size_t kFirstTemplateRecords = 15;  // "H0002\r@@00@13\r@", ending with the '@' before the title
constexpr size_t kClosingRecords = 2;

bool operator==(const TextRecord& a, const TextRecord& b) {
    return a.code == b.code && a.lineFeed == b.lineFeed && a.time == b.time;
}

std::vector<TextRecord> recordsOf(std::span<const uint8_t> stream) {
    std::vector<TextRecord> records;
    records.reserve(stream.size() / kTextRecordSize);
    for (size_t i = 0; i + kTextRecordSize <= stream.size(); i += kTextRecordSize) {
        records.push_back(TextRecord{stream[i], stream[i + 1], static_cast<uint16_t>(stream[i + 2] | (stream[i + 3] << 8))});
    }
    return records;
}

// The writer's own header for a song with an empty title: the first template,
// the title's line end, then the second template and the fixed text. A real
// header is this with the title's records before that line end.
const std::vector<TextRecord>& emptyTitleHeader() {
    static const std::vector<TextRecord> header = [] {
        TextStream writer;
        NameBuffer name;
        writer.beginTextStream(".kar", name);
        return recordsOf(writer.bytes());
    }();
    return header;
}

size_t byteOf(size_t record) { return record * kTextRecordSize; }

void checkLineFeedFlags(TextStreamParts& parts) {
    for (size_t i = 0; i < parts.records.size(); ++i) {
        const TextRecord& r = parts.records[i];
        const uint8_t expected = r.code == kLineEnd ? kLineFeedFlag : 0;
        if (r.lineFeed != expected) {
            parts.problems.push_back({byteOf(i) + 1, "line-feed flag " + std::to_string(r.lineFeed) + " beside code " +
                                                         std::to_string(r.code) + ", expected " +
                                                         std::to_string(expected)});
        }
    }
}

// Finds the title and the end of the header; false when they are not there.
bool readHeader(TextStreamParts& parts) {
    const std::vector<TextRecord>& expected = emptyTitleHeader();
    const std::vector<TextRecord>& records = parts.records;
    for (size_t i = 0; i < kFirstTemplateRecords; ++i) {
        if (i >= records.size() || !(records[i] == expected[i])) {
            parts.problems.push_back({byteOf(i), "the text header does not begin with its template"});
            return false;
        }
    }
    size_t titleEnd = kFirstTemplateRecords;
    while (titleEnd < records.size() && records[titleEnd].code != kLineEnd) {
        if (records[titleEnd].time != 0) {
            parts.problems.push_back({byteOf(titleEnd) + 2, "title record with time " +
                                                                std::to_string(records[titleEnd].time) + ", expected 0"});
        }
        parts.titleCodes.push_back(records[titleEnd].code);
        ++titleEnd;
    }
    const size_t rest = expected.size() - kFirstTemplateRecords;  // the title's line end and what follows
    for (size_t i = 0; i < rest; ++i) {
        const size_t at = titleEnd + i;
        if (at >= records.size() || !(records[at] == expected[kFirstTemplateRecords + i])) {
            parts.problems.push_back({byteOf(at), "the text header does not go on after the title as it should"});
            return false;
        }
    }
    parts.lyricsBegin = titleEnd + rest;
    return true;
}

void readClosing(TextStreamParts& parts) {
    const std::vector<TextRecord>& records = parts.records;
    const TextRecord closing{kLineEnd, kLineFeedFlag, 0};
    const size_t available = records.size() - parts.lyricsBegin;
    bool closed = available >= kClosingRecords;
    for (size_t i = 0; closed && i < kClosingRecords; ++i) closed = records[records.size() - 1 - i] == closing;
    if (!closed) {
        parts.problems.push_back({byteOf(records.size()), "the stream does not end with the two closing records 13, 10, 0, 0"});
        parts.lyricsEnd = records.size();
        return;
    }
    parts.lyricsEnd = records.size() - kClosingRecords;
}

}  // namespace

TextStreamParts readTextStream(std::span<const uint8_t> stream) {
    TextStreamParts parts;
    parts.records = recordsOf(stream);
    if (stream.size() % kTextRecordSize != 0) {
        parts.problems.push_back({stream.size(), "the text stream's length " + std::to_string(stream.size()) +
                                                     " is not a multiple of 4"});
    }
    checkLineFeedFlags(parts);
    parts.headerFound = readHeader(parts);
    if (parts.headerFound) {
        readClosing(parts);
    } else {
        parts.lyricsBegin = parts.lyricsEnd = 0;
    }
    return parts;
}

std::vector<std::span<const TextRecord>> splitLyricLines(std::span<const TextRecord> lyrics) {
    std::vector<std::span<const TextRecord>> lines;
    size_t start = 0;
    for (size_t i = 0; i < lyrics.size(); ++i) {
        if (!lyrics[i].endsLine()) continue;
        lines.push_back(lyrics.subspan(start, i + 1 - start));
        start = i + 1;
    }
    if (start < lyrics.size()) lines.push_back(lyrics.subspan(start));
    return lines;
}

std::vector<LyricLine> lyricLines(std::span<const TextRecord> lyrics) {
    std::vector<LyricLine> lines;
    for (const std::span<const TextRecord> records : splitLyricLines(lyrics)) {
        LyricLine& line = lines.emplace_back(LyricLine{records.front().time, {}});
        for (const TextRecord& r : records)
            if (!r.endsLine()) line.codes.push_back(r.code);
    }
    return lines;
}

size_t lyricCharacterCount(std::span<const TextRecord> lyrics) {
    size_t count = 0;
    for (const TextRecord& r : lyrics) count += r.code != kLineEnd;
    return count;
}

}  // namespace zmr
