// The dialog's commands: gathering and removing songs, compiling the image on
// its worker thread, reporting failures, and every way of closing.

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "app/dialog_test_support.h"
#include "app/image_tool_dlg.h"
#include "image/compile_image.h"
#include "image/memory_image_writer.h"
#include "image/song_path_list.h"
#include "support/midi_writer.h"

using namespace zmr::gui;
using zmr::test::actionById;
using zmr::test::controlById;
using zmr::test::goodSong;
using zmr::test::readFile;
using zmr::test::rejectedSong;
using zmr::test::writeFile;

namespace {

struct Report {
    QString message;
    QString songPath;
};

QStringList entries(CImageToolDlg& dialog) {
    QStringList texts;
    auto* list = controlById<QListWidget>(dialog, 1000);
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

QByteArray bytesOf(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

class DialogCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { startFolder_ = QDir::currentPath(); }
    void cleanup() {
        QDir::setCurrent(startFolder_);
        QSettings("zmrimage", "zmrimage-gui").clear();
    }

    void addFilesTakesTheSongsOfTheConfirmedFolder();
    void addFilesTakesTheFolderOfAPickedSong();
    void cancelledAddFilesChangesNothing();
    void listKeepsTheOrderOfFullPaths();
    void removeDeletesEverySelectedEntry();
    void createImageOnAnEmptyList();
    void createImageWritesWhatTheCommandLineWrites();
    void rejectedSongIsShownAndEndsTheCompilation();
    void songThatCannotBeOpenedIsShown();
    void outputThatCannotBeWrittenIsShown();
    void dialogTornDownWhileCompilingDoesNotHang();
    void everyWayOfClosingEndsTheDialog_data();
    void everyWayOfClosingEndsTheDialog();
    void songBookAndPreviewNeedAnImageInTheOutputFolder();
    void songBookIsWrittenWhereTheUserSaves();
    void menuIsReachedFromTheKeyboard_data();
    void menuIsReachedFromTheKeyboard();
    void optionsMenuOpensWithAltO_data();
    void optionsMenuOpensWithAltO();
    void optionsAreRememberedBetweenRuns();
    void createImageReadsSongsAsTheCommandLineOptionsDo();
    void warningsAreShownAfterTheCompilation();
    void folderWhoseNameIsNotUtf8IsTold();

private:
    // Presses "Create Image" and waits for the compilation to end.
    static bool compile(CImageToolDlg& dialog);
    // Runs "Song Book..." and waits for the book to be written.
    static bool makeBook(CImageToolDlg& dialog);

    zmr::test::IsolatedSettings settings_;
    QString startFolder_;
};

bool DialogCommandsTest::compile(CImageToolDlg& dialog) {
    QSignalSpy finished(&dialog, &CImageToolDlg::compilationFinished);
    QTest::mouseClick(controlById<QPushButton>(dialog, 3), Qt::LeftButton);
    return finished.wait(120000);
}

bool DialogCommandsTest::makeBook(CImageToolDlg& dialog) {
    QSignalSpy finished(&dialog, &CImageToolDlg::songBookFinished);
    actionById(dialog, 32773)->trigger();
    return finished.wait(120000);
}

void DialogCommandsTest::addFilesTakesTheSongsOfTheConfirmedFolder() {
    QTemporaryDir folder;
    writeFile(folder.filePath("b.kar"), goodSong());
    writeFile(folder.filePath("a.mid"), goodSong());
    writeFile(folder.filePath("c.txt"), goodSong());
    CImageToolDlg dialog;
    dialog.setPathPicker([&](QWidget*) { return std::optional<QString>(folder.path() + "/All file"); });
    actionById(dialog, 32771)->trigger();
    QCOMPARE(entries(dialog), QStringList({folder.path() + "/a.mid", folder.path() + "/b.kar"}));
    QCOMPARE(QDir::currentPath(), folder.path());

    // The same folder again: every song twice, side by side.
    actionById(dialog, 32771)->trigger();
    QCOMPARE(entries(dialog), QStringList({folder.path() + "/a.mid", folder.path() + "/a.mid",
                                           folder.path() + "/b.kar", folder.path() + "/b.kar"}));
}

void DialogCommandsTest::addFilesTakesTheFolderOfAPickedSong() {
    QTemporaryDir folder;
    writeFile(folder.filePath("Song.KAR"), goodSong());
    writeFile(folder.filePath("other.Mid"), goodSong());
    CImageToolDlg dialog;
    dialog.setPathPicker([&](QWidget*) { return std::optional<QString>(folder.filePath("Song.KAR")); });
    dialog.addFiles();
    QCOMPARE(entries(dialog), QStringList({folder.path() + "/other.Mid", folder.path() + "/Song.KAR"}));
}

void DialogCommandsTest::cancelledAddFilesChangesNothing() {
    CImageToolDlg dialog;
    dialog.setPathPicker([](QWidget*) { return std::optional<QString>(); });
    dialog.addFiles();
    QVERIFY(entries(dialog).isEmpty());
    QCOMPARE(QDir::currentPath(), startFolder_);
}

void DialogCommandsTest::listKeepsTheOrderOfFullPaths() {
    QTemporaryDir root;
    QDir(root.path()).mkpath("b");
    QDir(root.path()).mkpath("A");
    writeFile(root.filePath("b/x.mid"), goodSong());
    writeFile(root.filePath("A/y.mid"), goodSong());
    writeFile(root.filePath("A/Z.kar"), goodSong());
    writeFile(root.filePath("A/a.kar"), goodSong());
    CImageToolDlg dialog;
    // Folders added in either order give one order: full paths, letter case ignored.
    dialog.addSongFolder(root.filePath("b"));
    dialog.addSongFolder(root.filePath("A"));
    QCOMPARE(entries(dialog), QStringList({root.filePath("A/a.kar"), root.filePath("A/y.mid"),
                                           root.filePath("A/Z.kar"), root.filePath("b/x.mid")}));
}

void DialogCommandsTest::removeDeletesEverySelectedEntry() {
    QTemporaryDir folder;
    for (const char* name : {"1.mid", "2.mid", "3.mid", "4.mid", "5.mid"}) writeFile(folder.filePath(name), goodSong());
    CImageToolDlg dialog;
    dialog.addSongFolder(folder.path());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* list = controlById<QListWidget>(dialog, 1000);
    auto click = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    };
    // Nothing selected: nothing goes.
    QTest::mouseClick(controlById<QPushButton>(dialog, 4), Qt::LeftButton);
    QCOMPARE(list->count(), 5);
    // Each click toggles one entry, leaving the others as they are.
    click(0);
    click(2);
    click(4);
    click(4);
    QTest::mouseClick(controlById<QPushButton>(dialog, 4), Qt::LeftButton);
    QCOMPARE(entries(dialog), QStringList({folder.filePath("2.mid"), folder.filePath("4.mid"), folder.filePath("5.mid")}));
}

void DialogCommandsTest::createImageOnAnEmptyList() {
    QTemporaryDir folder;
    CImageToolDlg dialog;
    dialog.addSongFolder(folder.path());
    QVERIFY(compile(dialog));
    QCOMPARE(dialog.windowTitle(), QString("ZMR Disc Image Tool - Done"));
    QCOMPARE(readFile(folder.filePath("DADEDA00.DEZ")).size(), 2048);
    QVERIFY(QFile::exists(folder.filePath("SongList.txt")));
    QCOMPARE(readFile(folder.filePath("SongList.txt")).size(), 0);
    auto* progress = controlById<QProgressBar>(dialog, 1001);
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 99);
    QCOMPARE(progress->value(), 0);
    QVERIFY(controlById<QPushButton>(dialog, 3)->isEnabled());
}

