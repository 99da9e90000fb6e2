#include "playback/preview_listing.h"

#include <exception>
#include <new>

#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "image/song_list.h"
#include "readback/song_list_check.h"
#include "text/code_page_inverse.h"
#include "text/text_encoding.h"

namespace zmr {
namespace {

// The list's bytes (VIQR or VNI, UTF-8 or Windows-1258) as the song's text
// header would spell them.
std::string shownTitle(const std::string& listed) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(listed.data()), listed.size());
    return codesToUtf8(transcodeTitle(listed, titleEncoding(bytes, TextEncoding::Auto)));
}

std::vector<std::string> listedTitles(const std::filesystem::path& songList, size_t songs) {
    std::vector<std::string> titles(songs);
    // A FIFO named like the list would hold the window's reading.
    if (regularFileProblem(songList)) return titles;
    Result<std::vector<uint8_t>> bytes = readFileBytes(pathText(songList));
    if (!bytes) return titles;
    // Line n is song n's where it carries that number; the song book reads it so too.
    const SongList list = parseSongList(*bytes);
    for (size_t i = 0; i < songs && i < list.lines.size(); ++i) {
        if (!songListNumberProblem(list.lines[i])) titles[i] = shownTitle(std::string(list.lines[i].title));
    }
    return titles;
}

}  // namespace

PreviewListing readPreviewListing(const std::filesystem::path& image, const std::filesystem::path& songList) {
    PreviewListing listing;
    const std::string imageName = pathText(image);
    try {
        if (std::optional<std::string> problem = regularFileProblem(image)) {
            listing.problem = imageName + ": " + *problem;
            return listing;
        }
        Result<std::vector<uint8_t>> bytes = readFileBytes(imageName);
        if (!bytes) {
            listing.problem = imageName + ": " + bytes.message();
            return listing;
        }
        listing.image = std::make_shared<const std::vector<uint8_t>>(std::move(bytes).value());
        ImageIndex scan = readImageIndex(*listing.image);
        listing.songs = std::move(scan.songs);
        listing.complete = scan.complete;
        listing.titles = listedTitles(songList, listing.songs.size());
    } catch (const std::bad_alloc&) {
        listing = PreviewListing{};
        listing.problem = imageName + ": not enough memory to read the image";
    } catch (const std::exception& e) {
        listing = PreviewListing{};
        listing.problem = imageName + ": " + e.what();
    }
    return listing;
}

Result<PreviewSong> previewSongAt(const PreviewListing& listing, size_t index) {
    if (!listing.image || index >= listing.songs.size()) return Failure{"no such song in the image"};
    try {
        return loadPreviewSong(*listing.image, listing.songs[index]);
    } catch (const std::bad_alloc&) {
        return Failure{"not enough memory to decode the song"};
    } catch (const std::exception& e) {
        return Failure{e.what()};
    }
}

}  // namespace zmr
