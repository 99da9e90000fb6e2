#pragma once
// "Song Book...": the save dialog that names the book, and making the book of
// the image in a folder.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace zmr::gui {

inline constexpr QLatin1String kPdfFilter("PDF (*.pdf)");
inline constexpr QLatin1String kHtmlFilter("HTML (*.html)");

// Asks where to save the book, starting at `suggested`; the chosen path, or
// nothing when cancelled. Offers PDF where the build can write it, and HTML.
std::optional<QString> askForSongBookPath(QWidget* owner, const QString& suggested);

// The name first offered: SongBook.pdf in `folder` (SongBook.html where the
// build writes HTML only).
QString suggestedSongBookPath(const QString& folder);

struct SongBookWritten {
    std::optional<QString> problem;  // what went wrong, or nothing
    QStringList warnings;            // what the book could not take from the song list
};

// Writes the book of the image and song list in `folder` to `bookPath`. Takes
// a while for a big image: the dialog runs it on a thread of its own.
SongBookWritten writeSongBookOfFolder(const QString& folder, const QString& bookPath);

}  // namespace zmr::gui
