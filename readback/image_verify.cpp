#include "readback/image_verify.h"

#include <algorithm>

#include "codec/lzw_compress.h"
#include "midi/event_stream.h"
#include "readback/event_records.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"
#include "text/text_stream.h"

namespace zmr {
namespace {

void addStreamProblems(ImageVerification& report, const SongLocation& song, const SectionFraming& section,
                       const char* stream, const std::vector<StreamProblem>& problems) {
    for (const StreamProblem& p : problems) {
        report.problems.push_back({song.number, section.dataOffset(),
                                   std::string(stream) + " byte " + std::to_string(p.byte) + ": " + p.message});
    }
}

// Decodes a section strictly; a failure becomes a problem at the section.
std::optional<std::vector<uint8_t>> decodeChecked(ImageVerification& report, std::span<const uint8_t> image,
                                                  const SongLocation& song, const SectionFraming& section,
                                                  const char* name, size_t recordSize) {
    if (section.length % recordSize != 0) {
        report.problems.push_back({song.number, section.wordsOffset + 4,
                                   std::string(name) + " length " + std::to_string(section.length) +
                                       " is not a multiple of " + std::to_string(recordSize)});
    }
    Result<std::vector<uint8_t>> decoded = decodeSection(image, section, true);
    if (!decoded) {
        report.problems.push_back({song.number, section.dataOffset(), std::string(name) + ": " + decoded.message()});
        return std::nullopt;
    }
    // Zero bytes may be moved between a section's end and the record's fill
    // without changing what decodes; the compiler's length says where it ends.
    const size_t written = lzwCompress(*decoded).size();
    if (written != section.compressedLength) {
        report.problems.push_back({song.number, section.wordsOffset,
                                   std::string(name) + " length " + std::to_string(section.compressedLength) +
                                       ", but the compiler writes " + std::to_string(written) +
                                       " bytes for its stream (its codes, a zero code and a zero byte)"});
    }
    return std::move(decoded).value();
}

void verifySong(ImageVerification& report, std::span<const uint8_t> image, const SongLocation& song) {
    if (!song.framingTrusted) {
        report.titles.emplace_back();  // already blamed; its sections would overlap the next record
        return;
    }
    const RecordFraming& f = song.framing;
    std::optional<std::vector<uint8_t>> title;
    if (const auto text = decodeChecked(report, image, song, f.text, "text section", kTextRecordSize)) {
        TextStreamParts parts = readTextStream(*text);
        addStreamProblems(report, song, f.text, "text stream", parts.problems);
        if (parts.headerFound) title = std::move(parts.titleCodes);
    }
    if (const auto events = decodeChecked(report, image, song, f.events, "event section", kEventRecordSize)) {
        addStreamProblems(report, song, f.events, "event stream", readEventStream(*events).problems);
    }
    report.titles.push_back(std::move(title));
}

}  // namespace

ImageVerification verifyImage(std::span<const uint8_t> image) {
    ImageVerification report;
    report.scan = readImageIndex(image);
    report.problems = report.scan.problems;
    for (const SongLocation& song : report.scan.songs) verifySong(report, image, song);
    // In file order, as a reader of the report walks the image.
    std::stable_sort(report.problems.begin(), report.problems.end(),
                     [](const ImageProblem& a, const ImageProblem& b) { return a.offset < b.offset; });
    return report;
}

}  // namespace zmr
