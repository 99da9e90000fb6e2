#pragma once
// The main window, from dialog template 102: the song list, the progress bar,
// the buttons "Remove", "Create Image" and "Quit", and the menu "File" with
// "Add Files..." and "Exit". A thin class over the Win32 dialog functions;
// every way of closing it ends the program.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_win32/compile_worker.h"
#include "codec/result.h"
#include "image/compile_image.h"

namespace zmr::win32 {

inline constexpr wchar_t kDialogCaption[] = L"ZMR Disc Image Tool";
inline constexpr wchar_t kErrorCaption[] = L"Error";

class CImageToolDlg {
public:
    // Asks the user for a path; the confirmed path, or nothing when cancelled.
    using PathPicker = std::function<std::optional<std::wstring>(HWND owner)>;
    // Tells the user what went wrong: the message, and the song it concerns
    // (empty when it concerns the output files). Returns once seen.
    using ErrorReporter = std::function<void(const std::wstring& message, const std::wstring& songPath)>;

    explicit CImageToolDlg(HINSTANCE instance);
    ~CImageToolDlg();
    CImageToolDlg(const CImageToolDlg&) = delete;
    CImageToolDlg& operator=(const CImageToolDlg&) = delete;

    // The file dialog and the message box by default; tests put their own here.
    void setPathPicker(PathPicker picker) { pathPicker_ = std::move(picker); }
    void setErrorReporter(ErrorReporter reporter) { errorReporter_ = std::move(reporter); }
    // Runs once the window shows (a script's steps).
    void setOnShown(std::function<void(CImageToolDlg&)> steps) { onShown_ = std::move(steps); }

    // Shows the dialog and returns when it has been closed.
    INT_PTR doModal();
    // The same window without a modal loop of its own, for tests that run one;
    // closing it destroys it.
    HWND createModeless();
    HWND window() const { return window_; }

    // The commands, as the menu and the buttons run them.
    void addFiles();
    void createImage();
    void removeSelected();
    void exitProgram();

    // What a confirmed "Add Files..." does with its folder (UTF-8): the
    // folder's .mid and .kar files join the list, and the folder becomes the
    // current directory, where "Create Image" writes its files.
    void addSongFolder(const std::string& folder);

    bool isCompiling() const { return worker_ != nullptr; }
    // The list's entries from the top, as UTF-8 paths.
    const std::vector<std::string>& songs() const { return songs_; }

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void initDialog();
    void command(int id);
    bool paintMinimized();
    void close(int result);
    void addSong(const std::string& path);
    void setCommandsEnabled(bool enabled);
    void finishCompilation(const Result<CompileSummary>& result);

    HWND progressBar = nullptr;
    HWND songListBox = nullptr;
    HICON appIcon = nullptr;

    HINSTANCE instance_;
    HICON smallIcon_ = nullptr;
    HWND window_ = nullptr;
    bool modal_ = false;
    HWND focusBeforeCompiling_ = nullptr;
    std::vector<std::string> songs_;
    PathPicker pathPicker_;
    ErrorReporter errorReporter_;
    std::function<void(CImageToolDlg&)> onShown_;
    std::unique_ptr<CompileWorker> worker_;
};

// The message box of a failure: caption "Error", the message, one OK button,
// no icon and no owner window.
void showErrorBox(const std::wstring& message, const std::wstring& songPath);

}  // namespace zmr::win32
