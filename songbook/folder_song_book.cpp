#include "songbook/folder_song_book.h"

#include <system_error>

#include "image/volume_id.h"
#include "image/image_layout.h"
#include "songbook/load_song_book.h"
#include "songbook/song_book_file.h"

namespace zmr {

FolderSongBook writeFolderSongBook(const std::filesystem::path& folder, const std::filesystem::path& book) {
    SongBookSource source{folder / kImageFileName, std::nullopt, kDefaultVolumeId};
    std::error_code error;
    if (std::filesystem::is_regular_file(folder / kSongListFileName, error)) source.songList = folder / kSongListFileName;
    FolderSongBook written;
    Result<SongBook> loaded = loadSongBook(source, written.warnings);
    if (!loaded) {
        written.problem = loaded.message();
        return written;
    }
    Result<SongBookSaved> saved = saveSongBook(*loaded, book);
    if (!saved) written.problem = saved.message();
    return written;
}

}  // namespace zmr
