#pragma once
// Scanning a collection: every song read once and looked over on worker
// threads, as a build converts them, and handed back in list order with the
// summary growing as they come. The front-ends print or show each song.

#include <cstdint>
#include <functional>
#include <string>

#include "image/compile_sinks.h"
#include "scan/scan_summary.h"
#include "scan/song_scan.h"

namespace zmr {

// What the caller hears of each song, in list order: before its turn (for
// progress), and once it is scanned and added to the summary.
struct CollectionScanSinks {
    std::function<void(int32_t index, int32_t count, const std::string& path)> songStarted;
    std::function<void(const std::string& path, const SongScan& scan)> songScanned;
};

// Scans every song of `songs` with up to `jobs` songs converted at once, as a
// build with --jobs converts them (1: all on the calling thread).
ScanSummary scanCollection(const SongSource& songs, unsigned jobs, const CollectionScanSinks& sinks);

}  // namespace zmr
