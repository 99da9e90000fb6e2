#pragma once
// Writes a song book into a file, as PDF or HTML by the file's extension,
// through a temporary file renamed over the old one only when complete.

#include <filesystem>
#include <optional>

#include "base/result.h"
#include "songbook/song_book.h"

namespace zmr {

enum class SongBookFormat { pdf, html };

// .pdf, or .html/.htm, in any letter case.
std::optional<SongBookFormat> songBookFormatOf(const std::filesystem::path& file);

// False where the PDF writer (cairo and pango) was left out of the build: then
// only HTML is written, and asking for PDF gets this message after the file's name.
bool songBookPdfAvailable();
inline constexpr char kSongBookPdfUnavailable[] =
    "PDF is not available in this build (it has no cairo and pango); write the song book as .html";

struct SongBookSaved {
    SongBookFormat format = SongBookFormat::html;
    int pages = 0;  // of the PDF; 0 for HTML, which the browser paginates
};

Result<SongBookSaved> saveSongBook(const SongBook& book, const std::filesystem::path& file);

}  // namespace zmr
