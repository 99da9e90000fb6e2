#include "app/preview_window.h"

#include <QApplication>
#include <QFile>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <filesystem>

#include "app/guarded_slot.h"
#include "app/karaoke_lyrics_view.h"
#include "image/image_layout.h"
#include "playback/playback_time.h"

namespace zmr::gui {
namespace {

constexpr int kRefreshMilliseconds = 33;
enum Column { kNumberColumn, kTitleColumn, kLengthColumn };

QString timeText(PlaybackTime position, PlaybackTime length) {
    return QString::fromStdString(minutesSecondsOf(position) + " / " + minutesSecondsOf(length));
}

// Runs `work` on Qt's thread pool and hands its value to `done` on the
// window's thread, unless the window is gone by then (the watcher goes with
// it; the work ends on its own, holding what it was given).
template <class Value, class Work, class Done>
void runOffThread(QObject* window, Work work, Done done) {
    auto* watcher = new QFutureWatcher<Value>(window);
    QObject::connect(watcher, &QFutureWatcherBase::finished, window, [watcher, done] {
        runGuarded([&] { done(watcher->result()); });
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

}  // namespace

PreviewWindow::PreviewWindow(const QString& imagePath, QWidget* parent)
    : PreviewWindow(imagePath, Services{}, parent) {}

PreviewWindow::PreviewWindow(const QString& imagePath, Services services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)) {
    setWindowTitle(QString::fromLatin1(kPreviewCaption) + " - " + imagePath);
    createControls();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, guarded(this, &PreviewWindow::refresh));
    timer_->start(kRefreshMilliseconds);
    startReading(imagePath);
}

PreviewWindow::~PreviewWindow() { endPlayback(); }

void PreviewWindow::createControls() {
    songList_ = new QTreeWidget(this);
    songList_->setHeaderLabels({tr("No."), tr("Title"), tr("Length")});
    songList_->setRootIsDecorated(false);
    songList_->setUniformRowHeights(true);
    songList_->header()->setStretchLastSection(false);
    songList_->header()->setSectionResizeMode(kNumberColumn, QHeaderView::ResizeToContents);
    songList_->header()->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    songList_->header()->setSectionResizeMode(kLengthColumn, QHeaderView::ResizeToContents);
    connect(songList_, &QTreeWidget::currentItemChanged, this, guarded(this, &PreviewWindow::songSelected));
    connect(songList_, &QTreeWidget::itemActivated, this, guarded(this, &PreviewWindow::play));

    lyrics_ = new KaraokeLyricsView(this);
    playButton_ = new QPushButton(tr("Play"), this);
    pauseButton_ = new QPushButton(tr("Pause"), this);
    stopButton_ = new QPushButton(tr("Stop"), this);
    slider_ = new QSlider(Qt::Horizontal, this);
    time_ = new QLabel(timeText(PlaybackTime(0), PlaybackTime(0)), this);
    time_->setTextFormat(Qt::PlainText);
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);  // it shows paths and the image's problems
    status_->setWordWrap(true);
    connect(playButton_, &QPushButton::clicked, this, guarded(this, &PreviewWindow::play));
    connect(pauseButton_, &QPushButton::clicked, this, guarded(this, &PreviewWindow::pause));
    connect(stopButton_, &QPushButton::clicked, this, guarded(this, &PreviewWindow::stop));
    connect(slider_, &QSlider::sliderMoved, this, [this](int value) { runGuarded([&] { seek(PlaybackTime(value)); }); });
    connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
        // Clicks and keys on the slider move it by steps; dragging is sliderMoved.
        runGuarded([&] {
            if (action != QAbstractSlider::SliderMove) seek(PlaybackTime(slider_->sliderPosition()));
        });
    });
    slider_->setSingleStep(1000);
    slider_->setPageStep(10000);

    auto* controls = new QHBoxLayout;
    controls->addWidget(playButton_);
    controls->addWidget(pauseButton_);
    controls->addWidget(stopButton_);
    controls->addWidget(slider_, 1);
    controls->addWidget(time_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(songList_, 2);
    layout->addWidget(lyrics_, 3);
    layout->addLayout(controls);
    layout->addWidget(status_);
    resize(760, 560);
}

void PreviewWindow::startReading(const QString& imagePath) {
    const std::filesystem::path image(QFile::encodeName(imagePath).toStdString());
    const std::filesystem::path songList = image.parent_path() / kSongListFileName;
    runOffThread<std::shared_ptr<const PreviewListing>>(
        this, [image, songList] { return std::make_shared<const PreviewListing>(readPreviewListing(image, songList)); },
        [this](std::shared_ptr<const PreviewListing> listing) { listingRead(std::move(listing)); });
}

