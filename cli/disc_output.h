#pragma once
// What the build and iso commands share about the disc: the options that
// choose it (--medium; --iso and --volume-id where the ISO 9660 image is
// built), the line that says how much of it the files fill, and writing the
// ISO image. The Windows build has no ISO image (ZMR_WITH_ISO: libisofs), but
// checks and reports the fill of the medium all the same.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>

#include "image/disc_capacity.h"
#include "image/file_image_writer.h"

namespace zmr::cli {

struct DiscOptions {
    std::string isoPath;   // where the ISO 9660 image goes; empty for none (always, without ZMR_WITH_ISO)
    std::string volumeId;  // normalised as the options are read
    std::string medium;    // empty when not chosen: cd700
};

// --medium; with the ISO image also --volume-id, and with `withIso` --iso
// FILE. The help's footer gains a paragraph on them.
void addDiscOptions(CLI::App& command, DiscOptions& options, bool withIso);

// --volume-id's check: the name as the disc holds it, or why it cannot be.
CLI::Validator volumeIdCheck();

// A disc is asked for by --iso or --medium; only then is the capacity checked.
bool wantsDisc(const DiscOptions& options);
DiscMedium chosenMedium(const DiscOptions& options);

// "Disc: 51 of 360,000 sectors (under 0.1%) of a 700 MB CD (cd700)" on stdout.
void printDiscFill(const DiscFill& fill);

#if ZMR_WITH_ISO
// Writes options.isoPath from the two files, and says so unless `quiet`; on
// failure prints why and gives the exit status 2.
int writeIsoFile(const DiscOptions& options, const std::filesystem::path& image,
                 const std::filesystem::path& songList, TemporaryFileWatcher* watcher, bool quiet);
#endif

}  // namespace zmr::cli
