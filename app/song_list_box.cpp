#include "app/song_list_box.h"

#include <QFile>

namespace zmr::gui {

SongListBox::SongListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
    setSortingEnabled(false);  // the order is the model's, not Qt's collation
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

// The model keeps the path's own bytes: a name that is not valid UTF-8 must
// still reach the compilation as the folder listed it.
void SongListBox::addSong(const std::string& path) {
    const size_t row = songs_.placeOf(path);
    insertItem(static_cast<int>(row), QFile::decodeName(QByteArray::fromStdString(path)));
    songs_.insert(row, path);
}

void SongListBox::removeSelected() {
    std::vector<size_t> rows;
    for (const QListWidgetItem* item : selectedItems()) rows.push_back(static_cast<size_t>(row(item)));
    songs_.remove(rows);
    qDeleteAll(selectedItems());
}

}  // namespace zmr::gui
