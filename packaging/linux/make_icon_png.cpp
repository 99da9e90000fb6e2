// Writes one of the dialog's icons for the desktop's hicolor theme as a PNG
// file, drawn from the same XPM pictures as the Qt dialog's window icon and
// the Windows .ico. The pictures are pixel art in a few colours, so a size
// that is not a picture's own is the largest picture that divides it, each
// pixel repeated: 48 is the 16x16 picture three times over, 128 the 32x32 four
// times. The PNG holds a palette of at most 16 entries at 4 bits per pixel in
// uncompressed deflate blocks: small, and the same bytes on every run.
//
//   make_icon_png SIZE OUTPUT.png

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "app/icons/xpm_picture.h"

namespace {

#include "app/icons/app_icon_16.xpm"
#include "app/icons/app_icon_32.xpm"

using Bytes = std::vector<uint8_t>;

void putBigEndian32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t crc32(std::span<const uint8_t> bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t adler32(std::span<const uint8_t> bytes) {
    uint32_t a = 1, b = 0;
    for (const uint8_t byte : bytes) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void putChunk(Bytes& png, const char (&type)[5], const Bytes& data) {
    putBigEndian32(png, static_cast<uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    putBigEndian32(png, crc32(typed));
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes storedZlib(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    putBigEndian32(out, adler32(raw));
    return out;
}

// The picture repeated `scale` times in each direction, as a 4-bit palette PNG
// whose transparent entry comes first.
Bytes png(const zmr::icons::XpmPicture& picture, int scale) {
    std::vector<int64_t> palette = {zmr::icons::kTransparent};
    std::vector<uint8_t> indices;
    for (const int64_t colour : picture.pixels) {
        size_t index = 0;
        while (index < palette.size() && palette[index] != colour) ++index;
        if (index == palette.size()) palette.push_back(colour);
        indices.push_back(static_cast<uint8_t>(index));
    }
    if (palette.size() > 16) {
        std::fprintf(stderr, "make_icon_png: the picture has more than 15 colours\n");
        std::exit(1);
    }
    const int size = picture.size * scale;
    const size_t rowBytes = static_cast<size_t>(size + 1) / 2;
    Bytes raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);  // no filter
        Bytes row(rowBytes, 0);
        for (int x = 0; x < size; ++x) {
            const uint8_t index = indices[static_cast<size_t>((y / scale) * picture.size + x / scale)];
            row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        raw.insert(raw.end(), row.begin(), row.end());
    }

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBigEndian32(header, static_cast<uint32_t>(size));
    putBigEndian32(header, static_cast<uint32_t>(size));
    header.insert(header.end(), {4, 3, 0, 0, 0});  // 4 bits, palette, deflate, no filter, no interlace
    putChunk(out, "IHDR", header);
    Bytes colours, alphas;
    for (const int64_t colour : palette) {
        const auto rgb = static_cast<uint32_t>(colour == zmr::icons::kTransparent ? 0 : colour);
        colours.insert(colours.end(), {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                       static_cast<uint8_t>(rgb)});
        alphas.push_back(colour == zmr::icons::kTransparent ? 0 : 255);
    }
    putChunk(out, "PLTE", colours);
    putChunk(out, "tRNS", alphas);
    putChunk(out, "IDAT", storedZlib(raw));
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size <= 0 || size > 1024) {
        std::fprintf(stderr, "usage: make_icon_png SIZE OUTPUT.png\n");
        return 2;
    }
    const std::array<zmr::icons::XpmPicture, 2> pictures = {zmr::icons::readXpm(app_icon_32_xpm),
                                                            zmr::icons::readXpm(app_icon_16_xpm)};
    const zmr::icons::XpmPicture* source = nullptr;
    for (const auto& picture : pictures) {
        if (picture.size == 0) {
            std::fprintf(stderr, "make_icon_png: expected square pictures with one character per pixel\n");
            return 1;
        }
        if (!source && size % picture.size == 0) source = &picture;
    }
    if (!source) {
        std::fprintf(stderr, "make_icon_png: no picture divides %d pixels\n", size);
        return 2;
    }
    const Bytes file = png(*source, size / source->size);
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "make_icon_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
