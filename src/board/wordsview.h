#pragma once

#include "verdictmark.h"

#include <QColor>
#include <QTextEdit>

// `richedit_words`: the words panel's list of tried words, one line each, in the
// colour of its verdict, on the board's dark green in Arial 13 pixels. Lines are only
// ever appended, and the view follows the newest. A narrow column at the left shows
// each line's verdict sign, outside the text, so a line reads exactly as written (and
// copies so); the oldest lines go once there are maxLines. A line whose colour would
// not read on the green lies on a band across the panel (lineBackdrop).
class WordsView : public QTextEdit
{
    Q_OBJECT

public:
    // Draws the words `scale` times their size (1 to 1.5).
    void setTextScale(double scale);

    static constexpr int maxLines = 5000;
    static constexpr int markColumnWidth = 15;
    // The narrowest a long line is drawn, in per cent of its width.
    static constexpr int minStretch = 65;
    static inline const QColor background {76, 106, 76};
    // The bands across the panel behind lines whose colour would not read on the
    // background: pale behind dark words, deep green behind light ones.
    static inline const QColor backdrop {226, 228, 182};
    static inline const QColor deepBackdrop {30, 44, 30};

    explicit WordsView(QWidget *parent = nullptr);

    // Appends `text` as a new line in `colour`, plain (no bold, italic or underline),
    // with the sign of `mark` beside it.
    void addword(const QString &text, const QColor &colour, VerdictMark::Kind mark = VerdictMark::Kind::None);
    void clearWords();

    int lineCount() const;
    QString lineText(int line) const;
    QColor lineColour(int line) const;
    // The band behind a line, or an invalid colour.
    QColor lineBackdrop(int line) const;
    VerdictMark::Kind lineMark(int line) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class MarkColumn;
    friend class MarkColumn;

    void paintMarks(QPainter &p, const QRect &area) const;
    // The width a line has before it wraps.
    int textWidth() const;
    // The line at a height of the mark column, -1 for none.
    int lineAt(int y) const;

    MarkColumn *marks_;
    bool empty_ = true;
};
