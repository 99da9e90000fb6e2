#include "disc/volume_id.h"

namespace zmr {

Result<std::string> normaliseVolumeId(std::string_view name) {
    if (name.empty()) return Failure{"the volume name is empty"};
    if (name.size() > kMaxVolumeIdLength)
        return Failure{"the volume name \"" + std::string(name) + "\" is longer than 32 characters"};
    std::string normal;
    for (char c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!allowed)
            return Failure{"the volume name \"" + std::string(name) +
                           "\" may hold only the letters A-Z, digits and '_' (ISO 9660)"};
        normal += c;
    }
    return normal;
}

}  // namespace zmr
