#pragma once
// Writes the image and the song list into a folder through temporary files,
// renamed over the old files only when both are complete, so that a full disk
// or a failed write never leaves a half-written image in place of a good one.

#include <cstdio>
#include <filesystem>
#include <memory>

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

    std::filesystem::path imagePath() const;
    std::filesystem::path songListPath() const;

private:
    struct Output {
        std::filesystem::path temporary;
        std::FILE* file = nullptr;
        std::unique_ptr<char[]> buffer;  // the file's stdio buffer: large, so writes are few and long
    };

    Status open(Output& out, const char* finalName);
    Status write(Output& out, std::span<const uint8_t> bytes);
    Status close(Output& out);
    Status putInPlace();
    std::string describe(const Output& out) const;

    std::filesystem::path folder_;
    TemporaryFileWatcher* watcher_;
    Output image_;
    Output songList_;
};

}  // namespace zmr
