#pragma once
// The lyrics of the preview window, in a large font: the song's title, the
// current line with the characters already sung highlighted, and the next
// line, dimmed, below it.

#include <QWidget>

#include "playback/karaoke_lines.h"
#include "playback/lyric_timeline.h"

class QLabel;

namespace zmr::gui {

class KaraokeLyricsView : public QWidget {
    Q_OBJECT
public:
    explicit KaraokeLyricsView(QWidget* parent = nullptr);

    // What shows of `lyrics` at `position`; nothing without lyrics.
    void showAt(const LyricTimeline* lyrics, PlaybackTime position);

    // The parts shown, as plain text (for tests and screen readers).
    QString sungText() const { return sung_; }
    QString unsungText() const { return unsung_; }
    QString nextText() const { return next_; }

private:
    QLabel* title_ = nullptr;
    QLabel* current_ = nullptr;
    QLabel* nextLine_ = nullptr;
    QString sung_, unsung_, next_;
};

}  // namespace zmr::gui
