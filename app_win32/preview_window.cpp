#include "app_win32/preview_window.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

#include "app_win32/image_tool_dlg.h"
#include "app_win32/karaoke_lyrics_view.h"
#include "app_win32/resource_ids.h"
#include "fileio/wide_text.h"
#include "image/image_layout.h"
#include "playback/playback_time.h"

namespace zmr::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZmrPreviewWindow";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMilliseconds = 33;

// What the window's threads report: each is posted once its future holds the value.
enum PreviewMessage : UINT {
    kListingReadMessage = WM_APP + 1,
    kSongDecodedMessage,
};

enum Column { kNumberColumn, kTitleColumn, kLengthColumn };

// Runs `work` on a thread of its own; `window` hears `message` once it is
// done, also when it threw (the future then holds the exception).
template <class Work>
auto offThread(HWND window, UINT message, Work work) {
    return std::async(std::launch::async, [window, message, work = std::move(work)] {
        struct Notify {
            HWND window;
            UINT message;
            ~Notify() { PostMessageW(window, message, 0, 0); }
        } notify{window, message};
        return work();
    });
}

std::wstring timeText(PlaybackTime position, PlaybackTime length) {
    return wideFromUtf8(minutesSecondsOf(position) + " / " + minutesSecondsOf(length));
}

void setText(HWND control, const std::wstring& text) {
    wchar_t shown[64] = {};
    GetWindowTextW(control, shown, 64);
    if (text != shown) SetWindowTextW(control, text.c_str());  // unchanged text would flicker
}

void setCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void addColumn(HWND list, int column, const wchar_t* title, int width, int format) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.fmt = format;
    c.cx = width;
    c.pszText = const_cast<wchar_t*>(title);
    c.iSubItem = column;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
}

// The system's message font, which the controls take in place of the old default.
HFONT messageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly once it is registered
}

// Pixels at 96 dpi as the display has them.
int scaled(HWND window, int pixels) {
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(window, dc);
    return MulDiv(pixels, dpi, 96);
}

}  // namespace

PreviewWindow::PreviewWindow(HINSTANCE instance, HWND owner, const std::filesystem::path& image)
    : PreviewWindow(instance, owner, image, Services{}) {}

PreviewWindow::PreviewWindow(HINSTANCE instance, HWND owner, const std::filesystem::path& image, Services services)
    : services_(std::move(services)) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    registerClass(instance, &PreviewWindow::windowProc);
    const std::wstring caption = std::wstring(kPreviewCaption) + L" - " + image.wstring();
    CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    CW_USEDEFAULT, CW_USEDEFAULT, 760, 560, owner, nullptr, instance, this);
    if (!window_) throw std::runtime_error("the preview window cannot be made");
    SetWindowPos(window_, nullptr, 0, 0, scaled(window_, 760), scaled(window_, 560), SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(window_, SW_SHOW);
    const std::filesystem::path songList = image.parent_path() / kSongListFileName;
    reading_ = offThread(window_, kListingReadMessage, [image, songList] {
        return std::make_shared<const PreviewListing>(readPreviewListing(image, songList));
    });
}

PreviewWindow::~PreviewWindow() {
    if (window_) DestroyWindow(window_);
    endPlayback();
    if (font_) DeleteObject(font_);
}

void PreviewWindow::runModal() {
    HWND owner = window_ ? GetWindow(window_, GW_OWNER) : nullptr;
    if (owner) EnableWindow(owner, FALSE);
    MSG message;
    while (window_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // "Exit" or the system ends the program: the loop under this one hears it too.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            close();
            break;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (owner) EnableWindow(owner, TRUE);
}

LRESULT CALLBACK PreviewWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* preview = static_cast<PreviewWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(preview));
        preview->window_ = window;
    }
    auto* preview = reinterpret_cast<PreviewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!preview) return DefWindowProcW(window, message, wParam, lParam);
    // Nothing thrown may pass through the system's code that called this.
    LRESULT result = 0;
    try {
        result = preview->handle(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        preview->report(L"not enough memory for this command");
    } catch (const std::exception& e) {
        preview->report(wideFromUtf8(e.what()));
    } catch (...) {
        preview->report(L"an unexpected failure ended this command");
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        preview->window_ = nullptr;
    }
    return result;
}

