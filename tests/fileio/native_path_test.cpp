// A song named with Vietnamese letters opens by the text of its path, on
// Windows through the wide-character API, and its title is that text's bytes
// (UTF-8), so the image is the same on every system.

#include "fileio/native_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileio/file_bytes.h"
#include "image/song_order.h"
#include "support/memory_compile.h"
#include "support/midi_writer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

// "Quê Hương" and "Bài Ca Đêm", composed.
const std::string kHomeland = "Qu\xC3\xAA H\xC6\xB0\xC6\xA1ng";
const std::string kNightSong = "B\xC3\xA0i Ca \xC4\x90\xC3\xAAm";

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = openFile(nativePath(path), "wb");
    ASSERT_NE(file, nullptr) << path;
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

std::string text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(NativePath, TextAndPathRoundTrip) {
    for (const std::string& name : {kHomeland, kNightSong, std::string("plain.mid")})
        EXPECT_EQ(pathText(nativePath(name)), name);
}

TEST(NativePath, VietnameseNamesOpenAndGiveTheirTitleBytes) {
    test::TempDir dir;
    const std::string folder = pathText(dir.path() / nativePath(kHomeland));
    std::filesystem::create_directories(nativePath(folder));
    const std::string first = pathText(nativePath(folder) / nativePath(kNightSong + ".kar"));
    const std::string second = pathText(nativePath(folder) / nativePath(kHomeland + ".mid"));
    writeFile(first, test::oneNoteSong("La"));
    writeFile(second, test::oneNoteSong("Si"));

    Result<std::vector<std::string>> listed = listSongFolder(folder);
    ASSERT_TRUE(listed) << listed.message();
    sortSongPaths(*listed);
    EXPECT_EQ(*listed, (std::vector<std::string>{first, second}));
    Result<std::vector<uint8_t>> bytes = readFileBytes(first);
    ASSERT_TRUE(bytes) << bytes.message();
    EXPECT_EQ(*bytes, test::oneNoteSong("La"));

    const std::string expectedList = "1\t" + kNightSong + "\tLa\r\n2\t" + kHomeland + "\tSi\r\n";
    const test::CompiledImage compiled = test::compileInMemory({{first, test::oneNoteSong("La")}, {second, test::oneNoteSong("Si")}});
    EXPECT_EQ(compiled.songList, expectedList);

    // The command line takes the folder by its name and writes beside it.
    const std::string out = pathText(nativePath(folder) / nativePath("Đĩa"));
    const auto run = test::runCommand(std::string(ZMR_CLI_PATH) + " build -q -o " + test::shellQuote(out) + " " +
                                      test::shellQuote(folder));
    ASSERT_EQ(run.status, 0) << run.err;
    Result<std::vector<uint8_t>> list = readFileBytes(pathText(nativePath(out) / "SongList.txt"));
    ASSERT_TRUE(list) << list.message();
    EXPECT_EQ(text(*list), expectedList);
    Result<std::vector<uint8_t>> image = readFileBytes(pathText(nativePath(out) / "DADEDA00.DEZ"));
    ASSERT_TRUE(image) << image.message();
    EXPECT_EQ(*image, compiled.image);
}

}  // namespace
}  // namespace zmr
