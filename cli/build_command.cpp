#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.h"
#include "cli/convert_flags.h"
#include "cli/disc_output.h"
#include "cli/exit_status.h"
#include "cli/image_input.h"
#include "cli/song_arguments.h"
#include "cli/terminal_reporter.h"
#include "fileio/interrupt_cleanup.h"
#include "fileio/native_path.h"
#include "image/compile_session.h"
#include "image/image_layout.h"
#include "text/shown_text.h"
#if ZMR_WITH_ISO
#include "disc/iso_image_writer.h"
#endif

namespace zmr::cli {
namespace {

struct BuildOptions {
    std::string outputDir = ".";
    bool quiet = false;
    bool skipBad = false;
    ConvertOptions conversion;
    unsigned jobs = defaultCompileJobs();
    std::vector<std::string> paths;
    DiscOptions disc;
};

int runBuild(const BuildOptions& options) {
    const std::filesystem::path folder = nativePath(options.outputDir);
    if (!options.disc.isoPath.empty() &&
        outputNamesAnother("--iso", options.disc.isoPath,
                           {{folder / kImageFileName, "the image the build writes"},
                            {folder / kSongListFileName, "the song list the build writes"}}))
        return kExitUsage;
    InterruptCleanup cleanup;  // before the compilation starts its threads
    Result<std::vector<std::string>> songs = gatherSongs(options.paths);
    if (!songs) {
        std::fprintf(stderr, "zmrimage: %s\n", shownText(songs.message()).c_str());
        return exitStatusFor(songs.kind());
    }
    CompileRequest request{.songs = std::move(songs).value(),
                           .folder = folder,
                           .createFolder = true,
                           .conversion = options.conversion,
                           .skipBad = options.skipBad,
                           .jobs = options.jobs,
                           .medium = std::nullopt,
                           .isoPath = nativePath(options.disc.isoPath),
                           .volumeId = options.disc.volumeId};
    // Only a disc asked for refuses what does not fit; the fill of the default CD is said for every build.
    if (wantsDisc(options.disc)) request.medium = chosenMedium(options.disc);
    SessionEdges edges{&cleanup, nullptr};
#if ZMR_WITH_ISO  // the ISO image; not in the Windows build
    const LibisofsWriter iso;
    edges.iso = &iso;
#endif

    TerminalReporter reporter(stderr, !options.quiet && isTerminal(stderr));
    reporter.showWarnings(!options.quiet);
    Result<CompileOutcome> result = runCompileSession(request, CompileSinks{reporter, reporter, reporter}, edges);
    reporter.clearLine();
    if (!result) {
        std::fprintf(stderr, "zmrimage: %s\n", shownText(result.message()).c_str());
        return exitStatusFor(result.kind());
    }
    const CompileOutcome& outcome = *result;
    const CompileSummary& summary = outcome.summary;
    if (!options.quiet) {
        std::printf("%d song%s written, image %u bytes: %s\n", summary.songsWritten,
                    summary.songsWritten == 1 ? "" : "s", summary.imageSize, shownText(pathText(outcome.image)).c_str());
        printDiscFill(outcome.fill);
    }
    if (outcome.iso) {
        if (!*outcome.iso) {
            std::fprintf(stderr, "zmrimage: %s\n", shownText(outcome.iso->message()).c_str());
            return exitStatusFor(outcome.iso->kind());
        }
        if (!options.quiet) printIsoWritten(options.disc, **outcome.iso);
    }
    return summary.songsFailed > 0 ? kExitSongFailed : kExitOk;
}

}  // namespace

void addBuildCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<BuildOptions>();
    CLI::App* build = app.add_subcommand("build", "Compile songs into DADEDA00.DEZ and SongList.txt");
    build->footer(
        "Compile songs into DADEDA00.DEZ and SongList.txt.\n"
        "A PATH that is a folder adds its .mid and .kar files (any letter case, not recursive); any other\n"
        "PATH is a song. Songs are ordered by their full paths, letter case ignored. Without --skip-bad the\n"
        "first song that fails ends the compilation: the files then hold the songs before it.\n"
        "--text-encoding, --kar-text and --lenient read songs that the player's own reading garbles or\n"
        "rejects (zmrimage scan tells which a collection needs); without them the image is the player's\n"
        "bytes exactly. Under utf8, cp1258 and auto, a character with no code on the player becomes '?'\n"
        "and the song gets a warning. A file name of ASCII alone is read as VIQR under every encoding.\n"
        "Exit status: 0 every song written; 1 a song stopped the compilation or was left out;\n"
        "2 usage error, output that cannot be written (a full disk too), a disc asked for (--medium, --iso)\n"
        "that the files do not fit, or more than 98,304 songs (nothing written).");
    build->add_option("-o,--output", options->outputDir, "Folder for both files (created if missing)")
        ->capture_default_str();
    build->add_flag("-q,--quiet", options->quiet, "Print nothing but errors");
    build->add_flag("--skip-bad", options->skipBad, "Leave out songs that fail and go on with the next");
    addConvertFlags(*build, options->conversion);
    build->add_option("-j,--jobs", options->jobs,
                      "Songs converted at once, each on a thread (default: the number of cores); the files are the same")
        ->check(CLI::Range(1u, 1024u));
    build->add_option("PATH", options->paths, "Song files or folders of songs")->required();
    addDiscOptions(*build, options->disc, true);
    build->callback([&action, options] { action = [options] { return runBuild(*options); }; });
}

}  // namespace zmr::cli
