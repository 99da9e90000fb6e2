#pragma once
// Lays converted songs out in the player's image one at a time, in list
// order: the header and group table, a group start with its index block every
// 256 songs, each song's offset word, size figure and record, and its
// song-list line. compileImage feeds it from its worker pipeline; a front-end
// that converts songs elsewhere (the web page's workers) feeds it the same
// records and gets the same bytes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "image/compile_image.h"
#include "image/image_layout.h"
#include "image/image_writer.h"
#include "image/song_record.h"

namespace zmr {

class ImageAssembler {
public:
    ImageAssembler(ImageWriter& writer, const CompileSinks& sinks, int32_t songCount, bool skipBad);

    // Starts both files. Fails, writing nothing, when the list holds more
    // songs than an image can.
    Status begin();

    // The next song of the list as its conversion ended. True to go on; false
    // when the song ended the compilation (it failed without skipBad, or the
    // image would grow past its limit). A failure is the writer's: the files
    // are abandoned and the old ones stay.
    Result<bool> add(std::string_view path, Result<SongRecord>& song);

    // Completes the index block and the group table and puts both files in place.
    Result<CompileSummary> finish();

    // Drops what was written; after a failure this has been done already.
    void abandon();

private:
    Status append(std::span<const uint8_t> bytes);
    Status startGroup();
    Status writeIndexBlock();
    int64_t groupStartSize() const;
    Status fail(Status status);
    bool songFailed(std::string_view path, std::string_view message, bool stops);

    ImageWriter& writer_;
    const CompileSinks& sinks_;
    int32_t songCount_;
    bool skipBad_;
    int32_t taken_ = 0;    // songs handed to add, written or not
    int32_t written_ = 0;  // list position of the next song in the image
    CompileSummary summary_;
    std::string line_;
    int64_t position_ = 0;
    int64_t indexBlockPosition_ = 0;
    int32_t groupCount_ = 0;
    std::array<uint32_t, kIndexBlockSize / 4> indexBlock_{};
    std::array<uint32_t, kGroupTableEntries> groupTable_{};
};

}  // namespace zmr
