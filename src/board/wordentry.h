#pragma once

#include "boardmodel.h"
#include "cell.h"
#include "verdict.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>

class BoardCursor;
class QKeyEvent;
class TDictn;

// The word in progress and the three ways of building it: dragging across the board,
// clicking tiles one at a time ("Click Letters"), and typing, where the search finds the
// tiles. Entry is open only during this player's round (setEntryOpen). The class shows
// nothing and plays nothing itself: the status text, sounds, the Send and Clear
// buttons, the message box and the judged word are signalled for the main window, and
// the marks go to the board model. Positions 1 to 12 of the word are 1-based, as in
// the entry strip `image_letters1` .. `image_letters12`.
class WordEntry : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxLetters = 12;
    static constexpr int cellPixels = 42;
    // A drag only catches a tile when the pointer is this far inside its square, so a
    // diagonal stroke can pass a corner without catching the neighbouring tiles.
    static constexpr int dragMargin = 7;

    static inline const QString invalidSelection = QStringLiteral("Invalid Selection");
    static inline const QString justWatchingText = QStringLiteral("You are just watching right now.");
    static inline const QString typingOnCaption = QStringLiteral("TYPING ON");
    static inline const QString typingOffCaption = QStringLiteral("TYPING OFF");
    // Settings keys; each stores its option's tag: "1" off, "0" on. Absent means "1".
    static inline const QString clickLettersKey = QStringLiteral("Clickletters");
    static inline const QString disableTypingKey = QStringLiteral("Disabletyping");

    explicit WordEntry(BoardModel *board, QObject *parent = nullptr);

    BoardModel *board() const { return board_; }
    // The keyboard's place on the board.
    BoardCursor *cursor() const { return cursor_; }

    // --- What the main window tells the entry ---
    // activeslot equals myslot: this player's round is running.
    void setEntryOpen(bool open) { open_ = open; }
    bool entryOpen() const { return open_; }
    // The game's minimum word length (the tag of label_minletters).
    void setMinLetters(int minletters);
    int minLetters() const { return minletters_; }
    void setConnected(bool connected) { connected_ = connected; }
    // "Just Watch" is checked: presses on the board and the two buttons only say so.
    void setJustWatching(bool watching) { justWatching_ = watching; }
    // The word list `spell`; without one every word is judged invalid.
    void setDictionary(const TDictn *spell) { spell_ = spell; }

    // The round start: empties the word, its marks, the strip and the words tried.
    // When the round is this player's, entry opens, no drag is in progress and typing
    // is switched on; otherwise entry closes.
    void startRound(bool myTurn);
    // The board, the strip and the word all blank (a new game).
    void clearall();

    // --- The word in progress ---
    int length() const { return n_; }
    Cell wordpath(int k) const { return inWord(k) ? wordpath_[k - 1] : Cell {}; }
    Cell typedroute(int k) const { return k >= 1 && k <= maxLetters ? typedroute_[k - 1] : Cell {}; }
    Cell lasttile() const { return lasttile_; }
    bool dragging() const { return dragging_; }
    // The picture of strip slot k: the letter of the word's k-th tile, or 30 (empty).
    int slotPicture(int k) const;
    // Typed letters that could not continue the word, shown refused in the strip
    // slots after it and never sent. Once one is refused every later letter is too,
    // so the word in the strip is never one the player did not type; Backspace takes
    // them back one by one, and anything that empties or changes the word drops them.
    int refusedCount() const { return int(refused_.size()); }
    // The letter code refused in strip slot k, or 0 where the slot holds none.
    int refusedLetter(int k) const;
    // The word spelled in lower case from the displayed tiles.
    QString word() const;
    // image_minletters is shown while the word is shorter than the minimum.
    bool minLettersVisible() const { return minVisible_; }
    // Every word judged this round (listbox_wordsfound).
    const QStringList &wordsfound() const { return wordsfound_; }
    // A word the host had accepted from this player in the round, judged before a
    // drop of the connection: tried already, never sent again.
    void markFound(const QString &word);

    // --- Mouse: the board's paint box forwards its events in its own pixels ---
    void paintbox_boardMouseDown(Qt::MouseButton button, QPoint pos);
    void paintbox_boardMouseMove(QPoint pos);
    void paintbox_boardMouseUp(QPoint pos);
    static Cell cellAt(QPoint pos);

    // --- Keyboard ---
    // The window-level key table: the main window calls it with every key press before
    // the focused control sees it. True when the key was used here and must go no
    // further; false sends it on (to the chat input). The main keyboard's "1" and "0"
    // keys count by where they sit, whatever the layout and the modifiers: `scanCode`
    // is the platform's key code on X11 and Wayland (evdev code + 8), 0 when unknown,
    // which leaves the key's own code to tell them.
    bool FormShortCut(int key, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0);
    bool FormShortCut(const QKeyEvent &event);
    // True when FormShortCut would use `key` now: while typing is on every key, so no
    // menu shortcut may take it first.
    bool takesKey(int key) const;
    // The keys of the board itself, for the board while it has the focus and the key
    // table let them by: the arrows walk the cursor, Space takes its tile, Return
    // sends, Backspace takes back, Escape empties the word. True when used.
    bool boardKey(int key, Qt::KeyboardModifiers modifiers);

    // --- Operations ---
    void typetheletter(int letter);
    // Space: the tile under the cursor joins the word as a clicked tile would (the
    // first Space only shows the cursor). Watching, it only says so.
    void takeCursorCell();
    void deleteoneletter();
    // Backspace: the last refused letter, else the last letter of the word.
    void takeBackOne();
    // A click on strip slot k (image_letters1Click): removes the last letter when k is
    // it, or the last refused letter when k holds that.
    void image_lettersClick(int k);
    void pressclear();
    // Judges and ends the word; the verdict is also emitted as wordJudged. Watching
    // does not stop it: only the Send and Clear buttons and a press on the board
    // refuse a watching player (justWatchingNotice).
    Verdict pressdone();
    void button_clearClick();
    void button_sendClick();
    // Also button_rotateClick: one quarter turn of this player's display.
    void rotateboard();

    // --- label_typingoff, the typing switch ---
    int typingTag() const { return typingTag_; }
    bool typingOn() const { return typingOn_; }
    QString typingCaption() const { return typingOn_ ? typingOnCaption : typingOffCaption; }
    bool typingLabelVisible() const { return !disableTyping_; }
    void label_typingoffClick();

    // --- The two options ("Click Letters", "Disable Typing") ---
    bool clickLetters() const { return clickLetters_; }
    bool disableTyping() const { return disableTyping_; }
    void setClickLetters(bool checked);
    void setDisableTyping(bool checked);
    // The menu items: toggle, then ask for the settings to be saved. The setters and
    // the apply functions below never ask for a save.
    void ClickLetters1Click();
    void DisableTyping1Click();
    // The options as their settings values (the tags) and back: "1" leaves an
    // option off, anything else turns it on.
    QString clickLettersSetting() const { return clickLetters_ ? QStringLiteral("0") : QStringLiteral("1"); }
    QString disableTypingSetting() const
    {
        return disableTyping_ ? QStringLiteral("0") : QStringLiteral("1");
    }
    void applyClickLettersSetting(const QString &value) { setClickLetters(value != QLatin1String("1")); }
    void applyDisableTypingSetting(const QString &value) { setDisableTyping(value != QLatin1String("1")); }

