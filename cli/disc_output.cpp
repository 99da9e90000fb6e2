#include "cli/disc_output.h"

#include <cstdio>

#include "base/grouped_number.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "image/volume_id.h"
#include "text/shown_text.h"
#if ZMR_WITH_ISO
#include "disc/iso_image_writer.h"
#endif

namespace zmr::cli {

CLI::Validator volumeIdCheck() {
    return CLI::Validator(
        [](std::string& name) {
            Result<std::string> normal = normaliseVolumeId(name);
            if (!normal) return normal.message();
            name = *normal;
            return std::string();
        },
        "");
}

void addDiscOptions(CLI::App& command, DiscOptions& options, [[maybe_unused]] bool withIso) {
    options.volumeId = kDefaultVolumeId;
#if ZMR_WITH_ISO
    if (withIso) {
        command.add_option("--iso", options.isoPath,
                           "Also write an ISO 9660 image (with Joliet) holding both files, ready to burn")
            ->type_name("FILE.iso");
    }
    command
        .add_option("--volume-id", options.volumeId, "The disc's name: up to 32 letters A-Z, digits and '_'")
        ->transform(volumeIdCheck())
        ->type_name("NAME")
        ->capture_default_str();
#endif
    std::vector<std::string> names;
    for (const DiscMedium& medium : discMedia()) names.emplace_back(medium.name);
    command.add_option("--medium", options.medium, "The disc to fit: cd650, cd700 (the default), dvd or dvd-dl")
        ->check(CLI::IsMember(names));

#if ZMR_WITH_ISO
    command.footer(command.get_footer() +
                   "\n\nThe disc: the ISO 9660 image holds DADEDA00.DEZ and SongList.txt in its root folder (level 1\n"
                   "names with Joliet), written through a temporary file that replaces the old one when complete.\n"
                   "With --iso or --medium the files must fit the medium with their file system (cd650: 333,000\n"
                   "sectors of 2,048 bytes, cd700: 360,000, dvd: 2,295,104, dvd-dl: 4,171,712); what does not fit\n"
                   "is refused with exit status 2, saying how many of the songs would fit, and the old files stay.\n"
                   "Without them the summary still says how much of a 700 MB CD the files would fill.");
#else
    command.footer(command.get_footer() +
                   "\n\nThe disc: with --medium the files and the ISO 9660 file system around them must fit the medium\n"
                   "(cd650: 333,000 sectors of 2,048 bytes, cd700: 360,000, dvd: 2,295,104, dvd-dl: 4,171,712); what\n"
                   "does not fit is refused with exit status 2, saying how many of the songs would fit, and the old\n"
                   "files stay. Without it the summary still says how much of a 700 MB CD the files would fill.\n"
                   "This build writes no ISO image (--iso): burn both files into a disc's root folder with any\n"
                   "burning program.");
#endif
}

bool wantsDisc(const DiscOptions& options) { return !options.isoPath.empty() || !options.medium.empty(); }

DiscMedium chosenMedium(const DiscOptions& options) {
    return *findDiscMedium(options.medium.empty() ? kDefaultDiscMedium : options.medium);
}

void printDiscFill(const DiscFill& fill) { std::printf("Disc: %s\n", describeFill(fill).c_str()); }

void printIsoWritten(const DiscOptions& options, const IsoWritten& written) {
    std::printf("ISO 9660 image %s written: %s bytes, volume %s\n", shownText(options.isoPath).c_str(),
                groupThousands(written.sectors * kDiscSectorSize).c_str(), options.volumeId.c_str());
}

#if ZMR_WITH_ISO
int writeIsoFile(const DiscOptions& options, const std::filesystem::path& image, const std::filesystem::path& songList,
                 TemporaryFileWatcher* watcher) {
    const IsoContents contents{image, songList, options.volumeId, chosenMedium(options).sectors};
    Result<IsoWritten> written = writeIsoImage(contents, options.isoPath, watcher);
    if (!written) {
        std::fprintf(stderr, "zmrimage: %s\n", shownText(written.message()).c_str());
        return exitStatusFor(written.kind());
    }
    printIsoWritten(options, *written);
    return kExitOk;
}
#endif

}  // namespace zmr::cli
