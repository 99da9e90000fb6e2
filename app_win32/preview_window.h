#pragma once
// "Preview...": a window on the image in the output folder, to hear a song
// and watch its lyrics as the player shows them before the disc is burnt. Its
// songs are listed with number, title and length; the image is read, and a
// song decoded when it is chosen, on threads of their own, so the window
// keeps painting. "Play", "Pause", "Stop" and the position bar move the
// chosen song; the current and the next line show large with the sung part
// highlighted. The music goes to the system's MIDI synthesizer (midiOut)
// from the playback's own thread; the window's timer only redraws. Closing
// the window, or choosing another song, stops the sound.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "base/result.h"
#include "playback/karaoke_lines.h"
#include "playback/live_playback.h"
#include "playback/preview_listing.h"
#include "playback/preview_song.h"
#include "playback/transport.h"
#include "sound/live_output.h"

namespace zmr::win32 {

inline constexpr wchar_t kPreviewCaption[] = L"Preview";

class PreviewWindow {
public:
    // What the window plays with; tests give a clock they move by hand, an
    // output that records, and a reporter of their own.
    struct Services {
        const PlaybackClock* clock = &steadyPlaybackClock();
        std::function<Result<LiveOutput>()> openOutput = [] { return openLiveOutput({}); };
        // Tells the user what cannot be shown; the "Error" box when empty.
        std::function<void(const std::wstring& message)> reportError;
    };

    // Makes and shows the window over `owner` (may be null) and starts reading `image`.
    PreviewWindow(HINSTANCE instance, HWND owner, const std::filesystem::path& image);
    PreviewWindow(HINSTANCE instance, HWND owner, const std::filesystem::path& image, Services services);
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // Keeps `owner` disabled and runs the messages until the window is closed.
    void runModal();
    // Null once the window has been closed.
    HWND window() const { return window_; }

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
    bool songReady() const { return song_.has_value(); }
    bool playing() const { return transport_ && transport_->playing(); }
    // What the lyrics show.
    const KaraokeLines& shownLyrics() const { return lyrics_; }

private:
    struct Decoded {
        int row = 0;
        Result<PreviewSong> song = Failure{"not decoded"};
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void placeControls();
    void notified(const NMHDR& header);
    void scrolled(int code);
    void listingRead();
    void songSelected(int row);
    void startDecoding(int row);
    void songDecoded(Decoded decoded);
    void ensureOutput();
    void endPlayback();
    void report(const std::wstring& message);
    void close();

    Services services_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HWND songList_ = nullptr;
    HWND lyricsView_ = nullptr;
    HWND playButton_ = nullptr;
    HWND pauseButton_ = nullptr;
    HWND stopButton_ = nullptr;
    HWND position_ = nullptr;
    HWND time_ = nullptr;
    bool dragging_ = false;  // the position bar's thumb is held

    std::future<std::shared_ptr<const PreviewListing>> reading_;
    std::future<Decoded> decoding_;
    std::shared_ptr<const PreviewListing> listing_;
    int wantedRow_ = 0;           // the row to choose once read, or to decode next
    bool playWhenReady_ = false;  // "Play" came before the chosen song was decoded
    std::optional<PreviewSong> song_;
    std::optional<LiveOutput> output_;
    std::unique_ptr<Transport> transport_;
    std::unique_ptr<LivePlayback> playback_;
    KaraokeLines lyrics_;
};

}  // namespace zmr::win32
