// One song file's bytes, as a download or an old disc might hand them over, to
// a song record. Beyond not crashing, a song that converts must give a record
// that the player can read back: both sections decode to their stated lengths.
// The same bytes under another path must give the same event section, which
// also catches state left behind by the first conversion. Each input is also
// read with every reading option on (RIFF wrappers, other chunks, unknown meta
// events, Soft Karaoke text events) and its text in UTF-8, Windows-1258 or
// decided per song, chosen by the input's last byte.

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

// Both sections decode to their stated lengths and only padding follows; gives the event section.
Section checkRecord(const zmr::SongRecord& song, std::vector<uint8_t>& text) {
    std::span<const uint8_t> record(song.bytes);
    check(record.size() % 16 == 0, "a record is padded to 16 bytes");
    check(song.name.size() < 64, "the song-list name fits its 64-byte buffer");
    text = decodeSection(takeSection(record));
    const Section events = takeSection(record);
    const std::vector<uint8_t> eventBytes = decodeSection(events);
    check(record.size() < 16, "only padding follows the event section");
    check(text.size() % 4 == 0, "the text stream is whole 4-byte records");
    check(eventBytes.size() % 5 == 0, "the event stream is whole 5-byte records");
    return events;
}

zmr::ConvertOptions optionsFor(const uint8_t* data, size_t size) {
    constexpr zmr::TextEncoding kEncodings[] = {zmr::TextEncoding::Utf8, zmr::TextEncoding::Cp1258,
                                                zmr::TextEncoding::Auto};
    const uint8_t selector = size > 0 ? data[size - 1] : 0;
    return {.textEncoding = kEncodings[selector % 3], .karText = true, .lenient = true};
}

// A title made of the input's own first bytes, zeros and all.
std::string fuzzedPath(const uint8_t* data, size_t size) {
    const size_t titleBytes = size < 24 ? size : 24;
    return "songs\\" + std::string(reinterpret_cast<const char*>(data), titleBytes) + ".kar";
}

void convertWithOptions(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    auto song = zmr::convertSong(fuzzedPath(data, size), bytes, optionsFor(data, size));
    if (!song.ok()) {
        check(!song.message().empty(), "a rejected song says why");
        return;
    }
    std::vector<uint8_t> text;
    checkRecord(*song, text);
    check(song->uncodedCharacters >= 0, "a count of characters is not negative");
    for (size_t i = 0; i < text.size(); i += 4) {
        check((text[i + 1] == 10) == (text[i] == 13) && (text[i + 1] == 0 || text[i + 1] == 10),
              "a text record's line-feed flag is 10 exactly beside code 13");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    convertWithOptions(data, size);
    const std::vector<uint8_t> bytes(data, data + size);
    auto first = zmr::convertSong("songs/Fuzzed Song.kar", bytes);
    auto second = zmr::convertSong(fuzzedPath(data, size), bytes);
    check(first.ok() == second.ok(), "the path never decides whether a song converts");
    if (!first.ok()) {
        check(!first.message().empty(), "a rejected song says why");
        check(first.message() == second.message(), "a rejection does not depend on the path");
        return 0;
    }

    std::vector<uint8_t> text;
    const Section events = checkRecord(*first, text);

    std::span<const uint8_t> other(second->bytes);
    takeSection(other);
    const Section otherEvents = takeSection(other);
    check(otherEvents.length == events.length &&
              std::equal(otherEvents.compressed.begin(), otherEvents.compressed.end(), events.compressed.begin(),
                         events.compressed.end()),
          "the path changes nothing but the text section");
    return 0;
}
