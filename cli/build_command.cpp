#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "cli/commands.h"
#include "cli/terminal_reporter.h"
#include "image/compile_image.h"
#include "image/file_image_writer.h"
#include "image/image_layout.h"
#include "image/song_order.h"
#include "image/song_path_list.h"

namespace zmr::cli {
namespace {

struct BuildOptions {
    std::string outputDir = ".";
    bool quiet = false;
    bool skipBad = false;
    unsigned jobs = defaultCompileJobs();
    std::vector<std::string> paths;
};

bool stderrIsTerminal() {
#ifndef _WIN32
    return ::isatty(::fileno(stderr)) != 0;
#else
    return false;
#endif
}

// Folders give their songs; anything else is a song, whatever its name.
Result<std::vector<std::string>> gatherSongs(const std::vector<std::string>& arguments) {
    std::vector<std::string> songs;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (std::filesystem::is_directory(argument, error)) {
            Result<std::vector<std::string>> found = listSongFolder(argument);
            if (!found) return Failure{argument + ": " + found.message()};
            songs.insert(songs.end(), found->begin(), found->end());
        } else {
            songs.push_back(argument);
        }
    }
    sortSongPaths(songs);
    return songs;
}

int runBuild(const BuildOptions& options) {
    Result<std::vector<std::string>> songs = gatherSongs(options.paths);
    if (!songs) {
        std::fprintf(stderr, "zmrimage: %s\n", songs.message().c_str());
        return kExitUsage;
    }
    std::error_code error;
    std::filesystem::create_directories(options.outputDir, error);
    if (error) {
        std::fprintf(stderr, "zmrimage: cannot create %s: %s\n", options.outputDir.c_str(), error.message().c_str());
        return kExitUsage;
    }

    const SongPathList list(std::move(songs).value());
    FileImageWriter writer(options.outputDir);
    TerminalReporter reporter(stderr, !options.quiet && stderrIsTerminal());
    const CompileSinks sinks{reporter, reporter, reporter};
    Result<CompileSummary> result = compileImage(list, writer, sinks, CompileOptions{.skipBad = options.skipBad, .convert = {}, .threads = options.jobs});
    reporter.clearLine();
    if (!result) {
        std::fprintf(stderr, "zmrimage: %s\n", result.message().c_str());
        return kExitUsage;
    }
    const CompileSummary& summary = result.value();
    if (!options.quiet) {
        std::printf("%d song%s written, image %u bytes: %s\n", summary.songsWritten,
                    summary.songsWritten == 1 ? "" : "s", summary.imageSize, writer.imagePath().string().c_str());
    }
    return summary.songsFailed > 0 ? kExitSongFailed : kExitOk;
}

}  // namespace

void addBuildCommand(CLI::App& app, CommandAction& action) {
    auto options = std::make_shared<BuildOptions>();
    CLI::App* build = app.add_subcommand(
        "build",
        "Compile songs into DADEDA00.DEZ and SongList.txt.\n"
        "A PATH that is a folder adds its .mid and .kar files (any letter case, not recursive); any other\n"
        "PATH is a song. Songs are ordered by their full paths, letter case ignored. Without --skip-bad the\n"
        "first song that fails ends the compilation: the files then hold the songs before it.\n"
        "Exit status: 0 every song written; 1 a song stopped the compilation or was left out;\n"
        "2 usage error, output that cannot be written, or more than 98,304 songs (nothing written).");
    build->add_option("-o,--output", options->outputDir, "Folder for both files (created if missing)")
        ->capture_default_str();
    build->add_flag("-q,--quiet", options->quiet, "Print nothing but errors");
    build->add_flag("--skip-bad", options->skipBad, "Leave out songs that fail and go on with the next");
    build->add_option("-j,--jobs", options->jobs,
                      "Songs converted at once, each on a thread (default: the number of cores); the files are the same")
        ->check(CLI::Range(1u, 1024u));
    build->add_option("PATH", options->paths, "Song files or folders of songs")->required();
    build->callback([&action, options] { action = [options] { return runBuild(*options); }; });
}

}  // namespace zmr::cli
