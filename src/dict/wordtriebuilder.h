#pragma once

#include "wordtrie.h"

#include <QtGlobal>

#include <array>
#include <vector>

class TDictn;

// Builds the WordTrie of a dictionary in slices, so that the build can share the
// GUI thread with everything else: each step() does a bounded amount of work.
//
// The trie holds exactly the words of 3 to 12 letters that the dictionary's
// isword() accepts. Records are read through the dictionary and normalised by its
// own key rules; on a file whose keys are not in order (where the dictionary's
// binary search can miss records) every candidate is confirmed with isword().
//
// The dictionary must outlive the builder.
class WordTrieBuilder
{
public:
    explicit WordTrieBuilder(const TDictn &dict);

    // Does about `units` units of work (a unit is one record read or one word
    // placed; ordering the words is done at once, a sort only for a file out of
    // order) and returns true once the trie is complete.
    bool step(qsizetype units);
    bool isDone() const { return phase_ == Phase::Done; }

    // The finished trie, moved out; an empty trie when the build is not done.
    WordTrie takeTrie();

private:
    enum class Phase { Scan, Confirm, Order, Layout, Done };
    using Word = std::array<char, WordTrie::maxLetters>; // upper case, NUL-padded

    qsizetype scan(qsizetype units);
    qsizetype confirm(qsizetype units);
    qsizetype order();
    qsizetype layout(qsizetype units);
    void addKey(const char *key);

    struct Frame
    {
        quint32 node;
        quint32 lo, hi;
        int depth;
    };

    const TDictn *dict_;
    Phase phase_ = Phase::Scan;
    qint64 nextRecord_ = 0;
    bool keysInOrder_ = true;
    std::array<char, 15> lastKey_ {};
    std::vector<char> chunk_;
    std::vector<Word> words_;
    qsizetype confirmed_ = 0;
    std::vector<Frame> frames_;
    std::vector<WordTrie::Node> nodes_;
    qsizetype wordCount_ = 0;
    WordTrie trie_;
};
