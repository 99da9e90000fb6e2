#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cli/commands.h"
#include "cli/disc_output.h"
#include "cli/interrupt_cleanup.h"
#include "disc/image_song_extents.h"
#include "image/file_bytes.h"
#include "image/image_layout.h"
#include "readback/image_scan.h"

namespace zmr::cli {
namespace {
namespace fs = std::filesystem;

struct IsoOptions {
    std::string folder;
    DiscOptions disc;
};

// Says how many songs would fit, when the files can be read back.
std::string overflowMessage(const DiscFill& fill, const fs::path& image, const fs::path& songList) {
    Result<std::vector<uint8_t>> imageBytes = readFileBytes(image.string());
    Result<std::vector<uint8_t>> listBytes = readFileBytes(songList.string());
    if (imageBytes && listBytes) {
        const ImageScan scan = scanImage(*imageBytes);
        if (scan.complete) {
            const auto extents = imageSongExtents(scan, *listBytes);
            return describeOverflow(fill, songsThatFit(extents, fill.medium.sectors),
                                    static_cast<int64_t>(extents.size()));
        }
    }
    return "the image does not fit on a " + std::string(fill.medium.description) + " (" +
           std::string(fill.medium.name) + "): it needs " + groupThousands(fill.sectors) + " sectors, the disc holds " +
           groupThousands(fill.medium.sectors);
}

int runIso(const IsoOptions& options) {
    InterruptCleanup cleanup;  // before libisofs starts its thread
    const fs::path image = fs::path(options.folder) / kImageFileName;
    const fs::path songList = fs::path(options.folder) / kSongListFileName;
    uint64_t sizes[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const fs::path& file = i == 0 ? image : songList;
        std::error_code error;
        if (!fs::is_regular_file(file, error)) {
            std::fprintf(stderr, "zmrimage: %s: %s\n", file.string().c_str(),
                         error ? error.message().c_str() : "no such file (build the image first)");
            return kExitUsage;
        }
        sizes[i] = fs::file_size(file, error);
    }
    const DiscFill fill = discFill(sizes[0], sizes[1], chosenMedium(options.disc));
    if (!fill.fits()) {
        std::fprintf(stderr, "zmrimage: %s\n", overflowMessage(fill, image, songList).c_str());
        return kExitUsage;
    }
    printDiscFill(fill);
    return writeIsoFile(options.disc, image, songList, &cleanup, false);
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
