#include "app_win32/karaoke_lyrics_view.h"

#include <algorithm>
#include <initializer_list>
#include <new>
#include <string>
#include <utility>

#include "fileio/wide_text.h"

namespace zmr::win32 {
namespace {

constexpr wchar_t kClassName[] = L"ZmrKaraokeLyrics";
constexpr COLORREF kSungColour = RGB(0xd3, 0x54, 0x00);

struct Shown {
    std::wstring title, sung, unsung, next;
    bool operator==(const Shown&) const = default;
};

Shown* shownOf(HWND view) { return reinterpret_cast<Shown*>(GetWindowLongPtrW(view, GWLP_USERDATA)); }

// The system's message font (it has the Vietnamese letters) at `height` pixels.
HFONT lyricFont(int height, bool bold) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = -height;
    font.lfWidth = 0;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfQuality = CLEARTYPE_QUALITY;
    return CreateFontIndirectW(&font);
}

int textWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Centred pieces of one line, each in its colour; a line wider than the view
// starts at its left edge, so its beginning (the part being sung) shows.
void drawLine(HDC dc, const RECT& area, int y, std::initializer_list<std::pair<const std::wstring*, COLORREF>> pieces) {
    int width = 0;
    for (const auto& [text, colour] : pieces) width += textWidth(dc, *text);
    int x = std::max(area.left, area.left + (area.right - area.left - width) / 2);
    for (const auto& [text, colour] : pieces) {
        SetTextColor(dc, colour);
        TextOutW(dc, x, y, text->c_str(), static_cast<int>(text->size()));
        x += textWidth(dc, *text);
    }
}

template <class Draw>
void inFont(HDC dc, int height, bool bold, Draw drawWith) {
    HFONT font = lyricFont(height, bold);
    auto* before = static_cast<HFONT>(SelectObject(dc, font));
    drawWith();
    SelectObject(dc, before);
    DeleteObject(font);
}

// A fifth of the view's height: the lines grow with the window.
int fullLineHeight(const RECT& area) { return std::max(12, static_cast<int>(area.bottom - area.top) / 5); }

// Smaller where the wider of the two lines would not fit across the view.
int lineHeightFor(HDC dc, const RECT& area, const Shown& shown) {
    const int height = fullLineHeight(area);
    int widest = 0;
    inFont(dc, height, true, [&] {
        widest = std::max(textWidth(dc, shown.sung + shown.unsung), textWidth(dc, shown.next));
    });
    const int room = std::max(1, static_cast<int>(area.right - area.left) * 19 / 20);
    return widest <= room ? height : std::max(8, MulDiv(height, room, widest));
}

void draw(HDC dc, const RECT& area, const Shown& shown) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    const int lineHeight = lineHeightFor(dc, area, shown);
    const int titleHeight = std::max(10, fullLineHeight(area) / 2);
    const int gap = titleHeight * 2 / 3;
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    int y = area.top + gap;

    inFont(dc, titleHeight, true, [&] { drawLine(dc, area, y, {{&shown.title, text}}); });
    y += titleHeight + 2 * gap;
    inFont(dc, lineHeight, true, [&] { drawLine(dc, area, y, {{&shown.sung, kSungColour}, {&shown.unsung, text}}); });
    y += lineHeight + gap;
    inFont(dc, lineHeight, false, [&] { drawLine(dc, area, y, {{&shown.next, GetSysColor(COLOR_GRAYTEXT)}}); });
}

// Into a bitmap of the client's size first, then onto the screen in one copy.
void paint(HWND view) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(view, &ps);
    RECT client;
    GetClientRect(view, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom));
    auto* previous = static_cast<HBITMAP>(SelectObject(memory, bitmap));
    if (const Shown* shown = shownOf(view)) draw(memory, client, *shown);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(view, &ps);
}

LRESULT CALLBACK viewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        // Nothing thrown leaves here: without memory for it, the view is not made.
        SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new (std::nothrow) Shown));
        if (!shownOf(view)) return FALSE;
        break;
    case WM_NCDESTROY:
        delete shownOf(view);
        SetWindowLongPtrW(view, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1;  // the paint covers it all
    case WM_SIZE:
        InvalidateRect(view, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        paint(view);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(view, message, wParam, lParam);
}

void registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = viewProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);  // fails harmlessly once it is registered
}

}  // namespace

HWND createKaraokeLyricsView(HWND parent, int id) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    registerClass(instance);
    return CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void showKaraokeLines(HWND view, const KaraokeLines& lines) {
    Shown* shown = shownOf(view);
    if (!shown) return;
    Shown wanted{wideFromUtf8(lines.title), wideFromUtf8(lines.sung), wideFromUtf8(lines.unsung), wideFromUtf8(lines.next)};
    if (wanted == *shown) return;
    *shown = std::move(wanted);
    InvalidateRect(view, nullptr, FALSE);
}

}  // namespace zmr::win32
