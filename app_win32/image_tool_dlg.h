#pragma once
// The main window, from dialog template 102: the song list, the progress bar,
// the buttons "Remove", "Create Image" and "Quit", the menu "File" with
// "Add Files...", "Song Book...", "Preview..." and "Exit", and the menu
// "Options" with how songs are read. A thin class over the Win32 dialog
// functions; every way of closing it ends the program.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app_win32/options_menu.h"
#include "app_win32/queued_sinks.h"
#include "base/result.h"
#include "dialog/compile_worker.h"
#include "dialog/dialog_box.h"
#include "dialog/script_steps.h"
#include "dialog/song_list_model.h"
#include "image/compile_session.h"
#include "songbook/folder_song_book.h"

namespace zmr::win32 {

class CImageToolDlg : public dialog::ScriptedDialog {
public:
    // Asks the user for a path; the confirmed path, or nothing when cancelled.
    using PathPicker = std::function<std::optional<std::wstring>(HWND owner)>;
    // Tells the user what went wrong: the message, and the song it concerns
    // (empty when it concerns the output files). Returns once seen.
    using ErrorReporter = std::function<void(const std::wstring& message, const std::wstring& songPath)>;
    // Tells the user what went well but deserves a look (the songs written
    // with warnings). Returns once seen.
    using WarningReporter = std::function<void(const std::wstring& text)>;
    // Asks where to save the song book, starting at a suggested path.
    using BookPathPicker = std::function<std::optional<std::wstring>(HWND owner, const std::wstring& suggested)>;
    // Shows the preview of the image at `image` and returns once it is closed.
    using PreviewOpener = std::function<void(HWND owner, const std::filesystem::path& image)>;

    explicit CImageToolDlg(HINSTANCE instance);
    ~CImageToolDlg();
    CImageToolDlg(const CImageToolDlg&) = delete;
    CImageToolDlg& operator=(const CImageToolDlg&) = delete;

    // The file dialog and the message box by default; tests put their own here.
    void setPathPicker(PathPicker picker) { pathPicker_ = std::move(picker); }
    void setErrorReporter(ErrorReporter reporter) { errorReporter_ = std::move(reporter); }
    void setWarningReporter(WarningReporter reporter) { warningReporter_ = std::move(reporter); }
    void setBookPathPicker(BookPathPicker picker) { bookPathPicker_ = std::move(picker); }
    void setPreviewOpener(PreviewOpener opener) { previewOpener_ = std::move(opener); }
    // Where the options are remembered, under HKEY_CURRENT_USER; set before
    // the window is made (tests keep theirs apart from the user's).
    void setSettingsKey(std::wstring key) { settingsKey_ = std::move(key); }
    // Run once the window shows.
    void setScriptSteps(dialog::ScriptSteps steps) { script_ = std::move(steps); }

    // Shows the dialog and returns when it has been closed.
    INT_PTR doModal();
    // The same window without a modal loop of its own, for tests that run one;
    // closing it destroys it.
    HWND createModeless();
    HWND window() const { return window_; }

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

    // What a confirmed "Add Files..." does with its folder (UTF-8): the
    // folder's .mid and .kar files join the list, and the folder becomes the
    // current directory, where "Create Image" writes its files.
    void addSongFolder(const std::string& folder) override;

    bool isCompiling() const { return worker_ != nullptr; }
    // A compilation or a song book is being written.
    bool isBusy() const { return isCompiling() || bookThread_.joinable(); }
    // The list's entries from the top, as UTF-8 paths.
    const std::vector<std::string>& songs() const { return songs_.paths(); }

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void initDialog();
    void command(int id);
    bool paintMinimized();
    void close(int result);
    bool addSong(const std::string& path);
    void setCommandsEnabled(bool enabled);
    void finishCompilation(const Result<CompileOutcome>& result);
    // "Song Book..." and "Preview..." are there for an image in the output folder.
    void updateSongBookCommand();
    void finishSongBook(const FolderSongBook& written);
    void showBox(const dialog::DialogBox& box);

    HWND progressBar = nullptr;
    HWND songListBox = nullptr;
    HICON appIcon = nullptr;

    HINSTANCE instance_;
    HICON smallIcon_ = nullptr;
    HWND window_ = nullptr;
    bool modal_ = false;
    HWND focusBeforeCompiling_ = nullptr;
    dialog::SongListModel songs_;
    PathPicker pathPicker_;
    ErrorReporter errorReporter_;
    WarningReporter warningReporter_;
    BookPathPicker bookPathPicker_;
    PreviewOpener previewOpener_;
    std::wstring settingsKey_ = kSettingsKey;
    dialog::ScriptSteps script_;
    std::unique_ptr<OptionsMenu> optionsMenu_;
    std::unique_ptr<dialog::CompileWorker> worker_;
    std::thread bookThread_;
};

// The message box of a failure: caption "Error", the message, one OK button,
// no icon and no owner window.
void showErrorBox(const std::wstring& message, const std::wstring& songPath);
// The same box captioned "Warning", for what deserves a look.
void showWarningBox(const std::wstring& text);

}  // namespace zmr::win32
