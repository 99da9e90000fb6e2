#pragma once
// A deliberately small reader of ISO 9660 images for tests, written from the
// standard and sharing nothing with the library that writes them: the volume
// name, and the root folder of the plain tree (names as the player reads
// them, version included) and of the Joliet tree (UCS-2, here ASCII only).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zmr::test {

struct IsoRootFile {
    std::string name;
    uint32_t sector = 0;
    uint32_t size = 0;
};

struct IsoVolume {
    std::string volumeId;            // trailing spaces removed
    std::vector<IsoRootFile> plain;  // "." and ".." left out
    std::vector<IsoRootFile> joliet;
    bool ok = false;
};

inline uint32_t littleEndian32(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

inline std::vector<IsoRootFile> readRootFolder(std::span<const uint8_t> iso, size_t descriptor, bool ucs2) {
    std::vector<IsoRootFile> files;
    const size_t root = descriptor + 156;
    if (root + 14 > iso.size()) return files;  // a cut image: nothing to list
    const size_t start = size_t{littleEndian32(iso, root + 2)} * 2048;
    const size_t end = start + littleEndian32(iso, root + 10);
    for (size_t at = start; at < end && at < iso.size();) {
        const uint8_t length = iso[at];
        if (length == 0) {  // records do not cross sectors
            at = (at / 2048 + 1) * 2048;
            continue;
        }
        if (at + 33 > iso.size()) break;
        const uint8_t nameLength = iso[at + 32];
        if (at + 33 + nameLength > iso.size()) break;
        std::string name;
        for (size_t i = 0; i < nameLength; i += ucs2 ? 2 : 1) name += static_cast<char>(iso[at + 33 + i + (ucs2 ? 1 : 0)]);
        const bool self = nameLength == 1 && (iso[at + 33] == 0 || iso[at + 33] == 1);
        if (!self) files.push_back({name, littleEndian32(iso, at + 2), littleEndian32(iso, at + 10)});
        at += length;
    }
    return files;
}

inline IsoVolume readIsoVolume(std::span<const uint8_t> iso) {
    IsoVolume volume;
    for (size_t sector = 16; (sector + 1) * 2048 <= iso.size(); ++sector) {
        const size_t at = sector * 2048;
        if (std::string(iso.begin() + at + 1, iso.begin() + at + 6) != "CD001") break;
        const uint8_t type = iso[at];
        if (type == 255) break;  // the set's terminator
        if (type == 1) {
            volume.volumeId.assign(iso.begin() + at + 40, iso.begin() + at + 72);
            volume.volumeId.erase(volume.volumeId.find_last_not_of(' ') + 1);
            volume.plain = readRootFolder(iso, at, false);
            volume.ok = true;
        }
        if (type == 2 && iso[at + 88] == '%' && iso[at + 89] == '/') volume.joliet = readRootFolder(iso, at, true);
    }
    return volume;
}

}  // namespace zmr::test
