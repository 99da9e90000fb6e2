// Feeds saved inputs to a fuzz target built without libFuzzer, so that any
// input a fuzzer kept (a seed, or a crash turned regression) is replayed with
// the normal compiler and sanitizers. Arguments are files, or folders whose
// files are replayed in name order.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

bool replayFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot open\n", path.string().c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s: %zu bytes\n", path.string().c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

// The files directly inside a folder, in name order so runs repeat exactly;
// hidden files (such as the .gitkeep of a folder without regressions yet) are not inputs.
std::vector<fs::path> filesIn(const fs::path& folder, std::error_code& error) {
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file() && it->path().filename().string().front() != '.') files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    bool allRead = true;
    for (int i = 1; i < argc; ++i) {
        const fs::path argument(argv[i]);
        std::error_code error;
        if (fs::is_directory(argument, error)) {
            for (const fs::path& file : filesIn(argument, error)) {
                allRead = replayFile(file) && allRead;
                ++replayed;
            }
            if (error) {
                std::fprintf(stderr, "%s: %s\n", argv[i], error.message().c_str());
                allRead = false;
            }
        } else {
            allRead = replayFile(argument) && allRead;
            ++replayed;
        }
    }
    std::printf("replayed %d input%s\n", replayed, replayed == 1 ? "" : "s");
    return allRead ? 0 : 1;
}
