#include "songbook/song_book_entries.h"

#include <algorithm>
#include <cstdio>

#include "readback/event_records.h"
#include "readback/image_index.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"
#include "readback/song_list_check.h"
#include "text/code_page_inverse.h"
#include "text/text_encoding.h"

namespace zmr {
namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The first line that shows something.
std::string firstLyricLine(const TextStreamParts& text) {
    for (const LyricLine& line : lyricLines(text.lyrics())) {
        std::string shown = trimmed(codesToUtf8(line.codes));
        if (!shown.empty()) return shown;
    }
    return {};
}

// A title the list cut (listedTitleMayBeCut) only begins the image's.
bool cutShort(std::span<const uint8_t> listed, std::span<const uint8_t> image) {
    return listed.size() < image.size() && std::equal(listed.begin(), listed.end(), image.begin());
}

// The title the book prints: the list's where the user respelt it there (in
// VIQR, or in UTF-8), else the image's.
std::vector<uint8_t> bookTitle(const std::optional<std::string>& listed, const std::vector<uint8_t>& image) {
    if (!listed || listedTitleMatches(*listed, image)) return image;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(listed->data()), listed->size());
    std::vector<uint8_t> respelt = transcodeTitle(*listed, titleEncoding(bytes, TextEncoding::Auto));
    return cutShort(respelt, image) ? image : respelt;
}

std::string whereTheScanStopped(const ImageIndex& scan) {
    if (scan.problems.empty()) return "cannot find every song";
    const ImageProblem& stop = scan.problems.back();
    return "cannot find every song: byte " + std::to_string(stop.offset) + ": " +
           (stop.song != 0 ? "song " + std::to_string(stop.song) + ": " : std::string()) + stop.message;
}

}  // namespace

Result<std::vector<SongBookEntry>> readSongBookEntries(std::span<const uint8_t> image,
                                                       std::span<const std::optional<std::string>> listTitles) {
    const ImageIndex scan = readImageIndex(image);
    if (!scan.complete) return Failure{whereTheScanStopped(scan), FailureKind::BadImage};
    std::vector<SongBookEntry> entries;
    entries.reserve(scan.songs.size());
    for (const SongLocation& song : scan.songs) {
        Result<SongStreams> streams = readSongStreams(image, song);
        if (!streams) return Failure{"song " + std::to_string(song.number) + ": " + streams.message(), streams.kind()};
        const TextStreamParts text = readTextStream(streams->text);
        const size_t index = static_cast<size_t>(song.number - 1);
        SongBookEntry entry;
        entry.number = song.number;
        entry.title = codesToUtf8(bookTitle(index < listTitles.size() ? listTitles[index] : std::nullopt, text.titleCodes));
        entry.firstLine = firstLyricLine(text);
        entry.lengthUnits = readEventStream(streams->events).lastTime;
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace zmr
