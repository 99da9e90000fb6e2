#include <cstdio>
#include <memory>
#include <string>

#include "cli/bash_completion.h"
#include "cli/commands.h"

namespace zmr::cli {

void addCompletionCommand(CLI::App& app, CommandAction& action) {
    auto shell = std::make_shared<std::string>();
    // Hidden from --help (no group): packages run it once at build time to
    // install the completion, and a user may source its output.
    CLI::App* completion = app.add_subcommand("completion", "Print the shell completion script")->group("");
    completion->add_option("SHELL", *shell, "The shell: bash")->required()->check(CLI::IsMember({"bash"}));
    // The option writes into *shell, which the callback keeps alive.
    completion->callback([&app, &action, shell] {
        action = [&app] {
            const std::string script = bashCompletionScript(app, "zmrimage");
            return std::fwrite(script.data(), 1, script.size(), stdout) == script.size() && std::fflush(stdout) == 0
                       ? kExitOk
                       : kExitUsage;
        };
    });
}

}  // namespace zmr::cli
