// One song file's bytes, as a download or an old disc might hand them over, to
// a song record. Beyond not crashing, a song that converts must give a record
// that the player can read back: both sections decode to their stated lengths.
// The same bytes under another path must give the same event section, which
// also catches state left behind by the first conversion.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "codec/byte_order.h"
#include "codec/lzw_decompress.h"
#include "fuzz/fuzz_check.h"
#include "image/convert_song.h"

namespace {

using zmr::fuzz::check;

struct Section {
    std::span<const uint8_t> compressed;
    uint32_t length = 0;
};

// Takes one framed section (compressed size, length, reserved zero, bytes) off the front.
Section takeSection(std::span<const uint8_t>& record) {
    check(record.size() >= 12, "a record holds both section headers");
    const uint32_t compressedSize = zmr::loadBigEndian32(record.data());
    const uint32_t length = zmr::loadBigEndian32(record.data() + 4);
    check(zmr::loadBigEndian32(record.data() + 8) == 0, "the reserved word is zero");
    check(compressedSize <= record.size() - 12, "a section lies inside its record");
    Section section{record.subspan(12, compressedSize), length};
    record = record.subspan(12 + compressedSize);
    return section;
}

std::vector<uint8_t> decodeSection(const Section& section) {
    auto decoded = zmr::lzwDecompressStrict(section.compressed, section.length);
    check(decoded.ok(), "a section decodes to its stated length");
    return std::move(decoded).value();
}

// A title made of the input's own first bytes, zeros and all.
std::string fuzzedPath(const uint8_t* data, size_t size) {
    const size_t titleBytes = size < 24 ? size : 24;
    return "songs\\" + std::string(reinterpret_cast<const char*>(data), titleBytes) + ".kar";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    auto first = zmr::convertSong("songs/Fuzzed Song.kar", bytes);
    auto second = zmr::convertSong(fuzzedPath(data, size), bytes);
    check(first.ok() == second.ok(), "the path never decides whether a song converts");
    if (!first.ok()) {
        check(!first.message().empty(), "a rejected song says why");
        check(first.message() == second.message(), "a rejection does not depend on the path");
        return 0;
    }

    std::span<const uint8_t> record(first->bytes);
    check(record.size() % 16 == 0, "a record is padded to 16 bytes");
    check(first->name.size() < 64, "the song-list name fits its 64-byte buffer");
    const std::vector<uint8_t> text = decodeSection(takeSection(record));
    const Section events = takeSection(record);
    const std::vector<uint8_t> eventBytes = decodeSection(events);
    check(record.size() < 16, "only padding follows the event section");
    check(text.size() % 4 == 0, "the text stream is whole 4-byte records");
    check(eventBytes.size() % 5 == 0, "the event stream is whole 5-byte records");

    std::span<const uint8_t> other(second->bytes);
    takeSection(other);
    const Section otherEvents = takeSection(other);
    check(otherEvents.length == events.length &&
              std::equal(otherEvents.compressed.begin(), otherEvents.compressed.end(), events.compressed.begin(),
                         events.compressed.end()),
          "the path changes nothing but the text section");
    return 0;
}
