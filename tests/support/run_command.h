#pragma once
// Runs a command line through the shell and captures what it printed, for
// tests of the command-line tool as a user sees it.

#include <string>

namespace zmr::test {

struct CommandOutput {
    int status = -1;  // the exit status, or -1 when the command did not exit normally
    std::string out, err;
};

CommandOutput runCommand(const std::string& commandLine);

// Single-quotes an argument for the shell.
std::string shellQuote(const std::string& text);

}  // namespace zmr::test
