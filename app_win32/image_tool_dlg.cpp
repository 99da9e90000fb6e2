#include "app_win32/image_tool_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <span>
#include <system_error>

#include "app_win32/preview_window.h"
#include "app_win32/resource_ids.h"
#include "app_win32/song_book_dialog.h"
#include "app_win32/song_file_dialog.h"
#include "app_win32/window_messages.h"
#include "dialog/dialog_texts.h"
#include "dialog/output_folder.h"
#include "dialog/song_book_command.h"
#include "dialog/song_file_choice.h"
#include "fileio/native_path.h"

namespace zmr::win32 {
namespace {

const std::wstring kErrorCaption = wideFromUtf8(dialog::kErrorCaption);

std::wstring withoutFinalNewline(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

// The "Error" box of a command that failed; nothing when even that cannot be made.
void reportFailure(const std::wstring& message) noexcept {
    try {
        MessageBoxW(nullptr, message.c_str(), kErrorCaption.c_str(), MB_OK);
    } catch (...) {
    }
}

}  // namespace

void showErrorBox(const std::wstring& message, const std::wstring& songPath) {
    std::wstring text = withoutFinalNewline(message);
    if (!songPath.empty()) text += L"\n\n" + songPath;
    MessageBoxW(nullptr, text.c_str(), kErrorCaption.c_str(), MB_OK);
}

void showWarningBox(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), wideFromUtf8(dialog::kWarningCaption).c_str(), MB_OK);
}

CImageToolDlg::CImageToolDlg(HINSTANCE instance)
    : appIcon(LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON))),
      instance_(instance),
      smallIcon_(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))),
      pathPicker_(askForSongPath),
      errorReporter_(showErrorBox),
      warningReporter_(showWarningBox),
      bookPathPicker_(askForSongBookPath),
      previewOpener_([instance](HWND owner, const std::filesystem::path& image) {
          PreviewWindow(instance, owner, image).runModal();
      }) {}

// A compilation still running here means the dialog is being torn down
// without having been closed. Its reports are let through, shown to nobody,
// until it ends: a worker waiting on its message to the window must not wait
// on a thread that waits for it.
CImageToolDlg::~CImageToolDlg() {
    errorReporter_ = [](const std::wstring&, const std::wstring&) {};
    warningReporter_ = [](const std::wstring&) {};
    MSG message{};
    while (isCompiling() && IsWindow(window_) && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    if (isCompiling() && message.message == WM_QUIT) PostQuitMessage(static_cast<int>(message.wParam));
    worker_.reset();
    // The song book waits on nobody; what it posted is not shown.
    if (bookThread_.joinable()) bookThread_.join();
    if (window_ && PeekMessageW(&message, window_, kSongBookMessage, kSongBookMessage, PM_REMOVE))
        delete reinterpret_cast<FolderSongBook*>(message.lParam);
    if (window_ && !modal_) DestroyWindow(window_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

INT_PTR CImageToolDlg::doModal() {
    modal_ = true;
    return DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_IMAGE_TOOL), nullptr, &CImageToolDlg::dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CImageToolDlg::createModeless() {
    modal_ = false;
    return CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_IMAGE_TOOL), nullptr, &CImageToolDlg::dialogProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CImageToolDlg::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CImageToolDlg*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        dialog->window_ = window;
    }
    auto* dialog = reinterpret_cast<CImageToolDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog) return FALSE;
    // Nothing thrown may pass through the system's code that called this: a
    // command that fails (out of memory) ends in the "Error" box instead.
    INT_PTR handled = TRUE;
    try {
        handled = dialog->handle(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        reportFailure(L"not enough memory for this command");
    } catch (const std::exception& e) {
        reportFailure(wideFromUtf8(e.what()));
    } catch (...) {
        reportFailure(L"an unexpected failure ended this command");
    }
    if (message == WM_NCDESTROY) dialog->window_ = nullptr;
    return handled;
}

INT_PTR CImageToolDlg::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initDialog();
        return TRUE;  // the first control in tab order, "Quit", takes the focus
    case WM_PAINT:
        return paintMinimized();
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(appIcon);
    case WM_COMMAND:
        command(LOWORD(wParam));
        return TRUE;
    case WM_INITMENUPOPUP:
        // The image may have come or gone meanwhile, by other means than this dialog.
        if (reinterpret_cast<HMENU>(wParam) == GetSubMenu(GetMenu(window_), 0)) updateSongBookCommand();
        return TRUE;
    case kProgressRangeMessage:
        SendMessageW(progressBar, PBM_SETRANGE32, wParam, lParam);
        return TRUE;
    case kProgressPositionMessage:
        // The last song sets 100, one above the range's top of 99: the bar
        // shows it full.
        SendMessageW(progressBar, PBM_SETPOS, wParam, 0);
        return TRUE;
    case kStateMessage:
        SetWindowTextW(window_, wideFromUtf8(dialog::windowTitle(static_cast<CompileState>(wParam))).c_str());
        return TRUE;
    case kSongFailedMessage: {
        // The progress posted before the failure is shown before its box.
        MSG posted;
        while (PeekMessageW(&posted, window_, kProgressRangeMessage, kStateMessage, PM_REMOVE)) DispatchMessageW(&posted);
        const auto* failure = reinterpret_cast<const SongFailure*>(lParam);
        errorReporter_(wideFromUtf8(failure->message), wideFromUtf8(failure->path));
        return TRUE;
    }
    case kFinishedMessage: {
        // None when the worker could not even make its result.
        const std::unique_ptr<Result<CompileOutcome>> result(reinterpret_cast<Result<CompileOutcome>*>(lParam));
        finishCompilation(result ? *result
                                 : Result<CompileOutcome>(Failure{"not enough memory for the compilation", FailureKind::OutOfMemory}));
        return TRUE;
    }
    case kSongBookMessage: {
        const std::unique_ptr<FolderSongBook> written(reinterpret_cast<FolderSongBook*>(lParam));
        finishSongBook(written ? *written : FolderSongBook{"not enough memory to make the song book", {}});
        return TRUE;
    }
    case kRunScriptMessage:
        dialog::runScriptSteps(script_, *this);
        return TRUE;
    default:
        return FALSE;
    }
}

