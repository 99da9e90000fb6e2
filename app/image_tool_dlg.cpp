#include "app/image_tool_dlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <filesystem>
#include <system_error>

#include "app/app_icon.h"
#include "app/button_labels.h"
#include "app/confirmed_folder.h"
#include "app/control_ids.h"
#include "app/dialog_units.h"
#include "app/guarded_slot.h"
#include "app/menu_keyboard.h"
#include "app/options_menu.h"
#include "app/preview_window.h"
#include "app/song_book_dialog.h"
#include "app/song_file_dialog.h"
#include "app/song_list_box.h"
#include "image/image_layout.h"
#include "image/song_order.h"

namespace zmr::gui {
namespace {

// Dialog template 102: the client area and each control's place, in dialog units.
constexpr QSize kClientUnits(320, 200);
constexpr QRect kQuitUnits(263, 48, 50, 14);
constexpr QRect kCancelUnits(263, 68, 50, 14);
constexpr QRect kSongListUnits(7, 7, 249, 171);
constexpr QRect kCreateUnits(263, 27, 50, 14);
constexpr QRect kRemoveUnits(263, 7, 50, 14);
constexpr QRect kProgressUnits(7, 182, 306, 11);

// The songs with warnings that one box lists by name.
constexpr size_t kWarningsShown = 20;

template <class Widget>
Widget* withId(Widget* widget, ControlId id) {
    widget->setProperty(kControlIdProperty, static_cast<int>(id));
    return widget;
}

}  // namespace

std::unique_ptr<QMessageBox> messageBox(const char* caption, const QString& text, const QString& informative) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, QString::fromLatin1(caption), text, QMessageBox::Ok);
    if (!informative.isEmpty()) box->setInformativeText(informative);
    // Titles and paths are song data: markup in them shows as written. The
    // informative text's label does not follow setTextFormat, so each is set.
    box->setTextFormat(Qt::PlainText);
    for (QLabel* label : box->findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    return box;
}

void showErrorBox(const QString& message, const QString& songPath) { messageBox(kErrorCaption, message, songPath)->exec(); }

void showWarningBox(const QString& text) { messageBox(kWarningCaption, text, QString())->exec(); }

CImageToolDlg::CImageToolDlg(QWidget* parent)
    : QDialog(parent),
      appIcon(applicationIcon()),
      pathPicker_(askForSongPath),
      bookPathPicker_(askForSongBookPath),
      previewOpener_([](QWidget* owner, const QString& imagePath) { PreviewWindow(imagePath, owner).exec(); }),
      errorReporter_(showErrorBox),
      warningReporter_(showWarningBox) {
    setWindowTitle(QString::fromLatin1(kDialogCaption));
    setFont(templateFont());
    createControls();
    placeControls();
    setWindowIcon(appIcon);  // both sizes: the big and the small icon
    quitButton_->setFocus();
}

// A compilation still running here means the dialog is being torn down
// without having been closed; the thread's own destructor waits for it. A
// song book waits on nobody, so it is simply waited for.
CImageToolDlg::~CImageToolDlg() {
    if (songBookThread_) songBookThread_->wait();
}

