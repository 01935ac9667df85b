#include "wordsview.h"

#include "artwork.h"
#include "legibility.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QToolTip>

namespace {

// The verdict colours stay as they are, but some barely show on the dark green: a line
// without the contrast of body text gets a band across the panel, pale behind dark
// words (black, maroon), deep green behind light ones (orange). Invalid: no band.
QColor bandFor(const QColor &text)
{
    if (Legibility::contrastRatio(text, WordsView::background) >= Legibility::minimumTextContrast)
        return QColor();
    return Legibility::relativeLuminance(text) < Legibility::relativeLuminance(WordsView::background)
        ? WordsView::backdrop
        : WordsView::deepBackdrop;
}

} // namespace

class WordsView::MarkColumn : public QWidget
{
public:
    explicit MarkColumn(WordsView *view)
        : QWidget(view)
        , view_(view)
    {
        setObjectName(QStringLiteral("words_marks"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        view_->paintMarks(p, event->rect());
    }

    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(event);
            const int line = view_->lineAt(help->pos().y());
            const QString text = line < 0 ? QString() : VerdictMark::description(view_->lineMark(line));
            if (text.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), text, this);
            return true;
        }
        return QWidget::event(event);
    }

private:
    WordsView *view_;
};

WordsView::WordsView(QWidget *parent)
    : QTextEdit(parent)
    , marks_(new MarkColumn(this))
{
    setObjectName(QStringLiteral("richedit_words"));
    setAccessibleName(QStringLiteral("Your words this round"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::TabFocus);
    setFont(Artwork::uiFont(13));
    QPalette pal = palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, VerdictMark::orange);
    setPalette(pal);
    document()->setMaximumBlockCount(maxLines);
    document()->setDocumentMargin(3);
    setViewportMargins(markColumnWidth, 0, 0, 0);

    auto refresh = [this] { marks_->update(); };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, marks_, refresh);
    connect(document(), &QTextDocument::contentsChanged, marks_, refresh);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::update, marks_, refresh);
}

void WordsView::setTextScale(double scale)
{
    setFont(Artwork::uiFont(qRound(13 * qBound(1.0, scale, 1.5))));
}

void WordsView::addword(const QString &text, const QColor &colour, VerdictMark::Kind mark)
{
    setUpdatesEnabled(false);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    // A twelve-letter word with its points is wider than the panel: it is drawn a little
    // narrower so that it stays on one line. Only longer (no real) words wrap.
    const int natural = fontMetrics().horizontalAdvance(text);
    const int room = textWidth();
    if (natural > room && room > 0)
        format.setFontStretch(qMax(minStretch, room * 100 / natural));
    QTextBlockFormat line;
    if (const QColor band = bandFor(colour); band.isValid())
        line.setBackground(band);
    if (empty_)
        cursor.setBlockFormat(line);
    else
        cursor.insertBlock(line, format);
    cursor.insertText(text, format);
    cursor.block().setUserState(int(mark));
    empty_ = false;
    setTextCursor(cursor);
    setUpdatesEnabled(true);
    ensureCursorVisible();
    marks_->update();
}

int WordsView::textWidth() const
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return width() - 2 * frameWidth() - markColumnWidth - scrollBar - 2 * int(document()->documentMargin())
        - 2;
}

void WordsView::clearWords()
{
    clear();
    empty_ = true;
    marks_->update();
}

int WordsView::lineCount() const
{
    return empty_ ? 0 : document()->blockCount();
}

QString WordsView::lineText(int line) const
{
    return line >= 0 && line < lineCount() ? document()->findBlockByNumber(line).text() : QString();
}

QColor WordsView::lineColour(int line) const
{
    if (line < 0 || line >= lineCount())
        return QColor();
    const QTextBlock block = document()->findBlockByNumber(line);
    const QTextBlock::iterator it = block.begin();
    return it.atEnd() ? block.charFormat().foreground().color()
                      : it.fragment().charFormat().foreground().color();
}

QColor WordsView::lineBackdrop(int line) const
{
    if (line < 0 || line >= lineCount())
        return QColor();
    const QTextBlockFormat format = document()->findBlockByNumber(line).blockFormat();
    return format.hasProperty(QTextFormat::BackgroundBrush) ? format.background().color() : QColor();
}

VerdictMark::Kind WordsView::lineMark(int line) const
{
    if (line < 0 || line >= lineCount())
        return VerdictMark::Kind::None;
    const int state = document()->findBlockByNumber(line).userState();
    return state < 0 ? VerdictMark::Kind::None : VerdictMark::Kind(state);
}

void WordsView::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    marks_->setGeometry(area.left(), area.top(), markColumnWidth, area.height());
}

void WordsView::paintMarks(QPainter &p, const QRect &area) const
{
    p.fillRect(area, background);
    if (empty_)
        return;
    QFont font;
    font.setFamily(VerdictMark::fontFamily());
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(VerdictMark::lightYellow);
    p.setRenderHint(QPainter::TextAntialiasing);

    const int scroll = verticalScrollBar()->value();
    const QAbstractTextDocumentLayout *layout = document()->documentLayout();
    for (QTextBlock block = cursorForPosition(QPoint(0, 0)).block(); block.isValid(); block = block.next()) {
        const QRectF bounds = layout->blockBoundingRect(block);
        const qreal top = bounds.top() - scroll;
        if (top > area.bottom())
            break;
        const int state = block.userState();
        if (state <= 0 || !block.layout() || block.layout()->lineCount() == 0)
            continue;
        const QTextLine first = block.layout()->lineAt(0);
        const QRectF line(0, top + first.y(), markColumnWidth, first.height());
        if (line.bottom() < area.top())
            continue;
        p.drawText(line, Qt::AlignCenter, VerdictMark::sign(VerdictMark::Kind(state)));
    }
}

int WordsView::lineAt(int y) const
{
    if (empty_)
        return -1;
    const QTextBlock block = cursorForPosition(QPoint(0, y)).block();
    if (!block.isValid())
        return -1;
    const QRectF bounds = document()->documentLayout()->blockBoundingRect(block);
    const qreal top = bounds.top() - verticalScrollBar()->value();
    return y >= top && y < top + bounds.height() ? block.blockNumber() : -1;
}
