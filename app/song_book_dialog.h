#pragma once
// "Song Book...": the save dialog that names the book.

#include <QString>
#include <optional>

class QWidget;

namespace zmr::gui {

inline constexpr QLatin1String kPdfFilter("PDF (*.pdf)");
inline constexpr QLatin1String kHtmlFilter("HTML (*.html)");

// Asks where to save the book, starting at `suggested`; the chosen path, or
// nothing when cancelled. Offers PDF where the build can write it, and HTML.
std::optional<QString> askForSongBookPath(QWidget* owner, const QString& suggested);

}  // namespace zmr::gui
