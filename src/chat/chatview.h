#pragma once

#include "chatlinks.h"
#include "chatstyles.h"

#include <QList>
#include <QTextBrowser>
#include <QUrl>

#include <functional>

class QAction;
class QMenu;

// The chat view `mainchat`: coloured lines, inline smilies and clickable links.
// A line's colour belongs to its style, so a player's newest line recolours all of
// that player's earlier lines.
class ChatView : public QTextBrowser
{
    Q_OBJECT

public:
    // Opens a web address; returns false when it could not be handed on.
    using UrlOpener = std::function<bool(const QUrl &)>;

    static const QColor background;

    explicit ChatView(QWidget *parent = nullptr);

    // Appends the coded line `line` ("3+Ann chats: hi :)#12") in `colour`. Returns
    // false, showing nothing, when the line's code is not a decimal number.
    bool addlinetochat(const QString &line, const QColor &colour);

    // Opens the link stored at `index` of `chatlinks`; an entry that is not a web
    // address (or none) shows "Cannot open Webpage".
    void mainchatJump(int index);

    // Sets the size of every style (6 to 72) and lays the view out again.
    void setTextSize(int size);
    int textSize() const { return styles_.size(); }

    // Removes every line. `chatlinks` keeps its entries.
    void clearMainChat();

    // While set, new lines do not scroll the view to its end.
    void setScrollChatOff(bool off);
    bool scrollChatOff() const { return scrollChatOff_; }

    // The selected text, smilies written as their codes (":)#12").
    QString selectedPlainText() const;

    // Puts the selected text on the clipboard; nothing when nothing is selected.
    void copySelection();

    // Replaces the way links are opened (tests, or another handler).
    void setUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }

    const ChatLinks &chatlinks() const { return links_; }
    const ChatStyles &styles() const { return styles_; }

    QMenu *popupMenu() const { return popup_; }
    QAction *scrollChatOffAction() const { return scrollChatOff1_; }

Q_SIGNALS:
    // "Clear Main Chat" was chosen in the view's menu (the input box takes the focus).
    void clearRequested();
    void scrollChatOffToggled(bool off);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct ShownLink
    {
        int index;
        QString word;
    };

    void setUpDocument();
    void append(const QString &text, int style, const QString &href = QString());
    QTextCharFormat formatOf(int style) const;
    void restyle(int style);
    void linkClicked(const QUrl &url);
    void openWord(const QString &word);
    void showCannotOpen();
    QString plainText(int from, int to) const;

    ChatStyles styles_;
    ChatLinks links_;
    QList<ShownLink> shown_;
    std::array<QList<std::pair<int, int>>, ChatStyles::count> ranges_;
    UrlOpener opener_;
    bool scrollChatOff_ = false;
    QMenu *popup_ = nullptr;
    QAction *scrollChatOff1_ = nullptr;
};
