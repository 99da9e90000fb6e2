#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <memory>
#include <string>
#include <system_error>

#include "cli/commands.h"
#include "cli/disc_output.h"
#include "fileio/interrupt_cleanup.h"
#include "disc/image_song_extents.h"
#include "image/image_layout.h"
#include "readback/image_scan.h"

namespace zmr::cli {
namespace {
namespace fs = std::filesystem;

struct IsoOptions {
    std::string folder;
    DiscOptions disc;
};

// The file in one buffer, sized beforehand: an image too big for a disc is
// hundreds of megabytes.
std::optional<std::vector<uint8_t>> readWhole(const fs::path& file, uint64_t size) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) return std::nullopt;
    return bytes;
}

// Says how many songs would fit, when the image can be read back.
std::string overflowMessage(const DiscFill& fill, const fs::path& image, uint64_t imageSize, const fs::path& songList,
                            uint64_t songListSize) {
    const auto imageBytes = readWhole(image, imageSize);
    const auto listBytes = readWhole(songList, songListSize);
    if (imageBytes && listBytes) {
        const ImageScan scan = scanImage(*imageBytes);
        if (scan.headerOk && scan.complete && !scan.songs.empty()) {
            const auto extents = imageSongExtents(scan, *listBytes);
            return describeOverflow(fill, songsThatFit(extents, fill.medium.sectors),
                                    static_cast<int64_t>(extents.size()));
        }
    }
    return describeShortfall(fill) + "; how many of its songs would fit is not known: " + image.string() +
           " cannot be read as an image";
}

int runIso(const IsoOptions& options) {
    InterruptCleanup cleanup;  // before libisofs starts its thread
    const fs::path image = fs::path(options.folder) / kImageFileName;
    const fs::path songList = fs::path(options.folder) / kSongListFileName;
    uint64_t sizes[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const fs::path& file = i == 0 ? image : songList;
        std::error_code error;
        const fs::file_status status = fs::status(file, error);
        if (!fs::is_regular_file(status)) {
            const std::string reason = status.type() == fs::file_type::not_found ? "no such file (build the image first)"
                                       : error                                   ? error.message()
                                                                                 : "not a file";
            std::fprintf(stderr, "zmrimage: %s: %s\n", file.string().c_str(), reason.c_str());
            return kExitUsage;
        }
        sizes[i] = fs::file_size(file, error);
        if (error) {
            std::fprintf(stderr, "zmrimage: %s: %s\n", file.string().c_str(), error.message().c_str());
            return kExitUsage;
        }
    }
    const DiscFill fill = discFill(sizes[0], sizes[1], chosenMedium(options.disc));
    if (!fill.fits()) {
        std::fprintf(stderr, "zmrimage: %s\n", overflowMessage(fill, image, sizes[0], songList, sizes[1]).c_str());
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
