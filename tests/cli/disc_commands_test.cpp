// The disc and the song book from the command line: build --iso and --medium,
// iso and songbook as a user runs them. The Windows build has no ISO image
// (no libisofs there): its tests are left out of it.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>

#include "support/iso9660_reader.h"
#include "support/midi_writer.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;

struct SongFolder {
    test::TempDir dir;
    SongFolder() {
        dir.write("songs/Mu`a Xua^n.mid", test::oneNoteSong("Xua^n ve^`\r"));
        dir.write("songs/Ru Con.kar", test::oneNoteSong("A` o*i\r"));
    }
    std::string out(const std::string& name = "") const { return dir / ("out/" + name); }
    std::string songs() const { return shellQuote(dir / "songs"); }
};

#if ZMR_WITH_ISO
TEST(DiscCommands, BuildWithIsoSaysHowMuchOfTheDiscItFillsAndWritesTheDisc) {
    SongFolder f;
    const auto run = runCommand(test::zmrimageCommand("build -o " + shellQuote(f.out()) + " --iso " + shellQuote(f.out("k.iso")) +
                                    " --volume-id tet_2025 " + f.songs()));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nDisc: 37 of 360,000 sectors (under 0.1%) of a 700 MB CD (cd700)\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("ISO 9660 image " + f.out("k.iso") + " written: 75,776 bytes, volume TET_2025\n"),
              std::string::npos)
        << run.out;

    const std::vector<uint8_t> iso = f.dir.read("out/k.iso");
    const test::IsoVolume volume = test::readIsoVolume(iso);
    EXPECT_EQ(volume.volumeId, "TET_2025");
    ASSERT_EQ(volume.plain.size(), 2u);
    EXPECT_EQ(volume.plain[0].size, f.dir.read("out/DADEDA00.DEZ").size());

    // The same from the files already built, on another medium.
    const auto again = runCommand(test::zmrimageCommand("iso " + shellQuote(f.out()) + " -o " + shellQuote(f.out("again.iso")) +
                                      " --volume-id TET_2025 --medium dvd"));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Disc: 37 of 2,295,104 sectors (under 0.1%) of a 4.7 GB DVD (dvd)\n"), std::string::npos);
    EXPECT_EQ(f.dir.read("out/again.iso").size(), iso.size());
}
#endif

// Without --iso or --medium the build only says how much of a 700 MB CD it
// fills; --medium alone checks the files against another disc.
TEST(DiscCommands, BuildSaysHowMuchOfTheMediumItFills) {
    SongFolder f;
    const auto run = runCommand(test::zmrimageCommand("build -o " + shellQuote(f.out()) + " " + f.songs()));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\nDisc: 37 of 360,000 sectors (under 0.1%) of a 700 MB CD (cd700)\n"), std::string::npos)
        << run.out;
    EXPECT_FALSE(std::filesystem::exists(f.out("k.iso")));
    const auto dvd = runCommand(test::zmrimageCommand("build --medium dvd-dl -o " + shellQuote(f.out()) + " " + f.songs()));
    ASSERT_EQ(dvd.status, 0) << dvd.err;
    EXPECT_NE(dvd.out.find("\nDisc: 37 of 4,171,712 sectors (under 0.1%) of a 8.5 GB DVD (dvd-dl)\n"),
              std::string::npos)
        << dvd.out;
}

TEST(DiscCommands, UsageErrorsAndMissingFilesExitTwo) {
    SongFolder f;
    const auto medium = runCommand(test::zmrimageCommand("build --medium bluray -o " + shellQuote(f.out()) + " " + f.songs()));
    EXPECT_EQ(medium.status, 2);
#if ZMR_WITH_ISO
    // 29 characters in 34 bytes: refused for its letters, not its length.
    const auto volume = runCommand(test::zmrimageCommand("build --iso x.iso --volume-id 'T\xE1\xBA\xBFt_Vi\xE1\xBB\x87t_Nam_n\xC4\x83m_2025_karaoke' -o " +
                                                         shellQuote(f.out()) + " " + f.songs()));
    EXPECT_EQ(volume.status, 2);
    EXPECT_NE(volume.err.find("may hold only the letters A-Z, digits and '_'"), std::string::npos) << volume.err;
    EXPECT_FALSE(std::filesystem::exists(f.out()));

    const auto noImage = runCommand(test::zmrimageCommand("iso " + shellQuote(f.dir / "songs") + " -o " + shellQuote(f.dir / "k.iso")));
    EXPECT_EQ(noImage.status, 2);
    EXPECT_EQ(noImage.err, "zmrimage: " + f.dir / "songs/DADEDA00.DEZ" + ": no such file (build the image first)\n");

    const auto noFolder = runCommand(test::zmrimageCommand("build -q -o " + shellQuote(f.out()) + " --iso " +
                                         shellQuote(f.dir / "none/k.iso") + " " + f.songs()));
    EXPECT_EQ(noFolder.status, 2);
    EXPECT_NE(noFolder.err.find("cannot write " + f.dir / "none/k.iso"), std::string::npos) << noFolder.err;
#else
    const auto iso = runCommand(test::zmrimageCommand("build --iso x.iso -o " + shellQuote(f.out()) + " " + f.songs()));
    EXPECT_EQ(iso.status, 2);  // no such option here
    EXPECT_FALSE(std::filesystem::exists(f.out()));
#endif
}

