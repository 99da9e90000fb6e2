// zmr_make_examples FOLDER: writes the example songs into FOLDER.
// zmr_make_examples --utf8 FOLDER: writes copies of the songs whose lyrics are
// VIQR with their lyrics in UTF-8 and named by their titles in Unicode.
// The output depends on nothing but this program, so every run writes the same bytes.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "render_song.h"
#include "utf8_text.h"

namespace {

// The VIQR songs with lyrics and file name in Unicode.
std::vector<zmr::examples::Song> unicodeCopies() {
    std::vector<zmr::examples::Song> copies;
    for (zmr::examples::Song song : zmr::examples::allSongs()) {
        if (song.encoding != zmr::examples::LyricEncoding::Viqr || song.viqrTitle.empty()) continue;
        const std::string extension = song.fileName.substr(song.fileName.rfind('.'));
        song.fileName = zmr::examples::viqrToUtf8(song.viqrTitle) + extension;
        song.encoding = zmr::examples::LyricEncoding::Utf8;
        copies.push_back(song);
    }
    return copies;
}

}  // namespace

int main(int argc, char** argv) {
    const bool utf8 = argc == 3 && std::string(argv[1]) == "--utf8";
    if (argc != 2 && !utf8) {
        std::fprintf(stderr, "usage: zmr_make_examples [--utf8] FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[argc - 1];
    try {
        std::filesystem::create_directories(folder);
        for (const zmr::examples::Song& song : utf8 ? unicodeCopies() : zmr::examples::allSongs()) {
            const std::vector<uint8_t> bytes = zmr::examples::renderSong(song);
            std::ofstream out(folder / song.fileName, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!out) {
                std::fprintf(stderr, "zmr_make_examples: cannot write %s\n", (folder / song.fileName).c_str());
                return 1;
            }
            std::printf("%-28s %7zu bytes\n", song.fileName.c_str(), bytes.size());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zmr_make_examples: %s\n", error.what());
        return 1;
    }
    return 0;
}
