#pragma once

#include "wordnet.h"

#include <QList>
#include <QString>
#include <QTextBrowser>

// `text_definition`: the meaning of the word chosen in the round review, from WordNet:
// each base form with its part of speech and its senses. Without the database it says
// how to install it; the review works the same.
class DefinitionView : public QTextBrowser
{
    Q_OBJECT

public:
    explicit DefinitionView(QWidget *parent = nullptr);

    // The database to read (may be null: no meanings). It must outlive the view.
    void setWordNet(WordNet *wordnet) { wordnet_ = wordnet; }

    // Looks `word` up and shows what WordNet says of it.
    void showWord(const QString &word);
    // Back to the hint to choose a word.
    void showHint();

    // The text shown for a word: "tea · noun", then the numbered senses. Every text
    // from the database is escaped.
    static QString html(const QString &word, const QList<WordNet::Meaning> &meanings);
    // The text shown without the database.
    static QString missingHtml();

private:
    WordNet *wordnet_ = nullptr;
};
