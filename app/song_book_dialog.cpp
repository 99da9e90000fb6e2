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

std::optional<QString> writeSongBookOfFolder(const QString& folder, const QString& bookPath) {
    const std::filesystem::path base(QFile::encodeName(folder).toStdString());
    SongBookSource source{base / kImageFileName, std::nullopt, kDefaultVolumeId};
    std::error_code error;
    if (std::filesystem::is_regular_file(base / kSongListFileName, error)) source.songList = base / kSongListFileName;
    std::vector<std::string> warnings;  // a song list that cannot be read leaves the image's titles
    Result<SongBook> book = loadSongBook(source, warnings);
    if (!book) return QString::fromLocal8Bit(book.message());
    Result<SongBookSaved> saved = saveSongBook(*book, std::filesystem::path(QFile::encodeName(bookPath).toStdString()));
    if (!saved) return QString::fromLocal8Bit(saved.message());
    return std::nullopt;
}

}  // namespace zmr::gui
