// The song book as files: the PDF as poppler reads and renders it (pdfinfo,
// pdftotext, pdftoppm from poppler-utils, which scripts/setup.sh installs;
// without them these tests fail), and the HTML.

#include "songbook/song_book_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <sstream>

#include "support/run_command.h"
#include "support/temp_dir.h"

namespace zmr {
namespace {

using test::runCommand;
using test::shellQuote;

const std::vector<std::string> kToneTitles = {"Mạ", "Mă", "Má", "Ma", "Mã", "Mâ", "Mả", "Mà"};
const std::vector<std::string> kToneOrder = {"Ma", "Mà", "Mả", "Mã", "Má", "Mạ", "Mă", "Mâ"};

// The tone titles, then numbered ones up to `count` songs.
SongBook bookOf(size_t count) {
    SongBook book{"TET_2025", "2025-01-29", {}};
    for (size_t i = 0; i < count; ++i) {
        const std::string title = i < kToneTitles.size() ? kToneTitles[i] : "Bài hát số " + std::to_string(i);
        book.songs.push_back({static_cast<int32_t>(i + 1), title, "Xuân về <vui> trên khắp", 3530 + i});
    }
    return book;
}

// Where each title first appears in `text`, which must hold them all.
void expectInOrder(const std::string& text, const std::vector<std::string>& titles) {
    size_t last = 0;
    for (const std::string& title : titles) {
        const size_t at = text.find(title, last);
        ASSERT_NE(at, std::string::npos) << title << " missing or out of order in:\n" << text;
        last = at + title.size();
    }
}

#ifdef ZMR_SONGBOOK_PDF
std::string tool(const char* name, const std::string& arguments) {
    std::string command = name;
    return command.append(" ").append(arguments);
}

TEST(SongBookFile, PdfPagesAsPopplerCountsThemWithTitlesInVietnameseOrder) {
    test::TempDir dir;
    // 46 songs a page: a title page and 3 pages for each of the two sections.
    const Result<SongBookSaved> saved = saveSongBook(bookOf(100), dir / "book.pdf");
    ASSERT_TRUE(saved.ok()) << saved.message();
    EXPECT_EQ(saved->pages, 7);
    const auto info = runCommand(tool("pdfinfo", shellQuote(dir / "book.pdf")));
    ASSERT_EQ(info.status, 0) << "pdfinfo is needed (scripts/setup.sh installs poppler-utils): " << info.err;
    const auto field = [&](const std::string& name) {
        const size_t at = info.out.find("\n" + name + ":");
        if (at == std::string::npos) return std::string();
        const size_t value = info.out.find_first_not_of(' ', at + name.size() + 2);
        return info.out.substr(value, info.out.find('\n', value) - value);
    };
    EXPECT_EQ(field("Pages"), "7") << info.out;
    EXPECT_EQ(field("Page size"), "595.276 x 841.89 pts (A4)") << info.out;

    const auto title = runCommand(tool("pdftotext", "-f 1 -l 1 " + shellQuote(dir / "book.pdf") + " -"));
    ASSERT_EQ(title.status, 0) << title.err;
    expectInOrder(title.out, {"TET_2025", "100 songs", "2025-01-29"});
    const auto byTitle = runCommand(tool("pdftotext", "-f 2 -l 2 " + shellQuote(dir / "book.pdf") + " -"));
    ASSERT_EQ(byTitle.status, 0) << byTitle.err;
    expectInOrder(byTitle.out, {"Songs by title", "Bài hát số 8", "Bài hát số 9", "Bài hát số 10"});
    const auto last = runCommand(tool("pdftotext", "-f 4 -l 4 " + shellQuote(dir / "book.pdf") + " -"));
    expectInOrder(last.out, kToneOrder);
    expectInOrder(last.out, {"Xuân về <vui> trên khắp", "01:00"});
}

// The fonts a PDF embeds, by name without their subset tags, as pdffonts lists them.
std::string embeddedFonts(const std::string& pdf) {
    const auto listed = runCommand(tool("pdffonts", shellQuote(pdf)));
    std::istringstream lines(listed.out);
    std::string line, names;
    while (std::getline(lines, line)) {
        if (const size_t plus = line.find('+'); plus != std::string::npos) names += line.substr(plus + 1, line.find(' ') - plus - 1) + " ";
    }
    return names;
}

// The dialog draws under the user's locale (Qt sets it), whose decimal mark
// may be a comma; sizes and weights must not go through text in it.
TEST(SongBookFile, PdfUnderADecimalCommaKeepsItsFonts) {
    test::TempDir dir;
    ASSERT_TRUE(saveSongBook(bookOf(8), dir / "point.pdf").ok());
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "vi_VN.UTF-8"), nullptr) << "scripts/setup.sh generates the locale vi_VN.UTF-8";
    const Result<SongBookSaved> comma = saveSongBook(bookOf(8), dir / "comma.pdf");
    std::setlocale(LC_NUMERIC, before.c_str());
    ASSERT_TRUE(comma.ok()) << comma.message();
    EXPECT_NE(embeddedFonts(dir / "point.pdf").find("DejaVuSans-Bold "), std::string::npos);
    EXPECT_EQ(embeddedFonts(dir / "comma.pdf"), embeddedFonts(dir / "point.pdf"));
}

TEST(SongBookFile, PdfPageRendersInTwoColumns) {
    test::TempDir dir;
    ASSERT_TRUE(saveSongBook(bookOf(60), dir / "book.pdf").ok());
    const auto render = runCommand(tool("pdftoppm", "-f 2 -l 2 -r 30 -gray " + shellQuote(dir / "book.pdf") + " " +
                                                        shellQuote(dir / "page")));
    ASSERT_EQ(render.status, 0) << "pdftoppm is needed (scripts/setup.sh installs poppler-utils): " << render.err;
    std::ifstream in(dir / "page-2.pgm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    ASSERT_EQ(magic, "P5");
    std::vector<unsigned char> pixels(static_cast<size_t>(width * height));
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    // Ink in the lower half of each column: the songs run down both.
    size_t left = 0, right = 0;
    for (int y = height / 2; y < height * 4 / 5; ++y)
        for (int x = 0; x < width; ++x)
            if (pixels[static_cast<size_t>(y * width + x)] < 128) ++(x < width / 2 ? left : right);
    EXPECT_GT(left, 50u);
    EXPECT_GT(right, 50u);
}
#endif

TEST(SongBookFile, HtmlIsOneFileWithBothSectionsEscaped) {
    test::TempDir dir;
    const Result<SongBookSaved> saved = saveSongBook(bookOf(8), dir / "book.HTML");
    ASSERT_TRUE(saved.ok()) << saved.message();
    EXPECT_EQ(saved->format, SongBookFormat::html);
    const std::vector<uint8_t> bytes = dir.read("book.HTML");
    const std::string html(bytes.begin(), bytes.end());
    EXPECT_EQ(html.find("src="), std::string::npos);  // nothing fetched from elsewhere
    EXPECT_EQ(html.find("href="), std::string::npos);
    EXPECT_NE(html.find("@page { size: A4"), std::string::npos);
    EXPECT_NE(html.find("Xuân về &lt;vui&gt; trên khắp"), std::string::npos);
    const size_t byNumber = html.find("Songs by number");
    ASSERT_NE(byNumber, std::string::npos);
    expectInOrder(html.substr(0, byNumber), kToneOrder);
    expectInOrder(html.substr(byNumber), kToneTitles);
}

}  // namespace
}  // namespace zmr
