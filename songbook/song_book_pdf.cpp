#include "songbook/song_book_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <new>
#include <string>

#include "songbook/song_book_labels.h"
#include "midi/time_units.h"

namespace zmr {
namespace {

// A4 in points, and the page's frame.
constexpr double kPageWidth = 595.276;
constexpr double kPageHeight = 841.890;
constexpr double kMarginSide = 42.0;
constexpr double kMarginTop = 46.0;
constexpr double kMarginBottom = 56.0;
constexpr double kPageNumberTop = kPageHeight - 36.0;
constexpr double kColumnGap = 22.0;
constexpr double kColumnWidth = (kPageWidth - 2 * kMarginSide - kColumnGap) / 2;
constexpr double kHeadingHeight = 30.0;

// One song: number, title and length on a line, the first lyric line below.
constexpr double kEntryHeight = 30.0;
constexpr double kNumberWidth = 36.0;
constexpr double kTextIndent = 42.0;
constexpr double kLengthWidth = 34.0;
constexpr double kSecondLineOffset = 14.5;

constexpr int kRowsPerColumn = static_cast<int>((kPageHeight - kMarginTop - kMarginBottom - kHeadingHeight) / kEntryHeight);

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
struct LayoutDeleter {
    void operator()(PangoLayout* l) const { g_object_unref(l); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* f) const { pango_font_description_free(f); }
};
using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

// Called from inside cairo, which is C: nothing may be thrown through it.
// Running out of memory is cairo's own error, and the book then fails with it.
cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) noexcept {
    try {
        auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
        bytes->insert(bytes->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    } catch (...) {
        return CAIRO_STATUS_WRITE_ERROR;
    }
}

// The book is drawn in memory: the one failure with a kind of its own is running out of it.
FailureKind cairoFailureKind(cairo_status_t status) {
    return status == CAIRO_STATUS_NO_MEMORY ? FailureKind::OutOfMemory : FailureKind::Other;
}

// Draws one line of text in a box; what does not fit ends in an ellipsis.
class TextPen {
public:
    explicit TextPen(cairo_t* cr) : cr_(cr), layout_(pango_cairo_create_layout(cr)) {
        // A PDF's unit is the point: font sizes in points must not be scaled to 96 dpi.
        pango_cairo_context_set_resolution(pango_layout_get_context(layout_.get()), 72.0);
        pango_layout_context_changed(layout_.get());
        pango_layout_set_single_paragraph_mode(layout_.get(), TRUE);
        pango_layout_set_ellipsize(layout_.get(), PANGO_ELLIPSIZE_END);
    }

    // Set field by field rather than through a description string, which would
    // carry the size in the process's locale: under a decimal comma pango reads
    // "11,000000" as part of the family name and loses size and weight.
    void style(PangoWeight weight, double size, double grey = 0.0, bool italic = false) {
        std::unique_ptr<PangoFontDescription, FontDeleter> font(pango_font_description_new());
        pango_font_description_set_family(font.get(), kSongBookFont);
        pango_font_description_set_weight(font.get(), weight);
        pango_font_description_set_style(font.get(), italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        pango_font_description_set_variant(font.get(), PANGO_VARIANT_NORMAL);
        pango_font_description_set_stretch(font.get(), PANGO_STRETCH_NORMAL);
        pango_font_description_set_size(font.get(), static_cast<gint>(size * PANGO_SCALE + 0.5));
        pango_layout_set_font_description(layout_.get(), font.get());
        grey_ = grey;
    }

    void draw(const std::string& text, double x, double y, double width, PangoAlignment alignment = PANGO_ALIGN_LEFT) {
        pango_layout_set_width(layout_.get(), static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_alignment(layout_.get(), alignment);
        pango_layout_set_text(layout_.get(), text.c_str(), -1);
        cairo_set_source_rgb(cr_, grey_, grey_, grey_);
        cairo_move_to(cr_, x, y);
        pango_cairo_show_layout(cr_, layout_.get());
    }

private:
    cairo_t* cr_;
    Layout layout_;
    double grey_ = 0.0;
};

class BookPainter {
public:
    explicit BookPainter(cairo_t* cr) : cr_(cr), pen_(cr) {}

    void titlePage(const SongBook& book) {
        const double width = kPageWidth - 2 * kMarginSide;
        pen_.style(PANGO_WEIGHT_NORMAL, 14, 0.35);
        pen_.draw(kSongBookHeading, kMarginSide, 250, width, PANGO_ALIGN_CENTER);
        pen_.style(PANGO_WEIGHT_BOLD, 32);
        pen_.draw(book.volumeId, kMarginSide, 276, width, PANGO_ALIGN_CENTER);
        pen_.style(PANGO_WEIGHT_NORMAL, 14);
        pen_.draw(songCountText(book.songs.size()), kMarginSide, 338, width, PANGO_ALIGN_CENTER);
        pen_.style(PANGO_WEIGHT_NORMAL, 12);
        pen_.draw(book.date, kMarginSide, 362, width, PANGO_ALIGN_CENTER);
        endPage();
    }

    void section(const char* heading, const SongBook& book, std::span<const size_t> order) {
        const size_t perPage = static_cast<size_t>(2 * kRowsPerColumn);
        const size_t pages = order.empty() ? 1 : (order.size() + perPage - 1) / perPage;
        for (size_t page = 0; page < pages; ++page) {
            const size_t first = page * perPage;
            pen_.style(PANGO_WEIGHT_BOLD, 16);
            pen_.draw(heading, kMarginSide, kMarginTop, kPageWidth - 2 * kMarginSide);
            for (size_t i = first; i < order.size() && i < first + perPage; ++i) {
                const size_t slot = i - first;
                const double x = kMarginSide + static_cast<double>(slot / kRowsPerColumn) * (kColumnWidth + kColumnGap);
                const double y = kMarginTop + kHeadingHeight + static_cast<double>(slot % kRowsPerColumn) * kEntryHeight;
                entry(book.songs[order[i]], x, y);
            }
            endPage();
        }
    }

    int pages() const { return pages_; }

private:
    void entry(const SongBookEntry& song, double x, double y) {
        pen_.style(PANGO_WEIGHT_BOLD, 11);
        pen_.draw(std::to_string(song.number), x, y, kNumberWidth, PANGO_ALIGN_RIGHT);
        pen_.draw(song.title, x + kTextIndent, y, kColumnWidth - kTextIndent - kLengthWidth - 4);
        pen_.style(PANGO_WEIGHT_NORMAL, 9.5);
        pen_.draw(minutesSeconds(song.lengthUnits), x + kColumnWidth - kLengthWidth, y + 1.5, kLengthWidth,
                  PANGO_ALIGN_RIGHT);
        pen_.style(PANGO_WEIGHT_NORMAL, 8.5, 0.33, true);
        pen_.draw(song.firstLine, x + kTextIndent, y + kSecondLineOffset, kColumnWidth - kTextIndent);
        // A hairline under each song guides the eye along a row.
        cairo_set_source_rgb(cr_, 0.8, 0.8, 0.8);
        cairo_set_line_width(cr_, 0.4);
        cairo_move_to(cr_, x, y + kEntryHeight - 2);
        cairo_line_to(cr_, x + kColumnWidth, y + kEntryHeight - 2);
        cairo_stroke(cr_);
    }

    void endPage() {
        ++pages_;
        if (pages_ > 1) {  // the title page goes unnumbered
            pen_.style(PANGO_WEIGHT_NORMAL, 9);
            pen_.draw(std::to_string(pages_), kMarginSide, kPageNumberTop, kPageWidth - 2 * kMarginSide,
                      PANGO_ALIGN_CENTER);
        }
        cairo_show_page(cr_);
    }

    cairo_t* cr_;
    TextPen pen_;
    int pages_ = 0;
};

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
#define ZMR_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZMR_LEAK_CHECKED 1
#endif
#endif
#ifdef ZMR_LEAK_CHECKED
// Fontconfig, under pango, keeps its configuration and font cache for the
// whole life of the process and never frees them: not leaks of ours, but the
// leak checker of sanitized builds would stop every program that draws a book.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

Result<SongBookPdf> songBookPdf(const SongBook& book, std::span<const size_t> byTitle) {
    SongBookPdf pdf;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_pdf_surface_create_for_stream(appendBytes, &pdf.bytes, kPageWidth, kPageHeight));
    const std::string title = book.volumeId + " \xE2\x80\x93 " + kSongBookHeading;
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "zmrimage " ZMR_VERSION);
    {
        std::unique_ptr<cairo_t, ContextDeleter> cr(cairo_create(surface.get()));
        BookPainter painter(cr.get());
        painter.titlePage(book);
        painter.section(kByTitleHeading, book, byTitle);
        std::vector<size_t> byNumber(book.songs.size());
        for (size_t i = 0; i < byNumber.size(); ++i) byNumber[i] = i;
        painter.section(kByNumberHeading, book, byNumber);
        pdf.pages = painter.pages();
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            return Failure{std::string("cannot draw the song book: ") + cairo_status_to_string(cairo_status(cr.get())),
                           cairoFailureKind(cairo_status(cr.get()))};
    }
    cairo_surface_finish(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return Failure{std::string("cannot write the song book as PDF: ") +
                       cairo_status_to_string(cairo_surface_status(surface.get())),
                       cairoFailureKind(cairo_surface_status(surface.get()))};
    return pdf;
}

}  // namespace zmr