void DialogCommandsTest::createImageWritesWhatTheCommandLineWrites() {
    QTemporaryDir folder;
    QTemporaryDir cliOutput;
    writeFile(folder.filePath("Ba.mid"), goodSong(62));
    writeFile(folder.filePath("ab.kar"), goodSong(64));
    writeFile(folder.filePath("c.MID"), goodSong(67));
    CImageToolDlg dialog;
    dialog.addSongFolder(folder.path());
    dialog.addSongFolder(folder.path());
    QVERIFY(compile(dialog));
    QCOMPARE(dialog.windowTitle(), QString("ZMR Disc Image Tool - Done"));
    QCOMPARE(controlById<QProgressBar>(dialog, 1001)->value(), 99);  // the last song's 100, held at the top
    const QByteArray image = readFile(folder.filePath("DADEDA00.DEZ"));
    const QByteArray songList = readFile(folder.filePath("SongList.txt"));
    QCOMPARE(songList.count("\r\n"), 6);

    // The core on the same list, in memory.
    std::vector<std::string> paths;
    for (const QString& entry : entries(dialog)) paths.push_back(entry.toStdString());
    struct Quiet : zmr::ProgressSink, zmr::StateSink, zmr::SongMessageSink {
        void setRange(int32_t, int32_t) override {}
        void setPosition(int32_t) override {}
        void stateChanged(zmr::CompileState) override {}
        void songFailed(std::string_view, std::string_view) override {}
    } quiet;
    zmr::MemoryImageWriter memory;
    QVERIFY(zmr::compileImage(zmr::SongPathList(paths), memory, {quiet, quiet, quiet}).ok());
    QCOMPARE(image, bytesOf(memory.image()));
    QCOMPARE(songList, bytesOf(memory.songList()));

    // The command line, given the folder twice.
    QProcess cli;
    cli.start(ZMR_CLI_PATH, {"build", "-q", "-o", cliOutput.path(), folder.path(), folder.path()});
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(image, readFile(cliOutput.filePath("DADEDA00.DEZ")));
    QCOMPARE(songList, readFile(cliOutput.filePath("SongList.txt")));
}

