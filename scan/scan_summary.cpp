#include "scan/scan_summary.h"

namespace zmr {

ScanOutcome outcomeOf(const SongScan& scan) {
    if (scan.compiles) return ScanOutcome::Compiles;
    return scan.lenientCompiles ? ScanOutcome::LenientOnly : ScanOutcome::Fails;
}

void ScanSummary::add(std::string_view path, const SongScan& scan) {
    ++songs_;
    ++outcomes_[static_cast<size_t>(outcomeOf(scan))];
    if (!scan.read) return;
    if (scan.recordBytes > 0) {
        const SongExtent before = afterSong_.empty() ? kEmptyImageExtent : afterSong_.back();
        const auto index = static_cast<int64_t>(afterSong_.size());
        afterSong_.push_back(
            extentWithSong(before, index, scan.recordBytes, songListLineBytes(index + 1, scan.songListNameBytes)));
    }
    ++sources_[static_cast<size_t>(scan.lyrics)];
    ++encodings_[static_cast<size_t>(scan.encoding)];
    uncoded_ += scan.uncoded;
    if (scan.titleEncoding == TextEncoding::Utf8) ++utf8Titles_;
    const bool viqrVni = scan.lyrics != LyricSource::None &&
                         (scan.encoding == TextEncoding::Viqr || scan.encoding == TextEncoding::Vni);
    if (viqrVni) ++viqrVniSongs_;
    if (scan.lyrics == LyricSource::None) withoutLyrics_.emplace_back(path);
    if (scan.encoding == TextEncoding::Cp1258 || scan.titleEncoding == TextEncoding::Cp1258) cp1258Songs_.emplace_back(path);
}

BuildAdvice ScanSummary::advice() const {
    BuildAdvice advice;
    advice.options.lenient = count(ScanOutcome::LenientOnly) > 0;
    advice.options.karText = count(LyricSource::TextEvents) > 0;
    advice.skipBad = count(ScanOutcome::Fails) > 0;
    const bool utf8 = count(TextEncoding::Utf8) > 0 || utf8Titles_ > 0;
    const bool cp1258 = !cp1258Songs_.empty();
    // Windows-1258 for the whole collection only when nothing else in it needs
    // another reading; auto reads UTF-8 songs and leaves VIQR/VNI ones as they are.
    if (cp1258 && !utf8 && viqrVniSongs_ == 0) {
        advice.options.textEncoding = TextEncoding::Cp1258;
    } else if (utf8) {
        advice.options.textEncoding = TextEncoding::Auto;
    }
    return advice;
}

DiscFill ScanSummary::discFill(const DiscMedium& medium) const {
    const SongExtent all = afterSong_.empty() ? kEmptyImageExtent : afterSong_.back();
    return zmr::discFill(all.imageBytes, all.songListBytes, medium);
}

int64_t ScanSummary::songsThatFit(const DiscMedium& medium) const { return zmr::songsThatFit(afterSong_, medium.sectors); }

std::vector<std::string> ScanSummary::cp1258Apart() const {
    if (advice().options.textEncoding == TextEncoding::Cp1258) return {};
    return cp1258Songs_;
}

}  // namespace zmr
