#include "image/compile_image.h"

#include <algorithm>
#include <array>
#include <string>
#include <thread>
#include <vector>

#include "fileio/file_bytes.h"
#include "image/convert_song.h"
#include "image/image_assembler.h"
#include "image/song_pipeline.h"

namespace zmr {
namespace {

// How each song becomes its record: read and converted, or as a test says.
SongWork<Result<SongRecord>> conversionWork(const CompileOptions& options) {
    if (options.convert) {
        const auto convert = options.convert;
        return {[convert](const std::string& path, ConversionBuffers&) { return std::optional(convert(path)); },
                [convert](const std::string& path, ConversionBuffers&) { return convert(path); }};
    }
    const ConvertOptions conversion = options.conversion;
    return songFileWork<Result<SongRecord>>(
        [conversion](const std::string& path, std::span<const uint8_t> bytes, ConversionBuffers& buffers) {
            return convertSong(path, bytes, buffers, conversion);
        },
        [](Failure reason) { return Result<SongRecord>(std::move(reason)); });
}

unsigned pipelineJobs(unsigned jobs) { return jobs != 0 ? jobs : defaultCompileJobs(); }

}  // namespace

unsigned defaultCompileJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

Result<SongRecord> loadAndConvertSong(const std::string& path, const ConvertOptions& options) {
    ConversionBuffers buffers;
    return loadAndConvertSong(path, buffers, options);
}

Result<SongRecord> loadAndConvertSong(const std::string& path, ConversionBuffers& buffers, const ConvertOptions& options) {
    Result<std::span<const uint8_t>> bytes = readFileInto(path, buffers.file);
    if (!bytes) return bytes.failure();
    Result<SongRecord> record = convertSong(path, *bytes, buffers, options);
    releaseOutlierBuffer(buffers.file);
    return record;
}

Result<CompileSummary> compileImage(const SongSource& songs, ImageWriter& writer, const CompileSinks& sinks,
                                    const CompileOptions& options) {
    const int32_t count = songs.count();
    ImageAssembler assembler(writer, sinks, count, options.skipBad);
    if (Status s = assembler.begin(); !s) return s.failure();

    SongPipeline<Result<SongRecord>> pipeline(songs, conversionWork(options), pipelineJobs(options.jobs));
    for (int32_t i = 0; i < count; ++i) {
        auto [path, song] = pipeline.take(i);
        const Result<bool> goOn = assembler.add(path, song);
        if (!goOn) return goOn.failure();
        if (!*goOn) break;
        if (song) pipeline.recycle(std::move(song->bytes));
    }
    return assembler.finish();
}

}  // namespace zmr