void CImageToolDlg::createControls() {
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu(tr("File"));
    QAction* add = withId(file->addAction(tr("Add Files...")), kIdAddFiles);
    songBookAction_ = withId(file->addAction(tr("Song Book...")), kIdSongBook);
    previewAction_ = withId(file->addAction(tr("Preview...")), kIdPreview);
    QAction* exit = withId(file->addAction(tr("Exit")), kIdExit);
    connect(add, &QAction::triggered, this, guarded(this, &CImageToolDlg::addFiles));
    connect(songBookAction_, &QAction::triggered, this, guarded(this, &CImageToolDlg::makeSongBook));
    connect(previewAction_, &QAction::triggered, this, guarded(this, &CImageToolDlg::openPreview));
    connect(exit, &QAction::triggered, this, guarded(this, &CImageToolDlg::exitProgram));
    // The image may have come or gone meanwhile, by other means than this dialog.
    connect(file, &QMenu::aboutToShow, this, guarded(this, &CImageToolDlg::updateSongBookCommand));
    updateSongBookCommand();
    optionsMenu_ = new OptionsMenu(menuBar_);
    new MenuKeyboard(this, menuBar_);

    // Created in tab order, which Qt follows.
    quitButton_ = withId(new QPushButton(tr("Quit"), this), kIdQuit);
    quitButton_->setDefault(true);
    cancelButton_ = withId(new QPushButton(tr("Cancel"), this), kIdCancel);
    cancelButton_->hide();
    songListBox = withId(new SongListBox(this), kIdSongList);
    createButton_ = withId(new QPushButton(tr("Create Image"), this), kIdCreateImage);
    removeButton_ = withId(new QPushButton(tr("Remove"), this), kIdRemove);
    progressBar = withId(new QProgressBar(this), kIdProgressBar);
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);

    connect(quitButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(createButton_, &QPushButton::clicked, this, guarded(this, &CImageToolDlg::createImage));
    connect(removeButton_, &QPushButton::clicked, this, guarded(this, &CImageToolDlg::removeSelected));
}

// The template's dialog units become pixels of the dialog's font; the menu bar
// stands above the client area, which the template measures alone.
void CImageToolDlg::placeControls() {
    const DialogUnits units = DialogUnits::of(font());
    const int clientWidth = units.toPixelsX(kClientUnits.width());
    const int menuHeight = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, clientWidth, menuHeight);
    const auto place = [&](QWidget* control, const QRect& rect) {
        control->setGeometry(units.toPixels(rect).translated(0, menuHeight));
    };
    place(quitButton_, kQuitUnits);
    place(cancelButton_, kCancelUnits);
    place(songListBox, kSongListUnits);
    place(createButton_, kCreateUnits);
    place(removeButton_, kRemoveUnits);
    place(progressBar, kProgressUnits);
    fitButtonLabels({quitButton_, cancelButton_, createButton_, removeButton_});
    setFixedSize(clientWidth, menuHeight + units.toPixelsY(kClientUnits.height()));
}

void CImageToolDlg::addFiles() {
    if (isBusy()) return;
    const std::optional<QString> path = pathPicker_(this);
    if (!path) return;
    addSongFolder(folderOfConfirmedPath(*path));
}

void CImageToolDlg::addSongFolder(const QString& folder) {
    // Made absolute before it becomes the current directory, which would
    // change what a relative name points to.
    QString absolute = QDir(folder).absolutePath();
    if (!absolute.endsWith(QLatin1Char('/'))) absolute += QLatin1Char('/');
    QDir::setCurrent(absolute);
    // The .mid and .kar files come in one listing; the list sorts them
    // anyway, so the order they are added in does not matter.
    Result<std::vector<std::string>> songs = listSongFolder(QFile::encodeName(absolute).toStdString());
    if (!songs) {
        // A name the file dialog could not read came back with U+FFFD in
        // place of its bytes, and names no folder on the disk.
        const QString reason = absolute.contains(QChar::ReplacementCharacter)
                                   ? tr("the folder's name is not valid UTF-8, so its songs cannot be added here "
                                        "(zmrimage build takes them)")
                                   : QString::fromLocal8Bit(songs.message());
        errorReporter_(absolute + ": " + reason, QString());
        return;
    }
    for (const std::string& song : *songs) songListBox->addSong(song);
    updateSongBookCommand();
}

QString CImageToolDlg::outputFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? QStringLiteral(".") : QFile::decodeName(folder.string().c_str());
}

void CImageToolDlg::updateSongBookCommand() {
    const bool image = QFileInfo(QDir(outputFolder()).filePath(QString::fromLatin1(kImageFileName))).isFile();
    songBookAction_->setEnabled(image);
    previewAction_->setEnabled(image);
}

