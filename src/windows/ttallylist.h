#pragma once

#include "sidewindow.h"
#include "tallyroster.h"

#include <array>
#include <functional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTableView;
class TallyList;

// The tally window "Wendlewick - Tally List": the player's own totals, the record
// against the chosen opponent, the players of the current game (tick to tally) and the
// players being tallied (untick to delete, after a confirmation). Closing only hides it.
//
// It shows a TallyList, which holds the tally and writes the tally file after every
// change; the main window calls loadchecklist() before showing the window and the
// counting functions as the game goes. Like the other side windows it shows the main
// window's background, its panels drawn over it.
class Ttallylist : public SideWindow
{
    Q_OBJECT

public:
    // Loads the tally file from `folder` and starts this run's counts; the window stays
    // hidden. A tally file that could not be used is described by loadReport().
    explicit Ttallylist(const QString &folder, QWidget *parent = nullptr);
    ~Ttallylist() override;

    TallyList *tally() const { return list_; }
    // For the chat, once: why the tally file could not be used at start; empty when it
    // loaded or did not exist.
    QString loadReport() const { return report_; }

    void loadchecklist(const TallyRoster &roster);
    void addgame(const QString &winner, const TallyRoster &roster);
    void addtomineincrease(int column);
    void addtomineset(int column, qint64 value);

private:
    void checklistClickCheck(QListWidgetItem *item);
    void listbox_tallyClickCheck(QListWidgetItem *item);
    void listbox_tallyClick();
    void button_resetClick();
    void button_doneClick();

    // Shows the tally: own totals, both lists and the chosen opponent.
    void showtally();
    void showOpponent();
    // Asks `text` with Yes and No without blocking the event loop; `answer` gets true for Yes.
    void confirm(const QString &text, std::function<void(bool)> answer);

    TallyList *list_ = nullptr;
    QString report_;
    QString chosen_; // the opponent shown in the opponent panel

    std::array<QLabel *, 4> mylabels_ {};
    std::array<QLabel *, 8> labels_ {};
    QLabel *label_hisnametop = nullptr;
    QLabel *label_hisname = nullptr;
    QListWidget *checklist = nullptr;
    QListWidget *listbox_tally = nullptr;
    QPushButton *button_reset = nullptr;
    QPushButton *button_done = nullptr;
    QTableView *stringgrid_scores = nullptr;
    bool showing_ = false;
};
