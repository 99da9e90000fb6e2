#include "songbook/song_book_file.h"

#include <string>
#include <vector>

#include "fileio/native_path.h"
#include "fileio/temporary_file.h"
#include "songbook/song_book_html.h"
#include "songbook/vietnamese_order.h"
#ifdef ZMR_SONGBOOK_PDF
#include "songbook/song_book_pdf.h"
#endif

namespace zmr {
namespace fs = std::filesystem;

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

std::optional<SongBookFormat> songBookFormatOf(const fs::path& file) {
    const std::string extension = lowerCase(pathText(file.extension()));
    if (extension == ".pdf") return SongBookFormat::pdf;
    if (extension == ".html" || extension == ".htm") return SongBookFormat::html;
    return std::nullopt;
}

bool songBookPdfAvailable() {
#ifdef ZMR_SONGBOOK_PDF
    return true;
#else
    return false;
#endif
}

Result<SongBookSaved> saveSongBook(const SongBook& book, const fs::path& file) {
    const std::optional<SongBookFormat> format = songBookFormatOf(file);
    if (!format) return Failure{pathText(file) + ": a song book is written as .pdf or .html"};
    Result<std::vector<size_t>> byTitle = orderByTitle(book.songs);
    if (!byTitle) return byTitle.failure();

    SongBookSaved saved{*format, 0};
    std::vector<uint8_t> bytes;
    if (*format == SongBookFormat::pdf) {
#ifdef ZMR_SONGBOOK_PDF
        Result<SongBookPdf> pdf = songBookPdf(book, *byTitle);
        if (!pdf) return Failure{pathText(file) + ": " + pdf.message(), pdf.kind()};
        bytes = std::move(pdf->bytes);
        saved.pages = pdf->pages;
#else
        return Failure{pathText(file) + ": " + kSongBookPdfUnavailable};
#endif
    } else {
        const std::string html = songBookHtml(book, *byTitle);
        bytes.assign(html.begin(), html.end());
    }
    TemporaryFile out(file);
    if (Status s = out.open(); !s) return s.failure();
    if (Status s = out.write(bytes); !s) return s.failure();
    if (Status s = out.place(); !s) return s.failure();
    return saved;
}

}  // namespace zmr
