#pragma once
// The dialog's list of song paths (dialog/song_list_model.h), row for row:
// each click toggles an entry's selection.

#include <QListWidget>
#include <string>
#include <vector>

#include "dialog/song_list_model.h"

namespace zmr::gui {

class SongListBox : public QListWidget {
    Q_OBJECT
public:
    explicit SongListBox(QWidget* parent = nullptr);

    // At its sorted place, after any equal entry.
    void addSong(const std::string& path);
    // The paths as the file system names them, from the top.
    const std::vector<std::string>& paths() const { return songs_.paths(); }
    void removeSelected();

private:
    dialog::SongListModel songs_;
};

}  // namespace zmr::gui
