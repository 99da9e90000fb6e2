#pragma once
// Reading a song record's framing back: the compressed text section and the
// compressed event section, each behind its compressed length, its
// uncompressed length and a reserved word. Every length is checked against
// the image before a byte of the section is touched.

#include <cstdint>
#include <optional>
#include <span>

namespace zmr {

// Offsets are absolute within the image; 64-bit so that no sum of words read
// from a hostile image can wrap.
struct SectionFraming {
    uint64_t wordsOffset = 0;       // the compressed length word
    uint32_t compressedLength = 0;  // C
    uint32_t length = 0;            // L, of the stream once decoded
    uint32_t reserved = 0;          // 0 in every record the compiler writes
    uint64_t dataOffset() const { return wordsOffset + 12; }
};

struct RecordFraming {
    SectionFraming text, events;
    uint64_t framedEnd() const { return events.dataOffset() + events.compressedLength; }
    // 24 + C_t + C_e rounded up to 16: the size the record must have.
    uint64_t size(uint64_t recordOffset) const;
};

// The framing of the record at `offset`, or nothing when its words or
// sections would run past the end of `image`.
std::optional<RecordFraming> readRecordFraming(std::span<const uint8_t> image, uint64_t offset);

// The section's compressed bytes; the framing must come from readRecordFraming on this image.
std::span<const uint8_t> sectionBytes(std::span<const uint8_t> image, const SectionFraming& section);

}  // namespace zmr
