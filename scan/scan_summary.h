#pragma once
// The sum of a collection's song scans: how many songs compile and how, where
// their lyrics are and how they are written, and the build options that suit
// the collection. Grows one song at a time, so a scan keeps no song in memory.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/convert_options.h"
#include "image/disc_capacity.h"
#include "scan/song_scan.h"

namespace zmr {

enum class ScanOutcome { Compiles, LenientOnly, Fails };

ScanOutcome outcomeOf(const SongScan& scan);

// The `build` options that read the collection best.
struct BuildAdvice {
    ConvertOptions options;
    bool skipBad = false;  // some songs compile in no way
};

class ScanSummary {
public:
    void add(std::string_view path, const SongScan& scan);

    int32_t songs() const { return songs_; }
    int32_t count(ScanOutcome outcome) const { return outcomes_[static_cast<size_t>(outcome)]; }
    // Among the songs that compile one way or the other.
    int32_t count(LyricSource source) const { return sources_[static_cast<size_t>(source)]; }
    int32_t count(TextEncoding encoding) const { return encodings_[static_cast<size_t>(encoding)]; }
    int32_t utf8Titles() const { return utf8Titles_; }
    int32_t uncodedCharacters() const { return uncoded_; }

    BuildAdvice advice() const;

    // The disc that the songs that compile one way or the other would fill,
    // each measured with the options it wants itself (the advice joins them,
    // so this is an estimate), and how many of them from the first would fit.
    DiscFill discFill(const DiscMedium& medium) const;
    int64_t songsOnDisc() const { return static_cast<int64_t>(afterSong_.size()); }
    int64_t songsThatFit(const DiscMedium& medium) const;

    // Songs that reach the disc without lyrics even with the advice: they have
    // neither lyric events nor Soft Karaoke text events.
    const std::vector<std::string>& withoutLyrics() const { return withoutLyrics_; }
    // Songs in Windows-1258 that the advised text encoding does not read:
    // they need a build of their own with --text-encoding cp1258.
    std::vector<std::string> cp1258Apart() const;

private:
    int32_t songs_ = 0;
    std::array<int32_t, 3> outcomes_{};
    std::array<int32_t, 3> sources_{};
    std::array<int32_t, 7> encodings_{};  // by TextEncoding
    int32_t utf8Titles_ = 0;
    int32_t uncoded_ = 0;
    int32_t viqrVniSongs_ = 0;  // lyrics in VIQR or VNI, which utf8 and cp1258 would garble
    std::vector<std::string> withoutLyrics_;
    std::vector<std::string> cp1258Songs_;
    std::vector<SongExtent> afterSong_;
};

}  // namespace zmr
