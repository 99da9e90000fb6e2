#include "app/song_book_dialog.h"

#include <QFileDialog>

#include "songbook/song_book_file.h"

namespace zmr::gui {

std::optional<QString> askForSongBookPath(QWidget* owner, const QString& suggested) {
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // as "Add Files..."
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    if (songBookPdfAvailable()) filters << kPdfFilter;
    filters << kHtmlFilter;
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(songBookPdfAvailable() ? "pdf" : "html");
    dialog.selectFile(suggested);
    // The suffix follows the chosen filter, so that the format is the one picked.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(filter == kPdfFilter ? "pdf" : "html"); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace zmr::gui
