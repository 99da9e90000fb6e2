#include "dialog/script_steps.h"

#include <filesystem>
#include <system_error>

#include "fileio/native_path.h"

namespace zmr::dialog {

void runScriptSteps(const ScriptSteps& steps, ScriptedDialog& dialog) {
    for (const std::string& folder : steps.addFolders) dialog.addSongFolder(folder);
    if (steps.createImage) dialog.createImage();
    if (steps.previewSong > 0 && !steps.createImage) dialog.openPreview();
}

bool previewAfterCompilation(const ScriptSteps& steps) { return steps.previewSong > 0 && steps.createImage; }

std::string absoluteScriptFolder(const std::string& folder) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(nativePath(folder), error);
    return error || full.empty() ? folder : pathText(full);
}

}  // namespace zmr::dialog
