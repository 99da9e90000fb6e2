#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/grouped_number.h"
#include "cli/commands.h"
#include "cli/disc_output.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "image/volume_id.h"
#include "image/disc_capacity.h"
#include "image/image_layout.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "songbook/load_song_book.h"
#include "songbook/song_book_file.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {

struct SongBookOptions {
    std::string image;
    std::string songList;
    std::string output;
    std::string volumeId = kDefaultVolumeId;
};

int runSongBook(const SongBookOptions& options) {
    const std::filesystem::path output = nativePath(options.output);
    const std::optional<SongBookFormat> format = songBookFormatOf(output);
    if (!format) {
        std::fprintf(stderr, "zmrimage: %s: a song book is written as .pdf or .html\n", shownText(options.output).c_str());
        return kExitUsage;
    }
    if (*format == SongBookFormat::pdf && !songBookPdfAvailable()) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(options.output).c_str(), kSongBookPdfUnavailable);
        return kExitUsage;
    }
    const std::filesystem::path image = nativePath(options.image);
    const std::filesystem::path songList =
        options.songList.empty() ? image.parent_path() / kSongListFileName : nativePath(options.songList);
    if (outputNamesAnother("-o", options.output, {{image, "the image read"}, {songList, "the song list"}}))
        return kExitUsage;
    recoverFolderOfImage(options.image);
    if (const std::optional<std::string> problem = regularFileProblem(nativePath(options.image))) {
        std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(options.image).c_str(), problem->c_str());
        return kExitUsage;
    }

    SongBookSource source{nativePath(options.image), std::nullopt, options.volumeId};
    if (!options.songList.empty()) source.songList = nativePath(options.songList);
    std::vector<std::string> warnings;
    Result<SongBook> book = loadSongBook(source, warnings);
    for (const std::string& warning : warnings) std::fprintf(stderr, "zmrimage: %s\n", shownText(warning).c_str());
    if (!book) {
        std::fprintf(stderr, "zmrimage: %s (zmrimage verify tells more)\n", shownText(book.message()).c_str());
        return exitStatusFor(book.kind());
    }
    Result<SongBookSaved> saved = saveSongBook(*book, output);
    if (!saved) {
        std::fprintf(stderr, "zmrimage: %s\n", shownText(saved.message()).c_str());
        return exitStatusFor(saved.kind());
    }
    std::printf("%s written: %s songs", shownText(options.output).c_str(), groupThousands(book->songs.size()).c_str());
    if (saved->format == SongBookFormat::pdf) std::printf(", %d pages", saved->pages);
    std::printf("\n");
    return kExitOk;
}

}  // namespace

void addSongBookCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<SongBookOptions>();
    CLI::App* book = app.add_subcommand("songbook", "Make a printable song book of an image (PDF or HTML)");
    book->footer(
        "Make the song book that singers choose from: a title page (the volume name, the image's date and\n"
        "the number of songs), then every song sorted by title in Vietnamese order, then by number. Each\n"
        "row holds the song's number, its title, its length (mm:ss) and its first lyric line. A4, two\n"
        "columns, page numbers. The titles come from the image; with SONGLIST they come from its lines\n"
        "where these are readable (a song list that cannot be read is reported and left aside).\n"
        "BOOK.pdf is drawn with cairo and pango; BOOK.html is one self-contained file with print styles\n"
        "(builds without cairo and pango, such as the Windows one, write HTML only).\n"
        "Exit status: 0 written; 1 the image's songs cannot be read back (a damaged image); 2 usage error,\n"
        "an image that cannot be read, or a book that cannot be written.");
    book->add_option("IMAGE", options->image, "The image file (DADEDA00.DEZ)")->required();
    book->add_option("SONGLIST", options->songList, "Its song list (SongList.txt)");
    book->add_option("-o,--output", options->output, "The book to write: BOOK.pdf or BOOK.html")->required();
    book->add_option("--volume-id", options->volumeId,
                     "The disc's name on the title page: up to 32 letters A-Z, digits and '_', as on the disc")
        ->transform(volumeIdCheck())
        ->type_name("NAME")
        ->capture_default_str();
    book->callback([&action, options] { action = [options] { return runSongBook(*options); }; });
}

}  // namespace zmr::cli
