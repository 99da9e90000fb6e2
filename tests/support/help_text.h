#pragma once
// Reads what `zmrimage --help` and `zmrimage COMMAND --help` list, for the
// tests that hold the manual page and the shell completion to the program.

#include <string>
#include <vector>

namespace zmr::test {

// The names under "Subcommands:".
std::vector<std::string> helpSubcommands(const std::string& help);

// Every option name under "Options:", short and long: "-o", "--output".
std::vector<std::string> helpOptions(const std::string& help);

// `zmrimage [COMMAND] --help`, run; empty when it fails.
std::string zmrimageHelp(const std::string& command);

}  // namespace zmr::test
