#include "image/song_record.h"

#include <algorithm>

#include "codec/byte_order.h"
#include "codec/lzw_compress.h"

namespace zmr {
namespace {

void appendWord(std::vector<uint8_t>& out, uint32_t word) {
    uint8_t bytes[4];
    storeBigEndian32(bytes, word);
    out.insert(out.end(), bytes, bytes + 4);
}

void appendSection(std::vector<uint8_t>& out, std::span<const uint8_t> compressed, uint32_t length) {
    appendWord(out, static_cast<uint32_t>(compressed.size()));
    appendWord(out, length);
    appendWord(out, 0);  // reserved
    out.insert(out.end(), compressed.begin(), compressed.end());
}

constexpr size_t kSectionHeaderSize = 12;  // compressed length, length, reserved word

// Writes one section's header and compressed stream at `at`; returns where it ends.
size_t compressSection(std::span<const uint8_t> stream, std::vector<uint8_t>& record, size_t at) {
    const std::span<uint8_t> codes = std::span(record).subspan(at + kSectionHeaderSize);
    const auto compressed = static_cast<uint32_t>(lzwCompressInto(stream, codes));
    storeBigEndian32(&record[at], compressed);
    storeBigEndian32(&record[at + 4], static_cast<uint32_t>(stream.size()));
    storeBigEndian32(&record[at + 8], 0);  // reserved
    return at + kSectionHeaderSize + compressed;
}

}  // namespace

void compressSongRecord(std::span<const uint8_t> text, std::span<const uint8_t> events, std::vector<uint8_t>& record) {
    const size_t room = 2 * kSectionHeaderSize + lzwMaxCompressedSize(text.size()) +
                        lzwMaxCompressedSize(events.size()) + kSongRecordAlignment;
    if (record.size() < room) record.resize(room);
    const size_t end = compressSection(events, record, compressSection(text, record, 0));
    const size_t padded = (end + kSongRecordAlignment - 1) / kSongRecordAlignment * kSongRecordAlignment;
    std::fill(record.begin() + static_cast<std::ptrdiff_t>(end), record.begin() + static_cast<std::ptrdiff_t>(padded), 0);
    record.resize(padded);
}

std::vector<uint8_t> frameSongRecord(std::span<const uint8_t> compressedText, uint32_t textLength,
                                     std::span<const uint8_t> compressedEvents, uint32_t eventLength) {
    std::vector<uint8_t> record;
    const size_t framed = 24 + compressedText.size() + compressedEvents.size();
    record.reserve(framed + kSongRecordAlignment);
    appendSection(record, compressedText, textLength);
    appendSection(record, compressedEvents, eventLength);
    const size_t remainder = record.size() % kSongRecordAlignment;
    if (remainder != 0) record.resize(record.size() + kSongRecordAlignment - remainder, 0);
    return record;
}

}  // namespace zmr
