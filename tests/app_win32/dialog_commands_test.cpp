// The Win32 dialog's commands: gathering and removing songs, compiling on the
// worker thread with every way of closing refused meanwhile, reporting a
// failed song, and every way of closing afterwards. The window is made
// without a modal loop, and each test runs the messages itself.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app_win32/confirmed_folder.h"
#include "app_win32/image_tool_dlg.h"
#include "app_win32/resource_ids.h"
#include "fileio/native_path.h"
#include "support/memory_compile.h"
#include "support/midi_writer.h"
#include "support/temp_dir.h"

namespace zmr::win32 {
namespace {

namespace fs = std::filesystem;

using test::goodSong;
using test::rejectedSong;

struct Report {
    std::wstring message, songPath;
};

class DialogCommands : public testing::Test {
protected:
    DialogCommands() : startFolder_(fs::current_path()), dialog_(GetModuleHandleW(nullptr)) {
        dialog_.setErrorReporter([this](const std::wstring& message, const std::wstring& path) {
            reports_.push_back({message, path});
            if (duringReport_) duringReport_();
        });
        window_ = dialog_.createModeless();
    }
    ~DialogCommands() override { fs::current_path(startFolder_); }

    void press(int id) { SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    // Runs the thread's messages until `done`, or for at most two minutes.
    template <class Done>
    bool runUntil(Done done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (!done() && std::chrono::steady_clock::now() < end) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) quitPosted_ = true;
                if (!IsWindow(window_) || !IsDialogMessageW(window_, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            Sleep(5);
        }
        return done();
    }

    bool compile() {
        press(IDC_CREATE_IMAGE);
        return runUntil([this] { return !dialog_.isCompiling(); });
    }

    std::vector<std::wstring> entries() const {
        HWND list = GetDlgItem(window_, IDC_SONG_LIST);
        std::vector<std::wstring> texts;
        const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            texts.push_back(text);
        }
        return texts;
    }

    std::wstring title() const {
        wchar_t text[128];
        GetWindowTextW(window_, text, 128);
        return text;
    }

    bool commandsEnabled() const {
        for (const int id : {IDOK, IDC_CREATE_IMAGE, IDC_REMOVE}) {
            if (!IsWindowEnabled(GetDlgItem(window_, id))) return false;
        }
        return (GetMenuState(GetMenu(window_), 0, MF_BYPOSITION) & MF_GRAYED) == 0;
    }

