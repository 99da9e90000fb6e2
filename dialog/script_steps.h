#pragma once
// Steps a script asks for on the command line (--add-folder, --create-image,
// --preview), run in that order once the dialog shows. Tests and users drive
// either dialog this way; the dialog's window then stays open until closed.

#include <string>
#include <vector>

namespace zmr::dialog {

struct ScriptSteps {
    // As if "Add Files..." were confirmed in each; absolute, taken from where
    // the program started, since adding a folder moves the current directory.
    std::vector<std::string> addFolders;
    bool createImage = false;  // then press "Create Image"
    int previewSong = 0;       // then open "Preview..." and play this song (from 1); 0 for none
};

// The commands the steps press, as the menu and the buttons run them.
class ScriptedDialog {
public:
    virtual ~ScriptedDialog() = default;
    virtual void addSongFolder(const std::string& folder) = 0;
    virtual void createImage() = 0;
    // A dialog without "Preview..." leaves the step out.
    virtual void openPreview() {}
};

// Runs the steps that follow at once. A preview asked for with a compilation
// waits for it to end (see previewAfterCompilation).
void runScriptSteps(const ScriptSteps& steps, ScriptedDialog& dialog);
// Whether the preview is to open once the compilation the steps started ends.
bool previewAfterCompilation(const ScriptSteps& steps);

// A folder named on the command line, made absolute from where the program
// started; as given when it cannot be.
std::string absoluteScriptFolder(const std::string& folder);

}  // namespace zmr::dialog
