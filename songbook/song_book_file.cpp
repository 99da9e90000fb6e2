#include "songbook/song_book_file.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "image/file_bytes.h"
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

std::string randomSuffix() {
    std::random_device device;
    char text[16];
    std::snprintf(text, sizeof text, "%06x", std::uniform_int_distribution<uint32_t>(0, 0xFFFFFF)(device));
    return text;
}

// The bytes go to a hidden file beside `file`, which is renamed over it once
// they are all on the disk.
Status writeWhole(const fs::path& file, std::span<const uint8_t> bytes) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const fs::path temporary = folder / ("." + file.filename().string() + "." + randomSuffix() + ".tmp");
    errno = 0;
    std::FILE* out = std::fopen(temporary.string().c_str(), "wbx");
    if (!out) return Failure{systemMessage("cannot write " + file.string(), errno)};
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    ok = ok && std::fflush(out) == 0;
#ifndef _WIN32
    ok = ok && ::fsync(::fileno(out)) == 0;
    ::fchmod(::fileno(out), 0644);
#endif
    const int error = errno;
    ok = std::fclose(out) == 0 && ok;
    std::error_code ignored;
    if (!ok) {
        fs::remove(temporary, ignored);
        return Failure{systemMessage("cannot write " + file.string(), error != 0 ? error : EIO)};
    }
    std::error_code renameError;
    fs::rename(temporary, file, renameError);
    if (renameError) {
        fs::remove(temporary, ignored);
        return Failure{"cannot replace " + file.string() + ": " + renameError.message()};
    }
    return success();
}

}  // namespace

std::optional<SongBookFormat> songBookFormatOf(const fs::path& file) {
    const std::string extension = lowerCase(file.extension().string());
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
    if (!format) return Failure{file.string() + ": a song book is written as .pdf or .html"};
    Result<std::vector<size_t>> byTitle = orderByTitle(book.songs);
    if (!byTitle) return byTitle.failure();

    SongBookSaved saved{*format, 0};
    std::vector<uint8_t> bytes;
    if (*format == SongBookFormat::pdf) {
#ifdef ZMR_SONGBOOK_PDF
        Result<SongBookPdf> pdf = songBookPdf(book, *byTitle);
        if (!pdf) return Failure{file.string() + ": " + pdf.message()};
        bytes = std::move(pdf->bytes);
        saved.pages = pdf->pages;
#else
        return Failure{file.string() + ": this build writes song books as HTML only (.html)"};
#endif
    } else {
        const std::string html = songBookHtml(book, *byTitle);
        bytes.assign(html.begin(), html.end());
    }
    if (Status s = writeWhole(file, bytes); !s) return s.failure();
    return saved;
}

}  // namespace zmr
