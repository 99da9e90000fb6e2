#include "app/dialog_test_support.h"

#include <QFile>
#include <QMenu>
#include <QSettings>

#include "support/midi_writer.h"

namespace zmr::test {

QAction* actionById(QWidget& dialog, int id) {
    for (QMenu* menu : dialog.findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            if (action->property(gui::kControlIdProperty).toInt() == id) return action;
    return nullptr;
}

void writeFile(const QString& path, const std::vector<uint8_t>& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

IsolatedSettings::IsolatedSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace zmr::test
