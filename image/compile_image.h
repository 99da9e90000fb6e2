#pragma once
// The whole compilation: every song of the list converted and laid out in the
// player's image, and the numbered song list beside it.

#include <cstdint>
#include <functional>
#include <string>

#include "base/result.h"
#include "image/compile_sinks.h"
#include "image/convert_options.h"
#include "image/convert_song.h"
#include "image/image_writer.h"
#include "image/song_record.h"

namespace zmr {

struct CompileOptions {
    // Leave out songs that fail and go on; otherwise the first failed song ends
    // the compilation, and the image holds the songs before it.
    bool skipBad = false;
    // Turns a path into its record; by default the file is read and converted.
    // Tests put records of chosen sizes here.
    std::function<Result<SongRecord>(const std::string& path)> convert{};
    // Jobs (worker threads, --jobs) converting songs ahead of the one being
    // written, in a window of a few songs each; 0 takes the machine's core count (defaultCompileJobs),
    // 1 converts each song on the calling thread. The image is the same bytes
    // whatever the number.
    unsigned jobs = 0;
    // How each song is read when `convert` is not given.
    ConvertOptions conversion{};
};

// The machine's core count, at least 1: what a compilation uses unless told.
unsigned defaultCompileJobs();

// Reads the song file and converts it.
Result<SongRecord> loadAndConvertSong(const std::string& path, const ConvertOptions& options = {});
// The same, reading into and converting with buffers kept from song to song.
Result<SongRecord> loadAndConvertSong(const std::string& path, ConversionBuffers& buffers,
                                      const ConvertOptions& options = {});

struct CompileSummary {
    int32_t songsWritten = 0;
    int32_t songsFailed = 0;   // reported through the message sink
    bool stoppedEarly = false; // a failed song ended the compilation
    uint32_t imageSize = 0;
};

struct CompileSinks {
    ProgressSink& progress;
    StateSink& state;
    SongMessageSink& messages;
};

// Fails only when the files cannot be written, or when the list holds more
// songs than an image can (then nothing is written at all). A failed song is
// not a failure of the compilation: it is reported and counted.
Result<CompileSummary> compileImage(const SongSource& songs, ImageWriter& writer, const CompileSinks& sinks,
                                    const CompileOptions& options = {});

}  // namespace zmr
