#include <CLI/CLI.hpp>

#include <cstdio>

int main(int argc, char** argv) {
    CLI::App app{"zmrimage: compiles karaoke songs (.mid, .kar) into a disc image for the player"};
    app.set_version_flag("--version", "zmrimage " ZMR_VERSION);
    app.require_subcommand(0);
    CLI11_PARSE(app, argc, argv);
    if (argc == 1) std::fputs(app.help().c_str(), stdout);
    return 0;
}
