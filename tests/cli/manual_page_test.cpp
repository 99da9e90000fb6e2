// The manual page zmrimage(1) is made from docs/zmrimage.1.md: every
// subcommand and option that the program's --help lists must be described
// there, each subcommand's options in its own section.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/help_text.h"

namespace zmr {
namespace {

// The page as a reader sees it: pandoc's escapes (\-, \_, \*) read as the
// characters they stand for.
std::string manualPage() {
    std::ifstream in(std::filesystem::path(ZMR_DOCS_DIR) / "zmrimage.1.md", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string page;
    const std::string escaped = text.str();
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\' && i + 1 < escaped.size() && escaped[i + 1] != '\n') ++i;
        page += escaped[i];
    }
    return page;
}

// The text under "## command" up to the next heading of that level or above.
std::string section(const std::string& page, const std::string& command) {
    const std::string heading = "\n## " + command + "\n";
    const size_t start = page.find(heading);
    if (start == std::string::npos) return {};
    const size_t end = page.find("\n#", start + heading.size());
    return page.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Options are set in bold: **--output** or **--text-encoding viqr-vni**.
bool describes(const std::string& text, const std::string& option) {
    return text.find("**" + option + "**") != std::string::npos || text.find("**" + option + " ") != std::string::npos;
}

TEST(ManualPage, DescribesEverySubcommandAndOptionOfHelp) {
    const std::string page = manualPage();
    ASSERT_FALSE(page.empty()) << "cannot read " << ZMR_DOCS_DIR << "/zmrimage.1.md";
    const std::string help = test::zmrimageHelp("");
    for (const std::string& option : test::helpOptions(help)) {
        EXPECT_TRUE(describes(page, option)) << "zmrimage(1) does not describe " << option;
    }
    const std::vector<std::string> commands = test::helpSubcommands(help);
    ASSERT_FALSE(commands.empty()) << help;
    for (const std::string& command : commands) {
        const std::string text = section(page, command);
        EXPECT_FALSE(text.empty()) << "zmrimage(1) has no section \"## " << command << "\"";
        for (const std::string& option : test::helpOptions(test::zmrimageHelp(command))) {
            // Every command has --help; the page says so once for all.
            if (option == "-h" || option == "--help") continue;
            EXPECT_TRUE(describes(text, option)) << "zmrimage(1) does not describe " << command << " " << option;
        }
    }
}

}  // namespace
}  // namespace zmr
