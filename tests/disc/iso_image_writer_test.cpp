// The ISO 9660 image as readers other than its writer see it: xorriso, and a
// small reader written from the standard. xorriso comes with scripts/setup.sh;
// without it these tests fail.

#include "disc/iso_image_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/disc_capacity.h"
#include "image/image_layout.h"
#include "support/iso9660_reader.h"
#include "support/memory_compile.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;

struct BuiltFiles {
    test::TempDir dir;
    std::string image, songList, iso;

    explicit BuiltFiles(int songs = 3) {
        test::SongFiles files;
        for (int i = 0; i < songs; ++i)
            files.emplace_back("/s/Song " + std::to_string(i) + ".mid", test::generatedSong(static_cast<uint32_t>(i), 400));
        const test::CompiledImage compiled = test::compileInMemory(files);
        image = dir.write("out/DADEDA00.DEZ", compiled.image);
        songList = dir.write("out/SongList.txt", std::vector<uint8_t>(compiled.songList.begin(), compiled.songList.end()));
        iso = dir / "disc.iso";
    }

    IsoContents contents(std::string volume = "KARAOKE") const { return {image, songList, std::move(volume), {}}; }
};

std::string xorriso(const std::string& arguments) {
    std::string command = "xorriso ";
    return command.append(arguments);
}

TEST(IsoImageWriter, XorrisoListsBothFilesAndGivesBackTheirBytes) {
    BuiltFiles files;
    const Result<IsoWritten> written = writeIsoImage(files.contents("TET_2025"), files.iso);
    ASSERT_TRUE(written.ok()) << written.message();

    const auto listing = runCommand(xorriso("-indev " + shellQuote(files.iso) + " -find / -exec lsdl"));
    ASSERT_EQ(listing.status, 0) << "xorriso is needed (scripts/setup.sh installs it): " << listing.err;
    // A line of the listing: "-r-xr-xr-x 1 0 0 33456 Dec  7 15:08 '/DADEDA00.DEZ'".
    const auto lineOf = [&](const std::string& name) {
        const size_t at = listing.out.find("'/" + name + "'");
        if (at == std::string::npos) return std::string();
        const size_t start = listing.out.rfind('\n', at);
        return listing.out.substr(start == std::string::npos ? 0 : start + 1, at - (start == std::string::npos ? 0 : start + 1));
    };
    const auto sizeText = [](const std::string& path) { return " " + std::to_string(std::filesystem::file_size(path)) + " "; };
    EXPECT_NE(lineOf("DADEDA00.DEZ").find(sizeText(files.image)), std::string::npos) << listing.out;
    EXPECT_NE(lineOf("SongList.txt").find(sizeText(files.songList)), std::string::npos) << listing.out;
    EXPECT_NE((listing.out + listing.err).find("Volume id    : 'TET_2025'"), std::string::npos) << listing.err;

    for (const auto& [name, path] : {std::pair{"DADEDA00.DEZ", files.image}, std::pair{"SongList.txt", files.songList}}) {
        const std::string copy = files.dir / (std::string("back-") + name);
        const auto extract = runCommand(xorriso("-osirrox on -indev " + shellQuote(files.iso) + " -extract /" + name +
                                                " " + shellQuote(copy)));
        ASSERT_EQ(extract.status, 0) << extract.err;
        EXPECT_EQ(files.dir.read("back-" + std::string(name)), files.dir.read(std::filesystem::relative(path, files.dir.path())));
    }
}

TEST(IsoImageWriter, PlayerReadsTheEightThreeNameAndComputersTheJolietSpelling) {
    BuiltFiles files;
    ASSERT_TRUE(writeIsoImage(files.contents(), files.iso).ok());
    const std::vector<uint8_t> iso = files.dir.read("disc.iso");
    const test::IsoVolume volume = test::readIsoVolume(iso);
    ASSERT_TRUE(volume.ok);
    EXPECT_EQ(volume.volumeId, "KARAOKE");
    ASSERT_EQ(volume.plain.size(), 2u);
    EXPECT_EQ(volume.plain[0].name, "DADEDA00.DEZ;1");  // the version every mastering program writes
    EXPECT_EQ(volume.plain[1].name, "SONGLIST.TXT;1");
    ASSERT_EQ(volume.joliet.size(), 2u);
    EXPECT_EQ(volume.joliet[0].name, "DADEDA00.DEZ");
    EXPECT_EQ(volume.joliet[1].name, "SongList.txt");

    const std::vector<uint8_t> image = files.dir.read("out/DADEDA00.DEZ");
    const test::IsoRootFile& dez = volume.plain[0];
    ASSERT_EQ(dez.size, image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), iso.begin() + dez.sector * 2048L));
    EXPECT_EQ(volume.joliet[0].sector, dez.sector);  // both trees point at the same bytes
}

TEST(IsoImageWriter, SizeIsTheCapacityEstimate) {
    test::TempDir dir;
    for (const auto& [imageBytes, listBytes] : {std::pair{0, 0}, {2048, 1}, {2049, 2048}, {300000, 5000}}) {
        const std::string image = dir.write("i", std::vector<uint8_t>(static_cast<size_t>(imageBytes), 7));
        const std::string list = dir.write("l", std::vector<uint8_t>(static_cast<size_t>(listBytes), 'x'));
        const Result<IsoWritten> written = writeIsoImage({image, list, "K", {}}, dir / "d.iso");
        ASSERT_TRUE(written.ok()) << written.message();
        const uint64_t estimate = isoSectors(static_cast<uint64_t>(imageBytes), static_cast<uint64_t>(listBytes));
        EXPECT_EQ(written->sectors, estimate) << imageBytes << " + " << listBytes;
        EXPECT_EQ(std::filesystem::file_size(dir / "d.iso"), estimate * kDiscSectorSize);
    }
}

TEST(IsoImageWriter, FailureKeepsTheOldImageAndLeavesNoTemporaryFile) {
    BuiltFiles files;
    const std::vector<uint8_t> old{'o', 'l', 'd'};
    files.dir.write("disc.iso", old);

    IsoContents missing = files.contents();
    missing.songList = files.dir / "out/nothing.txt";
    const Result<IsoWritten> noList = writeIsoImage(missing, files.iso);
    ASSERT_FALSE(noList.ok());
    EXPECT_EQ(noList.message(), files.dir / "out/nothing.txt" + ": no such file");

    IsoContents small = files.contents();
    small.maxSectors = kIsoOverheadSectors;
    const Result<IsoWritten> tooBig = writeIsoImage(small, files.iso);
    ASSERT_FALSE(tooBig.ok());
    EXPECT_NE(tooBig.message().find("more than the 33 the disc holds"), std::string::npos) << tooBig.message();

    const Result<IsoWritten> noFolder = writeIsoImage(files.contents(), files.dir / "none/disc.iso");
    ASSERT_FALSE(noFolder.ok());
    EXPECT_NE(noFolder.message().find("cannot write " + files.dir / "none/disc.iso"), std::string::npos)
        << noFolder.message();

    EXPECT_EQ(files.dir.read("disc.iso"), old);
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(files.dir.path())) ++entries;
    EXPECT_EQ(entries, 2u);  // out/ and disc.iso
}

}  // namespace
}  // namespace zmr
