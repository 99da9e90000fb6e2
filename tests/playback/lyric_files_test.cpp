// The lyrics as LRC and ASS give every character group the time that
// `zmrimage lyrics` gives it: line times as the lines print, group times as
// the records print with --raw.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "fileio/file_bytes.h"
#include "midi/time_units.h"
#include "support/memory_compile.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;
using test::zmrimageCommand;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Group {
    std::string time;  // mm:ss.cc
    std::string text;
    bool operator==(const Group&) const = default;
};

struct Line {
    std::string time;
    std::vector<Group> groups;
};

std::string textOf(const std::vector<Group>& groups) {
    std::string text;
    for (const Group& g : groups) text += g.text;
    return text;
}

// The lyric records that `lyrics --raw` prints, cut into lines at code 13 and
// into groups where the time changes. The header ends with its fifth line end;
// the two closing records end the stream.
std::vector<std::vector<Group>> groupsOfRaw(const std::string& raw) {
    std::vector<std::string> rows = linesOf(raw);
    rows.erase(rows.begin());  // the column names
    rows.resize(rows.size() - 2);
    std::vector<std::vector<Group>> lines(1);
    int lineEnds = 0;
    uint64_t lastTime = UINT64_MAX;
    for (const std::string& row : rows) {
        std::istringstream fields(row);
        uint64_t index, code, flag, time;
        fields >> index >> code >> flag >> time;
        if (lineEnds < 5) {
            lineEnds += code == 13;
            continue;
        }
        if (code == 13) {
            lines.emplace_back();
            lastTime = UINT64_MAX;
            continue;
        }
        const std::string shows = row.substr(25);  // "%6zu %4u %4u %6u  "
        if (time != lastTime) lines.back().push_back({minutesSecondsCentis(time), ""});
        lines.back().back().text += shows;
        lastTime = time;
    }
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

std::vector<Line> lrcLines(const std::string& lrc) {
    std::vector<Line> lines;
    const std::regex tag(R"(<(\d\d:\d\d\.\d\d)>([^<]*))");
    for (const std::string& row : linesOf(lrc)) {
        if (row.rfind("[ti:", 0) == 0) continue;
        Line line{row.substr(1, 8), {}};
        const std::string rest = row.substr(10);
        for (auto m = std::sregex_iterator(rest.begin(), rest.end(), tag); m != std::sregex_iterator(); ++m) {
            line.groups.push_back({(*m)[1], (*m)[2]});
        }
        lines.push_back(line);
    }
    return lines;
}

// Each dialogue's groups at its start plus the {\k} hundredths before them.
std::vector<Line> assLines(const std::string& ass) {
    std::vector<Line> lines;
    const std::regex dialogue(R"(^Dialogue: 0,(\d+):(\d\d):(\d\d)\.(\d\d),[^,]*,Default,,0,0,0,,(.*)$)");
    const std::regex karaoke(R"(\{\\k(\d+)\}([^{]*))");
    for (const std::string& row : linesOf(ass)) {
        std::smatch m;
        if (!std::regex_match(row, m, dialogue)) continue;
        int64_t centis = ((std::stoll(m[1]) * 60 + std::stoll(m[2])) * 60 + std::stoll(m[3])) * 100 + std::stoll(m[4]);
        Line line;
        const std::string text = m[5];
        for (auto k = std::sregex_iterator(text.begin(), text.end(), karaoke); k != std::sregex_iterator(); ++k) {
            char time[64];
            std::snprintf(time, sizeof time, "%02lld:%02lld.%02lld", static_cast<long long>(centis / 6000),
                          static_cast<long long>(centis / 100 % 60), static_cast<long long>(centis % 100));
            line.groups.push_back({time, (*k)[2]});
            centis += std::stoll((*k)[1]);
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(LyricFiles, LrcAndAssTimesAreThoseThatLyricsPrints) {
    Result<std::vector<uint8_t>> song = readFileBytes(std::string(ZMR_EXAMPLES_DIR) + "/Ru Con.mid");
    ASSERT_TRUE(song) << song.message();
    const auto compiled = test::compileInMemory({{"/songs/Ru Con.mid", *song}});
    test::TempDir dir;
    const std::string image = shellQuote(dir.write("DADEDA00.DEZ", compiled.image));
    const auto printed = runCommand(zmrimageCommand("lyrics " + image + " 1"));
    const auto raw = runCommand(zmrimageCommand("lyrics " + image + " 1 --raw"));
    const auto lrc = runCommand(zmrimageCommand("lyrics " + image + " 1 --lrc"));
    const auto ass = runCommand(zmrimageCommand("lyrics " + image + " 1 --ass"));
    for (const auto* run : {&printed, &raw, &lrc, &ass}) ASSERT_EQ(run->status, 0) << run->err;

    std::vector<std::string> printedLines = linesOf(printed.out);
    ASSERT_EQ(printedLines.front(), "Title: Ru Con");
    printedLines.erase(printedLines.begin());
    const std::vector<std::vector<Group>> groups = groupsOfRaw(raw.out);
    const std::vector<Line> lrcRead = lrcLines(lrc.out);
    ASSERT_EQ(linesOf(lrc.out).front(), "[ti:Ru Con]");
    ASSERT_EQ(lrcRead.size(), printedLines.size());
    ASSERT_EQ(groups.size(), printedLines.size());
    size_t groupCount = 0;
    for (size_t i = 0; i < printedLines.size(); ++i) {
        SCOPED_TRACE(printedLines[i]);
        EXPECT_EQ(lrcRead[i].time + "  " + textOf(lrcRead[i].groups), printedLines[i]);
        EXPECT_EQ(lrcRead[i].groups, groups[i]);
        groupCount += groups[i].size();
    }
    EXPECT_GT(groupCount, 50u);

    // Every line of this song has characters, so each is one dialogue.
    const std::vector<Line> assRead = assLines(ass.out);
    ASSERT_EQ(assRead.size(), groups.size());
    for (size_t i = 0; i < groups.size(); ++i) EXPECT_EQ(assRead[i].groups, groups[i]) << printedLines[i];
}

}  // namespace
}  // namespace zmr
