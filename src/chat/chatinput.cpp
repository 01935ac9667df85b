#include "chatinput.h"

#include "artwork.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

const QString ChatInput::placeholder = QStringLiteral("<Enter Chat Here>");

ChatInput::ChatInput(QWidget *parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("mychat"));
    setAccessibleName(QStringLiteral("Chat message"));
    setPlaceholderText(placeholder);
    setMaxLength(maxLineLength);
    setFont(Artwork::uiFont(13));
    setTextColour(Qt::black);

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("popup_mychat"));
    QAction *paste = popup_->addAction(QStringLiteral("Paste"));
    paste->setObjectName(QStringLiteral("Paste1"));
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    paste->setShortcutContext(Qt::WidgetShortcut);
    connect(paste, &QAction::triggered, this, &ChatInput::pasteAtEnd);
}

void ChatInput::setTextColour(const QColor &colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Text, colour);
    // The placeholder stays readable whatever colour the player chose.
    pal.setColor(QPalette::PlaceholderText, QColor(128, 128, 128));
    setPalette(pal);
}

void ChatInput::dropPlaceholderText()
{
    // Text set from elsewhere (a paste of the hint itself) never goes out as a line.
    if (text() == placeholder)
        clear();
}

void ChatInput::pasteAtEnd()
{
    QString pasted = QGuiApplication::clipboard()->text();
    if (pasted.isEmpty())
        return;
    for (QChar &c : pasted) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    setText(text() + pasted);
    deselect();
    end(false);
}

void ChatInput::insertSmiley(int code)
{
    dropPlaceholderText();
    setText(text() + QStringLiteral(":)#") + QString::number(code));
    deselect();
    end(false);
}

void ChatInput::keyPressEvent(QKeyEvent *event)
{
    dropPlaceholderText();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT sendRequested();
        return;
    }
    // Ctrl+V is the pop-up menu's "Paste": the text goes to the end of the line, with
    // its line breaks and control characters made blanks, wherever the caret stands.
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        pasteAtEnd();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ChatInput::contextMenuEvent(QContextMenuEvent *event)
{
    popup_->popup(event->globalPos());
    event->accept();
}
