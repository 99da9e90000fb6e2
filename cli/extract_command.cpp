#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "readback/event_records.h"
#include "readback/song_extract.h"
#include "readback/song_streams.h"
#include "readback/text_records.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {

struct ExtractOptions {
    std::string imagePath;
    int64_t number = 0;
    std::string outputPath;
};

// A missing folder is created, as build -o does.
bool writeFile(const std::string& path, std::span<const uint8_t> bytes) {
    const std::filesystem::path native = nativePath(path);
    const std::filesystem::path folder = native.parent_path();
    std::error_code error;
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "zmrimage: cannot create %s: %s\n", shownText(pathText(folder)).c_str(), error.message().c_str());
        return false;
    }
    errno = 0;
    std::FILE* file = openFile(native, "wb");
    if (!file) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(path).c_str(), systemMessage("cannot create", errno).c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(path).c_str(),
                     systemMessage("cannot write", writeError != 0 ? writeError : errno).c_str());
        std::filesystem::remove(native, error);
        return false;
    }
    return true;
}

void warn(size_t count, const char* what) {
    if (count > 0) std::fprintf(stderr, "zmrimage: note: %zu %s\n", count, what);
}

int runExtract(const ExtractOptions& options) {
    int status = kExitOk;
    const std::optional<ImageSong> opened = openImageSong(options.imagePath, options.number, status);
    if (!opened) return status;
    const SongLocation* song = &opened->song;
    Result<SongStreams> streams = readSongStreams(opened->image, *song);
    if (!streams) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(options.imagePath).c_str(), shownText(streams.message()).c_str());
        return exitStatusFor(streams.kind());
    }
    const TextStreamParts text = readTextStream(streams->text);
    const EventStreamParts events = readEventStream(streams->events);
    const ExtractedSong extracted = extractSong(events.records, text.lyrics());
    if (!writeFile(options.outputPath, extracted.midi)) return kExitUsage;

    warn(extracted.skippedRecords, "event records name no channel message and were left out");
    warn(extracted.cutDataBytes, "data bytes had the high bit set and were cut to 7 bits");
    warn(extracted.overlappedNotes, "notes last past the next note-on of their key and will come back shorter");
    warn(extracted.movedLyrics, "lyric times ran backwards and were moved up");
    warn(extracted.changedCodes, "lyric codes will not compile back the same");
    std::printf("song %d: %zu event records and %zu lyric records written to %s\n", song->number,
                events.records.size(), text.lyrics().size(), shownText(options.outputPath).c_str());
    return kExitOk;
}

}  // namespace

void addExtractCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<ExtractOptions>();
    CLI::App* extract = app.add_subcommand("extract", "Turn a song of an image back into a MIDI file");
    extract->footer(
        "Turn song N back into a Standard MIDI File (format 1) that any MIDI player plays and that\n"
        "zmrimage build compiles to the same event stream and the same lyric characters again.\n"
        "Track 1 holds the music: a set-tempo of 17000 microseconds per quarter note at tick 0 with a\n"
        "division of 1, so one tick is one 17 ms time unit (the compiler's tick factor is then exactly\n"
        "1.0), each note record as a note-on and a note-off after its duration, every other record as its\n"
        "channel message at its time. Track 2 holds the lyrics as lyric events in VIQR (the four capital\n"
        "A-with-breve letters that VIQR cannot write, in VNI), timed so that each character gets its\n"
        "record's time again; the title comes back from the name of FILE.mid, as for any song.\n"
        "What cannot come back: durations are kept modulo 256 units (a note of 300 units returns as 44);\n"
        "a note never closed returns with duration 0; records more than 255 units apart lost the multiples\n"
        "of 256 from their delta, so later times come back earlier; lyric events of 16 bytes or more were\n"
        "never kept; data bytes with the high bit set are cut to 7 bits; lyric times are kept modulo\n"
        "65536 units (18.5 minutes) and a time earlier than the one before it is moved up to it; a note\n"
        "lasting past the next note-on of its key and channel (after tempo changes, say) comes back\n"
        "ended there, as the compiler ends it there. The notes on stderr count each of these.");
    extract->add_option("IMAGE", options->imagePath, "The image file (DADEDA00.DEZ)")->required();
    extract->add_option("N", options->number, "Song number, from 1 as in SongList.txt")->required();
    extract->add_option("-o,--output", options->outputPath, "The MIDI file to write")->required();
    extract->callback([&action, options] { action = [options] { return runExtract(*options); }; });
}

}  // namespace zmr::cli
