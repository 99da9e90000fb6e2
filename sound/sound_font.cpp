#include "sound/sound_font.h"

#include <cerrno>
#include <cstdio>

#include "fileio/file_bytes.h"
#include "fileio/native_path.h"

namespace zmr {

Result<std::filesystem::path> findSoundFont(const std::optional<std::filesystem::path>& chosen) {
    const std::filesystem::path path = chosen.value_or(std::filesystem::path(kDefaultSoundFont));
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return Failure{pathText(path) + ": is a folder, not a SoundFont", FailureKind::UnreadableInput};
    errno = 0;
    std::FILE* file = openFile(path, "rb");
    if (file) {
        std::fclose(file);
        return path;
    }
    if (chosen) return Failure{systemMessage(pathText(path) + ": cannot open", errno), FailureKind::UnreadableInput};
    return Failure{std::string("no SoundFont: ") + kDefaultSoundFont + " is missing; install " + kSoundFontPackages,
                   FailureKind::UnreadableInput};
}

}  // namespace zmr
