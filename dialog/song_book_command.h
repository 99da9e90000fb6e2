#pragma once
// "Song Book...": the book of the image in the output folder, saved where
// the user says. It takes a while for a big image, so the dialogs write it on
// a thread of their own; nothing thrown may end that thread.

#include <filesystem>

#include "songbook/folder_song_book.h"

namespace zmr::dialog {

// The name first offered: SongBook.pdf in `folder`, or SongBook.html where
// the build writes HTML only.
std::filesystem::path suggestedSongBookPath(const std::filesystem::path& folder, bool pdf);

// Writes the book of the image and song list in `folder` to `book`; what is
// thrown on the way (out of memory) comes back as its problem.
FolderSongBook writeSongBook(const std::filesystem::path& folder, const std::filesystem::path& book) noexcept;

}  // namespace zmr::dialog