void CImageToolDlg::makeSongBook() {
    updateSongBookCommand();
    if (isBusy() || !songBookAction_->isEnabled()) return;
    const QString folder = outputFolder();
    const std::optional<QString> path = bookPathPicker_(this, suggestedSongBookPath(folder));
    if (!path) return;
    setCommandsEnabled(false);
    setCursor(Qt::BusyCursor);
    songBookThread_.reset(QThread::create([this, folder, book = *path] {
        SongBookWritten written;
        try {
            written = writeSongBookOfFolder(folder, book);
        } catch (const std::bad_alloc&) {
            written.problem = book + ": " + tr("not enough memory to make the song book");
        } catch (const std::exception& e) {
            written.problem = book + ": " + QString::fromLocal8Bit(e.what());
        }
        QMetaObject::invokeMethod(
            this, [this, written = std::move(written)] { runGuarded([&] { finishSongBook(written); }); },
            Qt::QueuedConnection);
    }));
    songBookThread_->start();
}

void CImageToolDlg::finishSongBook(const SongBookWritten& written) {
    songBookThread_->wait();
    songBookThread_.reset();
    unsetCursor();
    setCommandsEnabled(true);
    if (written.problem) errorReporter_(*written.problem, QString());
    if (!written.warnings.isEmpty()) warningReporter_(written.warnings.join(QLatin1Char('\n')));
    emit songBookFinished();
}

void CImageToolDlg::openPreview() {
    updateSongBookCommand();
    if (isBusy() || !previewAction_->isEnabled()) return;
    previewOpener_(this, QDir(outputFolder()).filePath(QString::fromLatin1(kImageFileName)));
}

void CImageToolDlg::removeSelected() {
    if (isBusy()) return;
    songListBox->removeSelected();
}

void CImageToolDlg::exitProgram() { done(QDialog::Rejected); }

void CImageToolDlg::done(int result) {
    if (isBusy()) return;
    QDialog::done(result);
}

void CImageToolDlg::setCommandsEnabled(bool enabled) {
    menuBar_->setEnabled(enabled);
    for (QPushButton* button : {quitButton_, cancelButton_, createButton_, removeButton_}) button->setEnabled(enabled);
}

CompileReports CImageToolDlg::compileReports() {
    CompileReports reports;
    reports.progressRange = [this](int32_t low, int32_t high) { progressBar->setRange(low, high); };
    // The bar holds the last position it can show: the last song sets 100,
    // one above the range's top of 99, which Qt alone would ignore.
    reports.progressPosition = [this](int32_t position) {
        progressBar->setValue(qBound(progressBar->minimum(), position, progressBar->maximum()));
    };
    reports.title = [this](const QString& title) { setWindowTitle(title); };
    reports.songFailed = [this](const QString& path, const QString& message) { errorReporter_(message, path); };
    reports.finished = [this](const Result<CompileOutcome>& result) { finishCompilation(result); };
    return reports;
}

void CImageToolDlg::createImage() {
    if (isBusy()) return;
    // The files go to the current directory: the folder last added, or where
    // the program was started.
    std::error_code error;
    CompileRequest request;
    request.folder = std::filesystem::current_path(error);
    if (error) request.folder = ".";
    request.songs = songListBox->paths();
    request.conversion = optionsMenu_->options();
    setCommandsEnabled(false);
    compileThread_ = std::make_unique<CompileThread>(this, compileReports(), watcher_);
    compileThread_->start(std::move(request));
}

void CImageToolDlg::finishCompilation(const Result<CompileOutcome>& result) {
    compileThread_->join();
    compileThread_.reset();
    setCommandsEnabled(true);
    if (!result) errorReporter_(QString::fromLocal8Bit(result.message()), QString());
    else if (!result->warnings.empty()) warningReporter_(QString::fromLocal8Bit(describeWarnings(result->warnings, kWarningsShown)));
    updateSongBookCommand();
    emit compilationFinished();
}

}  // namespace zmr::gui
