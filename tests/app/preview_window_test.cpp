// The preview window on Qt's offscreen platform: its song list, read from the
// song list and the layout with each song decoded only when chosen, the
// lyrics lighting up at the records' times as a clock the test moves says,
// the sound sent from a thread of its own and stopped when the window closes,
// a machine without an audio device, and song data shown as plain text.

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <mutex>

#include "app/dialog_test_support.h"
#include "app/image_tool_dlg.h"
#include "app/karaoke_lyrics_view.h"
#include "app/preview_window.h"
#include "dialog/dialog_texts.h"
#include "support/lyric_song.h"
#include "support/manual_clock.h"
#include "support/memory_compile.h"

using namespace zmr;
using namespace zmr::gui;

namespace {

// Records what the window's sound thread sends.
class RecordingOutput : public MidiOutput {
public:
    void send(std::span<const uint8_t> message) override {
        const std::lock_guard lock(mutex_);
        sent_.emplace_back(message.begin(), message.end());
    }
    void reset() override {}
    size_t count(const std::vector<uint8_t>& message) const {
        const std::lock_guard lock(mutex_);
        return static_cast<size_t>(std::count(sent_.begin(), sent_.end(), message));
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::vector<uint8_t>> sent_;
};

// What the window owns, and drops when it closes, passing all to a recorder
// that the test keeps.
class ForwardingOutput : public MidiOutput {
public:
    explicit ForwardingOutput(MidiOutput& to) : to_(to) {}
    void send(std::span<const uint8_t> message) override { to_.send(message); }
    void reset() override { to_.reset(); }

private:
    MidiOutput& to_;
};

// The image of the lyric song, under each name given, and its song list.
QString writeImage(const QTemporaryDir& folder, const std::vector<std::string>& names = {"/songs/Em Yeu.mid"}) {
    test::SongFiles songs;
    for (const std::string& name : names) songs.emplace_back(name, test::lyricSong());
    const auto compiled = test::compileInMemory(songs);
    const QString path = folder.filePath("DADEDA00.DEZ");
    test::writeFile(path, compiled.image);
    test::writeFile(folder.filePath("SongList.txt"), std::vector<uint8_t>(compiled.songList.begin(), compiled.songList.end()));
    return path;
}

QString lyricLine(const PreviewWindow& window) {
    return window.lyricsView().sungText() + "|" + window.lyricsView().unsungText();
}

}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    void listsTheSongListAndDecodesASongWhenChosen();
    void lyricsLightUpInTimeWithoutAnAudioDevice();
    void soundPlaysOffTheWindowsThreadAndStopsWhenItCloses();
    void songDataShowsAsPlainText();
};

void PreviewWindowTest::listsTheSongListAndDecodesASongWhenChosen() {
    QTemporaryDir folder;
    const QString image = writeImage(folder, {"/songs/Em Yeu.mid", "/songs/Mua Xuan.mid"});
    // The user respelt the second title in the list: the window lists it so.
    test::writeFile(folder.filePath("SongList.txt"), {'1', '\t', 'E', 'm', ' ', 'Y', 'e', 'u', '\r', '\n', '2', '\t', 'M',
                                                      'u', '`', 'a', ' ', 'X', 'u', 'a', '^', 'n', '\r', '\n'});
    PreviewWindow window(image);
    auto* list = window.findChild<QTreeWidget*>();
    QTRY_COMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(1)->text(1), QString::fromUtf8("Mùa Xuân"));
    // The first song is chosen and decoded; the second waits for its turn.
    QTRY_COMPARE(list->topLevelItem(0)->text(2), QString("00:17"));
    QCOMPARE(list->topLevelItem(1)->text(2), QString());
    window.selectSong(1);
    QTRY_COMPARE(list->topLevelItem(1)->text(2), QString("00:17"));
    QVERIFY(window.songReady());
}

