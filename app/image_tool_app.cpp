#include "app/image_tool_app.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/guarded_slot.h"
#include "app/image_tool_dlg.h"
#include "app/preview_window.h"

namespace zmr::gui {

CImageToolApp::CImageToolApp(int& argc, char** argv, TemporaryFileWatcher* watcher)
    : application_(argc, argv), watcher_(watcher) {
    QApplication::setApplicationName(QStringLiteral("zmrimage-gui"));
    QApplication::setApplicationVersion(QStringLiteral(ZMR_VERSION));
}

ScriptSteps CImageToolApp::readCommandLine() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Gathers karaoke songs (.mid, .kar) into a list and compiles them into DADEDA00.DEZ and\n"
        "SongList.txt in the current directory, which \"Add Files...\" sets to the folder it adds.\n"
        "The options below script the dialog: they run in this order once the window shows,\n"
        "and the window then stays open until it is closed."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption addFolder(
        QStringLiteral("add-folder"),
        QStringLiteral("Add the .mid and .kar files of <folder>, as confirming \"Add Files...\" there does; "
                       "it becomes the current directory. May be given more than once."),
        QStringLiteral("folder"));
    const QCommandLineOption createImage(QStringLiteral("create-image"),
                                         QStringLiteral("Then press \"Create Image\"."));
    const QCommandLineOption preview(
        QStringLiteral("preview"),
        QStringLiteral("Then open \"Preview...\" on the image in the output folder and play song <number>."),
        QStringLiteral("number"));
    parser.addOption(addFolder);
    parser.addOption(createImage);
    parser.addOption(preview);
    parser.process(application_);
    // Each folder is taken from where the program started, although adding
    // one moves the current directory.
    ScriptSteps steps;
    for (const QString& folder : parser.values(addFolder)) steps.addFolders.push_back(QDir(folder).absolutePath());
    steps.createImage = parser.isSet(createImage);
    if (parser.isSet(preview)) {
        bool number = false;
        steps.previewSong = parser.value(preview).toInt(&number);
        if (!number || steps.previewSong < 1) {
            std::fprintf(stderr, "zmrimage-gui: --preview takes a song number from 1\n");
            std::exit(2);
        }
    }
    return steps;
}

int CImageToolApp::run() {
    const ScriptSteps steps = readCommandLine();
    CImageToolDlg dialog;
    dialog.setTemporaryFileWatcher(watcher_);
    if (steps.previewSong > 0) {
        const int row = steps.previewSong - 1;
        dialog.setPreviewOpener([row](QWidget* owner, const QString& imagePath) {
            PreviewWindow window(imagePath, owner);
            window.selectSong(row);
            window.play();
            window.exec();
        });
        // Once the image is there: after the compilation, when one was asked for.
        const auto open = [&dialog] { runGuarded([&dialog] { dialog.openPreview(); }); };
        if (steps.createImage) {
            QObject::connect(&dialog, &CImageToolDlg::compilationFinished, &dialog, open, Qt::QueuedConnection);
        }
    }
    QTimer::singleShot(0, &dialog, [&dialog, &steps] {
        runGuarded([&] {
            for (const QString& folder : steps.addFolders) dialog.addSongFolder(folder);
            if (steps.createImage) dialog.createImage();
            if (steps.previewSong > 0 && !steps.createImage) dialog.openPreview();
        });
    });
    dialog.exec();  // its result does not matter: every way out ends the program
    return 0;
}

}  // namespace zmr::gui
