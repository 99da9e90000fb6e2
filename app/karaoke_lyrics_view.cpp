#include "app/karaoke_lyrics_view.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zmr::gui {
namespace {

constexpr double kLyricScale = 2.2;  // the lyric lines' font against the window's
constexpr char kSungColour[] = "#d35400";

QFont scaled(QFont font, double scale, bool bold) {
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    return font;
}

}  // namespace

KaraokeLyricsView::KaraokeLyricsView(QWidget* parent) : QWidget(parent) {
    // The title and the lines are the song's own text: a title such as
    // "<img src=...>" shows as written, never as markup.
    title_ = new QLabel(this);
    title_->setTextFormat(Qt::PlainText);
    title_->setFont(scaled(font(), 1.3, true));
    current_ = new QLabel(this);
    current_->setFont(scaled(font(), kLyricScale, true));
    current_->setTextFormat(Qt::RichText);
    nextLine_ = new QLabel(this);
    nextLine_->setTextFormat(Qt::PlainText);
    nextLine_->setFont(scaled(font(), kLyricScale, false));
    nextLine_->setForegroundRole(QPalette::PlaceholderText);
    for (QLabel* label : {title_, current_, nextLine_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);  // a long line wraps instead of widening the window
        label->setMinimumHeight(label->fontMetrics().height());
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addSpacing(title_->fontMetrics().height());
    layout->addWidget(current_);
    layout->addWidget(nextLine_);
    layout->addStretch();
}

void KaraokeLyricsView::showAt(const LyricTimeline* lyrics, PlaybackTime position) {
    const KaraokeLines shown = karaokeLinesAt(lyrics, position);
    sung_ = QString::fromStdString(shown.sung);
    unsung_ = QString::fromStdString(shown.unsung);
    next_ = QString::fromStdString(shown.next);
    title_->setText(QString::fromStdString(shown.title));
    current_->setText(QString("<span style=\"color:%1\">%2</span>%3")
                          .arg(QLatin1String(kSungColour), sung_.toHtmlEscaped(), unsung_.toHtmlEscaped()));
    nextLine_->setText(next_);
}

}  // namespace zmr::gui
