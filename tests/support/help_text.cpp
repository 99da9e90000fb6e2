#include "support/help_text.h"

#include <sstream>

#include "support/run_command.h"

namespace zmr::test {
namespace {

// The first word of each indented line of the section titled `title`; CLI11
// indents its entries by two spaces and continues long ones further in.
std::vector<std::string> sectionEntries(const std::string& help, const std::string& title) {
    std::vector<std::string> entries;
    std::istringstream in(help);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == title) {
            inside = true;
        } else if (inside && (line.empty() || line[0] != ' ')) {
            inside = false;
        } else if (inside && line.size() > 2 && line[2] != ' ') {
            entries.push_back(line.substr(2, line.find(' ', 2) - 2));
        }
    }
    return entries;
}

}  // namespace

std::vector<std::string> helpSubcommands(const std::string& help) { return sectionEntries(help, "Subcommands:"); }

std::vector<std::string> helpOptions(const std::string& help) {
    std::vector<std::string> names;
    for (const std::string& entry : sectionEntries(help, "Options:")) {
        std::istringstream words(entry);
        for (std::string name; std::getline(words, name, ',');) names.push_back(name);
    }
    return names;
}

std::string zmrimageHelp(const std::string& command) {
    const CommandOutput run = runCommand(zmrimageCommand(command.empty() ? "--help" : command + " --help"));
    return run.status == 0 ? run.out : std::string();
}

}  // namespace zmr::test