LRESULT PreviewWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls();
        return 0;
    case WM_SIZE:
        placeControls();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {scaled(window_, 420), scaled(window_, 320)};
        return 0;
    }
    case WM_TIMER:
        if (wParam == kRefreshTimer) refresh();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PREVIEW_PLAY: play(); break;
        case IDC_PREVIEW_PAUSE: pause(); break;
        case IDC_PREVIEW_STOP: stop(); break;
        case IDOK: play(); break;       // Enter
        case IDCANCEL: close(); break;  // Escape
        default: break;
        }
        return 0;
    case WM_NOTIFY:
        notified(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == position_) scrolled(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        close();
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kRefreshTimer);
        endPlayback();
        output_.reset();
        return 0;
    case kListingReadMessage:
        listingRead();
        return 0;
    case kSongDecodedMessage:
        if (decoding_.valid()) songDecoded(decoding_.get());
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void PreviewWindow::createControls() {
    font_ = messageFont();
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    const auto child = [&](const wchar_t* type, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
        HWND control = CreateWindowExW(exStyle, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    };
    songList_ = child(WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                      IDC_PREVIEW_SONGS, WS_EX_CLIENTEDGE);
    SendMessageW(songList_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    addColumn(songList_, kNumberColumn, L"No.", scaled(window_, 60), LVCFMT_RIGHT);
    addColumn(songList_, kTitleColumn, L"Title", scaled(window_, 400), LVCFMT_LEFT);
    addColumn(songList_, kLengthColumn, L"Length", scaled(window_, 80), LVCFMT_RIGHT);
    lyricsView_ = createKaraokeLyricsView(window_, IDC_PREVIEW_LYRICS);
    playButton_ = child(L"BUTTON", L"Play", WS_TABSTOP | BS_PUSHBUTTON, IDC_PREVIEW_PLAY);
    pauseButton_ = child(L"BUTTON", L"Pause", WS_TABSTOP | BS_PUSHBUTTON, IDC_PREVIEW_PAUSE);
    stopButton_ = child(L"BUTTON", L"Stop", WS_TABSTOP | BS_PUSHBUTTON, IDC_PREVIEW_STOP);
    position_ = child(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_NOTICKS, IDC_PREVIEW_POSITION);
    SendMessageW(position_, TBM_SETLINESIZE, 0, 1000);
    SendMessageW(position_, TBM_SETPAGESIZE, 0, 10000);
    time_ = child(L"STATIC", timeText(PlaybackTime(0), PlaybackTime(0)).c_str(), SS_RIGHT | SS_NOPREFIX, IDC_PREVIEW_TIME);
    SetTimer(window_, kRefreshTimer, kRefreshMilliseconds, nullptr);
    refresh();
}

// The list takes two fifths of the height, the lyrics the rest above the row
// of buttons, position bar and time.
void PreviewWindow::placeControls() {
    if (!songList_) return;
    RECT client;
    GetClientRect(window_, &client);
    const int margin = scaled(window_, 8);
    const int rowHeight = scaled(window_, 28);
    const int buttonWidth = scaled(window_, 75);
    const int timeWidth = scaled(window_, 110);
    const int width = client.right - 2 * margin;
    const int rowTop = client.bottom - margin - rowHeight;
    const int listHeight = std::max(0, (rowTop - 3 * margin) * 2 / 5);
    MoveWindow(songList_, margin, margin, width, listHeight, TRUE);
    // The title takes the room the number and the length leave.
    const int others = static_cast<int>(SendMessageW(songList_, LVM_GETCOLUMNWIDTH, kNumberColumn, 0) +
                                        SendMessageW(songList_, LVM_GETCOLUMNWIDTH, kLengthColumn, 0));
    const int titleWidth = width - others - GetSystemMetrics(SM_CXVSCROLL) - 2 * GetSystemMetrics(SM_CXEDGE);
    SendMessageW(songList_, LVM_SETCOLUMNWIDTH, kTitleColumn, std::max(scaled(window_, 80), titleWidth));
    const int lyricsTop = 2 * margin + listHeight;
    MoveWindow(lyricsView_, margin, lyricsTop, width, std::max(0, rowTop - margin - lyricsTop), TRUE);
    int x = margin;
    for (HWND button : {playButton_, pauseButton_, stopButton_}) {
        MoveWindow(button, x, rowTop, buttonWidth, rowHeight, TRUE);
        x += buttonWidth + margin / 2;
    }
    const int timeLeft = client.right - margin - timeWidth;
    MoveWindow(position_, x, rowTop, std::max(0, timeLeft - margin / 2 - x), rowHeight, TRUE);
    MoveWindow(time_, timeLeft, rowTop + rowHeight / 4, timeWidth, rowHeight, TRUE);
}

void PreviewWindow::notified(const NMHDR& header) {
    if (header.hwndFrom != songList_) return;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool chosen = (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
        if (chosen && change.iItem >= 0) songSelected(change.iItem);
    } else if (header.code == LVN_ITEMACTIVATE) {
        play();  // double-click or Enter on a song
    }
}

// Dragging the thumb seeks as it goes; clicks and keys move it by steps.
void PreviewWindow::scrolled(int code) {
    if (code == TB_ENDTRACK) {
        dragging_ = false;
        return;
    }
    if (code == TB_THUMBPOSITION) return;  // the drag's end, already sought
    if (code == TB_THUMBTRACK) dragging_ = true;
    seek(PlaybackTime(SendMessageW(position_, TBM_GETPOS, 0, 0)));
}

void PreviewWindow::listingRead() {
    if (!reading_.valid()) return;
    listing_ = reading_.get();
    if (!listing_->problem.empty()) {
        report(wideFromUtf8(listing_->problem));
        return;
    }
    const auto songs = static_cast<int>(listing_->songs.size());
    SendMessageW(songList_, LVM_SETITEMCOUNT, static_cast<WPARAM>(songs), 0);
    for (int row = 0; row < songs; ++row) {
        const std::wstring number = std::to_wstring(listing_->songs[static_cast<size_t>(row)].number);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(number.c_str());
        SendMessageW(songList_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        setCell(songList_, row, kTitleColumn, wideFromUtf8(listing_->titles[static_cast<size_t>(row)]));
    }
    if (!listing_->complete) {
        report(L"Only the first " + std::to_wstring(songs) +
               L" songs could be found in the image (zmrimage verify tells more).");
    }
    if (wantedRow_ >= 0 && wantedRow_ < songs) selectSong(wantedRow_);
}

void PreviewWindow::selectSong(int row) {
    if (!listing_) {
        wantedRow_ = row;
        return;
    }
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    LVITEMW state{};
    state.stateMask = both;
    state.state = both;
    SendMessageW(songList_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageW(songList_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// Another song stops the one playing. Only the last song chosen is decoded:
// one chosen while another decodes waits for it to end.
void PreviewWindow::songSelected(int row) {
    endPlayback();
    song_.reset();
    SendMessageW(position_, TBM_SETRANGEMAX, TRUE, 0);
    wantedRow_ = row;
    refresh();
    if (!decoding_.valid()) startDecoding(row);
}

void PreviewWindow::startDecoding(int row) {
    decoding_ = offThread(window_, kSongDecodedMessage, [listing = listing_, row] {
        return Decoded{row, previewSongAt(*listing, static_cast<size_t>(row))};
    });
}

void PreviewWindow::songDecoded(Decoded decoded) {
    if (decoded.row != wantedRow_) {
        startDecoding(wantedRow_);
        return;
    }
    if (!decoded.song) {
        playWhenReady_ = false;
        const int32_t number = listing_->songs[static_cast<size_t>(decoded.row)].number;
        report(L"Song " + std::to_wstring(number) + L" cannot be read: " + wideFromUtf8(decoded.song.message()));
        return;
    }
    song_ = std::move(decoded.song).value();
    if (listing_->titles[static_cast<size_t>(decoded.row)].empty())
        setCell(songList_, decoded.row, kTitleColumn, wideFromUtf8(song_->lyrics.title()));
    setCell(songList_, decoded.row, kLengthColumn, wideFromUtf8(minutesSecondsOf(song_->length)));
    transport_ = std::make_unique<Transport>(*services_.clock, song_->length);
    SendMessageW(position_, TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(song_->length.count()));
    if (playWhenReady_) play();
    refresh();
}

// Opened on the first "Play"; without a device the lyrics run silent.
void PreviewWindow::ensureOutput() {
    if (output_) return;
    Result<LiveOutput> opened = services_.openOutput();
    output_ = opened ? std::move(opened).value() : LiveOutput{};
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
    if (!window_) return;
    const PlaybackTime length = transport_ ? transport_->length() : PlaybackTime(0);
    const Transport::State state = transport_ ? transport_->state() : Transport::State{};
    lyrics_ = karaokeLinesAt(song_ ? &song_->lyrics : nullptr, state.position);
    showKaraokeLines(lyricsView_, lyrics_);
    if (!dragging_) SendMessageW(position_, TBM_SETPOS, TRUE, static_cast<LPARAM>(state.position.count()));
    setText(time_, timeText(state.position, length));
    const bool enable[] = {transport_ && !state.playing, state.playing, transport_ && state.position > PlaybackTime(0)};
    const HWND buttons[] = {playButton_, pauseButton_, stopButton_};
    for (size_t i = 0; i < 3; ++i) {
        // A button that goes grey hands the keyboard to the list, not to nowhere.
        if (!enable[i] && GetFocus() == buttons[i]) SetFocus(songList_);
        EnableWindow(buttons[i], enable[i]);
    }
}

// The sound stops with the song: its thread ends and silences the output.
void PreviewWindow::endPlayback() {
    playback_.reset();
    transport_.reset();
}

void PreviewWindow::report(const std::wstring& message) {
    try {
        if (services_.reportError) {
            services_.reportError(message);
        } else {
            showErrorBox(message, std::wstring());
        }
    } catch (...) {
        // Nothing more can be told.
    }
}

// The owner is enabled first, so that it, not another program, becomes active.
void PreviewWindow::close() {
    if (!window_) return;
    if (HWND owner = GetWindow(window_, GW_OWNER)) EnableWindow(owner, TRUE);
    DestroyWindow(window_);
}

}  // namespace zmr::win32