void PreviewWindowTest::lyricsLightUpInTimeWithoutAnAudioDevice() {
    QTemporaryDir folder;
    test::ManualClock clock;
    PreviewWindow::Services services;
    services.clock = &clock;
    services.openOutput = [] { return Result<LiveOutput>(LiveOutput{nullptr, "no audio device", "none here"}); };
    PreviewWindow window(writeImage(folder), services);
    window.show();

    auto* list = window.findChild<QTreeWidget*>();
    QVERIFY(list);
    QTRY_COMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(0), QString("1"));
    QCOMPARE(list->topLevelItem(0)->text(1), QString("Em Yeu"));
    QTRY_COMPARE(list->topLevelItem(0)->text(2), QString("00:17"));

    window.selectSong(0);
    QCOMPARE(lyricLine(window), QString::fromUtf8("|Em yêu ấm"));  // shown before its time, nothing sung
    window.play();
    QCOMPARE(window.soundStatus(), QString("No audio device: the lyrics run without sound (none here)."));

    clock.advance(PlaybackTime(2'040));
    window.refresh();
    QCOMPARE(lyricLine(window), QString::fromUtf8("Em yêu| ấm"));
    QCOMPARE(window.lyricsView().nextText(), QString::fromUtf8("Đi tươi"));
    clock.advance(PlaybackTime(1'960));
    window.refresh();
    QCOMPARE(lyricLine(window), QString::fromUtf8("Đi| tươi"));

    window.pause();
    clock.advance(PlaybackTime(5'000));
    window.refresh();
    QCOMPARE(lyricLine(window), QString::fromUtf8("Đi| tươi"));
    window.seek(PlaybackTime(12'000));
    QCOMPARE(lyricLine(window), QString::fromUtf8("Việt| Nam"));
    QCOMPARE(window.lyricsView().nextText(), QString());
    window.stop();
    QCOMPARE(lyricLine(window), QString::fromUtf8("|Em yêu ấm"));
}

void PreviewWindowTest::soundPlaysOffTheWindowsThreadAndStopsWhenItCloses() {
    QTemporaryDir folder;
    test::ManualClock clock;
    RecordingOutput recorded;
    RecordingOutput* recorder = &recorded;
    PreviewWindow::Services services;
    services.clock = &clock;
    services.openOutput = [recorder] {
        return Result<LiveOutput>(LiveOutput{std::make_unique<ForwardingOutput>(*recorder), "a recorder", "for the test"});
    };
    auto* window = new PreviewWindow(writeImage(folder), services);
    window->show();
    // Asked for before the song is read, as `zmrimage-gui --preview 1` does: it plays once it is.
    window->selectSong(0);
    window->play();
    QTRY_COMPARE(window->soundStatus(), QString("Playing through a recorder (for the test)."));
    // The notes go out as the clock reaches them: the first at once, its end
    // and the second note at 200 units.
    const std::vector<uint8_t> noteOn = {0x90, 60, 100};
    const std::vector<uint8_t> noteOff = {0x80, 60, 0};
    const std::vector<uint8_t> soundOff = {0xB0, 120, 0};
    QTRY_COMPARE(recorder->count(noteOn), size_t{1});
    QCOMPARE(recorder->count(noteOff), size_t{0});
    clock.advance(PlaybackTime(200 * 17));
    QTRY_COMPARE(recorder->count(noteOn), size_t{2});
    QCOMPARE(recorder->count(noteOff), size_t{1});
    QCOMPARE(recorder->count(soundOff), size_t{0});
    // Closing stops the sound: the thread silences the output as it ends.
    QVERIFY(window->isVisible());
    window->close();
    QVERIFY(!window->isVisible());
    QCOMPARE(recorder->count(soundOff), size_t{1});
    delete window;
}

void PreviewWindowTest::songDataShowsAsPlainText() {
    QTemporaryDir folder;
    PreviewWindow window(writeImage(folder, {"/songs/<img src=x>.mid"}));
    QTRY_VERIFY(window.songReady());
    window.refresh();
    const QString title("<img src=x>");
    const auto labels = window.findChildren<QLabel*>();
    const auto shown = std::find_if(labels.begin(), labels.end(), [&](QLabel* label) { return label->text() == title; });
    QVERIFY(shown != labels.end());
    QCOMPARE((*shown)->textFormat(), Qt::PlainText);

    const auto box = messageBox(zmr::dialog::kErrorCaption, title, "/songs/<b>x</b>.mid");
    for (QLabel* label : box->findChildren<QLabel*>())
        if (!label->text().isEmpty()) QCOMPARE(label->textFormat(), Qt::PlainText);
}

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
