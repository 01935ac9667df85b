#pragma once

#include <QLineEdit>

class QMenu;

// The chat input box `mychat`. Enter asks for the line to be sent; the box shows
// "<Enter Chat Here>" while empty.
class ChatInput : public QLineEdit
{
    Q_OBJECT

public:
    static const QString placeholder;
    // Longer lines are cut as they are typed or pasted: the host takes no message
    // near its 64 KiB bound, and it would close the connection of a player whose
    // pasted text passed it.
    static constexpr int maxLineLength = 4000;

    explicit ChatInput(QWidget *parent = nullptr);

    // The colour typed text is shown in (the player's chat colour).
    void setTextColour(const QColor &colour);

    // "Paste" (also Ctrl+V): appends the clipboard's text at the end, caret after it.
    void pasteAtEnd();

    // Appends a smiley code (10 to 27) as ":)#<code>", caret after it.
    void insertSmiley(int code);

    QMenu *popupMenu() const { return popup_; }

Q_SIGNALS:
    // Enter was pressed; the key itself is swallowed.
    void sendRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void dropPlaceholderText();

    QMenu *popup_ = nullptr;
};