void DialogCommandsTest::rejectedSongIsShownAndEndsTheCompilation() {
    QTemporaryDir folder;
    writeFile(folder.filePath("a.mid"), goodSong());
    writeFile(folder.filePath("b.mid"), rejectedSong());
    writeFile(folder.filePath("c.mid"), goodSong());
    CImageToolDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QList<Report> reports;
    bool closedWhileCompiling = false;
    bool commandsEnabled = true;
    QString titleMeanwhile;
    dialog.setErrorReporter([&](const QString& message, const QString& songPath) {
        reports.append({message, songPath});
        // The compilation waits for this box: try every way out meanwhile.
        titleMeanwhile = dialog.windowTitle();
        for (int id : {1, 3, 4}) commandsEnabled = commandsEnabled && controlById(dialog, id)->isEnabled();
        commandsEnabled = commandsEnabled || dialog.findChild<QMenuBar*>()->isEnabled();
        dialog.reject();
        dialog.close();
        dialog.exitProgram();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        closedWhileCompiling = !dialog.isVisible();
    });
    dialog.addSongFolder(folder.path());
    QVERIFY(compile(dialog));

    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports[0].message, QString("Unknown command 0xF8\n"));
    QCOMPARE(reports[0].songPath, folder.filePath("b.mid"));
    QCOMPARE(titleMeanwhile, QString("ZMR Disc Image Tool - Compiling..."));
    QVERIFY(!commandsEnabled);
    QVERIFY(!closedWhileCompiling);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.windowTitle(), QString("ZMR Disc Image Tool - Done"));
    QVERIFY(readFile(folder.filePath("SongList.txt")).startsWith("1\ta\t"));
    QCOMPARE(readFile(folder.filePath("SongList.txt")).count("\r\n"), 1);
    QCOMPARE(controlById<QProgressBar>(dialog, 1001)->value(), 33);
    QVERIFY(controlById<QPushButton>(dialog, 1)->isEnabled());
}

void DialogCommandsTest::songThatCannotBeOpenedIsShown() {
    QTemporaryDir folder;
    writeFile(folder.filePath("gone.kar"), goodSong());
    CImageToolDlg dialog;
    QList<Report> reports;
    dialog.setErrorReporter([&](const QString& message, const QString& songPath) { reports.append({message, songPath}); });
    dialog.addSongFolder(folder.path());
    QFile::remove(folder.filePath("gone.kar"));
    QVERIFY(compile(dialog));
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].message.startsWith("cannot open"), qPrintable(reports[0].message));
    QCOMPARE(reports[0].songPath, folder.filePath("gone.kar"));
    // The image holds the group that the failed song began, and no song.
    QCOMPARE(readFile(folder.filePath("DADEDA00.DEZ")).size(), 4096);
}

