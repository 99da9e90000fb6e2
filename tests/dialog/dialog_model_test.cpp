// The dialog model: what both dialogs do, checked once without a toolkit.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

#include "dialog/compile_worker.h"
#include "dialog/dialog_box.h"
#include "dialog/dialog_options.h"
#include "dialog/output_folder.h"
#include "dialog/script_steps.h"
#include "dialog/song_file_choice.h"
#include "dialog/song_list_model.h"
#include "dialog/warning_summary.h"
#include "fileio/native_path.h"
#include "support/midi_writer.h"
#include "support/temp_dir.h"

namespace zmr::dialog {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> filled(const std::vector<std::string>& added) {
    SongListModel list;
    for (const std::string& path : added) list.insert(list.placeOf(path), path);
    return list.paths();
}

TEST(SongListModel, KeepsFullPathsInTheImageOrderAndRemovesAnyRows) {
    // Letter case ignored, whatever order the folders came in; an equal path after its twin.
    EXPECT_EQ(filled({"/b/x.mid", "/A/Z.kar", "/A/y.mid", "/A/a.kar", "/A/y.mid"}),
              (std::vector<std::string>{"/A/a.kar", "/A/y.mid", "/A/y.mid", "/A/Z.kar", "/b/x.mid"}));

    SongListModel list;
    for (const char* path : {"1", "2", "3", "4", "5"}) list.insert(list.placeOf(path), path);
    const std::vector<size_t> rows = {4, 0, 2};  // as a widget lists its selection: any order
    list.remove(rows);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{"2", "4"}));
}

// A store in memory, counting how each name was read.
class MemoryStore : public SettingsStore {
public:
    std::optional<std::string> readText(std::string_view name) const override { return find(texts, name); }
    std::optional<bool> readSwitch(std::string_view name) const override { return find(switches, name); }
    void writeText(std::string_view name, std::string_view value) override { texts[std::string(name)] = value; }
    void writeSwitch(std::string_view name, bool on) override { switches[std::string(name)] = on; }

    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, bool, std::less<>> switches;

private:
    template <class Map>
    static std::optional<typename Map::mapped_type> find(const Map& map, std::string_view name) {
        const auto it = map.find(name);
        return it == map.end() ? std::nullopt : std::optional(it->second);
    }
};

TEST(DialogOptions, ClicksCheckTheirItemsAndTheChoiceIsStoredUnderOneSetOfNames) {
    ConvertOptions options;
    EXPECT_TRUE(optionChecked(options, ID_TEXT_VIQR_VNI));
    EXPECT_FALSE(afterOptionCommand(options, ID_FILE_EXIT));  // not the menu's
    options = *afterOptionCommand(options, ID_TEXT_CP1258);
    options = *afterOptionCommand(options, ID_LENIENT);
    options = *afterOptionCommand(options, ID_KAR_TEXT);
    options = *afterOptionCommand(options, ID_KAR_TEXT);  // a switch clicked twice is off again
    for (const EncodingItem& item : kEncodingItems)
        EXPECT_EQ(optionChecked(options, item.id), item.id == ID_TEXT_CP1258) << item.text;
    EXPECT_TRUE(optionChecked(options, ID_LENIENT));
    EXPECT_FALSE(optionChecked(options, ID_KAR_TEXT));

    MemoryStore store;
    saveOptions(store, options);
    const ConvertOptions loaded = loadOptions(store);
    EXPECT_EQ(loaded.textEncoding, TextEncoding::Cp1258);
    EXPECT_TRUE(loaded.lenient);
    EXPECT_FALSE(loaded.karText);
    EXPECT_EQ(store.texts.size() + store.switches.size(), 3u);
}

