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

#include "app/app_icon.h"
#include "app/button_labels.h"
#include "app/control_ids.h"
#include "app/dialog_units.h"
#include "app/guarded_slot.h"
#include "app/menu_keyboard.h"
#include "app/options_menu.h"
#include "app/preview_window.h"
#include "app/song_book_dialog.h"
#include "app/song_file_dialog.h"
#include "app/song_list_box.h"
#include "dialog/dialog_texts.h"
#include "dialog/output_folder.h"
#include "dialog/song_book_command.h"
#include "dialog/song_file_choice.h"
#include "fileio/native_path.h"
#include "songbook/song_book_file.h"

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

QString fromPath(const std::filesystem::path& path) { return QFile::decodeName(QByteArray::fromStdString(pathText(path))); }
QString fromText(const std::string& text) { return QString::fromLocal8Bit(text); }

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

void showErrorBox(const QString& message, const QString& songPath) {
    messageBox(dialog::kErrorCaption, message, songPath)->exec();
}

void showWarningBox(const QString& text) { messageBox(dialog::kWarningCaption, text, QString())->exec(); }

CImageToolDlg::CImageToolDlg(QWidget* parent)
    : QDialog(parent),
      appIcon(applicationIcon()),
      pathPicker_(askForSongPath),
      bookPathPicker_(askForSongBookPath),
      previewOpener_([](QWidget* owner, const QString& imagePath) { PreviewWindow(imagePath, owner).exec(); }),
      errorReporter_(showErrorBox),
      warningReporter_(showWarningBox) {
    setWindowTitle(QString::fromLatin1(dialog::kDialogCaption));
    setFont(templateFont());
    createControls();
    placeControls();
    setWindowIcon(appIcon);  // both sizes: the big and the small icon
    quitButton_->setFocus();
}

// A compilation still running here means the dialog is being torn down
// without having been closed: its reports are dropped until it ends. A song
// book waits on nobody, so it is simply waited for.
CImageToolDlg::~CImageToolDlg() {
    if (worker_) dropReportsUntilEnded(this, *worker_);
    worker_.reset();
    if (songBookThread_) songBookThread_->wait();
}

void CImageToolDlg::createControls() {
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu(tr("File"));
    QAction* add = withId(file->addAction(tr("Add Files...")), ID_FILE_ADD_FILES);
    songBookAction_ = withId(file->addAction(tr("Song Book...")), ID_FILE_SONG_BOOK);
    previewAction_ = withId(file->addAction(tr("Preview...")), ID_FILE_PREVIEW);
    QAction* exit = withId(file->addAction(tr("Exit")), ID_FILE_EXIT);
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
    quitButton_ = withId(new QPushButton(tr("Quit"), this), IDC_QUIT);
    quitButton_->setDefault(true);
    cancelButton_ = withId(new QPushButton(tr("Cancel"), this), IDC_CANCEL);
    cancelButton_->hide();
    songListBox = withId(new SongListBox(this), IDC_SONG_LIST);
    createButton_ = withId(new QPushButton(tr("Create Image"), this), IDC_CREATE_IMAGE);
    removeButton_ = withId(new QPushButton(tr("Remove"), this), IDC_REMOVE);
    progressBar = withId(new QProgressBar(this), IDC_PROGRESS_BAR);
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
    addSongFolder(QString::fromStdString(dialog::folderOfConfirmedPath(path->toStdString())));
}

void CImageToolDlg::addSongFolder(const QString& folder) {
    Result<dialog::SongFolder> entered = dialog::enterSongFolder(QFile::encodeName(folder).toStdString());
    if (!entered) {
        // A name the file dialog could not read came back with U+FFFD in
        // place of its bytes, and names no folder on the disk.
        const QString message =
            folder.contains(QChar::ReplacementCharacter)
                ? QDir(folder).absolutePath() + "/: " +
                      tr("the folder's name is not valid UTF-8, so its songs cannot be added here "
                         "(zmrimage build takes them)")
                : fromText(entered.message());
        errorReporter_(message, QString());
        return;
    }
    for (const std::string& song : entered->songs) songListBox->addSong(song);
    updateSongBookCommand();
}

void CImageToolDlg::addSongFolder(const std::string& folder) { addSongFolder(QFile::decodeName(QByteArray::fromStdString(folder))); }

void CImageToolDlg::updateSongBookCommand() {
    const bool image = dialog::outputFolderHasImage();
    songBookAction_->setEnabled(image);
    previewAction_->setEnabled(image);
}

void CImageToolDlg::makeSongBook() {
    updateSongBookCommand();
    if (isBusy() || !songBookAction_->isEnabled()) return;
    const std::filesystem::path folder = dialog::outputFolder();
    const std::optional<QString> path =
        bookPathPicker_(this, fromPath(dialog::suggestedSongBookPath(folder, songBookPdfAvailable())));
    if (!path) return;
    setCommandsEnabled(false);
    setCursor(Qt::BusyCursor);
    songBookThread_.reset(QThread::create([this, folder, book = nativePath(QFile::encodeName(*path).toStdString())] {
        FolderSongBook written = dialog::writeSongBook(folder, book);
        QMetaObject::invokeMethod(
            this, [this, written = std::move(written)] { runGuarded([&] { finishSongBook(written); }); },
            Qt::QueuedConnection);
    }));
    songBookThread_->start();
}

void CImageToolDlg::finishSongBook(const FolderSongBook& written) {
    songBookThread_->wait();
    songBookThread_.reset();
    unsetCursor();
    setCommandsEnabled(true);
    for (const dialog::DialogBox& box : dialog::boxesAfterSongBook(written)) showBox(box);
    emit songBookFinished();
}

void CImageToolDlg::showBox(const dialog::DialogBox& box) {
    if (box.kind == dialog::BoxKind::Error) errorReporter_(fromText(box.text), QString());
    else warningReporter_(fromText(box.text));
}

void CImageToolDlg::openPreview() {
    updateSongBookCommand();
    if (isBusy() || !previewAction_->isEnabled()) return;
    previewOpener_(this, fromPath(dialog::imageInOutputFolder()));
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

ReportHandlers CImageToolDlg::reportHandlers() {
    ReportHandlers handlers;
    handlers.progressRange = [this](int32_t low, int32_t high) { progressBar->setRange(low, high); };
    // The bar holds the last position it can show: the last song sets 100,
    // one above the range's top of 99, which Qt alone would ignore.
    handlers.progressPosition = [this](int32_t position) {
        progressBar->setValue(qBound(progressBar->minimum(), position, progressBar->maximum()));
    };
    handlers.stateChanged = [this](CompileState state) {
        const std::string_view title = dialog::windowTitle(state);
        setWindowTitle(QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())));
    };
    handlers.songFailed = [this](const QString& path, const QString& message) { errorReporter_(message, path); };
    handlers.finished = [this](const Result<CompileOutcome>& result) { finishCompilation(result); };
    return handlers;
}

void CImageToolDlg::createImage() {
    if (isBusy()) return;
    setCommandsEnabled(false);
    worker_ = std::make_unique<dialog::CompileWorker>(std::make_unique<QueuedSinks>(this, reportHandlers()), watcher_);
    worker_->start(dialog::createImageRequest(songListBox->paths(), optionsMenu_->options()));
}

void CImageToolDlg::finishCompilation(const Result<CompileOutcome>& result) {
    worker_->join();
    worker_.reset();
    setCommandsEnabled(true);
    if (const std::optional<dialog::DialogBox> box = dialog::boxAfterCompilation(result)) showBox(*box);
    updateSongBookCommand();
    emit compilationFinished();
}

}  // namespace zmr::gui
