// The Win32 dialog's commands: gathering and removing songs, compiling on the
// worker thread with every way of closing refused meanwhile, reporting a
// failed song after the progress before it and the warnings after the
// compilation, the options remembered, the song book, and every way of
// closing afterwards. The window is made without a modal loop, and each test
// runs the messages itself.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// The tests' own place for the remembered options, apart from the user's.
constexpr wchar_t kTestSettings[] = L"Software\\zmrimage-tests";

std::wstring readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return wideFromUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
}

class DialogCommands : public testing::Test {
protected:
    DialogCommands() : startFolder_(fs::current_path()), dialog_(GetModuleHandleW(nullptr)) {
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestSettings);
        dialog_.setSettingsKey(kTestSettings);
        dialog_.setErrorReporter([this](const std::wstring& message, const std::wstring& path) {
            reports_.push_back({message, path});
            if (duringReport_) duringReport_();
        });
        dialog_.setWarningReporter([this](const std::wstring& text) { warnings_.push_back(text); });
        window_ = dialog_.createModeless();
    }
    ~DialogCommands() override {
        fs::current_path(startFolder_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestSettings);
    }

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
        for (const int id : {IDC_QUIT, IDC_CREATE_IMAGE, IDC_REMOVE}) {
            if (!IsWindowEnabled(GetDlgItem(window_, id))) return false;
        }
        return (GetMenuState(GetMenu(window_), 0, MF_BYPOSITION) & MF_GRAYED) == 0 &&
               (GetMenuState(GetMenu(window_), 1, MF_BYPOSITION) & MF_GRAYED) == 0;
    }

    bool checked(int id) const { return (GetMenuState(GetMenu(window_), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0; }

    fs::path startFolder_;
    CImageToolDlg dialog_;
    HWND window_ = nullptr;
    std::vector<Report> reports_;
    std::vector<std::wstring> warnings_;
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
        // The progress and the title posted before the failure are shown before its box.
        EXPECT_EQ(SendMessageW(GetDlgItem(window_, IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0), 50);
        EXPECT_EQ(title(), L"ZMR Disc Image Tool - Compiling...");
        for (const int id : {IDC_QUIT, IDC_CANCEL, ID_FILE_EXIT}) press(id);
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
    for (const int way : {IDC_QUIT, IDC_CANCEL, WM_CLOSE, VK_ESCAPE}) {
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

// A list box that refuses one entry, as one out of room does: the dialog's
// paths stay those the list shows, so "Remove" takes the right songs.
LRESULT CALLBACK refusingList(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == LB_INSERTSTRING && std::wstring(reinterpret_cast<const wchar_t*>(lParam)).ends_with(L"b.mid"))
        return LB_ERRSPACE;
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(DialogCommands, AnEntryTheListRefusesIsLeftOutOfThePathsAndTold) {
    test::TempDir folder;
    for (const char* name : {"a.mid", "b.mid", "c.mid"}) folder.write(name, goodSong(60));
    HWND list = GetDlgItem(window_, IDC_SONG_LIST);
    SetWindowSubclass(list, refusingList, 1, 0);
    dialog_.addSongFolder(pathText(folder.path()));
    RemoveWindowSubclass(list, refusingList, 1);
    const std::wstring path = folder.path().wstring() + L"\\";
    EXPECT_EQ(entries(), (std::vector<std::wstring>{path + L"a.mid", path + L"c.mid"}));
    EXPECT_EQ(dialog_.songs(), (std::vector<std::string>{utf8FromWide(path + L"a.mid"), utf8FromWide(path + L"c.mid")}));
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_NE(reports_[0].message.find(L"1 of the songs"), std::wstring::npos);
    SendMessageW(list, LB_SETSEL, TRUE, 1);
    press(IDC_REMOVE);
    EXPECT_EQ(dialog_.songs(), std::vector<std::string>{utf8FromWide(path + L"a.mid")});
}

// The options of the Qt dialog, remembered in the registry: a song in UTF-8
// with a letter the player cannot show compiles as the command line's
// options read it, and the box after the compilation names it.
TEST_F(DialogCommands, OptionsAreRememberedAndReadSongsWithTheirWarnings) {
    EXPECT_TRUE(checked(ID_TEXT_VIQR_VNI));
    press(ID_TEXT_UTF8);
    press(ID_LENIENT);
    {
        CImageToolDlg again(GetModuleHandleW(nullptr));
        again.setSettingsKey(kTestSettings);
        HMENU menu = GetMenu(again.createModeless());
        EXPECT_TRUE(GetMenuState(menu, ID_TEXT_UTF8, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_FALSE(GetMenuState(menu, ID_TEXT_VIQR_VNI, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_FALSE(GetMenuState(menu, ID_KAR_TEXT, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_TRUE(GetMenuState(menu, ID_LENIENT, MF_BYCOMMAND) & MF_CHECKED);
    }

    test::TempDir folder;
    const test::SongFiles songs = {{folder.write("a.mid", test::oneNoteSong("\xC3\xB1")), test::oneNoteSong("\xC3\xB1")},
                                   {folder.write("b.mid", goodSong(60)), goodSong(60)}};
    dialog_.addSongFolder(pathText(folder.path()));
    ASSERT_TRUE(compile());
    EXPECT_TRUE(reports_.empty());
    ConvertOptions options;
    options.textEncoding = TextEncoding::Utf8;
    options.lenient = true;
    EXPECT_EQ(folder.read("DADEDA00.DEZ"), test::compileInMemory(songs, false, {}, options).image);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_NE(warnings_[0].find(wideFromUtf8(songs[0].first) + L": 1 character has no code"), std::wstring::npos)
        << utf8FromWide(warnings_[0]);
}

// What an older version kept at the top of the key is read, so nobody loses
// the choice; the new names, in the subkey "options", win once stored.
TEST_F(DialogCommands, OptionsAnOlderVersionStoredAreRead) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestSettings, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t utf8[] = L"utf8";
    const DWORD on = 1;
    RegSetValueExW(key, L"textEncoding", 0, REG_SZ, reinterpret_cast<const BYTE*>(utf8), sizeof utf8);
    RegSetValueExW(key, L"karText", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(key);
    {
        CImageToolDlg older(GetModuleHandleW(nullptr));
        older.setSettingsKey(kTestSettings);
        HWND window = older.createModeless();
        EXPECT_TRUE(GetMenuState(GetMenu(window), ID_TEXT_UTF8, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_TRUE(GetMenuState(GetMenu(window), ID_KAR_TEXT, MF_BYCOMMAND) & MF_CHECKED);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_KAR_TEXT, 0), 0);
    }
    CImageToolDlg again(GetModuleHandleW(nullptr));
    again.setSettingsKey(kTestSettings);
    HMENU menu = GetMenu(again.createModeless());
    EXPECT_TRUE(GetMenuState(menu, ID_TEXT_UTF8, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, ID_KAR_TEXT, MF_BYCOMMAND) & MF_CHECKED);
}

// "Song Book..." is there once the output folder holds an image; the book
// is written on its own thread, and the song list's lines it cannot use are told.
TEST_F(DialogCommands, SongBookIsWrittenWhereTheUserSaves) {
    test::TempDir folder;
    folder.write("Mu`a Xua^n.mid", goodSong(60));
    dialog_.addSongFolder(pathText(folder.path()));
    EXPECT_TRUE(GetMenuState(GetMenu(window_), ID_FILE_SONG_BOOK, MF_BYCOMMAND) & MF_GRAYED);
    ASSERT_TRUE(compile());
    EXPECT_FALSE(GetMenuState(GetMenu(window_), ID_FILE_SONG_BOOK, MF_BYCOMMAND) & MF_GRAYED);

    std::wstring suggested;
    dialog_.setBookPathPicker([&](HWND, const std::wstring& offered) {
        suggested = offered;
        return std::optional<std::wstring>((folder.path() / L"book.html").wstring());
    });
    folder.write("SongList.txt", std::vector<uint8_t>{'7', '\t', 'x', '\r', '\n'});
    press(ID_FILE_SONG_BOOK);
    const bool busy = dialog_.isBusy() && !commandsEnabled();
    ASSERT_TRUE(runUntil([this] { return !dialog_.isBusy(); }));
    EXPECT_TRUE(busy);
    EXPECT_EQ(fs::path(suggested), folder.path() / L"SongBook.html");
    EXPECT_TRUE(reports_.empty());
    EXPECT_NE(readText(folder.path() / L"book.html").find(L"M\u00f9a Xu\u00e2n"), std::wstring::npos);
    ASSERT_EQ(warnings_.size(), 1u);
    EXPECT_NE(warnings_[0].find(L"SongList.txt line 1: song number 7, expected 1"), std::wstring::npos)
        << utf8FromWide(warnings_[0]);
    EXPECT_TRUE(commandsEnabled());
}

// "Preview..." follows "Song Book...": there once the output folder holds
// an image, and opened on that image.
TEST_F(DialogCommands, PreviewOpensOnTheImageInTheOutputFolder) {
    test::TempDir folder;
    folder.write("a.mid", goodSong(60));
    std::vector<fs::path> opened;
    dialog_.setPreviewOpener([&](HWND owner, const fs::path& image) {
        EXPECT_EQ(owner, window_);
        opened.push_back(image);
    });
    dialog_.addSongFolder(pathText(folder.path()));
    EXPECT_TRUE(GetMenuState(GetMenu(window_), ID_FILE_PREVIEW, MF_BYCOMMAND) & MF_GRAYED);
    press(ID_FILE_PREVIEW);
    EXPECT_TRUE(opened.empty());
    ASSERT_TRUE(compile());
    EXPECT_FALSE(GetMenuState(GetMenu(window_), ID_FILE_PREVIEW, MF_BYCOMMAND) & MF_GRAYED);
    press(ID_FILE_PREVIEW);
    EXPECT_EQ(opened, (std::vector<fs::path>{folder.path() / L"DADEDA00.DEZ"}));
}

// What the timer below sees from inside the preview's own message loop.
struct PreviewSeen {
    static inline HWND owner = nullptr;
    static inline bool dialogEnabled = true;
};

// The window itself: modal over the dialog, which it gives back once closed.
TEST_F(DialogCommands, PreviewRunsOverTheDialogUntilItIsClosed) {
    test::TempDir folder;
    folder.write("a.mid", goodSong(60));
    dialog_.addSongFolder(pathText(folder.path()));
    ASSERT_TRUE(compile());
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND preview = FindWindowW(L"ZmrPreviewWindow", nullptr);
        if (!preview) return;
        PreviewSeen::owner = GetWindow(preview, GW_OWNER);
        PreviewSeen::dialogEnabled = IsWindowEnabled(PreviewSeen::owner) != FALSE;
        PostMessageW(preview, WM_CLOSE, 0, 0);
    });
    press(ID_FILE_PREVIEW);  // returns once the window is closed
    KillTimer(nullptr, timer);
    EXPECT_EQ(PreviewSeen::owner, window_);
    EXPECT_FALSE(PreviewSeen::dialogEnabled);
    EXPECT_TRUE(IsWindowEnabled(window_));
    EXPECT_EQ(FindWindowW(L"ZmrPreviewWindow", nullptr), nullptr);
}

}  // namespace
}  // namespace zmr::win32
