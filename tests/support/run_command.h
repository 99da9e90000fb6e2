#pragma once
// Runs a command line and captures what it printed, for tests of the
// command-line tool as a user sees it.
//
// The command line is written for a POSIX shell: words separated by spaces,
// each quoted with shellQuote where it needs it, optionally led by
// "timeout SECONDS". On Windows no such shell exists; the words are read as
// that shell would read them and the program is started directly, each word
// quoted as Windows programs read their command line, and a program named
// without a folder is found beside the test runner.

#include <string>
#include <string_view>

namespace zmr::test {

struct CommandOutput {
    int status = -1;  // the exit status, or -1 when the command did not exit normally
    std::string out, err;
};

CommandOutput runCommand(const std::string& commandLine);

// Single-quotes an argument for the shell.
std::string shellQuote(const std::string& text);

#ifdef ZMR_CLI_PATH
// The command-line tool followed by `arguments`, for runCommand.
inline std::string zmrimageCommand(std::string_view arguments) {
    return std::string(ZMR_CLI_PATH).append(" ").append(arguments);
}
#endif

}  // namespace zmr::test
