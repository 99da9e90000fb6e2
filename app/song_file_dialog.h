#pragma once
// The file-open dialog of "Add Files...".

#include <QString>
#include <optional>

class QFileDialog;
class QWidget;

namespace zmr::gui {

// Open mode, the two filters with the karaoke one selected, and "All file" as
// the name (dialog/song_file_choice.h). The name need not exist: confirming it
// takes the whole folder.
void prepareSongFileDialog(QFileDialog& dialog);

// Runs the dialog; the confirmed full path, or nothing when it was cancelled.
std::optional<QString> askForSongPath(QWidget* owner);

}  // namespace zmr::gui
