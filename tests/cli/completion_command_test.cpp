// The bash completion that the package installs, as bash runs it: written by
// the program from its own commands, it must offer every subcommand and
// option that --help lists, the values of the options that take a fixed set,
// and file names where the command reads files.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

#include "support/help_text.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;

class Completion : public ::testing::Test {
protected:
    void SetUp() override {
        const test::CommandOutput run = runCommand(test::zmrimageCommand("completion bash"));
        ASSERT_EQ(run.status, 0) << run.err;
        script_ = dir_.write("zmrimage.bash", std::vector<uint8_t>(run.out.begin(), run.out.end()));
    }

    // What bash offers for the words typed so far, the last one being the one
    // completed, run from `folder`.
    std::set<std::string> complete(const std::vector<std::string>& words, const std::string& folder = ".") {
        std::string array;
        for (const std::string& word : words) array += " " + shellQuote(word);
        const std::string program = "source " + shellQuote(script_) + "; cd " + shellQuote(folder) +
                                    "; COMP_WORDS=(" + array + "); COMP_CWORD=" + std::to_string(words.size() - 1) +
                                    "; _zmrimage; printf '%s\\n' \"${COMPREPLY[@]}\"";
        const test::CommandOutput run = runCommand("bash -c " + shellQuote(program));
        EXPECT_EQ(run.status, 0) << run.err;
        std::set<std::string> offered;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty()) offered.insert(line);
        }
        return offered;
    }

    test::TempDir dir_;
    std::string script_;
};

std::set<std::string> setOf(const std::vector<std::string>& words) { return {words.begin(), words.end()}; }

TEST_F(Completion, OffersEverySubcommandAndOptionThatHelpLists) {
    const std::string help = test::zmrimageHelp("");
    const std::vector<std::string> commands = test::helpSubcommands(help);
    ASSERT_GE(commands.size(), 8u) << help;
    EXPECT_EQ(complete({"zmrimage", ""}), setOf(commands));
    EXPECT_EQ(complete({"zmrimage", "-"}), setOf(test::helpOptions(help)));
    for (const std::string& command : commands) {
        const std::vector<std::string> options = test::helpOptions(test::zmrimageHelp(command));
        ASSERT_FALSE(options.empty()) << command;
        EXPECT_EQ(complete({"zmrimage", command, "-"}), setOf(options)) << command;
        // Options after an operand still belong to the command.
        std::set<std::string> longOptions;
        for (const std::string& option : options) {
            if (option.starts_with("--")) longOptions.insert(option);
        }
        EXPECT_EQ(complete({"zmrimage", command, "x.mid", "--"}), longOptions) << command;
    }
}

TEST_F(Completion, OffersTheValuesOfAnOptionAndFileNamesForOperands) {
    EXPECT_EQ(complete({"zmrimage", "build", "--medium", ""}), (std::set<std::string>{"cd650", "cd700", "dvd", "dvd-dl"}));
    EXPECT_EQ(complete({"zmrimage", "scan", "--medium", "=", "dvd"}), (std::set<std::string>{"dvd", "dvd-dl"}));
    EXPECT_EQ(complete({"zmrimage", "build", "-q", "--text-encoding", "u"}), (std::set<std::string>{"utf8"}));
    EXPECT_TRUE(complete({"zmrimage", "build", "--jobs", ""}).empty());

    dir_.write("songs/Que Huong.mid", std::vector<uint8_t>{});
    dir_.write("songs/Ru Con.kar", std::vector<uint8_t>{});
    EXPECT_EQ(complete({"zmrimage", "build", "-o", "out", "songs/Q"}, dir_.path().string()),
              (std::set<std::string>{"songs/Que Huong.mid"}));
    EXPECT_EQ(complete({"zmrimage", "build", "--output", "so"}, dir_.path().string()), (std::set<std::string>{"songs"}));
    EXPECT_EQ(complete({"zmrimage", "lyrics", "so"}, dir_.path().string()), (std::set<std::string>{"songs"}));
}

}  // namespace
}  // namespace zmr
