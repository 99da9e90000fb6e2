#include "image/song_record.h"

#include "codec/byte_order.h"

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

}  // namespace

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
