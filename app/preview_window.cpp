#include "app/preview_window.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/karaoke_lyrics_view.h"
#include "fileio/file_bytes.h"
#include "playback/playback_time.h"
#include "readback/image_scan.h"

namespace zmr::gui {
namespace {

constexpr int kRefreshMilliseconds = 33;
enum Column { kNumberColumn, kTitleColumn, kLengthColumn };

QString timeText(PlaybackTime position, PlaybackTime length) {
    return QString::fromStdString(minutesSecondsOf(position) + " / " + minutesSecondsOf(length));
}

}  // namespace

PreviewWindow::PreviewWindow(const QString& imagePath, QWidget* parent)
    : PreviewWindow(imagePath, Services{}, parent) {}

PreviewWindow::PreviewWindow(const QString& imagePath, Services services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)) {
    setWindowTitle(QString::fromLatin1(kPreviewCaption) + " - " + imagePath);
    createControls();
    loadImage(imagePath);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &PreviewWindow::refresh);
    timer_->start(kRefreshMilliseconds);
    if (songList_->topLevelItemCount() > 0) songList_->setCurrentItem(songList_->topLevelItem(0));
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
    connect(songList_, &QTreeWidget::currentItemChanged, this, &PreviewWindow::songSelected);
    connect(songList_, &QTreeWidget::itemActivated, this, &PreviewWindow::play);

    lyrics_ = new KaraokeLyricsView(this);
    playButton_ = new QPushButton(tr("Play"), this);
    pauseButton_ = new QPushButton(tr("Pause"), this);
    stopButton_ = new QPushButton(tr("Stop"), this);
    slider_ = new QSlider(Qt::Horizontal, this);
    time_ = new QLabel(timeText(PlaybackTime(0), PlaybackTime(0)), this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    connect(playButton_, &QPushButton::clicked, this, &PreviewWindow::play);
    connect(pauseButton_, &QPushButton::clicked, this, &PreviewWindow::pause);
    connect(stopButton_, &QPushButton::clicked, this, &PreviewWindow::stop);
    connect(slider_, &QSlider::sliderMoved, this, [this](int value) { seek(PlaybackTime(value)); });
    connect(slider_, &QSlider::actionTriggered, this, [this](int action) {
        // Clicks and keys on the slider move it by steps; dragging is sliderMoved.
        if (action != QAbstractSlider::SliderMove) seek(PlaybackTime(slider_->sliderPosition()));
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

void PreviewWindow::loadImage(const QString& imagePath) {
    Result<std::vector<uint8_t>> image = readFileBytes(QFile::encodeName(imagePath).toStdString());
    if (!image) {
        status_->setText(QString::fromLocal8Bit(image.message()));
        return;
    }
    const ImageScan scan = scanImage(*image);
    for (const SongLocation& location : scan.songs) {
        Result<PreviewSong> song = loadPreviewSong(*image, location);
        auto* item = new QTreeWidgetItem(songList_);
        item->setText(kNumberColumn, QString::number(location.number));
        item->setTextAlignment(kNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
        if (song) {
            item->setText(kTitleColumn, QString::fromStdString(song->lyrics.title()));
            item->setText(kLengthColumn, QString::fromStdString(minutesSecondsOf(song->length)));
            songs_.emplace_back(std::move(song).value());
        } else {
            item->setText(kTitleColumn, QString::fromStdString(song.message()));
            item->setDisabled(true);
            songs_.emplace_back(std::nullopt);
        }
    }
    if (!scan.complete) {
        status_->setText(tr("Only the first %1 songs could be found in the image (zmrimage verify tells more).")
                             .arg(scan.songs.size()));
    }
}

void PreviewWindow::selectSong(int row) { songList_->setCurrentItem(songList_->topLevelItem(row)); }

void PreviewWindow::songSelected() {
    endPlayback();
    const int row = songList_->indexOfTopLevelItem(songList_->currentItem());
    song_ = row >= 0 && songs_[static_cast<size_t>(row)] ? &*songs_[static_cast<size_t>(row)] : nullptr;
    if (song_) transport_ = std::make_unique<Transport>(*services_.clock, song_->length);
    slider_->setRange(0, song_ ? static_cast<int>(song_->length.count()) : 0);
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
    if (!transport_) return;
    ensureOutput();
    if (output_->output && !playback_) {
        playback_ = std::make_unique<LivePlayback>(*transport_, song_->music.messages, *output_->output);
    }
    transport_->play();
    refresh();
}

void PreviewWindow::pause() {
    if (transport_) transport_->pause();
    refresh();
}

void PreviewWindow::stop() {
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
    song_ = nullptr;
    output_.reset();
    QDialog::done(result);
}

}  // namespace zmr::gui
