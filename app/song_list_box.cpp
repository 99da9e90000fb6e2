#include "app/song_list_box.h"

#include <QFile>

#include "image/song_order.h"

namespace zmr::gui {
namespace {

// The path's own bytes ride along with its shown text: a name that is not
// valid UTF-8 must still reach the compilation as the folder listed it.
constexpr int kPathRole = Qt::UserRole;

}  // namespace

SongListBox::SongListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
    setSortingEnabled(false);  // the order is ours, not the model's collation
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

std::string SongListBox::pathOf(const QListWidgetItem* item) {
    return item->data(kPathRole).toByteArray().toStdString();
}

void SongListBox::addSong(const std::string& path) {
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (songPathLess(path, pathOf(item(middle)))) high = middle;
        else low = middle + 1;
    }
    const QByteArray bytes = QByteArray::fromStdString(path);
    auto* entry = new QListWidgetItem(QFile::decodeName(bytes));
    entry->setData(kPathRole, bytes);
    insertItem(low, entry);
}

std::vector<std::string> SongListBox::paths() const {
    std::vector<std::string> result;
    result.reserve(static_cast<size_t>(count()));
    for (int i = 0; i < count(); ++i) result.push_back(pathOf(item(i)));
    return result;
}

void SongListBox::removeSelected() { qDeleteAll(selectedItems()); }

}  // namespace zmr::gui
