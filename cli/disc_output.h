#pragma once
// What the build and iso commands share about the disc: the options that
// choose it (--iso, --volume-id, --medium), the line that says how much of it
// the files fill, and writing the ISO 9660 image.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>

#include "image/disc_capacity.h"
#include "image/file_image_writer.h"

namespace zmr::cli {

struct DiscOptions {
    std::string isoPath;   // where the ISO 9660 image goes; empty for none
    std::string volumeId;  // normalised as the options are read
    std::string medium;    // empty when not chosen: cd700
};

// --volume-id and --medium, and with `withIso` --iso FILE; the help's footer
// gains a paragraph on them.
void addDiscOptions(CLI::App& command, DiscOptions& options, bool withIso);

// A disc is asked for by --iso or --medium; only then is the capacity checked.
bool wantsDisc(const DiscOptions& options);
DiscMedium chosenMedium(const DiscOptions& options);

// "Disc: 51 of 360,000 sectors (under 0.1%) of a 700 MB CD (cd700)" on stdout.
void printDiscFill(const DiscFill& fill);

// Writes options.isoPath from the two files, and says so unless `quiet`; on
// failure prints why and gives the exit status 2.
int writeIsoFile(const DiscOptions& options, const std::filesystem::path& image,
                 const std::filesystem::path& songList, TemporaryFileWatcher* watcher, bool quiet);

}  // namespace zmr::cli
