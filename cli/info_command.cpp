#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/image_input.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {

struct SectionTotals {
    uint64_t compressed = 0;
    uint64_t uncompressed = 0;

    void add(const SectionFraming& section) {
        compressed += section.compressedLength;
        uncompressed += section.length;
    }
};

void printTotals(const char* label, const SectionTotals& totals) {
    std::printf("%-16s%llu bytes compressed, %llu uncompressed", label,
                static_cast<unsigned long long>(totals.compressed), static_cast<unsigned long long>(totals.uncompressed));
    if (totals.uncompressed > 0) {
        std::printf(", ratio %.1f%%", 100.0 * static_cast<double>(totals.compressed) / static_cast<double>(totals.uncompressed));
    }
    std::printf("\n");
}

int runInfo(const std::string& path) {
    const auto image = readImageFile(path);
    if (!image) return kExitUsage;
    const ImageIndex scan = readImageIndex(*image);

    SectionTotals text, events;
    for (const SongLocation& song : scan.songs) {
        text.add(song.framing.text);
        events.add(song.framing.events);
    }
    SectionTotals all{text.compressed + events.compressed, text.uncompressed + events.uncompressed};

    std::printf("%-16s%s\n", "Image:", shownText(path).c_str());
    std::printf("%-16s%llu bytes\n", "Size:", static_cast<unsigned long long>(scan.imageSize));
    std::printf("%-16s%s\n", "Header:", scan.headerOk ? "ok" : "differs from the player's (see zmrimage verify)");
    std::printf("%-16s%u\n", "Groups:", scan.groupCount);
    std::printf("%-16s%zu%s\n", "Songs:", scan.songs.size(), scan.complete ? "" : " found before the layout breaks off");
    if (scan.failedSong) {
        std::printf("%-16sentry %d holds the offset word of a song that failed to compile\n", "",
                    scan.failedSong->entryNumber);
    }
    printTotals("Text sections:", text);
    printTotals("Event sections:", events);
    printTotals("All sections:", all);
    if (!scan.problems.empty()) {
        std::printf("%-16s%zu problem%s in the layout (see zmrimage verify)\n", "Layout:", scan.problems.size(),
                    scan.problems.size() == 1 ? "" : "s");
    }
    return scan.complete ? kExitOk : kExitBadImage;
}

}  // namespace

void addInfoCommand(CLI::App& app, CommandAction& action) {
    auto path = std::make_shared<std::string>();
    CLI::App* info = app.add_subcommand("info", "Summarise an image: header, groups, songs, sizes and compression");
    info->footer(
        "Summarise an image: whether its header is the player's, the number of song groups and songs,\n"
        "its size, and the compressed and uncompressed bytes of the text and event sections with the\n"
        "compression ratio (compressed as a share of uncompressed). Only the layout and the record\n"
        "framing are read; zmrimage verify decodes and checks everything.\n"
        "Exit status: 0 every song found; 1 the layout breaks off before the last song; 2 unreadable file.");
    info->add_option("IMAGE", *path, "The image file (DADEDA00.DEZ)")->required();
    info->callback([&action, path] { action = [path] { return runInfo(*path); }; });
}

}  // namespace zmr::cli
