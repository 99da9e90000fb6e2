#pragma once
// One compilation as every front-end runs it: the command line, the Qt dialog
// and the Win32 dialog hand over the songs and how to read them, and get back
// what happened. The session reads the songs as the options say, writes both
// files through temporary files that the interruption watcher knows of, puts
// them in place together, holds them against the disc asked for and writes its
// ISO image where the build has one, and reports progress, its state and each
// song's failure or warning through the sinks as it goes. Whatever is thrown
// on the way (out of memory, say) ends as a failure with its message, the
// temporary files removed: no front-end meets an exception.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "fileio/temporary_file_watcher.h"
#include "image/compile_image.h"
#include "image/convert_options.h"
#include "image/disc_capacity.h"
#include "image/iso_writer.h"

namespace zmr {

struct CompileRequest {
    std::vector<std::string> songs;  // paths, in image order
    std::filesystem::path folder;    // where both files go
    bool createFolder = false;       // made if missing (otherwise it must exist)
    ConvertOptions conversion;
    // Leave out songs that fail and go on; otherwise the first failed song
    // ends the compilation, and the files hold the songs before it.
    bool skipBad = false;
    unsigned jobs = 0;  // songs converted at once; 0 for the machine's cores
    // The disc asked for: files that do not fit it are refused and the old
    // ones stay. Without one, the fill of the default CD is measured only.
    std::optional<DiscMedium> medium;
    std::filesystem::path isoPath;  // the ISO 9660 image to write once the files are in place; empty for none
    std::string volumeId;           // its name, normalised
};

struct SongWarning {
    std::string path;
    std::string message;
};

struct CompileOutcome {
    CompileSummary summary;
    std::filesystem::path image;
    std::filesystem::path songList;
    DiscFill fill;                      // of the disc asked for, else of a 700 MB CD
    std::vector<SongWarning> warnings;  // of the songs written, in list order
    // Asked for: the ISO image, or why it could not be written (the image and
    // the song list are in place either way).
    std::optional<Result<IsoWritten>> iso;
};

// What the session needs from beyond the core.
struct SessionEdges {
    TemporaryFileWatcher* watcher = nullptr;  // removes temporary files when a signal stops the process
    const IsoWriter* iso = nullptr;           // none where the build has no ISO writer
};

// Fails when the files cannot be written or do not fit the disc asked for
// (the old ones then stay as they were), when the list holds more songs than
// an image can, or when something was thrown; the state ends Done either
// way. A failed song is reported and counted, not a failure.
Result<CompileOutcome> runCompileSession(const CompileRequest& request, const CompileSinks& sinks,
                                         const SessionEdges& edges = {});

}  // namespace zmr