void CImageToolDlg::initDialog() {
    progressBar = GetDlgItem(window_, IDC_PROGRESS_BAR);
    songListBox = GetDlgItem(window_, IDC_SONG_LIST);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    // The icon's own 16x16 picture, where the big one would be scaled down.
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_ ? smallIcon_ : appIcon));
    optionsMenu_ = std::make_unique<OptionsMenu>(GetMenu(window_), settingsKey_);
    updateSongBookCommand();
    PostMessageW(window_, kRunScriptMessage, 0, 0);
}

void CImageToolDlg::command(int id) {
    if (optionsMenu_ && optionsMenu_->command(id)) return;
    switch (id) {
    case IDC_QUIT:
    case IDC_CANCEL:
        close(id);
        break;
    case IDC_CREATE_IMAGE:
        createImage();
        break;
    case IDC_REMOVE:
        removeSelected();
        break;
    case ID_FILE_ADD_FILES:
        addFiles();
        break;
    case ID_FILE_SONG_BOOK:
        makeSongBook();
        break;
    case ID_FILE_PREVIEW:
        openPreview();
        break;
    case ID_FILE_EXIT:
        exitProgram();
        break;
    default:
        break;
    }
}

// When the window is minimised its icon is drawn in the middle of it.
bool CImageToolDlg::paintMinimized() {
    if (!IsIconic(window_)) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(window_, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, appIcon);
    EndPaint(window_, &paint);
    return true;
}

// Closing is refused while the dialog is busy.
void CImageToolDlg::close(int result) {
    if (isBusy()) return;
    if (modal_) {
        EndDialog(window_, result);
    } else {
        DestroyWindow(window_);
    }
}

void CImageToolDlg::exitProgram() {
    if (isBusy()) return;
    PostQuitMessage(0);  // ends the modal loop, which closes the dialog
}

void CImageToolDlg::addFiles() {
    if (isBusy()) return;
    const std::optional<std::wstring> path = pathPicker_(window_);
    if (!path) return;
    addSongFolder(dialog::folderOfConfirmedPath(utf8FromWide(*path)));
}

void CImageToolDlg::addSongFolder(const std::string& folder) {
    Result<dialog::SongFolder> entered = dialog::enterSongFolder(nativePath(folder));
    if (!entered) {
        errorReporter_(wideFromUtf8(entered.message()), std::wstring());
        return;
    }
    size_t refused = 0;
    for (const std::string& song : entered->songs) refused += addSong(song) ? 0 : 1;
    if (refused > 0) errorReporter_(wideFromUtf8(dialog::refusedSongsMessage(refused, entered->folder)), std::wstring());
    updateSongBookCommand();
}

