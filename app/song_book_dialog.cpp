#include "app/song_book_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <filesystem>

#include "songbook/folder_song_book.h"
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

QString suggestedSongBookPath(const QString& folder) {
    return QDir(folder).filePath(songBookPdfAvailable() ? "SongBook.pdf" : "SongBook.html");
}

SongBookWritten writeSongBookOfFolder(const QString& folder, const QString& bookPath) {
    const FolderSongBook book = writeFolderSongBook(std::filesystem::path(QFile::encodeName(folder).toStdString()),
                                                    std::filesystem::path(QFile::encodeName(bookPath).toStdString()));
    SongBookWritten written;
    if (book.problem) written.problem = QString::fromLocal8Bit(*book.problem);
    for (const std::string& warning : book.warnings) written.warnings << QString::fromLocal8Bit(warning);
    return written;
}

}  // namespace zmr::gui
