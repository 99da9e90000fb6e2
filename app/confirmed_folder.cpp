#include "app/confirmed_folder.h"

#include <QFileInfo>

#include "app/song_file_dialog.h"

namespace zmr::gui {

QString folderOfConfirmedPath(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (name.size() == kPrefilledName.size()) return path.chopped(kPrefilledName.size());
    QString folder = QFileInfo(path).path();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

}  // namespace zmr::gui
