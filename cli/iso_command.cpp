#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cli/commands.h"
#include "cli/disc_output.h"
#include "cli/image_input.h"
#include "fileio/interrupt_cleanup.h"
#include "disc/image_song_extents.h"
#include "fileio/file_bytes.h"
#include "image/image_layout.h"
#include "fileio/native_path.h"
#include "readback/image_index.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {
namespace fs = std::filesystem;

struct IsoOptions {
    std::string folder;
    DiscOptions disc;
};

// The file in one buffer, sized beforehand: an image too big for a disc is
// hundreds of megabytes. Fails with the file's name and the system's reason.
Result<std::vector<uint8_t>> readWhole(const fs::path& file, uint64_t size) {
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(openFile(file, "rb"), &std::fclose);
    if (!in) return Failure{file.string() + ": " + systemMessage("cannot open", errno), FailureKind::UnreadableInput};
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), in.get()) != bytes.size()) {
        return Failure{file.string() + ": " +
                       (std::ferror(in.get()) ? systemMessage("cannot read", errno) : "cannot read: it grew shorter"),
                       FailureKind::UnreadableInput};
    }
    return bytes;
}

// Says how many songs would fit, when both files can be read back; otherwise
// which file could not, and why.
std::string overflowMessage(const DiscFill& fill, const fs::path& image, uint64_t imageSize, const fs::path& songList,
                            uint64_t songListSize) {
    const std::string unknown = describeShortfall(fill) + "; how many of its songs would fit is not known: ";
    // The small file first: an unreadable song list then costs no read of the image.
    const Result<std::vector<uint8_t>> listBytes = readWhole(songList, songListSize);
    if (!listBytes) return unknown + listBytes.message();
    const Result<std::vector<uint8_t>> imageBytes = readWhole(image, imageSize);
    if (!imageBytes) return unknown + imageBytes.message();
    const ImageIndex scan = readImageIndex(*imageBytes);
    if (!scan.headerOk || !scan.complete || scan.songs.empty())
        return unknown + image.string() + " cannot be read as an image";
    const auto extents = imageSongExtents(scan, *listBytes);
    return describeOverflow(fill, songsThatFit(extents, fill.medium.sectors), static_cast<int64_t>(extents.size()));
}

int runIso(const IsoOptions& options) {
    InterruptCleanup cleanup;  // before libisofs starts its thread
    recoverImageFolder(nativePath(options.folder));
    const fs::path image = fs::path(options.folder) / kImageFileName;
    const fs::path songList = fs::path(options.folder) / kSongListFileName;
    uint64_t sizes[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const fs::path& file = i == 0 ? image : songList;
        if (const std::optional<std::string> problem = regularFileProblem(file)) {
            std::error_code ignored;
            const bool missing = !fs::exists(file, ignored);
            std::fprintf(stderr, "zmrimage: %s: %s%s\n", shownText(file.string()).c_str(), problem->c_str(),
                         missing ? " (build the image first)" : "");
            return kExitUsage;
        }
        std::error_code error;
        sizes[i] = fs::file_size(file, error);
        if (error) {
            std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(file.string()).c_str(), error.message().c_str());
            return kExitUsage;
        }
    }
    const DiscFill fill = discFill(sizes[0], sizes[1], chosenMedium(options.disc));
    if (!fill.fits()) {
        std::fprintf(stderr, "zmrimage: %s\n", shownText(overflowMessage(fill, image, sizes[0], songList, sizes[1])).c_str());
        return kExitUsage;
    }
    printDiscFill(fill);
    return writeIsoFile(options.disc, image, songList, &cleanup);
}

}  // namespace

void addIsoCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<IsoOptions>();
    CLI::App* iso = app.add_subcommand("iso", "Make the ISO 9660 image to burn from DADEDA00.DEZ and SongList.txt");
    iso->footer(
        "Make the ISO 9660 image to burn from the DADEDA00.DEZ and SongList.txt that a build wrote into\n"
        "IMAGE_FOLDER. The player reads DADEDA00.DEZ from the disc's root folder.\n"
        "Exit status: 0 written; 2 usage error, missing files, an image too big for the medium, or an\n"
        "ISO image that cannot be written (the old one then stays as it was).");
    iso->add_option("IMAGE_FOLDER", options->folder, "The folder holding DADEDA00.DEZ and SongList.txt")->required();
    iso->add_option("-o,--output", options->disc.isoPath, "The ISO image to write (FILE.iso)")->required();
    addDiscOptions(*iso, options->disc, false);
    iso->callback([&action, options] { action = [options] { return runIso(*options); }; });
}

}  // namespace zmr::cli