TEST(DialogOptions, WhatAnOlderVersionStoredIsReadUntilTheChoiceIsStoredAgain) {
    MemoryStore store;
    EXPECT_EQ(loadOptions(store).textEncoding, TextEncoding::ViqrVni);  // nothing stored: everything off
    store.texts["textEncoding"] = "utf8";
    store.switches["karText"] = true;
    const ConvertOptions older = loadOptions(store);
    EXPECT_EQ(older.textEncoding, TextEncoding::Utf8);
    EXPECT_TRUE(older.karText);
    EXPECT_FALSE(older.lenient);

    // Once stored again, the new names win over the old ones left behind.
    saveOptions(store, *afterOptionCommand(older, ID_KAR_TEXT));
    EXPECT_FALSE(loadOptions(store).karText);
    // A name this version does not know reads as the default.
    store.texts["options/textEncoding"] = "klingon";
    EXPECT_EQ(loadOptions(store).textEncoding, TextEncoding::ViqrVni);
}

std::vector<SongWarning> warnings(size_t count) {
    std::vector<SongWarning> list;
    for (size_t i = 0; i < count; ++i) list.push_back({"/s/" + std::to_string(i) + ".mid", "1 character has no code"});
    return list;
}

TEST(DialogBox, FailuresTakeTheirBoxByKindAndWarningsAreCountedAndCut) {
    EXPECT_EQ(boxAfterCompilation(Failure{"full", FailureKind::DiskFull})->kind, BoxKind::Error);
    const std::optional<DialogBox> busy = boxAfterCompilation(Failure{"held by another build", FailureKind::Busy});
    EXPECT_EQ(busy->kind, BoxKind::Warning);
    EXPECT_EQ(busy->text, "held by another build");

    CompileOutcome outcome;
    EXPECT_FALSE(boxAfterCompilation(outcome));
    outcome.warnings = warnings(1);
    EXPECT_EQ(boxAfterCompilation(outcome)->text,
              "1 song was written with a warning:\n\n/s/0.mid: 1 character has no code");
    outcome.warnings = warnings(kWarningsShown + 3);
    const std::string many = boxAfterCompilation(outcome)->text;
    EXPECT_EQ(many.rfind("23 songs were written with a warning:\n", 0), 0u) << many;
    EXPECT_NE(many.find("/s/19.mid"), std::string::npos);
    EXPECT_EQ(many.find("/s/20.mid"), std::string::npos);
    EXPECT_TRUE(many.ends_with("\n... and 3 more")) << many;

    const std::vector<DialogBox> book = boxesAfterSongBook({"cannot write book.html", {"line 1", "line 2"}});
    ASSERT_EQ(book.size(), 2u);
    EXPECT_EQ(book[0].kind, BoxKind::Error);
    EXPECT_EQ(book[1].kind, BoxKind::Warning);
    EXPECT_EQ(book[1].text, "line 1\nline 2");
}

TEST(SongFileChoice, TheFilledInNameOrAPickedSongGivesItsFolder) {
    EXPECT_EQ(folderOfConfirmedPath("/songs/All file"), "/songs/");
    EXPECT_EQ(folderOfConfirmedPath("/songs/vn/A long song name.mid"), "/songs/vn/");
    EXPECT_EQ(folderOfConfirmedPath("/songs/12345678"), "/songs/");  // any 8-character name
    EXPECT_EQ(folderOfConfirmedPath("/Abc.kar"), "/");
#ifdef _WIN32
    EXPECT_EQ(folderOfConfirmedPath("C:\\Songs\\All file"), "C:\\Songs\\");
    EXPECT_EQ(folderOfConfirmedPath("D:\\Karaoke\\Nh\xE1\xBA\xA1" "c\\B\xC3\xA0i ca.kar"), "D:\\Karaoke\\Nh\xE1\xBA\xA1" "c\\");
#else
    EXPECT_EQ(folderOfConfirmedPath("/songs/a\\b.kar"), "/songs/");  // a backslash is a letter here
#endif
}

// Each test that enters a folder goes back to where it started.
class InFolder : public testing::Test {
protected:
    ~InFolder() override { fs::current_path(start_); }
    fs::path start_ = fs::current_path();
    test::TempDir dir_;
};

