#include "cli/program_arguments.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "fileio/interrupt_cleanup.h"
#include "fileio/native_path.h"
#endif

namespace zmr::cli {

#ifdef _WIN32

std::vector<std::string> programArguments(int argc, char** argv) {
    std::vector<std::string> arguments = utf8CommandLine();
    if (arguments.empty()) arguments.assign(argv, argv + argc);
    return arguments;
}

Utf8Console::Utf8Console() : previousCodePage_(GetConsoleOutputCP()) {
    if (previousCodePage_ != 0) SetConsoleOutputCP(CP_UTF8);
    restoreCodePageOnInterrupt(previousCodePage_);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

Utf8Console::~Utf8Console() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (previousCodePage_ != 0) SetConsoleOutputCP(previousCodePage_);
    restoreCodePageOnInterrupt(0);
}

#else

std::vector<std::string> programArguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

#endif

}  // namespace zmr::cli
