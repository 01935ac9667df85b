#pragma once

#include "gameoptions.h"
#include "sidewindow.h"

#include <QList>

class OptionPicture;
class QLabel;
class QSpinBox;
class QToolButton;

// The game options dialog: the host player chooses the target score, the round time,
// the board size and the minimum word length, then starts the game. The dialog sends
// nothing itself: `startRequested` hands the choices to the main window, which sends
// "CMD_startgame" and saves the settings.
class Tgamestart : public SideWindow
{
    Q_OBJECT

public:
    explicit Tgamestart(QWidget *parent = nullptr);

    GameOptions options() const { return options_; }
    int playToScore() const { return options_.playToScore; }
    int roundTime() const { return options_.roundTime; }
    int sizeCode() const { return options_.sizeCode; }
    int minLetters() const { return options_.minLetters; }

    // Values outside the arrows' ranges are brought to the nearest end.
    void setPlayToScore(int score);
    void setRoundTime(int seconds);
    // Restoring stored text: a value that is not a whole number leaves the choice
    // unchanged and returns false.
    bool restorePlayToScore(const QString &stored);
    bool restoreRoundTime(const QString &stored);

    // Select the board-size ("image_size" followed by a code) or minimum-length
    // ("image_min" followed by a length) picture of that name, matched without regard
    // to case. A name that matches none selects "Random" (code 8) or 3 letters.
    void clicksize(const QString &pictureName);
    void clickmin(const QString &pictureName);

public Q_SLOTS:
    // Hands the choices on and hides the dialog.
    void button_startClick();

Q_SIGNALS:
    void startRequested(const GameOptions &options);

private Q_SLOTS:
    void image_size5Click();
    void image_min4Click();

private:
    static OptionPicture *select(
        const QList<OptionPicture *> &group, const QString &name, const QString &fallback);

    GameOptions options_;
    QSpinBox *edit_playtoscore;
    QSpinBox *edit_creationtime;
    QLabel *label_boardsize;
    QLabel *label_min;
    QToolButton *button_start;
    QList<OptionPicture *> sizePictures_;
    QList<OptionPicture *> minPictures_;
};
