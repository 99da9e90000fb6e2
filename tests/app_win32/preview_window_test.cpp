// The Win32 preview window on the examples' image: its list (number, title,
// length as the core reads them), the lyrics lighting up at the records'
// times as a clock the test moves says, the messages due by then sent from
// the playback's thread to a recording output in place of midiOut, "Stop"
// silencing it, closing the window ending it, and an image that cannot be
// read told in a box. The window runs without a modal loop; each test runs
// the messages itself.

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app_win32/preview_window.h"
#include "app_win32/resource_ids.h"
#include "fileio/file_bytes.h"
#include "fileio/native_path.h"
#include "fileio/wide_text.h"
#include "image/song_order.h"
#include "playback/playback_time.h"
#include "readback/image_index.h"
#include "support/manual_clock.h"
#include "support/memory_compile.h"
#include "support/temp_dir.h"

namespace zmr::win32 {
namespace {

namespace fs = std::filesystem;

using Message = std::vector<uint8_t>;

// What the playback's thread sends, from the output's last reset on.
class RecordingOutput : public MidiOutput {
public:
    void send(std::span<const uint8_t> message) override {
        const std::lock_guard lock(mutex_);
        sent_.emplace_back(message.begin(), message.end());
    }
    void reset() override {
        const std::lock_guard lock(mutex_);
        sent_.clear();
        ++resets_;
    }
    std::vector<Message> sent() const {
        const std::lock_guard lock(mutex_);
        return sent_;
    }
    int resets() const {
        const std::lock_guard lock(mutex_);
        return resets_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Message> sent_;
    int resets_ = 0;
};

// What the window owns and drops when it closes; the recorder stays the test's.
class ForwardingOutput : public MidiOutput {
public:
    ForwardingOutput(MidiOutput& to, bool& open) : to_(to), open_(open) { open_ = true; }
    ~ForwardingOutput() override { open_ = false; }
    void send(std::span<const uint8_t> message) override { to_.send(message); }
    void reset() override { to_.reset(); }

private:
    MidiOutput& to_;
    bool& open_;
};

// The examples compiled in image order, with their song list, into `folder`.
fs::path writeExamplesImage(const test::TempDir& folder) {
    test::SongFiles songs;
    for (const auto& entry : fs::directory_iterator(ZMR_EXAMPLES_DIR)) {
        std::wstring extension = entry.path().extension().wstring();
        std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
        if (extension != L".mid" && extension != L".kar") continue;
        Result<std::vector<uint8_t>> bytes = readFileBytes(pathText(entry.path()));
        if (bytes) songs.emplace_back(pathText(entry.path()), std::move(bytes).value());
    }
    std::sort(songs.begin(), songs.end(), [](const auto& a, const auto& b) { return songPathLess(a.first, b.first); });
    const test::CompiledImage compiled = test::compileInMemory(songs);
    folder.write("SongList.txt", std::vector<uint8_t>(compiled.songList.begin(), compiled.songList.end()));
    return folder.write("DADEDA00.DEZ", compiled.image);
}

// Song `index` of the image as the core decodes it.
PreviewSong coreSong(const fs::path& image, size_t index) {
    const std::vector<uint8_t> bytes = readFileBytes(pathText(image)).value();
    return loadPreviewSong(bytes, readImageIndex(bytes).songs.at(index)).value();
}

std::vector<Message> messagesDue(const PreviewSong& song, PlaybackTime position) {
    std::vector<Message> due;
    for (const TimedMessage& m : song.music.messages) {
        if (unitsToTime(m.time) > position) break;
        due.emplace_back(m.message().begin(), m.message().end());
    }
    return due;
}

class PreviewWindowTest : public testing::Test {
protected:
    PreviewWindowTest() : image_(writeExamplesImage(folder_)) {}

