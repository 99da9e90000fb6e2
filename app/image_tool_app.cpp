#include "app/image_tool_app.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/guarded_slot.h"
#include "app/image_tool_dlg.h"
#include "app/preview_window.h"
#include "dialog/dialog_texts.h"

namespace zmr::gui {

CImageToolApp::CImageToolApp(int& argc, char** argv, TemporaryFileWatcher* watcher)
    : application_(argc, argv), watcher_(watcher) {
    QApplication::setApplicationName(QString::fromLatin1(dialog::kProgramName));
    QApplication::setApplicationVersion(QStringLiteral(ZMR_VERSION));
}

dialog::ScriptSteps CImageToolApp::readCommandLine() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(dialog::kHelpDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption addFolder(QStringLiteral("add-folder"), QString::fromLatin1(dialog::kAddFolderHelp),
                                       QStringLiteral("folder"));
    const QCommandLineOption createImage(QStringLiteral("create-image"), QString::fromLatin1(dialog::kCreateImageHelp));
    const QCommandLineOption preview(QStringLiteral("preview"), QString::fromLatin1(dialog::kPreviewHelp),
                                     QStringLiteral("number"));
    parser.addOption(addFolder);
    parser.addOption(createImage);
    parser.addOption(preview);
    parser.process(application_);
    dialog::ScriptSteps steps;
    for (const QString& folder : parser.values(addFolder))
        steps.addFolders.push_back(dialog::absoluteScriptFolder(QFile::encodeName(folder).toStdString()));
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
    const dialog::ScriptSteps steps = readCommandLine();
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
        if (dialog::previewAfterCompilation(steps))
            QObject::connect(&dialog, &CImageToolDlg::compilationFinished, &dialog, open, Qt::QueuedConnection);
    }
    QTimer::singleShot(0, &dialog, [&dialog, &steps] { runGuarded([&] { dialog::runScriptSteps(steps, dialog); }); });
    dialog.exec();  // its result does not matter: every way out ends the program
    return 0;
}

}  // namespace zmr::gui
