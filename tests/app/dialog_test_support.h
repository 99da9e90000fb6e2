#pragma once
// What the dialog's tests share: finding controls by their id, and song files
// written into a folder.

#include <QAction>
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "app/control_ids.h"
#include "support/midi_writer.h"  // goodSong, rejectedSong

namespace zmr::test {

template <class Control = QWidget>
Control* controlById(QWidget& dialog, int id) {
    for (Control* control : dialog.findChildren<Control*>())
        if (control->property(gui::kControlIdProperty).toInt() == id) return control;
    return nullptr;
}

QAction* actionById(QWidget& dialog, int id);

void writeFile(const QString& path, const std::vector<uint8_t>& bytes);

// Keeps the dialog's remembered options in a folder of the test's own, so a
// test neither reads nor changes the user's.
class IsolatedSettings {
public:
    IsolatedSettings();

private:
    QTemporaryDir folder_;
};
QByteArray readFile(const QString& path);

}  // namespace zmr::test
