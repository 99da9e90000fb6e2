#include "support/run_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zmr::test {
namespace {

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

CommandOutput runCommand(const std::string& commandLine) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zmr-cmd-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path out = dir / "out", err = dir / "err";
    const std::string full = commandLine + " >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string()) + " </dev/null";
    const int raw = std::system(full.c_str());
    CommandOutput result;
    if (raw != -1 && WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    result.out = slurp(out);
    result.err = slurp(err);
    fs::remove_all(dir);
    return result;
}

}  // namespace zmr::test
