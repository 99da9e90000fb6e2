#include "songbook/load_song_book.h"

#include <chrono>
#include <ctime>

#include "image/file_bytes.h"
#include "image/native_path.h"
#include "songbook/song_book_entries.h"
#include "songbook/song_list_titles.h"

namespace zmr {
namespace fs = std::filesystem;

namespace {

std::string localDate(std::time_t time) {
    std::tm parts{};
#ifndef _WIN32
    localtime_r(&time, &parts);
#else
    localtime_s(&parts, &time);
#endif
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

std::string dateOfFile(const fs::path& file) {
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(file, error);
    const auto when = error ? std::chrono::system_clock::now()
                            : std::chrono::time_point_cast<std::chrono::system_clock::duration>(
                                  std::chrono::file_clock::to_sys(written));
    return localDate(std::chrono::system_clock::to_time_t(when));
}

}  // namespace

Result<SongBook> loadSongBook(const SongBookSource& source, std::vector<std::string>& warnings) {
    const std::string imageName = pathText(source.image);
    Result<std::vector<uint8_t>> image = readFileBytes(imageName);
    if (!image) return Failure{imageName + ": " + image.message()};

    std::vector<std::optional<std::string>> titles;
    if (source.songList) {
        const std::string listName = pathText(*source.songList);
        // A FIFO would hold the book until something writes to it.
        const std::optional<std::string> problem = regularFileProblem(*source.songList);
        Result<std::vector<uint8_t>> list = problem ? Result<std::vector<uint8_t>>(Failure{*problem}) : readFileBytes(listName);
        if (list) {
            titles = songListTitles(*list);
        } else {
            warnings.push_back(listName + ": " + list.message() + "; the titles come from the image");
        }
    }
    Result<std::vector<SongBookEntry>> entries = readSongBookEntries(*image, titles);
    if (!entries) return Failure{imageName + ": " + entries.message()};
    return SongBook{source.volumeId, dateOfFile(source.image), std::move(entries).value()};
}

}  // namespace zmr
