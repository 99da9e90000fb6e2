#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/program_arguments.h"
#include "cli/standard_output.h"
#include "text/shown_text.h"

int main(int argc, char** argv) {
    const zmr::cli::Utf8Console console;
    const std::vector<std::string> arguments = zmr::cli::programArguments(argc, argv);
    std::vector<const char*> argumentTexts;
    for (const std::string& argument : arguments) argumentTexts.push_back(argument.c_str());

    CLI::App app{"zmrimage: compiles karaoke songs (.mid, .kar, Vietnamese lyrics in VIQR or VNI) into the\n"
                 "disc image DADEDA00.DEZ and the numbered SongList.txt of a stand-alone karaoke player."};
    app.set_version_flag("--version", "zmrimage " ZMR_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    // Arguments come back in the messages: their control characters are shown, not obeyed.
    app.failure_message([](const CLI::App*, const CLI::Error& e) {
        return zmr::shownText(e.what()) + "\nRun with --help for more information.\n";
    });

    zmr::cli::CommandAction action;
    zmr::cli::addBuildCommand(app, action);
    zmr::cli::addInfoCommand(app, action);
    zmr::cli::addListCommand(app, action);
    zmr::cli::addVerifyCommand(app, action);
    zmr::cli::addLyricsCommand(app, action);
    zmr::cli::addExtractCommand(app, action);
    zmr::cli::addPlayCommand(app, action);
    zmr::cli::addRenderCommand(app, action);
    zmr::cli::addScanCommand(app, action);
#if ZMR_WITH_ISO  // not in the Windows build
    zmr::cli::addIsoCommand(app, action);
#endif
    zmr::cli::addSongBookCommand(app, action);
    zmr::cli::addCompletionCommand(app, action);

    try {
        app.parse(static_cast<int>(argumentTexts.size()), argumentTexts.data());
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);  // prints help, the version or the usage error
        return zmr::cli::closeStandardOutput(code == 0 ? zmr::cli::kExitOk : zmr::cli::kExitUsage);
    }
    int status = zmr::cli::kExitUsage;
    try {
        if (action) status = action();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zmrimage: %s\n", zmr::shownText(e.what()).c_str());
        status = zmr::cli::kExitUsage;
    }
    return zmr::cli::closeStandardOutput(status);
}
