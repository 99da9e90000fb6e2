#pragma once
// The file-open dialog of "Add Files...".

#include <QString>
#include <optional>

class QFileDialog;
class QWidget;

namespace zmr::gui {

inline constexpr QLatin1String kPrefilledName("All file");
inline constexpr QLatin1String kKaraokeFilter("Karaoke File (*.kar)");
inline constexpr QLatin1String kMidiFilter("MIDI File (*.mid)");

// Open mode, the two filters with the karaoke one selected, and "All file" as
// the name. The name need not exist: confirming it takes the whole folder.
void prepareSongFileDialog(QFileDialog& dialog);

// Runs the dialog; the confirmed full path, or nothing when it was cancelled.
std::optional<QString> askForSongPath(QWidget* owner);

}  // namespace zmr::gui
