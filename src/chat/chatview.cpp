#include "chatview.h"

#include "boxiconname.h"
#include "codedline.h"
#include "smileypictures.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

namespace {

const QString smileyScheme = QStringLiteral("smiley");
const QString linkScheme = QStringLiteral("link");
// The picture number of a smiley image, so that copying writes its code.
constexpr int smileyProperty = QTextFormat::UserProperty + 1;

QUrl smileyUrl(int picture)
{
    return QUrl(smileyScheme + QLatin1Char(':') + QString::number(picture));
}

} // namespace

const QColor ChatView::background(226, 228, 182);

ChatView::ChatView(QWidget *parent)
    : QTextBrowser(parent)
    , styles_(Qt::black)
    , opener_([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("mainchat"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    setFrameShape(QFrame::StyledPanel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::Highlight, QColor(60, 110, 170));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(pal);
    setUpDocument();

    connect(this, &QTextBrowser::anchorClicked, this, &ChatView::linkClicked);

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("popup_mainchat"));
    QAction *selectAll = popup_->addAction(QStringLiteral("Select All"));
    selectAll->setObjectName(QStringLiteral("SelectAll1"));
    connect(selectAll, &QAction::triggered, this, [this] {
        QTextBrowser::selectAll();
        viewport()->update();
    });
    QAction *copy = popup_->addAction(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("Copy1"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(copy, &QAction::triggered, this, &ChatView::copySelection);
    QAction *clearChat = popup_->addAction(QStringLiteral("Clear Main Chat"));
    clearChat->setObjectName(QStringLiteral("ClearMainChat2"));
    connect(clearChat, &QAction::triggered, this, [this] {
        clearMainChat();
        Q_EMIT clearRequested();
    });
    popup_->addSeparator();
    scrollChatOff1_ = popup_->addAction(QStringLiteral("Scroll Chat Off"));
    scrollChatOff1_->setObjectName(QStringLiteral("ScrollChatOff1"));
    scrollChatOff1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    scrollChatOff1_->setShortcutContext(Qt::WidgetShortcut);
    scrollChatOff1_->setCheckable(true);
    connect(scrollChatOff1_, &QAction::triggered, this, [this] { setScrollChatOff(!scrollChatOff_); });
}

void ChatView::setUpDocument()
{
    QTextDocument *doc = document();
    doc->setUndoRedoEnabled(false);
    QTextFrameFormat root = doc->rootFrame()->frameFormat();
    root.setLeftMargin(5);
    root.setRightMargin(5);
    root.setTopMargin(2);
    root.setBottomMargin(2);
    doc->rootFrame()->setFrameFormat(root);
    const qreal dpr = devicePixelRatioF();
    for (int i = 0; i < SmileyPictures::count; ++i)
        doc->addResource(QTextDocument::ImageResource, smileyUrl(i), SmileyPictures::picture(i, dpr));
}

QTextCharFormat ChatView::formatOf(int style) const
{
    const ChatStyle &s = styles_.style(style);
    QTextCharFormat f;
    f.setFontFamilies({s.family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    f.setFontPointSize(s.size);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    f.setForeground(s.colour);
    return f;
}

void ChatView::append(const QString &text, int style, const QString &href)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    const int start = cursor.position();
    QTextCharFormat f = formatOf(style);
    QString shown = text;
    // Line breaks and other control characters from a peer never break the line.
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter)
            c = QLatin1Char(' ');
    }
    if (!href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(href);
    }
    cursor.insertText(shown, f);
    auto &ranges = ranges_[std::size_t(style)];
    if (!ranges.isEmpty() && ranges.back().second == start)
        ranges.back().second = cursor.position();
    else
        ranges.append({start, cursor.position()});
}

bool ChatView::addlinetochat(const QString &line, const QColor &colour)
{
    const auto coded = CodedLine::parse(line);
    if (!coded)
        return false;

    if (styles_.setLineColour(coded->style, colour))
        restyle(coded->style);

    QScrollBar *bar = verticalScrollBar();
    const int keptScroll = bar->value();

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // The whole line is one edit, laid out once: inserted word by word, a line of many
    // thousands of words (a peer's pasted text, or a flood of blanks) took time growing
    // with the square of its length, and froze the window for minutes.
    cursor.beginEditBlock();
    if (!document()->isEmpty())
        cursor.insertBlock();

    // Plain words in a row go in as one run.
    QString words = coded->head + QLatin1Char(' ');
    auto flushWords = [&] {
        if (!words.isEmpty())
            append(words, coded->style);
        words.clear();
    };
    for (const ChatItem &item : coded->items) {
        if (item.kind == ChatItem::Word) {
            words += item.text;
            continue;
        }
        flushWords();
        switch (item.kind) {
        case ChatItem::Word:
            break;
        case ChatItem::Link: {
            const int index = links_.store(item.text);
            shown_.append({index, item.text});
            // The link's own space is not underlined.
            const QString word = item.text.endsWith(QLatin1Char(' ')) ? item.text.chopped(1) : item.text;
            append(word, ChatStyles::linkStyle,
                linkScheme + QLatin1Char(':') + QString::number(shown_.size() - 1));
            if (word.size() < item.text.size())
                words = QStringLiteral(" ");
            break;
        }
        case ChatItem::Smiley: {
            QTextImageFormat image;
            image.setName(smileyUrl(item.picture).toString());
            image.setWidth(SmileyPictures::width);
            image.setHeight(SmileyPictures::height);
            image.setVerticalAlignment(QTextCharFormat::AlignMiddle);
            image.setProperty(smileyProperty, item.picture);
            cursor.movePosition(QTextCursor::End);
            cursor.insertImage(image);
            break;
        }
        }
    }
    flushWords();
    cursor.endEditBlock();

    if (scrollChatOff_)
        bar->setValue(keptScroll);
    else
        bar->setValue(bar->maximum());
    return true;
}

void ChatView::restyle(int style)
{
    const QTextCharFormat f = formatOf(style);
    QTextCursor cursor(document());
    // One edit block: the view is laid out once, not once per run.
    cursor.beginEditBlock();
    for (const auto &[start, end] : std::as_const(ranges_[std::size_t(style)])) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(f);
    }
    cursor.endEditBlock();
}

void ChatView::setTextSize(int size)
{
    if (!styles_.setSize(size))
        return;
    for (int style = 0; style < ChatStyles::count; ++style)
        restyle(style);
}

void ChatView::clearMainChat()
{
    clear();
    for (auto &ranges : ranges_)
        ranges.clear();
    shown_.clear();
    setUpDocument();
}

void ChatView::setScrollChatOff(bool off)
{
    scrollChatOff1_->setChecked(off);
    if (off == scrollChatOff_)
        return;
    scrollChatOff_ = off;
    Q_EMIT scrollChatOffToggled(off);
}

void ChatView::linkClicked(const QUrl &url)
{
    if (url.scheme() != linkScheme)
        return;
    bool ok = false;
    const qsizetype shown = url.path().toLongLong(&ok);
    if (!ok || shown < 0 || shown >= shown_.size())
        return;
    const ShownLink &link = shown_.at(shown);
    // After the table wrapped, the entry may hold a newer link: open what was shown.
    if (links_.entry(link.index) == link.word)
        mainchatJump(link.index);
    else
        openWord(link.word);
}

void ChatView::mainchatJump(int index)
{
    openWord(links_.entry(index));
}

void ChatView::openWord(const QString &word)
{
    const QUrl url = ChatLinks::webAddress(word);
    if (url.isEmpty() || !opener_ || !opener_(url))
        showCannotOpen();
}

void ChatView::showCannotOpen()
{
    const QString title = window()->windowTitle();
    auto *box
        = new QMessageBox(QMessageBox::Information, title.isEmpty() ? QStringLiteral("Wendlewick") : title,
            QStringLiteral("Cannot open Webpage"), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("cannotOpenWebpageBox"));
    nameBoxIcon(box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QString ChatView::plainText(int from, int to) const
{
    QString out;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        if (block.position() > from)
            out += QLatin1Char('\n');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (start >= end)
                continue;
            const QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat() && f.hasProperty(smileyProperty)) {
                for (int i = start; i < end; ++i)
                    out += QStringLiteral(":)#") + QString::number(f.intProperty(smileyProperty) + 10);
            } else {
                out += fragment.text().mid(start - fragment.position(), end - start);
            }
        }
    }
    return out;
}

QString ChatView::selectedPlainText() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return {};
    return plainText(c.selectionStart(), c.selectionEnd());
}

void ChatView::copySelection()
{
    if (!textCursor().hasSelection())
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selectedPlainText());
}

QMimeData *ChatView::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(selectedPlainText());
    return data;
}

void ChatView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

void ChatView::contextMenuEvent(QContextMenuEvent *event)
{
    popup_->popup(event->globalPos());
    event->accept();
}