// At the model's place, and kept there only once the list box took it (one
// out of room refuses it): the list box's own sorting would follow the
// system's collation instead, which can differ from the image's order.
bool CImageToolDlg::addSong(const std::string& path) {
    const size_t row = songs_.placeOf(path);
    const LRESULT added = SendMessageW(songListBox, LB_INSERTSTRING, static_cast<WPARAM>(row),
                                       reinterpret_cast<LPARAM>(wideFromUtf8(path).c_str()));
    if (added == LB_ERR || added == LB_ERRSPACE) return false;
    songs_.insert(row, path);
    return true;
}

void CImageToolDlg::removeSelected() {
    if (isBusy()) return;
    const auto count = static_cast<int>(SendMessageW(songListBox, LB_GETCOUNT, 0, 0));
    if (count <= 0) return;
    std::vector<int> selected(static_cast<size_t>(count));
    // The first selected entry goes, until none is selected.
    while (SendMessageW(songListBox, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data())) > 0) {
        const auto index = static_cast<size_t>(selected[0]);
        SendMessageW(songListBox, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        songs_.remove(std::span(&index, 1));
    }
}

void CImageToolDlg::setCommandsEnabled(bool enabled) {
    if (!enabled) focusBeforeCompiling_ = GetFocus();
    for (const int id : {IDC_QUIT, IDC_CANCEL, IDC_CREATE_IMAGE, IDC_REMOVE}) EnableWindow(GetDlgItem(window_, id), enabled);
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    for (const UINT menu : {0u, 1u}) EnableMenuItem(GetMenu(window_), menu, MF_BYPOSITION | state);
    DrawMenuBar(window_);
    EnableMenuItem(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_BYCOMMAND | state);
    if (enabled && focusBeforeCompiling_ && IsWindow(focusBeforeCompiling_))
        SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusBeforeCompiling_), TRUE);
}

void CImageToolDlg::createImage() {
    if (isBusy()) return;
    const ConvertOptions options = optionsMenu_ ? optionsMenu_->options() : ConvertOptions{};
    setCommandsEnabled(false);
    worker_ = std::make_unique<dialog::CompileWorker>(std::make_unique<QueuedSinks>(window_));
    worker_->start(dialog::createImageRequest(songs_.paths(), options));
}

void CImageToolDlg::finishCompilation(const Result<CompileOutcome>& result) {
    worker_->join();
    worker_.reset();
    setCommandsEnabled(true);
    updateSongBookCommand();
    if (const std::optional<dialog::DialogBox> box = dialog::boxAfterCompilation(result)) showBox(*box);
}

void CImageToolDlg::showBox(const dialog::DialogBox& box) {
    if (box.kind == dialog::BoxKind::Error) errorReporter_(wideFromUtf8(box.text), std::wstring());
    else warningReporter_(wideFromUtf8(box.text));
}

void CImageToolDlg::updateSongBookCommand() {
    const UINT state = dialog::outputFolderHasImage() ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(GetMenu(window_), ID_FILE_SONG_BOOK, MF_BYCOMMAND | state);
    EnableMenuItem(GetMenu(window_), ID_FILE_PREVIEW, MF_BYCOMMAND | state);
}

void CImageToolDlg::makeSongBook() {
    updateSongBookCommand();
    const UINT state = GetMenuState(GetMenu(window_), ID_FILE_SONG_BOOK, MF_BYCOMMAND);
    if (isBusy() || (state & MF_GRAYED) != 0) return;
    const std::filesystem::path folder = dialog::outputFolder();
    const std::optional<std::wstring> book = bookPathPicker_(window_, dialog::suggestedSongBookPath(folder, false).native());
    if (!book) return;
    setCommandsEnabled(false);
    bookThread_ = std::thread([window = window_, folder, path = std::filesystem::path(*book)] {
        // The thread ends here whatever happens: an exception leaving it would end the program.
        try {
            auto written = std::make_unique<FolderSongBook>(dialog::writeSongBook(folder, path));
            if (PostMessageW(window, kSongBookMessage, 0, reinterpret_cast<LPARAM>(written.get()))) written.release();
        } catch (...) {
            PostMessageW(window, kSongBookMessage, 0, 0);
        }
    });
}

void CImageToolDlg::openPreview() {
    updateSongBookCommand();
    const UINT state = GetMenuState(GetMenu(window_), ID_FILE_PREVIEW, MF_BYCOMMAND);
    if (isBusy() || (state & MF_GRAYED) != 0) return;
    previewOpener_(window_, dialog::imageInOutputFolder());
}

void CImageToolDlg::finishSongBook(const FolderSongBook& written) {
    bookThread_.join();
    setCommandsEnabled(true);
    for (const dialog::DialogBox& box : dialog::boxesAfterSongBook(written)) showBox(box);
}

}  // namespace zmr::win32
