// Writes the Windows dialog's icon file from the Qt dialog's XPM pictures, so
// both dialogs show the same icon: one .ico holding the 32x32 and the 16x16
// image, 4 bits per pixel over the standard 16-colour palette, with the mask
// that makes XPM's "None" transparent.
//
//   make_icon OUTPUT.ico          (scripts/make-win32-icon.sh runs it)

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/icons/xpm_picture.h"

namespace {

// The XPM pictures are C: included, they are arrays of strings.
#include "app/icons/app_icon_16.xpm"
#include "app/icons/app_icon_32.xpm"

// The 16 colours every Windows display has, in their usual order.
constexpr uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                   0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr int kTransparent = -1;

struct Picture {
    int size = 0;
    std::vector<int> pixels;  // palette index, or kTransparent; top row first
};

int paletteIndex(int64_t colour) {
    if (colour == zmr::icons::kTransparent) return kTransparent;
    for (int i = 0; i < 16; ++i) {
        if (kPalette[i] == colour) return i;
    }
    std::fprintf(stderr, "make_icon: colour #%06llX is not one of the 16 standard colours\n",
                 static_cast<unsigned long long>(colour));
    std::exit(1);
}

Picture readPicture(const char* const* xpm) {
    const zmr::icons::XpmPicture picture = zmr::icons::readXpm(xpm);
    if (picture.size == 0) {
        std::fprintf(stderr, "make_icon: expected a square picture with one character per pixel\n");
        std::exit(1);
    }
    Picture indexed{picture.size, {}};
    for (const int64_t colour : picture.pixels) indexed.pixels.push_back(paletteIndex(colour));
    return indexed;
}

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One icon image: a bitmap header of twice the height (colour rows, then mask
// rows), the palette, the 4-bit colour rows and the 1-bit mask rows, both from
// the bottom row up and each padded to 4 bytes.
std::vector<uint8_t> iconImage(const Picture& picture) {
    const int size = picture.size;
    const int colourStride = ((size * 4 + 31) / 32) * 4;
    const int maskStride = ((size + 31) / 32) * 4;
    std::vector<uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(size));
    put32(out, static_cast<uint32_t>(size * 2));
    put16(out, 1);   // planes
    put16(out, 4);   // bits per pixel
    put32(out, 0);   // no compression
    put32(out, static_cast<uint32_t>((colourStride + maskStride) * size));
    put32(out, 0);
    put32(out, 0);
    put32(out, 16);  // colours used
    put32(out, 0);
    for (const uint32_t rgb : kPalette) {  // stored blue, green, red, 0
        out.push_back(static_cast<uint8_t>(rgb));
        out.push_back(static_cast<uint8_t>(rgb >> 8));
        out.push_back(static_cast<uint8_t>(rgb >> 16));
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(colourStride), 0);
        for (int x = 0; x < size; ++x) {
            const int pixel = picture.pixels[static_cast<size_t>(y * size + x)];
            const auto value = static_cast<uint8_t>(pixel == kTransparent ? 0 : pixel);  // black under the mask
            row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? value << 4 : value);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < size; ++x) {
            if (picture.pixels[static_cast<size_t>(y * size + x)] == kTransparent)
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
        return 2;
    }
    const std::vector<Picture> pictures = {readPicture(app_icon_32_xpm), readPicture(app_icon_16_xpm)};
    std::vector<std::vector<uint8_t>> images;
    for (const Picture& picture : pictures) images.push_back(iconImage(picture));

    std::vector<uint8_t> file;
    put16(file, 0);  // reserved
    put16(file, 1);  // an icon
    put16(file, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<uint8_t>(pictures[i].size));
        file.push_back(static_cast<uint8_t>(pictures[i].size));
        file.push_back(16);  // colours
        file.push_back(0);
        put16(file, 1);
        put16(file, 4);
        put32(file, static_cast<uint32_t>(images[i].size()));
        put32(file, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
