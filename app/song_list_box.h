#pragma once
// The dialog's list of song paths. It keeps them in the order the image uses
// (the command line's order: letter case ignored, then raw bytes), lets each
// click toggle an entry's selection, and allows the same path twice.

#include <QListWidget>
#include <string>
#include <vector>

namespace zmr::gui {

class SongListBox : public QListWidget {
    Q_OBJECT
public:
    explicit SongListBox(QWidget* parent = nullptr);

    // At its sorted place, after any equal entry.
    void addSong(const std::string& path);
    // The paths as the file system names them, from the top.
    std::vector<std::string> paths() const;
    void removeSelected();

private:
    static std::string pathOf(const QListWidgetItem* item);
};

}  // namespace zmr::gui
