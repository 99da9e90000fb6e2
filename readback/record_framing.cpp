#include "readback/record_framing.h"

#include "codec/byte_order.h"
#include "image/song_record.h"

namespace zmr {
namespace {

constexpr uint64_t kSectionWords = 12;

std::optional<SectionFraming> readSection(std::span<const uint8_t> image, uint64_t offset) {
    if (offset > image.size() || image.size() - offset < kSectionWords) return std::nullopt;
    const uint8_t* words = image.data() + offset;
    SectionFraming section{offset, loadBigEndian32(words), loadBigEndian32(words + 4), loadBigEndian32(words + 8)};
    if (image.size() - section.dataOffset() < section.compressedLength) return std::nullopt;
    return section;
}

}  // namespace

uint64_t RecordFraming::size(uint64_t recordOffset) const {
    const uint64_t framed = framedEnd() - recordOffset;
    return (framed + kSongRecordAlignment - 1) / kSongRecordAlignment * kSongRecordAlignment;
}

std::optional<RecordFraming> readRecordFraming(std::span<const uint8_t> image, uint64_t offset) {
    const std::optional<SectionFraming> text = readSection(image, offset);
    if (!text) return std::nullopt;
    const std::optional<SectionFraming> events = readSection(image, text->dataOffset() + text->compressedLength);
    if (!events) return std::nullopt;
    return RecordFraming{*text, *events};
}

std::span<const uint8_t> sectionBytes(std::span<const uint8_t> image, const SectionFraming& section) {
    return image.subspan(static_cast<size_t>(section.dataOffset()), section.compressedLength);
}

}  // namespace zmr