void PreviewWindow::listingRead(std::shared_ptr<const PreviewListing> listing) {
    listing_ = std::move(listing);
    if (!listing_->problem.empty()) {
        status_->setText(QString::fromLocal8Bit(listing_->problem));
        return;
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(listing_->songs.size()));
    for (size_t i = 0; i < listing_->songs.size(); ++i) {
        auto* item = new QTreeWidgetItem;
        item->setText(kNumberColumn, QString::number(listing_->songs[i].number));
        item->setTextAlignment(kNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(kTitleColumn, QString::fromStdString(listing_->titles[i]));
        items.push_back(item);
    }
    songList_->addTopLevelItems(items);
    if (!listing_->complete) {
        status_->setText(tr("Only the first %1 songs could be found in the image (zmrimage verify tells more).")
                             .arg(listing_->songs.size()));
    }
    if (wantedRow_ >= 0 && wantedRow_ < songList_->topLevelItemCount()) selectSong(wantedRow_);
}

void PreviewWindow::selectSong(int row) {
    if (!listing_) {
        wantedRow_ = row;
        return;
    }
    songList_->setCurrentItem(songList_->topLevelItem(row));
}

void PreviewWindow::songSelected() {
    endPlayback();
    song_.reset();
    slider_->setRange(0, 0);
    refresh();
    const int row = songList_->indexOfTopLevelItem(songList_->currentItem());
    if (row < 0 || !listing_) return;
    // Only the last song chosen is kept: an earlier one still decoding is dropped when it ends.
    const uint64_t request = ++decodeRequest_;
    runOffThread<std::shared_ptr<Result<PreviewSong>>>(
        this, [listing = listing_, row] { return std::make_shared<Result<PreviewSong>>(previewSongAt(*listing, static_cast<size_t>(row))); },
        [this, row, request](std::shared_ptr<Result<PreviewSong>> song) {
            if (request == decodeRequest_) songDecoded(row, std::move(*song));
        });
}

void PreviewWindow::songDecoded(int row, Result<PreviewSong> song) {
    QTreeWidgetItem* item = songList_->topLevelItem(row);
    if (!song) {
        playWhenReady_ = false;
        status_->setText(tr("Song %1 cannot be read: %2").arg(listing_->songs[static_cast<size_t>(row)].number).arg(QString::fromStdString(song.message())));
        refresh();
        return;
    }
    song_ = std::move(song).value();
    if (item->text(kTitleColumn).isEmpty()) item->setText(kTitleColumn, QString::fromStdString(song_->lyrics.title()));
    item->setText(kLengthColumn, QString::fromStdString(minutesSecondsOf(song_->length)));
    transport_ = std::make_unique<Transport>(*services_.clock, song_->length);
    slider_->setRange(0, static_cast<int>(song_->length.count()));
    if (playWhenReady_) play();
    refresh();
}

// Opened on the first "Play", not with the window: loading a large SoundFont takes a moment.
void PreviewWindow::ensureOutput() {
    if (output_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result<LiveOutput> opened = services_.openOutput();
    QApplication::restoreOverrideCursor();
    if (opened) {
        output_ = std::move(opened).value();
    } else {
        output_ = LiveOutput{nullptr, "no sound", opened.message()};
    }
    status_->setText(soundStatus());
}

QString PreviewWindow::soundStatus() const {
    if (!output_) return QString();
    const QString description = QString::fromStdString(output_->description);
    const QString details = QString::fromStdString(output_->details);
    if (output_->output) return tr("Playing through %1 (%2).").arg(description, details);
    QString text = description.left(1).toUpper() + description.mid(1);
    return tr("%1: the lyrics run without sound (%2).").arg(text, details);
}

void PreviewWindow::play() {
    if (!transport_) {
        playWhenReady_ = true;
        return;
    }
    playWhenReady_ = false;
    ensureOutput();
    if (output_->output && !playback_) {
        playback_ = std::make_unique<LivePlayback>(*transport_, song_->music.messages, *output_->output);
    }
    transport_->play();
    refresh();
}

void PreviewWindow::pause() {
    playWhenReady_ = false;
    if (transport_) transport_->pause();
    refresh();
}

void PreviewWindow::stop() {
    playWhenReady_ = false;
    if (transport_) transport_->stop();
    refresh();
}

void PreviewWindow::seek(PlaybackTime position) {
    if (transport_) transport_->seek(position);
    refresh();
}

void PreviewWindow::refresh() {
    const PlaybackTime length = transport_ ? transport_->length() : PlaybackTime(0);
    const Transport::State state = transport_ ? transport_->state() : Transport::State{};
    lyrics_->showAt(song_ ? &song_->lyrics : nullptr, state.position);
    if (!slider_->isSliderDown()) {
        const QSignalBlocker quiet(slider_);
        slider_->setValue(static_cast<int>(state.position.count()));
    }
    time_->setText(timeText(state.position, length));
    playButton_->setEnabled(transport_ && !state.playing);
    pauseButton_->setEnabled(state.playing);
    stopButton_->setEnabled(transport_ && state.position > PlaybackTime(0));
}

// The sound stops with the song: its thread ends and silences the output.
void PreviewWindow::endPlayback() {
    playback_.reset();
    transport_.reset();
}

void PreviewWindow::done(int result) {
    endPlayback();
    playWhenReady_ = false;
    song_.reset();
    output_.reset();
    QDialog::done(result);
}

}  // namespace zmr::gui