TEST_F(InFolder, AnAddedFolderBecomesTheOutputFolderAndGivesItsSongs) {
    dir_.write("songs/b.KAR", test::goodSong());
    dir_.write("songs/a.mid", test::goodSong());
    dir_.write("songs/c.txt", test::goodSong());
    fs::current_path(dir_.path());
    const Result<SongFolder> entered = enterSongFolder("songs/../songs");  // relative to where it was
    ASSERT_TRUE(entered) << entered.message();
    const fs::path folder = fs::canonical(dir_.path() / "songs");
    EXPECT_EQ(fs::canonical(outputFolder()), folder);
    EXPECT_EQ(pathText(entered->folder).back(), pathText(fs::path("x") / "").back());  // ends in its separator
    EXPECT_EQ(fs::canonical(entered->folder), folder);
    ASSERT_EQ(entered->songs.size(), 2u);
    EXPECT_FALSE(outputFolderHasImage());
    dir_.write("songs/DADEDA00.DEZ", std::vector<uint8_t>(2048));
    EXPECT_TRUE(outputFolderHasImage());

    const Result<SongFolder> missing = enterSongFolder(dir_.path() / "gone");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.message().find("gone"), std::string::npos) << missing.message();
}

struct Recorder : ScriptedDialog {
    void addSongFolder(const std::string& folder) override { steps.push_back("add " + folder); }
    void createImage() override { steps.push_back("create"); }
    void openPreview() override { steps.push_back("preview"); }
    std::vector<std::string> steps;
};

TEST(ScriptSteps, RunInOrderAndAPreviewWaitsForTheCompilationAskedFor) {
    Recorder dialog;
    runScriptSteps({{"/a", "/b"}, true, 2}, dialog);
    EXPECT_EQ(dialog.steps, (std::vector<std::string>{"add /a", "add /b", "create"}));
    EXPECT_TRUE(previewAfterCompilation({{}, true, 2}));
    Recorder previewOnly;
    runScriptSteps({{}, false, 1}, previewOnly);
    EXPECT_EQ(previewOnly.steps, std::vector<std::string>{"preview"});
    EXPECT_FALSE(previewAfterCompilation({{}, false, 1}));
}

// Records on the worker's thread what a front-end would carry to its own.
class Reports : public CompileReports {
public:
    void setRange(int32_t, int32_t) override {}
    void setPosition(int32_t) override {}
    void stateChanged(CompileState state) override { record(state == CompileState::Done ? "done" : "compiling"); }
    void songFailed(std::string_view path, std::string_view) override { record("failed " + fs::path(path).filename().string()); }
    void finished(Result<CompileOutcome> result) noexcept override {
        record(result ? "written " + std::to_string(result->summary.songsWritten) : "failure");
    }
    std::vector<std::string> events() {
        const std::lock_guard lock(mutex_);
        return events_;
    }

private:
    void record(std::string event) {
        const std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    std::mutex mutex_;
    std::vector<std::string> events_;
};

TEST(CompileWorker, ReportsEachStepAndEndsWithTheOutcomeOrTheFailure) {
    test::TempDir dir;
    CompileRequest request;
    request.songs = {dir.write("a.mid", test::goodSong()), dir.write("b.mid", test::rejectedSong())};
    request.folder = dir.path();
    auto owned = std::make_unique<Reports>();
    Reports& reports = *owned;
    CompileWorker worker(std::move(owned));
    worker.start(request);
    worker.join();
    EXPECT_TRUE(worker.ended());
    EXPECT_EQ(reports.events(), (std::vector<std::string>{"compiling", "failed b.mid", "done", "written 1"}));

    auto unwritableOwned = std::make_unique<Reports>();
    Reports& unwritable = *unwritableOwned;
    request.folder = dir.path() / "missing";
    CompileWorker again(std::move(unwritableOwned));
    again.start(request);
    again.join();
    EXPECT_EQ(unwritable.events().back(), "failure");
}

}  // namespace
}  // namespace zmr::dialog
