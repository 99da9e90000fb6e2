#pragma once
// "Preview...": a window on the image in the output folder, to hear a song
// and watch its lyrics as the player shows them before the disc is burnt.
// Its songs are listed with number and title (from the song list and the
// image's layout, read off the window's thread); a song is decoded, also off
// that thread, when it is chosen, and only that one is kept, with its length
// then shown. "Play", "Pause" and "Stop" and a position slider move the
// chosen song; the lyrics show in a large font with the sung part highlighted
// in time. The music plays on a thread of its own (and FluidSynth's); closing
// the window stops it. Where there is no audio device, the window says so and
// the lyrics still run in time.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/result.h"
#include "playback/live_playback.h"
#include "playback/preview_listing.h"
#include "playback/preview_song.h"
#include "playback/transport.h"
#include "sound/live_output.h"

class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QTreeWidget;

namespace zmr::gui {

class KaraokeLyricsView;

inline constexpr char kPreviewCaption[] = "Preview";

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    // What the window plays with; tests give a clock they move by hand and an
    // output of their own.
    struct Services {
        const PlaybackClock* clock = &steadyPlaybackClock();
        std::function<Result<LiveOutput>()> openOutput = [] { return openLiveOutput({}); };
    };

    explicit PreviewWindow(const QString& imagePath, QWidget* parent = nullptr);
    PreviewWindow(const QString& imagePath, Services services, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // The commands, as the buttons run them.
    void play();
    void pause();
    void stop();
    void seek(PlaybackTime position);
    // Shows where the song stands; the window's timer calls it 30 times a second.
    void refresh();

    // The songs located in the image; 0 until they have been read.
    int songCount() const { return listing_ ? static_cast<int>(listing_->songs.size()) : 0; }
    // Chooses a song; before the list is read, the song to choose once it is.
    // "Play" before the chosen song is decoded plays it once it is.
    void selectSong(int row);
    // Whether the chosen song is decoded and ready to play.
    bool songReady() const { return song_.has_value(); }
    const KaraokeLyricsView& lyricsView() const { return *lyrics_; }
    QString soundStatus() const;

    void done(int result) override;

private:
    void startReading(const QString& imagePath);
    void listingRead(std::shared_ptr<const PreviewListing> listing);
    void createControls();
    void songSelected();
    void songDecoded(int row, Result<PreviewSong> song);
    void ensureOutput();
    void endPlayback();

    Services services_;
    std::shared_ptr<const PreviewListing> listing_;
    int wantedRow_ = 0;          // the row to choose once the list is read
    bool playWhenReady_ = false;  // "Play" came before the chosen song was decoded
    uint64_t decodeRequest_ = 0;  // the last song chosen; earlier decodings are dropped
    std::optional<PreviewSong> song_;
    std::unique_ptr<Transport> transport_;
    std::optional<LiveOutput> output_;
    std::unique_ptr<LivePlayback> playback_;

    QTreeWidget* songList_ = nullptr;
    KaraokeLyricsView* lyrics_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace zmr::gui