TEST(DiscCommands, SongBookOfABuiltImage) {
    SongFolder f;
    ASSERT_EQ(runCommand(test::zmrimageCommand("build -q -o " + shellQuote(f.out()) + " " + f.songs())).status, 0);
    // PDF only where the build has cairo and pango (never on Windows); HTML everywhere.
    const auto pdf = runCommand(test::zmrimageCommand("songbook " + shellQuote(f.out("DADEDA00.DEZ")) + " " +
                                    shellQuote(f.out("SongList.txt")) + " -o " + shellQuote(f.out("book.pdf"))));
#ifdef ZMR_SONGBOOK_PDF
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    EXPECT_EQ(pdf.out, f.out("book.pdf") + " written: 2 songs, 3 pages\n");
#else
    EXPECT_EQ(pdf.status, 2);
    EXPECT_EQ(pdf.err, "zmrimage: " + f.out("book.pdf") +
                           ": PDF is not available in this build (it has no cairo and pango); write the song book as .html\n");
    EXPECT_FALSE(std::filesystem::exists(f.out("book.pdf")));
#endif
    const auto html = runCommand(test::zmrimageCommand("songbook " + shellQuote(f.out("DADEDA00.DEZ")) + " -o " + shellQuote(f.out("b.html"))));
    ASSERT_EQ(html.status, 0) << html.err;
    EXPECT_EQ(html.out, f.out("b.html") + " written: 2 songs\n");
    const std::vector<uint8_t> bytes = f.dir.read("out/b.html");
    const std::string text(bytes.begin(), bytes.end());
    // Both titles in the section by title, in Vietnamese letters.
    const size_t byNumber = text.find("Songs by number");
    const size_t mua = text.find("M\xC3\xB9" "a Xu\xC3\xA2n"), ru = text.find("Ru Con");
    ASSERT_NE(byNumber, std::string::npos);
    EXPECT_LT(mua, ru);
    EXPECT_LT(ru, byNumber);

    const auto unknown = runCommand(test::zmrimageCommand("songbook " + shellQuote(f.out("DADEDA00.DEZ")) + " -o book.txt"));
    EXPECT_EQ(unknown.status, 2);
    // The disc's name follows the disc's rules, and what is refused is shown, not obeyed.
    const auto volume = runCommand(test::zmrimageCommand("songbook " + shellQuote(f.out("DADEDA00.DEZ")) + " -o " +
                                                         shellQuote(f.out("c.html")) + " --volume-id 'K\xFF\x1b[2J'"));
    EXPECT_EQ(volume.status, 2);
#ifndef _WIN32  // there the command line is UTF-16, which holds no byte FF
    EXPECT_NE(volume.err.find("\"K\\xFF\\e[2J\" may hold only"), std::string::npos) << volume.err;
#endif
    // What is not a file is named for what it is.
    std::vector<std::pair<std::string, std::string>> notImages = {{f.out("none.DEZ"), "no such file"},
                                                                  {f.out(), "is a folder"}};
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(f.out("fifo.DEZ").c_str(), 0600), 0);
    notImages.emplace_back(f.out("fifo.DEZ"), "is a FIFO (named pipe), not a file");
#endif
    for (const auto& [path, reason] : notImages) {
        const auto notImage = runCommand(test::zmrimageCommand("songbook " + shellQuote(path) + " -o " + shellQuote(f.out("c.html"))));
        EXPECT_EQ(notImage.status, 2);
        EXPECT_EQ(notImage.err, "zmrimage: " + path + ": " + reason + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(f.out("c.html")));
}

}  // namespace
}  // namespace zmr
