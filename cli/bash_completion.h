#pragma once
// Bash completion for the program, written from its own command model: the
// subcommands, each one's options, which options take a value and the values
// some of them accept. Since it walks the same CLI::App that --help describes,
// the completion follows every subcommand and option added or renamed.

#include <CLI/CLI.hpp>

#include <string>

namespace zmr::cli {

// A bash script defining the completion of `program`: the subcommands after
// the program's name; each subcommand's options after a '-'; after an option
// that takes a value, the values it accepts when they are a fixed set, nothing
// when it is a number, and file names otherwise; file names for a
// subcommand's operands. Hidden subcommands (no group) are left out.
std::string bashCompletionScript(const CLI::App& app, const std::string& program);

}  // namespace zmr::cli
