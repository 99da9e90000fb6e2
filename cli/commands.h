#pragma once
// Each subcommand registers its options and, once parsed, leaves the action
// that main runs; the action returns the process's exit status. A subcommand's
// description is one line, so that "zmrimage --help" fits a screen; its whole
// text is the footer of "zmrimage SUBCOMMAND --help".

#include <CLI/CLI.hpp>

#include <functional>

namespace zmr::cli {

using CommandAction = std::function<int()>;

// Exit statuses shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitSongFailed = 1;  // a song stopped the work or was left out
inline constexpr int kExitUsage = 2;       // usage error, unwritable output, too many songs

void addBuildCommand(CLI::App& app, CommandAction& action);
void addInfoCommand(CLI::App& app, CommandAction& action);
void addListCommand(CLI::App& app, CommandAction& action);
void addVerifyCommand(CLI::App& app, CommandAction& action);
void addLyricsCommand(CLI::App& app, CommandAction& action);
void addExtractCommand(CLI::App& app, CommandAction& action);
void addPlayCommand(CLI::App& app, CommandAction& action);
void addRenderCommand(CLI::App& app, CommandAction& action);
#if ZMR_WITH_ISO  // not in the Windows build
void addIsoCommand(CLI::App& app, CommandAction& action);
#endif
void addSongBookCommand(CLI::App& app, CommandAction& action);
void addScanCommand(CLI::App& app, CommandAction& action);
// Hidden: the shell completion, written from every command added before or
// after it.
void addCompletionCommand(CLI::App& app, CommandAction& action);

}  // namespace zmr::cli