    fs::path startFolder_;
    CImageToolDlg dialog_;
    HWND window_ = nullptr;
    std::vector<Report> reports_;
    std::function<void()> duringReport_;
    bool quitPosted_ = false;
};

TEST_F(DialogCommands, AddFilesTakesTheConfirmedFolderOrThePickedSongsFolder) {
    test::TempDir folder;
    folder.write("b.kar", goodSong(60));
    folder.write("a.mid", goodSong(62));
    folder.write("c.txt", goodSong(64));
    const std::wstring path = folder.path().wstring();
    std::optional<std::wstring> picked = path + L"\\All file";
    dialog_.setPathPicker([&](HWND) { return picked; });
    press(ID_FILE_ADD_FILES);
    EXPECT_EQ(entries(), (std::vector<std::wstring>{path + L"\\a.mid", path + L"\\b.kar"}));
    EXPECT_EQ(fs::current_path(), folder.path());

    picked = path + L"\\b.kar";  // a song picked: its whole folder, again
    press(ID_FILE_ADD_FILES);
    EXPECT_EQ(entries(), (std::vector<std::wstring>{path + L"\\a.mid", path + L"\\a.mid", path + L"\\b.kar",
                                                    path + L"\\b.kar"}));
    picked.reset();  // cancelled
    press(ID_FILE_ADD_FILES);
    EXPECT_EQ(entries().size(), 4u);
    EXPECT_EQ(dialog_.songs().size(), 4u);
}

TEST_F(DialogCommands, ListKeepsTheCommandLinesOrderAndRemoveDeletesTheSelection) {
    test::TempDir root;
    root.write("b/Song.mid", goodSong(60));
    root.write("a/zeta.kar", goodSong(62));
    root.write("a/Alpha.mid", goodSong(64));
    dialog_.addSongFolder(pathText(root.path() / "b"));
    dialog_.addSongFolder(pathText(root.path() / "a"));
    const std::wstring a = (root.path() / "a").wstring() + L"\\", b = (root.path() / "b").wstring() + L"\\";
    EXPECT_EQ(entries(), (std::vector<std::wstring>{a + L"Alpha.mid", a + L"zeta.kar", b + L"Song.mid"}));

    HWND list = GetDlgItem(window_, IDC_SONG_LIST);
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETSEL, TRUE, 2);
    press(IDC_REMOVE);
    EXPECT_EQ(entries(), (std::vector<std::wstring>{a + L"zeta.kar"}));
    EXPECT_EQ(dialog_.songs(), (std::vector<std::string>{pathText(root.path() / "a" / "zeta.kar")}));
}

TEST_F(DialogCommands, CreateImageWritesWhatTheCoreWritesInTheAddedFolder) {
    test::TempDir folder;
    test::SongFiles songs;
    for (const char* name : {"One.mid", "three.KAR", "two.mid"})
        songs.push_back({folder.write(name, goodSong(static_cast<uint8_t>(60 + songs.size()))), {}});
    for (auto& [path, bytes] : songs) bytes = folder.read(fs::path(path).filename().string());
    dialog_.addSongFolder(pathText(folder.path()));
    ASSERT_TRUE(compile());
    EXPECT_TRUE(reports_.empty());
    EXPECT_EQ(title(), L"ZMR Disc Image Tool - Done");
    HWND bar = GetDlgItem(window_, IDC_PROGRESS_BAR);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
    const test::CompiledImage expected = test::compileInMemory(songs);
    EXPECT_EQ(folder.read("DADEDA00.DEZ"), expected.image);
    const std::vector<uint8_t> list = folder.read("SongList.txt");
    EXPECT_EQ(std::string(list.begin(), list.end()), expected.songList);
    EXPECT_TRUE(commandsEnabled());
}

TEST_F(DialogCommands, FailedSongIsShownWhileEveryWayOfClosingIsRefused) {
    test::TempDir folder;
    folder.write("a.mid", goodSong(60));
    const std::string bad = folder.write("b.mid", rejectedSong());
    dialog_.addSongFolder(pathText(folder.path()));
    bool refused = false;
    duringReport_ = [&] {
        EXPECT_TRUE(dialog_.isCompiling());
        EXPECT_FALSE(commandsEnabled());
        for (const int id : {IDOK, IDCANCEL, ID_FILE_EXIT}) press(id);
        SendMessageW(window_, WM_CLOSE, 0, 0);
        refused = IsWindow(window_) && !quitPosted_;
    };
    ASSERT_TRUE(compile());
    EXPECT_TRUE(refused);
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].message, L"Unknown command 0xF8\n");
    EXPECT_EQ(reports_[0].songPath, wideFromUtf8(bad));
    EXPECT_EQ(title(), L"ZMR Disc Image Tool - Done");
    EXPECT_TRUE(commandsEnabled());
}

TEST_F(DialogCommands, EveryWayOfClosingEndsTheDialog) {
    // "Quit", the hidden "Cancel" (Escape, the close box) and WM_CLOSE close
    // the window; "Exit" ends the message loop.
    for (const int way : {IDOK, IDCANCEL, WM_CLOSE, VK_ESCAPE}) {
        CImageToolDlg dialog(GetModuleHandleW(nullptr));
        HWND window = dialog.createModeless();
        if (way == WM_CLOSE) {
            SendMessageW(window, WM_CLOSE, 0, 0);  // the dialog posts itself "Cancel"
            MSG message;
            while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        } else if (way == VK_ESCAPE) {
            MSG key{window, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
            IsDialogMessageW(window, &key);
        } else {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(way, BN_CLICKED), 0);
        }
        EXPECT_FALSE(IsWindow(window)) << way;
    }
    press(ID_FILE_EXIT);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(ConfirmedFolder, PrefilledNameGivesTheFolderAndAPickedSongItsFolder) {
    EXPECT_EQ(folderOfConfirmedPath(L"C:\\Songs\\All file"), L"C:\\Songs\\");
    EXPECT_EQ(folderOfConfirmedPath(L"D:\\Karaoke\\Nhac\\Song.kar"), L"D:\\Karaoke\\Nhac\\");
    EXPECT_EQ(folderOfConfirmedPath(L"C:\\Music\\Bai Ca.mid"), L"C:\\Music\\");
    EXPECT_EQ(folderOfConfirmedPath(L"C:\\x\\12345678"), L"C:\\x\\");  // any 8-character name is the folder's
}

}  // namespace
}  // namespace zmr::win32
