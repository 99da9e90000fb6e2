#include "app/song_book_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <filesystem>
#include <system_error>
#include <vector>

#include "disc/volume_id.h"
#include "image/image_layout.h"
#include "songbook/load_song_book.h"
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
    const std::filesystem::path base(QFile::encodeName(folder).toStdString());
    SongBookSource source{base / kImageFileName, std::nullopt, kDefaultVolumeId};
    std::error_code error;
    if (std::filesystem::is_regular_file(base / kSongListFileName, error)) source.songList = base / kSongListFileName;
    SongBookWritten written;
    std::vector<std::string> warnings;
    Result<SongBook> book = loadSongBook(source, warnings);
    for (const std::string& warning : warnings) written.warnings << QString::fromLocal8Bit(warning);
    if (!book) {
        written.problem = QString::fromLocal8Bit(book.message());
        return written;
    }
    Result<SongBookSaved> saved = saveSongBook(*book, std::filesystem::path(QFile::encodeName(bookPath).toStdString()));
    if (!saved) written.problem = QString::fromLocal8Bit(saved.message());
    return written;
}

}  // namespace zmr::gui
