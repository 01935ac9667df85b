#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <array>

class ChatInput;
class ChatView;
class QAction;
class QActionGroup;
class QColorDialog;
class QMenu;
class QToolButton;

// The chat area of the main window: the view `mainchat`, the input box `mychat` and
// the smilies button `button_smilies`, with the chat's menu commands. It sends
// nothing itself: typed lines come out of sendMessage for the main window to send.
class ChatPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int defaultTextSize = 10;
    // The colour of system lines (maroon).
    static const QColor systemcolor;

    explicit ChatPanel(QWidget *parent = nullptr);

    ChatView *mainchat() const { return view_; }
    ChatInput *mychat() const { return input_; }
    QToolButton *smiliesButton() const { return smilies_; }
    QMenu *smiliesMenu() const { return smiliesMenu_; }

    // The connection the typed lines go out on.
    void setConnected(bool isconnected) { isconnected_ = isconnected; }
    void setMyslot(int myslot) { myslot_ = myslot; }

    // Appends a coded line; see ChatView::addlinetochat.
    bool addlinetochat(const QString &line, const QColor &colour);
    // Appends "0+" `text` in `systemcolor`.
    void addSystemLine(const QString &text);
    // The fields of a relayed "CMD_chat" or "CMD_action".
    void chatrecieved(const QString &data);
    // Sends the input box's line (Enter in the box).
    void sendit();

    // The player's chat colour (settings key "Textcolor"); black at start.
    QColor chatColour() const { return colour_; }
    void setChatColour(const QColor &colour);

    // Applies a text size to every style and checks the matching "Text Size" item
    // (none for sizes other than 8, 10, 12 and 14). Used by the settings; the menu
    // items also report settingsChanged.
    void setTextSize(int size);
    int textSize() const;

    // "Clear Main Chat": empties the view and gives the input box the focus.
    void clearMainChat();

    // "Text Color": opens the colour dialog on the current colour (not blocking).
    void textColorClick();
    QColorDialog *colorDialog() const { return colorDialog_; }

    // The items for the main window's "Options" menu.
    QAction *textColorAction() const { return textColor_; }
    QMenu *textSizeMenu() const { return textSizeMenu_; }
    QAction *scrollChatOffAction() const { return scrollChatOff2_; }
    QAction *clearMainChatAction() const { return clearMainChat_; }

Q_SIGNALS:
    // A message for the host: the wire text is `command` "+" fields joined by "+".
    void sendMessage(const QString &command, const QStringList &fields);
    // The chat colour or the text size was changed from the menu: save the settings.
    void settingsChanged();
    // The chat colour changed (from the menu or the settings); the phrase buttons
    // send in it too.
    void chatColourChanged(const QColor &colour);
    // The text size changed (from the menu or the settings).
    void textSizeChanged(int size);

private:
    void smileyChosen(int code);

    ChatView *view_ = nullptr;
    ChatInput *input_ = nullptr;
    QToolButton *smilies_ = nullptr;
    QMenu *smiliesMenu_ = nullptr;
    QColorDialog *colorDialog_ = nullptr;
    QAction *textColor_ = nullptr;
    QMenu *textSizeMenu_ = nullptr;
    QActionGroup *textSizes_ = nullptr;
    QAction *scrollChatOff2_ = nullptr;
    QAction *clearMainChat_ = nullptr;
    QColor colour_ = Qt::black;
    bool isconnected_ = false;
    int myslot_ = 0;
};
