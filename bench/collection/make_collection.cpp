// Writes a collection of generated karaoke songs into a folder, for the
// benchmark script: zmr_make_collection FOLDER COUNT [FIRST_SEED]

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "generated_song.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT [FIRST_SEED]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const unsigned long count = std::strtoul(argv[2], nullptr, 10);
    const unsigned long firstSeed = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 1;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    unsigned long long total = 0;
    for (unsigned long i = 0; i < count; ++i) {
        const auto song = zmr::bench::generateSong(static_cast<uint32_t>(firstSeed + i));
        std::ofstream out(folder / song.fileName, std::ios::binary);
        out.write(reinterpret_cast<const char*>(song.bytes.data()), static_cast<std::streamsize>(song.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", (folder / song.fileName).c_str());
            return 1;
        }
        total += song.bytes.size();
    }
    std::printf("%lu songs, %llu bytes in %s\n", count, total, folder.c_str());
    return 0;
}