    PreviewWindow::Services services() {
        PreviewWindow::Services s;
        s.clock = &clock_;
        s.openOutput = [this] {
            return Result<LiveOutput>(LiveOutput{std::make_unique<ForwardingOutput>(recorder_, outputOpen_), "a recorder", ""});
        };
        s.reportError = [this](const std::wstring& message) { errors_.push_back(message); };
        return s;
    }

    std::unique_ptr<PreviewWindow> open(const fs::path& image) {
        auto window = std::make_unique<PreviewWindow>(GetModuleHandleW(nullptr), nullptr, image, services());
        window_ = window->window();
        return window;
    }

    // Runs the thread's messages until `done`, or for at most a minute.
    template <class Done>
    bool pump(Done done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!done() && std::chrono::steady_clock::now() < end) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!IsWindow(window_) || !IsDialogMessageW(window_, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            Sleep(2);
        }
        return done();
    }

    std::wstring cell(int row, int column) const {
        wchar_t text[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(GetDlgItem(window_, IDC_PREVIEW_SONGS), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }

    void press(int id) { SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    // Moves the clock to `position` of a song played from the start.
    void moveTo(PlaybackTime position) {
        clock_.advance(position - at_);
        at_ = position;
    }

    test::TempDir folder_;
    fs::path image_;
    test::ManualClock clock_;
    PlaybackTime at_{0};
    RecordingOutput recorder_;
    bool outputOpen_ = false;
    std::vector<std::wstring> errors_;
    HWND window_ = nullptr;
};

TEST_F(PreviewWindowTest, ListsEverySongWithNumberTitleAndTheLengthTheCoreReads) {
    const auto preview = open(image_);
    ASSERT_TRUE(pump([&] { return preview->songCount() == 6; }));
    HWND list = GetDlgItem(window_, IDC_PREVIEW_SONGS);
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 6);
    const std::vector<std::wstring> titles = {L"Chuc Mung Nam Moi", L"Dem Trang", L"Hanh Trinh Dai",
                                              L"Mua Xuan Ve", L"Que Huong", L"Ru Con"};
    for (int row = 0; row < 6; ++row) {
        preview->selectSong(row);
        ASSERT_TRUE(pump([&] { return preview->songReady(); })) << row;
        EXPECT_EQ(cell(row, 0), std::to_wstring(row + 1));
        EXPECT_EQ(cell(row, 1), titles[static_cast<size_t>(row)]);
        EXPECT_EQ(cell(row, 2), wideFromUtf8(minutesSecondsOf(coreSong(image_, static_cast<size_t>(row)).length)));
    }
    EXPECT_EQ(cell(2, 2), L"03:32");  // the long one, as the player's gaps leave it
    EXPECT_TRUE(errors_.empty());
}

// At each syllable's time (the characters of a line that share one) the
// highlight takes it in, and not a millisecond before; by then the output
// has had every message due and none after.
TEST_F(PreviewWindowTest, HighlightAndSoundFollowTheRecordsTimes) {
    const size_t index = 4;  // "Que Huong"
    const PreviewSong song = coreSong(image_, index);
    const auto preview = open(image_);
    preview->selectSong(static_cast<int>(index));
    press(IDC_PREVIEW_PLAY);  // before the song is decoded: it plays once it is
    ASSERT_TRUE(pump([&] { return preview->playing(); }));
    ASSERT_FALSE(song.lyrics.lines().empty());

    size_t checkedGroups = 0;
    for (const TimedLine& line : song.lyrics.lines()) {
        size_t sung = 0;
        for (const CharacterGroup& group : characterGroups(line)) {
            const PlaybackTime due = unitsToTime(group.units);
            if (sung > 0 && due > at_) {
                moveTo(due - PlaybackTime(1));
                preview->refresh();
                EXPECT_EQ(preview->shownLyrics().sungCharacters, sung) << "before " << due.count() << " ms";
            }
            sung += static_cast<size_t>(std::count_if(group.text.begin(), group.text.end(),
                                                      [](char c) { return (static_cast<uint8_t>(c) & 0xC0) != 0x80; }));
            moveTo(std::max(at_, due));
            preview->refresh();
            const KaraokeLines& shown = preview->shownLyrics();
            EXPECT_EQ(shown.sungCharacters, sung) << "at " << due.count() << " ms";
            EXPECT_EQ(shown.sung + shown.unsung, song.lyrics.text(static_cast<size_t>(&line - song.lyrics.lines().data())));
            ++checkedGroups;
        }
        // The messages due at the line's last syllable, and none after.
        const std::vector<Message> due = messagesDue(song, at_);
        EXPECT_TRUE(pump([&] { return recorder_.sent().size() >= due.size(); })) << at_.count() << " ms";
        Sleep(20);
        EXPECT_EQ(recorder_.sent(), due) << at_.count() << " ms";
    }
    EXPECT_GT(checkedGroups, 20u);
    EXPECT_EQ(recorder_.resets(), 1);  // played through, never jumped
}

// "Stop" silences every channel and goes back to the start; closing the
// window ends the playback's thread, which silences the output as it goes.
TEST_F(PreviewWindowTest, StopSilencesAndClosingEndsThePlayback) {
    const auto preview = open(image_);
    press(IDC_PREVIEW_PLAY);
    ASSERT_TRUE(pump([&] { return preview->playing(); }));
    moveTo(PlaybackTime(20'000));
    ASSERT_TRUE(pump([&] { return !recorder_.sent().empty(); }));

    // Sound off and notes off on all 16 channels, among the messages from `from` on.
    const auto silencedFrom = [&](size_t from) {
        const std::vector<Message> sent = recorder_.sent();
        if (sent.size() < from) return false;
        for (uint8_t channel = 0; channel < 16; ++channel) {
            for (const uint8_t control : {uint8_t{120}, uint8_t{123}}) {
                const Message off = {static_cast<uint8_t>(0xB0 | channel), control, 0};
                if (std::find(sent.begin() + static_cast<std::ptrdiff_t>(from), sent.end(), off) == sent.end()) return false;
            }
        }
        return true;
    };
    const int resets = recorder_.resets();
    press(IDC_PREVIEW_STOP);
    EXPECT_FALSE(preview->playing());
    EXPECT_EQ(preview->shownLyrics().sungCharacters, 0u);
    EXPECT_EQ(SendMessageW(GetDlgItem(window_, IDC_PREVIEW_POSITION), TBM_GETPOS, 0, 0), 0);
    // Back to the start is a jump: the output is reset, then silenced.
    EXPECT_TRUE(pump([&] { return recorder_.resets() > resets && silencedFrom(0); }));

    const size_t stopped = recorder_.sent().size();
    press(IDC_PREVIEW_PLAY);
    moveTo(PlaybackTime(25'000));
    ASSERT_TRUE(pump([&] { return recorder_.sent().size() > stopped; }));
    SendMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview->window(), nullptr);
    EXPECT_FALSE(outputOpen_);  // the thread has ended and the output is released
    const size_t closed = recorder_.sent().size();
    ASSERT_GE(closed, stopped + 32);
    EXPECT_TRUE(silencedFrom(closed - 32));  // the last it sent
}

TEST_F(PreviewWindowTest, AnImageThatCannotBeReadIsToldInABox) {
    const auto preview = open(folder_.path() / L"missing" / L"DADEDA00.DEZ");
    ASSERT_TRUE(pump([&] { return !errors_.empty(); }));
    EXPECT_NE(errors_[0].find(L"DADEDA00.DEZ"), std::wstring::npos) << utf8FromWide(errors_[0]);
    EXPECT_EQ(SendMessageW(GetDlgItem(window_, IDC_PREVIEW_SONGS), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_PREVIEW_PLAY)));
    press(IDC_PREVIEW_PLAY);  // nothing to play, nothing thrown
    EXPECT_FALSE(preview->playing());
}

}  // namespace
}  // namespace zmr::win32
