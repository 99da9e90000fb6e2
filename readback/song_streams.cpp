#include "readback/song_streams.h"

#include "codec/lzw_decompress.h"

namespace zmr {

Result<std::vector<uint8_t>> decodeSection(std::span<const uint8_t> image, const SectionFraming& section, bool strict) {
    if (section.length > lzwMaxDecodedSize(section.compressedLength)) {
        return Failure{"stated length " + std::to_string(section.length) + " is more than " +
                       std::to_string(section.compressedLength) + " compressed bytes can hold",
                       FailureKind::BadImage};
    }
    const std::span<const uint8_t> bytes = sectionBytes(image, section);
    return strict ? lzwDecompressStrict(bytes, section.length) : lzwDecompress(bytes, section.length);
}

Result<SongStreams> readSongStreams(std::span<const uint8_t> image, const SongLocation& song) {
    Result<std::vector<uint8_t>> text = decodeSection(image, song.framing.text, false);
    if (!text) return Failure{"song " + std::to_string(song.number) + ", text section: " + text.message(), text.kind()};
    Result<std::vector<uint8_t>> events = decodeSection(image, song.framing.events, false);
    if (!events)
        return Failure{"song " + std::to_string(song.number) + ", event section: " + events.message(), events.kind()};
    return SongStreams{std::move(text).value(), std::move(events).value()};
}

}  // namespace zmr
