#pragma once

#include <QObject>

class QFrame;
class QLabel;
class QTextEdit;
class QWidget;

// The words panel at the top right of the board panel: the count of words found
// (`label_found`) over the list of the round's words (`richedit_words`). The list
// starts as a placeholder that the board's words panel replaces.
class WordsArea : public QObject
{
    Q_OBJECT

public:
    explicit WordsArea(QWidget *panel);

    QFrame *panel_words = nullptr;
    QLabel *label_found = nullptr;
    QTextEdit *richedit_words = nullptr;
};