void DialogCommandsTest::outputThatCannotBeWrittenIsShown() {
    QTemporaryDir parent;
    QDir(parent.path()).mkpath("gone");
    CImageToolDlg dialog;
    QList<Report> reports;
    dialog.setErrorReporter([&](const QString& message, const QString& songPath) { reports.append({message, songPath}); });
    dialog.addSongFolder(parent.filePath("gone"));
    QVERIFY(QDir(parent.filePath("gone")).removeRecursively());
    QVERIFY(compile(dialog));
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].message.startsWith("cannot write"), qPrintable(reports[0].message));
    QVERIFY(reports[0].songPath.isEmpty());
    QCOMPARE(dialog.windowTitle(), QString("ZMR Disc Image Tool - Done"));
    QVERIFY(controlById<QPushButton>(dialog, 3)->isEnabled());
}

void DialogCommandsTest::dialogTornDownWhileCompilingDoesNotHang() {
    QTemporaryDir folder;
    writeFile(folder.filePath("a.mid"), rejectedSong());
    auto* dialog = new CImageToolDlg;
    bool reported = false;
    dialog->setErrorReporter([&](const QString&, const QString&) { reported = true; });
    dialog->addSongFolder(folder.path());
    dialog->createImage();
    // The compilation will wait on the report of its failed song, which the
    // dialog can no longer deliver: it must still run to its end.
    delete dialog;
    QVERIFY(!reported);
    QCOMPARE(readFile(folder.filePath("DADEDA00.DEZ")).size(), 4096);
}

void DialogCommandsTest::everyWayOfClosingEndsTheDialog_data() {
    QTest::addColumn<QString>("way");
    for (const char* way : {"Quit", "Cancel", "Escape", "close box", "File/Exit"}) QTest::newRow(way) << QString(way);
}

void DialogCommandsTest::everyWayOfClosingEndsTheDialog() {
    QFETCH(QString, way);
    CImageToolDlg dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    if (way == "Quit") QTest::mouseClick(controlById<QPushButton>(dialog, 1), Qt::LeftButton);
    else if (way == "Cancel") controlById<QPushButton>(dialog, 2)->click();
    else if (way == "Escape") QTest::keyClick(&dialog, Qt::Key_Escape);
    else if (way == "close box") QVERIFY(dialog.close());
    else actionById(dialog, 32772)->trigger();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(finished.size(), 1);
}

void DialogCommandsTest::menuIsReachedFromTheKeyboard_data() {
    QTest::addColumn<QString>("way");
    for (const char* way : {"F10", "Alt+F", "Alt, then F"}) QTest::newRow(way) << QString(way);
}

// As on Windows: the menu opens from the keyboard, and Down, Enter runs "Exit".
void DialogCommandsTest::menuIsReachedFromTheKeyboard() {
    QFETCH(QString, way);
    CImageToolDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    if (way == "F10") {
        QTest::keyClick(focus, Qt::Key_F10);
    } else if (way == "Alt+F") {
        QTest::keyClick(focus, Qt::Key_F, Qt::AltModifier);
    } else {
        QTest::keyPress(focus, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(focus, Qt::Key_Alt);
        QTest::keyClick(focus, Qt::Key_F);
    }
    QMenu* file = dialog.findChild<QMenuBar*>()->actions().front()->menu();
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Down);
    QTest::keyClick(file, Qt::Key_Return);
    QTRY_VERIFY(!dialog.isVisible());
}

void DialogCommandsTest::optionsMenuOpensWithAltO_data() {
    QTest::addColumn<bool>("together");
    QTest::newRow("Alt+O") << true;
    QTest::newRow("Alt, then O") << false;
}

