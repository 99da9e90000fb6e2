#include "app_win32/image_tool_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app_win32/confirmed_folder.h"
#include "app_win32/resource_ids.h"
#include "app_win32/song_file_dialog.h"
#include "app_win32/window_messages.h"
#include "fileio/native_path.h"
#include "image/song_order.h"

namespace zmr::win32 {
namespace {

// The full form of a folder, ending in its separator.
std::wstring absoluteFolder(const std::wstring& folder) {
    std::error_code error;
    std::wstring full = std::filesystem::absolute(folder, error).native();  // GetFullPathNameW
    if (error || full.empty()) full = folder;
    if (!full.empty() && full.back() != L'\\' && full.back() != L'/') full += L'\\';
    return full;
}

std::wstring withoutFinalNewline(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

}  // namespace

void showErrorBox(const std::wstring& message, const std::wstring& songPath) {
    std::wstring text = withoutFinalNewline(message);
    if (!songPath.empty()) text += L"\n\n" + songPath;
    MessageBoxW(nullptr, text.c_str(), kErrorCaption, MB_OK);
}

CImageToolDlg::CImageToolDlg(HINSTANCE instance)
    : appIcon(LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON))),
      instance_(instance),
      smallIcon_(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))),
      pathPicker_(askForSongPath),
      errorReporter_(showErrorBox) {}

// A compilation still running here means the dialog is being torn down
// without having been closed. Its reports are let through, shown to nobody,
// until it ends: a worker waiting on its message to the window must not wait
// on a thread that waits for it.
CImageToolDlg::~CImageToolDlg() {
    errorReporter_ = [](const std::wstring&, const std::wstring&) {};
    MSG message{};
    while (isCompiling() && IsWindow(window_) && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    if (isCompiling() && message.message == WM_QUIT) PostQuitMessage(static_cast<int>(message.wParam));
    worker_.reset();
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
    const INT_PTR handled = dialog->handle(message, wParam, lParam);
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
    case kProgressRangeMessage:
        SendMessageW(progressBar, PBM_SETRANGE32, wParam, lParam);
        return TRUE;
    case kProgressPositionMessage:
        // The last song sets 100, one above the range's top of 99: the bar
        // shows it full.
        SendMessageW(progressBar, PBM_SETPOS, wParam, 0);
        return TRUE;
    case kTitleMessage: {
        const std::unique_ptr<std::wstring> title(reinterpret_cast<std::wstring*>(lParam));
        SetWindowTextW(window_, title->c_str());
        return TRUE;
    }
    case kSongFailedMessage: {
        const auto* failure = reinterpret_cast<const SongFailure*>(lParam);
        errorReporter_(wideFromUtf8(failure->message), wideFromUtf8(failure->path));
        return TRUE;
    }
    case kFinishedMessage: {
        const std::unique_ptr<Result<CompileSummary>> result(reinterpret_cast<Result<CompileSummary>*>(lParam));
        finishCompilation(*result);
        return TRUE;
    }
    case kRunScriptMessage:
        if (onShown_) onShown_(*this);
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
    PostMessageW(window_, kRunScriptMessage, 0, 0);
}

void CImageToolDlg::command(int id) {
    switch (id) {
    case IDOK:
    case IDCANCEL:
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

// Closing is refused while a compilation runs.
void CImageToolDlg::close(int result) {
    if (isCompiling()) return;
    if (modal_) {
        EndDialog(window_, result);
    } else {
        DestroyWindow(window_);
    }
}

void CImageToolDlg::exitProgram() {
    if (isCompiling()) return;
    PostQuitMessage(0);  // ends the modal loop, which closes the dialog
}

void CImageToolDlg::addFiles() {
    if (isCompiling()) return;
    const std::optional<std::wstring> path = pathPicker_(window_);
    if (!path) return;
    addSongFolder(utf8FromWide(folderOfConfirmedPath(*path)));
}

void CImageToolDlg::addSongFolder(const std::string& folder) {
    // Made absolute before it becomes the current directory, which would
    // change what a relative name points to.
    const std::wstring absolute = absoluteFolder(wideFromUtf8(folder));
    SetCurrentDirectoryW(absolute.c_str());
    Result<std::vector<std::string>> songs = listSongFolder(utf8FromWide(absolute));
    if (!songs) return;  // a folder that cannot be searched adds nothing
    for (const std::string& song : *songs) addSong(song);
}

// At its place in the command line's order, after any equal entry. The list
// box's own sorting would follow the system's collation instead, which can
// differ from the image's order.
void CImageToolDlg::addSong(const std::string& path) {
    const auto place = std::upper_bound(songs_.begin(), songs_.end(), path,
                                        [](const std::string& a, const std::string& b) { return songPathLess(a, b); });
    const auto index = static_cast<WPARAM>(place - songs_.begin());
    songs_.insert(place, path);
    SendMessageW(songListBox, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wideFromUtf8(path).c_str()));
}

void CImageToolDlg::removeSelected() {
    if (isCompiling()) return;
    const auto count = static_cast<int>(SendMessageW(songListBox, LB_GETCOUNT, 0, 0));
    if (count <= 0) return;
    std::vector<int> selected(static_cast<size_t>(count));
    // The first selected entry goes, until none is selected.
    while (SendMessageW(songListBox, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data())) > 0) {
        const int index = selected[0];
        SendMessageW(songListBox, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        songs_.erase(songs_.begin() + index);
    }
}

void CImageToolDlg::setCommandsEnabled(bool enabled) {
    if (!enabled) focusBeforeCompiling_ = GetFocus();
    for (const int id : {IDOK, IDCANCEL, IDC_CREATE_IMAGE, IDC_REMOVE}) EnableWindow(GetDlgItem(window_, id), enabled);
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(GetMenu(window_), 0, MF_BYPOSITION | state);
    DrawMenuBar(window_);
    EnableMenuItem(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_BYCOMMAND | state);
    if (enabled && focusBeforeCompiling_ && IsWindow(focusBeforeCompiling_))
        SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusBeforeCompiling_), TRUE);
}

void CImageToolDlg::createImage() {
    if (isCompiling()) return;
    // The files go to the current directory: the folder last added, or where
    // the program was started.
    std::error_code error;
    std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) folder = ".";
    setCommandsEnabled(false);
    worker_ = std::make_unique<CompileWorker>(window_);
    worker_->start(songs_, folder);
}

void CImageToolDlg::finishCompilation(const Result<CompileSummary>& result) {
    worker_->join();
    worker_.reset();
    setCommandsEnabled(true);
    if (!result) errorReporter_(wideFromUtf8(result.message()), std::wstring());
}

}  // namespace zmr::win32
