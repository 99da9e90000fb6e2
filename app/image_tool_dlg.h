#pragma once
// The main window: the song list, the progress bar, the buttons "Remove",
// "Create Image" and "Quit", the menu "File" with "Add Files...",
// "Song Book...", "Preview..." and "Exit", and the menu "Options" with how songs are read.
// Every way of closing it ends the program.

#include <QDialog>
#include <QIcon>
#include <functional>
#include <memory>
#include <optional>

#include "app/queued_sinks.h"
#include "dialog/compile_worker.h"
#include "dialog/dialog_box.h"
#include "dialog/script_steps.h"
#include "fileio/temporary_file_watcher.h"
#include "songbook/folder_song_book.h"

class QMenuBar;
class QMessageBox;
class QThread;
class QProgressBar;
class QPushButton;

namespace zmr::gui {

class OptionsMenu;
class SongListBox;

class CImageToolDlg : public QDialog, public dialog::ScriptedDialog {
    Q_OBJECT
public:
    // Asks the user for a path; the confirmed path, or nothing when cancelled.
    using PathPicker = std::function<std::optional<QString>(QWidget* owner)>;
    // Tells the user what went wrong: the message, and the song it concerns
    // (empty when it concerns the output files). Returns once seen.
    using ErrorReporter = std::function<void(const QString& message, const QString& songPath)>;
    // Tells the user what went well but deserves a look (the songs written
    // with warnings). Returns once seen.
    using WarningReporter = std::function<void(const QString& text)>;
    // Asks where to save the song book, starting at a suggested path.
    using BookPathPicker = std::function<std::optional<QString>(QWidget* owner, const QString& suggested)>;
    // Shows the preview of the image at `imagePath` and returns once it is closed.
    using PreviewOpener = std::function<void(QWidget* owner, const QString& imagePath)>;

    explicit CImageToolDlg(QWidget* parent = nullptr);
    ~CImageToolDlg() override;

    // The file dialog and the message box by default; tests put their own here.
    void setPathPicker(PathPicker picker) { pathPicker_ = std::move(picker); }
    void setErrorReporter(ErrorReporter reporter) { errorReporter_ = std::move(reporter); }
    void setWarningReporter(WarningReporter reporter) { warningReporter_ = std::move(reporter); }
    void setBookPathPicker(BookPathPicker picker) { bookPathPicker_ = std::move(picker); }
    // Hears of the compilation's temporary files, to remove them when a
    // signal stops the program.
    void setTemporaryFileWatcher(TemporaryFileWatcher* watcher) { watcher_ = watcher; }
    void setPreviewOpener(PreviewOpener opener) { previewOpener_ = std::move(opener); }

    // The commands, as the menu and the buttons run them.
    void addFiles();
    // The song book of the image in the output folder, saved where the user
    // says; written on a thread of its own, as a compilation is.
    void makeSongBook();
    // The preview of the image in the output folder: its songs heard and their lyrics shown in time.
    void openPreview() override;
    void createImage() override;
    void removeSelected();
    void exitProgram();

    // What a confirmed "Add Files..." does with its folder: the folder's .mid
    // and .kar files join the list, and the folder becomes the current
    // directory, where "Create Image" writes its files.
    void addSongFolder(const QString& folder);
    // The same, for a folder named on the command line (its bytes).
    void addSongFolder(const std::string& folder) override;

    bool isCompiling() const { return worker_ != nullptr; }
    // A compilation or a song book is being written.
    bool isBusy() const { return isCompiling() || songBookThread_ != nullptr; }

    // Closing is refused while the dialog is busy.
    void done(int result) override;

signals:
    void compilationFinished();
    void songBookFinished();

private:
    // "Song Book..." and "Preview..." are there for an image in the output folder.
    void updateSongBookCommand();
    void createControls();
    void placeControls();
    void setCommandsEnabled(bool enabled);
    ReportHandlers reportHandlers();
    void finishCompilation(const Result<CompileOutcome>& result);
    void finishSongBook(const FolderSongBook& written);
    void showBox(const dialog::DialogBox& box);

    QProgressBar* progressBar = nullptr;
    SongListBox* songListBox = nullptr;
    QIcon appIcon;

    QMenuBar* menuBar_ = nullptr;
    OptionsMenu* optionsMenu_ = nullptr;
    QPushButton* quitButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* createButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QAction* songBookAction_ = nullptr;
    QAction* previewAction_ = nullptr;
    PathPicker pathPicker_;
    BookPathPicker bookPathPicker_;
    PreviewOpener previewOpener_;
    ErrorReporter errorReporter_;
    WarningReporter warningReporter_;
    TemporaryFileWatcher* watcher_ = nullptr;
    std::unique_ptr<dialog::CompileWorker> worker_;
    std::unique_ptr<QThread> songBookThread_;
};

// The box that showErrorBox and showWarningBox show: `caption`, the text and
// the informative text (a song's path) as plain text, one OK button, no icon
// and no owner window.
std::unique_ptr<QMessageBox> messageBox(const char* caption, const QString& text, const QString& informative);
// The message box of a failure: caption "Error", the message, one OK button,
// no icon and no owner window.
void showErrorBox(const QString& message, const QString& songPath);
// The same box captioned "Warning", for what deserves a look.
void showWarningBox(const QString& text);

}  // namespace zmr::gui
