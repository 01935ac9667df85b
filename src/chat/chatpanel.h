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

    ChatView *mainchat() const { return m_view; }
    ChatInput *mychat() const { return m_input; }
    QToolButton *smiliesButton() const { return m_smilies; }
    QMenu *smiliesMenu() const { return m_smiliesMenu; }

    // The connection the typed lines go out on.
    void setConnected(bool isconnected) { m_isconnected = isconnected; }
    void setMyslot(int myslot) { m_myslot = myslot; }

    // Appends a coded line; see ChatView::addlinetochat.
    bool addlinetochat(const QString &line, const QColor &colour);
    // Appends "0+" `text` in `systemcolor`.
    void addSystemLine(const QString &text);
    // The fields of a relayed "CMD_chat" or "CMD_action".
    void chatrecieved(const QString &data);
    // Sends the input box's line (Enter in the box).
    void sendit();

    // The player's chat colour (settings key "Textcolor"); black at start.
    QColor chatColour() const { return m_colour; }
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
    QColorDialog *colorDialog() const { return m_colorDialog; }

    // The items for the main window's "Options" menu.
    QAction *textColorAction() const { return m_textColor; }
    QMenu *textSizeMenu() const { return m_textSizeMenu; }
    QAction *scrollChatOffAction() const { return m_scrollChatOff2; }
    QAction *clearMainChatAction() const { return m_clearMainChat; }

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

    ChatView *m_view = nullptr;
    ChatInput *m_input = nullptr;
    QToolButton *m_smilies = nullptr;
    QMenu *m_smiliesMenu = nullptr;
    QColorDialog *m_colorDialog = nullptr;
    QAction *m_textColor = nullptr;
    QMenu *m_textSizeMenu = nullptr;
    QActionGroup *m_textSizes = nullptr;
    QAction *m_scrollChatOff2 = nullptr;
    QAction *m_clearMainChat = nullptr;
    QColor m_colour = Qt::black;
    bool m_isconnected = false;
    int m_myslot = 0;
};
