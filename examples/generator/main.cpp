// zmr_make_examples FOLDER: writes the example songs into FOLDER.
// The output depends on nothing but this program, so every run writes the same bytes.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "catalogue.h"
#include "render_song.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zmr_make_examples FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    try {
        std::filesystem::create_directories(folder);
        for (const zmr::examples::Song& song : zmr::examples::allSongs()) {
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
