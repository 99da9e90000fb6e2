#include "app/song_file_dialog.h"

#include <QFileDialog>

#include "dialog/song_file_choice.h"

namespace zmr::gui {

void prepareSongFileDialog(QFileDialog& dialog) {
    // Qt's own dialog looks and behaves the same on every platform, and it
    // accepts a name that does not exist in open mode.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const dialog::FileFilter& filter : dialog::kSongFilters) filters << QString::fromLatin1(filter.description);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.selectFile(QString::fromLatin1(dialog::kPrefilledName));
}

std::optional<QString> askForSongPath(QWidget* owner) {
    QFileDialog dialog(owner);
    prepareSongFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return files.first();
}

}  // namespace zmr::gui