void DialogCommandsTest::optionsMenuOpensWithAltO() {
    QFETCH(bool, together);
    CImageToolDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget* focus = QApplication::focusWidget();
    if (together) {
        QTest::keyClick(focus, Qt::Key_O, Qt::AltModifier);
    } else {
        QTest::keyPress(focus, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(focus, Qt::Key_Alt);
        QTest::keyClick(focus, Qt::Key_O);
    }
    QMenu* options = dialog.findChild<QMenuBar*>()->actions().at(1)->menu();
    QTRY_VERIFY(options->isVisible());
    QVERIFY(!dialog.findChild<QMenuBar*>()->actions().at(0)->menu()->isVisible());
    QTest::keyClick(options, Qt::Key_Escape);
}

void DialogCommandsTest::optionsAreRememberedBetweenRuns() {
    {
        CImageToolDlg dialog;
        actionById(dialog, 32776)->trigger();  // Windows-1258
        actionById(dialog, 32779)->trigger();  // lenient
    }
    CImageToolDlg dialog;
    QVERIFY(actionById(dialog, 32776)->isChecked());
    QVERIFY(!actionById(dialog, 32774)->isChecked());
    QVERIFY(!actionById(dialog, 32778)->isChecked());
    QVERIFY(actionById(dialog, 32779)->isChecked());
}

// Songs in UTF-8, in Soft Karaoke text events and with a meta event the player
// does not know: the dialog's options read them as the command line's do.
void DialogCommandsTest::createImageReadsSongsAsTheCommandLineOptionsDo() {
    QTemporaryDir folder;
    QTemporaryDir cliOutput;
    zmr::test::TrackWriter kar;
    kar.text(0, "@TSong").text(0, "\\Em ").noteOn(0, 0, 60, 90).text(240, "yêu").noteOff(240, 0, 60).endOfTrack();
    zmr::test::TrackWriter device;
    device.meta(0, 0x09, {'X'}).lyric(0, "Xin chào").noteOn(0, 0, 62, 90).noteOff(240, 0, 62).endOfTrack();
    writeFile(folder.filePath("Bài ca.kar"), zmr::test::MidiFile(480).add(kar).bytes());
    writeFile(folder.filePath("device.mid"), zmr::test::MidiFile(480).add(device).bytes());
    writeFile(folder.filePath("plain.mid"), goodSong());
    CImageToolDlg dialog;
    dialog.setErrorReporter([](const QString&, const QString&) {});  // device.mid would fail without the options
    actionById(dialog, 32777)->trigger();  // automatic
    actionById(dialog, 32778)->trigger();  // text events
    actionById(dialog, 32779)->trigger();  // lenient
    dialog.addSongFolder(folder.path());
    QVERIFY(compile(dialog));
    const QByteArray songList = readFile(folder.filePath("SongList.txt"));
    QCOMPARE(songList.count("\r\n"), 3);

    QProcess cli;
    cli.start(ZMR_CLI_PATH, {"build", "-q", "--text-encoding", "auto", "--kar-text", "--lenient", "-o", cliOutput.path(),
                             folder.path()});
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(readFile(folder.filePath("DADEDA00.DEZ")), readFile(cliOutput.filePath("DADEDA00.DEZ")));
    QCOMPARE(songList, readFile(cliOutput.filePath("SongList.txt")));
}

QTEST_MAIN(DialogCommandsTest)
void DialogCommandsTest::songBookAndPreviewNeedAnImageInTheOutputFolder() {
    QTemporaryDir folder;
    writeFile(folder.filePath("a.mid"), goodSong());
    CImageToolDlg dialog;
    QAction* songBook = actionById(dialog, 32773);
    bool asked = false;
    dialog.setBookPathPicker([&](QWidget*, const QString&) {
        asked = true;
        return std::optional<QString>();
    });
    // "Preview..." follows the same rule, and opens on the image of the output folder.
    QAction* preview = actionById(dialog, 32780);
    QStringList previewed;
    dialog.setPreviewOpener([&](QWidget*, const QString& imagePath) { previewed << imagePath; });
    dialog.addSongFolder(folder.path());
    QVERIFY(!songBook->isEnabled());
    QVERIFY(!preview->isEnabled());
    dialog.makeSongBook();
    dialog.openPreview();
    QVERIFY(!asked);
    QVERIFY(previewed.isEmpty());
    QVERIFY(compile(dialog));
    QVERIFY(songBook->isEnabled());
    QVERIFY(preview->isEnabled());
    preview->trigger();
    QCOMPARE(previewed, QStringList{QDir(folder.path()).filePath("DADEDA00.DEZ")});
    // The image gone by other means: the menu finds out as it opens.
    QFile::remove(folder.filePath("DADEDA00.DEZ"));
    auto* fileMenu = qobject_cast<QMenu*>(songBook->parent());
    QVERIFY(fileMenu);
    emit fileMenu->aboutToShow();
    QVERIFY(!songBook->isEnabled());
    QVERIFY(!preview->isEnabled());
}

void DialogCommandsTest::songBookIsWrittenWhereTheUserSaves() {
    QTemporaryDir folder;
    writeFile(folder.filePath("Mu`a Xua^n.mid"), goodSong(62));
    writeFile(folder.filePath("Ru Con.kar"), goodSong(64));
    CImageToolDlg dialog;
    QStringList reports, warnings;
    dialog.setErrorReporter([&](const QString& message, const QString&) { reports << message; });
    dialog.setWarningReporter([&](const QString& text) { warnings << text; });
    dialog.addSongFolder(folder.path());
    QVERIFY(compile(dialog));

    QString suggested;
    QString chosen = folder.filePath("book.html");
    bool busyWhileWriting = false, closedWhileWriting = false;
    dialog.setBookPathPicker([&](QWidget*, const QString& offered) {
        suggested = offered;
        // The book is written on its own thread once this returns: the dialog
        // is busy meanwhile and refuses to close.
        QTimer::singleShot(0, &dialog, [&] {
            busyWhileWriting = dialog.isBusy();
            dialog.reject();
            closedWhileWriting = !dialog.isVisible();
        });
        return std::optional<QString>(chosen);
    });
    dialog.show();
    QVERIFY(makeBook(dialog));
    QVERIFY(busyWhileWriting);
    QVERIFY(!closedWhileWriting);
    QVERIFY2(reports.isEmpty(), qPrintable(reports.join("\n")));
    QVERIFY(warnings.isEmpty());
    QCOMPARE(QFileInfo(suggested).dir().path(), folder.path());
    const QString html = QString::fromUtf8(readFile(chosen));
    QVERIFY(html.contains(QString::fromUtf8("Mùa Xuân")));
    QVERIFY(html.contains("Songs by number"));
#ifdef ZMR_SONGBOOK_PDF
    QCOMPARE(QFileInfo(suggested).fileName(), QString("SongBook.pdf"));
    chosen = folder.filePath("book.pdf");
    QVERIFY(makeBook(dialog));
    QVERIFY(readFile(chosen).startsWith("%PDF-"));
#endif
    // A line of the song list that the book cannot use is told.
    QByteArray list = readFile(folder.filePath("SongList.txt"));
    list.replace(0, 1, "7");
    writeFile(folder.filePath("SongList.txt"), std::vector<uint8_t>(list.begin(), list.end()));
    chosen = folder.filePath("book.html");
    QVERIFY(makeBook(dialog));
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains("SongList.txt line 1: song number 7, expected 1"), qPrintable(warnings[0]));
    // A book that cannot be written is shown.
    chosen = folder.filePath("missing/book.html");
    QVERIFY(makeBook(dialog));
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].contains("cannot write " + chosen), qPrintable(reports[0]));
}

