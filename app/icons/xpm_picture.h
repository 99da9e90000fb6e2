#pragma once
// Reads the dialog's XPM pictures for the programs that draw icon files from
// them (the Windows .ico and the hicolor PNGs of the Linux package), so that
// every icon shows the same picture. The pictures are square, one character
// per pixel, each colour #RRGGBB or None.

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace zmr::icons {

inline constexpr int64_t kTransparent = -1;

struct XpmPicture {
    int size = 0;                 // 0 when the picture is not one the project draws
    std::vector<int64_t> pixels;  // 0xRRGGBB, or kTransparent; top row first
};

inline XpmPicture readXpm(const char* const* xpm) {
    int width = 0, height = 0, colours = 0, perPixel = 0;
    if (std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colours, &perPixel) != 4 || width != height ||
        width <= 0 || perPixel != 1)
        return {};
    std::map<char, int64_t> colourOf;
    for (int i = 1; i <= colours; ++i) {
        const std::string line = xpm[i];
        const std::string colour = line.substr(line.rfind(' ') + 1);
        if (colour == "None") {
            colourOf[line[0]] = kTransparent;
        } else if (colour.size() == 7 && colour[0] == '#') {
            colourOf[line[0]] = static_cast<int64_t>(std::stoul(colour.substr(1), nullptr, 16));
        } else {
            return {};
        }
    }
    XpmPicture picture{width, {}};
    for (int y = 0; y < height; ++y) {
        const std::string row = xpm[1 + colours + y];
        if (static_cast<int>(row.size()) != width) return {};
        for (const char c : row) {
            const auto colour = colourOf.find(c);
            if (colour == colourOf.end()) return {};
            picture.pixels.push_back(colour->second);
        }
    }
    return picture;
}

}  // namespace zmr::icons
