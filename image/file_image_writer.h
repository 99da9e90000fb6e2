#pragma once
// Writes the image and the song list into a folder through two temporary
// files, put in place together only when both are complete (placeTogether),
// so that a full disk or a failed write never leaves a half-written image in
// place of a good one, and the folder never ends without its image.

#include <filesystem>
#include <string>

#include "fileio/place_together.h"
#include "fileio/temporary_file.h"
#include "fileio/temporary_file_watcher.h"
#include "image/image_writer.h"

namespace zmr {

class FileImageWriter : public ImageWriter {
public:
    explicit FileImageWriter(std::filesystem::path folder, TemporaryFileWatcher* watcher = nullptr);
    ~FileImageWriter() override;

    Status begin() override;
    Status appendImage(std::span<const uint8_t> bytes) override;
    Status patchImage(uint32_t offset, std::span<const uint8_t> bytes) override;
    Status appendSongList(std::span<const uint8_t> bytes) override;
    Status commit() override;
    void abandon() override;

    std::filesystem::path imagePath() const { return image_.output(); }
    std::filesystem::path songListPath() const { return songList_.output(); }
    // After a commit: what placing left behind, for the user; empty when nothing.
    const std::string& placingWarning() const { return placingWarning_; }

private:
    TemporaryFile image_;
    TemporaryFile songList_;
    std::string placingWarning_;
};

}  // namespace zmr
