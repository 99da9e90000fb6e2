#include "scan/collection_scan.h"

#include <span>

#include "image/song_pipeline.h"

namespace zmr {

ScanSummary scanCollection(const SongSource& songs, unsigned jobs, const CollectionScanSinks& sinks) {
    ScanSummary summary;
    const int32_t count = songs.count();
    SongPipeline<SongScan> pipeline(
        songs,
        songFileWork<SongScan>([](const std::string& path, std::span<const uint8_t> bytes,
                                  ConversionBuffers& buffers) { return scanSong(path, bytes, buffers); },
                               [](Failure reason) { return unreadableSong(reason); }),
        jobs);
    for (int32_t i = 0; i < count; ++i) {
        if (sinks.songStarted) sinks.songStarted(i, count, songs.path(i));
        const auto [path, scan] = pipeline.take(i);
        summary.add(path, scan);
        if (sinks.songScanned) sinks.songScanned(path, scan);
    }
    return summary;
}

}  // namespace zmr
