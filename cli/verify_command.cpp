#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "fileio/file_bytes.h"
#include "readback/image_report.h"
#include "readback/image_verify.h"
#include "readback/song_list_check.h"
#include "text/shown_text.h"

namespace zmr::cli {
namespace {

struct VerifyOptions {
    std::string imagePath;
    std::string songListPath;
    bool quiet = false;
};

int runVerify(const VerifyOptions& options) {
    recoverFolderOfImage(options.imagePath);
    const auto image = readImageFile(options.imagePath);
    if (!image) return kExitUsage;
    std::vector<uint8_t> songList;
    if (!options.songListPath.empty()) {
        Result<std::vector<uint8_t>> read = readFileBytes(options.songListPath);
        if (!read) {
            std::fprintf(stderr, "zmrimage: %s: %s\n", shownText(options.songListPath).c_str(), shownText(read.message()).c_str());
            return exitStatusFor(read.kind());
        }
        songList = std::move(read).value();
    }

    const ImageVerification report = verifyImage(*image);
    std::vector<SongListProblem> listProblems;
    if (!options.songListPath.empty()) listProblems = checkSongList(songList, report.titles);
    const bool sound = report.sound() && listProblems.empty();
    if (options.quiet) return sound ? kExitOk : kExitBadImage;

    const std::string text = verifyReport(options.imagePath, report, options.songListPath, listProblems);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return sound ? kExitOk : kExitBadImage;
}

}  // namespace

void addVerifyCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<VerifyOptions>();
    CLI::App* verify = app.add_subcommand("verify", "Check everything an image promises, and its SongList.txt when given");
    verify->footer(
        "Check everything an image promises and report each problem with its song number and byte offset:\n"
        "the header bytes; group table entries naming sector-aligned index blocks in increasing order,\n"
        "0 after the last group; offset words that follow from the record sizes; size figures equal to\n"
        "the record size / 1472; entries past the last song all 0, except the offset word that a song\n"
        "which failed to compile leaves behind (accepted and noted); reserved words 0; zero fill between\n"
        "groups and at the end of records; record sizes of 24 + C_t + C_e rounded up to 16; each section\n"
        "decoding to exactly its stated length with no impossible code and only zero bits after its last\n"
        "code, and as long as the compiler writes it (its codes, a zero code and a zero byte); L_t a\n"
        "multiple of 4, L_e of 5; the text header, line-feed flags 10 exactly beside code 13,\n"
        "the two closing records last; event records of a channel (byte 2 below 0x10) or a status from\n"
        "0xA0 to 0xEF. Problems inside a decoded stream give the offset of the section and the byte\n"
        "within the stream.\n"
        "With SONGLIST (SongList.txt) also: one line per song numbered 1, 2, 3, ... ending CR LF, and each\n"
        "title (before the name's tab) transcoding, as the compiler transcodes titles, to the codes of\n"
        "the song's title line in the image (a name that is not ASCII may also read as UTF-8, or else as\n"
        "Windows-1258, as build --text-encoding reads names). The lyric bytes after the tab are not\n"
        "compared: the image keeps only lyric events shorter than 16 bytes, the list names every one.\n"
        "A title cut at 62 bytes in the list need only begin the image's title.\n"
        "Exit status: 0 sound; 1 any problem; 2 a file cannot be read.");
    verify->add_option("IMAGE", options->imagePath, "The image file (DADEDA00.DEZ)")->required();
    verify->add_option("SONGLIST", options->songListPath, "The song list written with it (SongList.txt)");
    verify->add_flag("-q,--quiet", options->quiet, "Print nothing; only set the exit status");
    verify->callback([&action, options] { action = [options] { return runVerify(*options); }; });
}

}  // namespace zmr::cli
