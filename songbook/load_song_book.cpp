#include "songbook/load_song_book.h"

#include <chrono>
#include <ctime>

#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
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

std::chrono::system_clock::time_point systemTime(fs::file_time_type time) {
#ifdef __EMSCRIPTEN__
    // The WebAssembly build's library has no file_clock::to_sys: the offset
    // between the two clocks now serves as well for a date.
    return std::chrono::system_clock::now() + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                                                  time - fs::file_time_type::clock::now());
#else
    return std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(time));
#endif
}

std::string dateOfFile(const fs::path& file) {
    std::error_code error;
    const fs::file_time_type written = fs::last_write_time(file, error);
    const auto when = error ? std::chrono::system_clock::now() : systemTime(written);
    return localDate(std::chrono::system_clock::to_time_t(when));
}

}  // namespace

Result<SongBook> loadSongBook(const SongBookSource& source, std::vector<std::string>& warnings) {
    const std::string imageName = pathText(source.image);
    Result<std::vector<uint8_t>> image = readFileBytes(imageName);
    if (!image) return Failure{imageName + ": " + image.message(), image.kind()};

    ListedTitles listed;
    std::optional<std::string> listName;
    if (source.songList) {
        listName = pathText(*source.songList);
        // A FIFO would hold the book until something writes to it.
        const std::optional<std::string> problem = regularFileProblem(*source.songList);
        Result<std::vector<uint8_t>> list =
            problem ? Result<std::vector<uint8_t>>(Failure{*problem, FailureKind::UnreadableInput}) : readFileBytes(*listName);
        if (list) {
            listed = songListTitles(*list);
        } else {
            warnings.push_back(*listName + ": " + list.message() + "; the titles come from the image");
            listName.reset();
        }
    }
    Result<std::vector<SongBookEntry>> entries = readSongBookEntries(*image, listed.titles);
    if (!entries) return Failure{imageName + ": " + entries.message(), entries.kind()};
    if (listName) {
        // What the book could not take from the list is said, not silently replaced.
        for (const std::string& problem : listed.problems)
            warnings.push_back(*listName + " " + problem + "; the title comes from the image");
        if (listed.titles.size() != entries->size())
            warnings.push_back(*listName + ": the list has " + std::to_string(listed.titles.size()) +
                               " lines, the image " + std::to_string(entries->size()) + " songs");
    }
    return SongBook{source.volumeId, dateOfFile(source.image), std::move(entries).value()};
}

}  // namespace zmr
