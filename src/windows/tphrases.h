#pragma once

#include "sidewindow.h"

#include <QList>
#include <QStringList>

class QLineEdit;

// The phrase editor: nine boxes for the nine quick phrases. "Done" hands the nine
// texts back through `phrasesDone` (the main window puts them on its buttons and
// writes them to the settings as "Phrase1" ... "Phrase9"); closing the window any
// other way hands back nothing.
class Tphrases : public SideWindow
{
    Q_OBJECT

public:
    static constexpr int phraseCount = 9;
    static constexpr int maxPhraseLength = 50;

    explicit Tphrases(QWidget *parent = nullptr);

    // Fills the boxes (a phrase longer than 50 characters is cut to 50; missing
    // phrases leave their boxes empty).
    void setPhrases(const QStringList &phrases);
    QStringList phrases() const;

    // Fills the boxes with the buttons' phrases and shows the window.
    void openWith(const QStringList &phrases);

Q_SIGNALS:
    void phrasesDone(const QStringList &phrases);

public Q_SLOTS:
    void button_doneClick();

private:
    QList<QLineEdit *> boxes_;
};
