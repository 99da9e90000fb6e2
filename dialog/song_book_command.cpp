#include "dialog/song_book_command.h"

#include <exception>
#include <new>

#include "fileio/native_path.h"

namespace zmr::dialog {
namespace {

FolderSongBook failed(const std::filesystem::path& book, const char* reason) noexcept {
    FolderSongBook written;
    try {
        written.problem = pathText(book) + ": " + reason;
    } catch (...) {
        // Told without its path: the dialog still hears that no book was written.
        written.problem.emplace();
    }
    return written;
}

}  // namespace

std::filesystem::path suggestedSongBookPath(const std::filesystem::path& folder, bool pdf) {
    return folder / (pdf ? "SongBook.pdf" : "SongBook.html");
}

FolderSongBook writeSongBook(const std::filesystem::path& folder, const std::filesystem::path& book) noexcept {
    try {
        return writeFolderSongBook(folder, book);
    } catch (const std::bad_alloc&) {
        return failed(book, "not enough memory to make the song book");
    } catch (const std::exception& e) {
        return failed(book, e.what());
    } catch (...) {
        return failed(book, "the song book stopped on an unknown error");
    }
}

}  // namespace zmr::dialog
