#include "image/volume_id.h"

#include "text/shown_text.h"

namespace zmr {

Result<std::string> normaliseVolumeId(std::string_view name) {
    if (name.empty()) return Failure{"the volume name is empty"};
    const std::string quoted = "the volume name \"" + shownText(name) + "\"";
    // Characters first: once they are all allowed, each is one byte and the
    // length counts characters, not the bytes of a letter such as "ế".
    std::string normal;
    for (char c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!allowed) return Failure{quoted + " may hold only the letters A-Z, digits and '_' (ISO 9660)"};
        normal += c;
    }
    if (normal.size() > kMaxVolumeIdLength) return Failure{quoted + " is longer than 32 characters"};
    return normal;
}

}  // namespace zmr
