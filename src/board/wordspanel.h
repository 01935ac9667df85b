#pragma once

#include <QFrame>

class QLabel;
class WordResults;
class WordsView;

// `panel_words` (139 by 250): the count `label_found` ("Count: n") over the words panel
// `richedit_words`. It shows a WordResults: its lines as they are added, emptied at the
// round start, and its count. The main window places it (and owns it).
class WordsPanel : public QFrame
{
    Q_OBJECT

public:
    explicit WordsPanel(WordResults *results, QWidget *parent = nullptr);

    QLabel *foundLabel() const { return label_found_; }
    WordsView *wordsView() const { return richedit_words_; }

private:
    QLabel *label_found_;
    WordsView *richedit_words_;
};