// A character the player has no code for: the song is written, and the box
// after the compilation names it.
void DialogCommandsTest::warningsAreShownAfterTheCompilation() {
    QTemporaryDir folder;
    writeFile(folder.filePath("a.mid"), zmr::test::oneNoteSong("ñ"));
    writeFile(folder.filePath("b.mid"), goodSong());
    CImageToolDlg dialog;
    QStringList warnings;
    dialog.setWarningReporter([&](const QString& text) { warnings << text; });
    actionById(dialog, 32775)->trigger();  // UTF-8
    dialog.addSongFolder(folder.path());
    QVERIFY(compile(dialog));
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].startsWith("1 song was written with a warning"), qPrintable(warnings[0]));
    QVERIFY2(warnings[0].contains(folder.filePath("a.mid") + ": 1 character has no code"), qPrintable(warnings[0]));
}

void DialogCommandsTest::folderWhoseNameIsNotUtf8IsTold() {
    QTemporaryDir parent;
    const std::string name = QFile::encodeName(parent.path()).toStdString() + "/Nh\xE1" "c";  // Windows-1258, as old disks have it
    QVERIFY(std::filesystem::create_directory(name));
    std::ofstream(name + "/a.mid") << "a song";
    CImageToolDlg dialog;
    QList<Report> reports;
    dialog.setErrorReporter([&](const QString& message, const QString& songPath) { reports.append({message, songPath}); });
    dialog.addSongFolder(QFile::decodeName(QByteArray::fromStdString(name)));  // as the file dialog names it
    std::filesystem::remove_all(name);  // a name Qt cannot remove
    QVERIFY(entries(dialog).isEmpty());
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].message.contains("not valid UTF-8"), qPrintable(reports[0].message));
}

#include "dialog_commands_test.moc"
