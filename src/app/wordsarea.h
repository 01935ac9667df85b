#pragma once

#include <QObject>
#include <QString>

#include <array>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QWidget;

// The right part of the board panel below the roster: the words panel, the ten
// quick-phrase buttons, the chat view `mainchat` (in `panel_chat`), the chat input
// `mychat` and the smilies button, with the pop-up menus of the chat view, the chat
// input and the chatter sounds. The chat view and input start as placeholders with
// their menus attached; the chat's own widgets replace them.
class ChatArea : public QObject
{
    Q_OBJECT

public:
    static constexpr int phraseButtonCount = 10;
    static constexpr int chatterSoundCount = 20;

    explicit ChatArea(QWidget *panel);

    QFrame *panel_words = nullptr;
    QLabel *label_found = nullptr;
    QTextEdit *richedit_words = nullptr;
    std::array<QPushButton *, phraseButtonCount> b_phrase {};
    QFrame *panel_chat = nullptr;
    QPushButton *button_smilies = nullptr;

    QMenu *popup_mainchat = nullptr;
    QAction *SelectAll1 = nullptr;
    QAction *Copy1 = nullptr;
    QAction *ClearMainChat2 = nullptr;
    QAction *ScrollChatOff1 = nullptr;
    QMenu *popup_mychat = nullptr;
    QAction *Paste1 = nullptr;
    QMenu *popup_sounds = nullptr;

    // The phrase of button k (1 to 9) is its hint, shown as its tool tip.
    void setPhrase(int k, const QString &phrase);
    QString phrase(int k) const;

    // Opens `menu` at the widget's context-menu requests. The attachment travels
    // with the control when a real widget replaces a placeholder.
    static void attachPopup(QWidget *widget, QMenu *menu);

Q_SIGNALS:
    // A phrase button 1 to 9 was clicked.
    void phraseClicked(int k);
    // An item of the chatter-sound menu: 0 for "<Cancel>", else 1 to 20.
    void chatterSoundChosen(int tag);
};