Q_SIGNALS:
    void statusChanged(const QString &text); // label_status
    void soundRequested(const QString &name); // a game sound, through playsounds (a
                                              // verdict's sound comes with the verdict)
    void wordButtonsVisible(bool visible); // button_send and button_clear
    void wordChanged(); // the strip and image_minletters
    void typingChanged(); // label_typingoff: caption, visibility
    void optionsChanged(); // an option changed: its check mark
    void saveRequested(); // the player changed an option: save the settings
    void justWatchingNotice(); // a message box with justWatchingText
    void wordJudged(const Verdict &verdict); // carry out a verdict of pressdone

private:
    bool inWord(int k) const { return k >= 1 && k <= n_; }
    bool choosetile(Cell c, bool press);
    bool aroundletter(Cell c, int direction, int letter) const;
    void clearthem();
    void clickonletter();
    bool findroute(int letter);
    void repostword();
    void switchTyping();
    void updateMinLetters();
    void emptyWord();
    void refuse(int letter);

    BoardModel *board_;
    BoardCursor *cursor_;
    const TDictn *spell_ = nullptr;
    bool open_ = false;
    bool connected_ = false;
    bool justWatching_ = false;
    int minletters_ = 3;

    int n_ = 0;
    std::array<Cell, maxLetters> wordpath_ {};
    std::array<Cell, maxLetters> typedroute_ {};
    std::array<int, maxLetters> slots_ {};
    QList<int> refused_;
    Cell lasttile_;
    bool dragging_ = false;
    Cell lastdragcell_;
    bool minVisible_ = true;
    QStringList wordsfound_;

    int typingTag_ = 0;
    bool typingOn_ = false;
    bool clickLetters_ = false;
    bool disableTyping_ = false;
};
