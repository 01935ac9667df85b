#pragma once

#include "wordtrie.h"

#include <QObject>
#include <QTimer>

#include <memory>

class TDictn;
class WordTrieBuilder;

// The solver's trie of a dictionary, built off the start-up path: start() builds it
// in short slices from the event loop, and trie() finishes whatever is left at once
// when it is needed sooner. built() is emitted once, when the trie is complete.
//
// The dictionary must outlive this object.
class LazyWordTrie : public QObject
{
    Q_OBJECT

public:
    // A few tenths of a millisecond of work per slice on a 2020s desktop.
    static constexpr qsizetype defaultSliceUnits = 8192;

    explicit LazyWordTrie(const TDictn &dict, QObject *parent = nullptr);
    ~LazyWordTrie() override;

    // Begins the sliced build; does nothing once it runs or the trie is built.
    void start(qsizetype sliceUnits = defaultSliceUnits);
    bool isBuilt() const { return !builder_; }
    const WordTrie &trie();

Q_SIGNALS:
    void built();

private:
    void slice();
    void finish();

    std::unique_ptr<WordTrieBuilder> builder_;
    WordTrie trie_;
    QTimer timer_;
    qsizetype sliceUnits_ = defaultSliceUnits;
};
