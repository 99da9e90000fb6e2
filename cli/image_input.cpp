#include "cli/image_input.h"

#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "fileio/output_folder_lock.h"
#include "fileio/placing_journal.h"
#include "fileio/same_file.h"
#include "image/image_layout.h"
#include "readback/image_report.h"
#include "text/shown_text.h"

namespace zmr::cli {

void recoverImageFolder(const std::filesystem::path& folder) {
    const OutputFolderLock lock(folder);
    if (!lock.mayWork()) return;  // a build is at work there: what it has in hand is not a leftover
    const PlacingRecovery recovery = recoverPlacing(folder, kImageFileName, kSongListFileName);
    if (!recovery.message.empty()) std::fprintf(stderr, "zmrimage: %s\n", shownText(recovery.message).c_str());
}

void recoverFolderOfImage(const std::string& imagePath) {
    const std::filesystem::path folder = nativePath(imagePath).parent_path();
    recoverImageFolder(folder.empty() ? std::filesystem::path(".") : folder);
}

bool outputNamesAnother(const char* option, const std::string& output, std::initializer_list<NamedFile> files) {
    for (const NamedFile& file : files) {
        if (!sameFile(nativePath(output), file.path)) continue;
        std::fprintf(stderr, "zmrimage: %s %s is %s; choose another file\n", option, shownText(output).c_str(), file.what);
        return true;
    }
    return false;
}

std::optional<std::vector<uint8_t>> readImageFile(const std::string& path) {
    Result<std::vector<uint8_t>> bytes = readFileBytes(path);
    if (!bytes) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(path).c_str(), shownText(bytes.message()).c_str());
        return std::nullopt;
    }
    return std::move(bytes).value();
}

std::optional<ImageIndex> loadImageIndex(std::span<const uint8_t> image, const std::string& path) {
    ImageIndex scan = readImageIndex(image);
    if (scan.complete) return scan;
    std::fprintf(stderr, "zmrimage: %s\n", layoutStopMessage(path, scan).c_str());
    return std::nullopt;
}

const SongLocation* findSong(const ImageIndex& scan, int64_t number, const std::string& path) {
    if (number >= 1 && static_cast<uint64_t>(number) <= scan.songs.size()) {
        return &scan.songs[static_cast<size_t>(number - 1)];
    }
    std::fprintf(stderr, "zmrimage: %s\n", noSuchSongMessage(path, scan.songs.size(), number).c_str());
    return nullptr;
}

std::optional<ImageSong> openImageSong(const std::string& path, int64_t number, int& status) {
    status = kExitUsage;
    std::optional<std::vector<uint8_t>> image = readImageFile(path);
    if (!image) return std::nullopt;
    status = kExitBadImage;
    const std::optional<ImageIndex> index = loadImageIndex(*image, path);
    if (!index) return std::nullopt;
    status = kExitUsage;
    const SongLocation* song = findSong(*index, number, path);
    if (!song) return std::nullopt;
    status = kExitOk;
    return ImageSong{std::move(*image), *song};
}

std::optional<PreviewSong> readPreviewSong(const std::string& path, int64_t number, int& status) {
    recoverFolderOfImage(path);
    const std::optional<ImageSong> opened = openImageSong(path, number, status);
    if (!opened) return std::nullopt;
    Result<PreviewSong> preview = loadPreviewSong(opened->image, opened->song);
    if (!preview) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", path.c_str(), preview.message().c_str());
        status = exitStatusFor(preview.kind());
        return std::nullopt;
    }
    status = kExitOk;
    return std::move(preview).value();
}

}  // namespace zmr::cli
