#pragma once

#include "wordtrie.h"

#include <QtGlobal>

#include <array>
#include <vector>

class TDictn;

// Builds the WordTrie of a dictionary in slices, so that the build can share the
// GUI thread with everything else: each step() does a bounded amount of work.
// The words are laid out as a full trie first, whose equal subtrees are then
// merged into one, bottom up.
//
// The trie holds exactly the words of 3 to 12 letters that the dictionary's
// isword() accepts. Records are read through the dictionary and normalised by its
// own key rules; on a file whose keys are not in order (where the dictionary's
// binary search can miss records) every candidate is confirmed with isword().
// A foreign list of more than 2^24 such words is cut there.
//
// The dictionary must outlive the builder.
class WordTrieBuilder
{
public:
    explicit WordTrieBuilder(const TDictn &dict);

    // Does about `units` units of work (a unit is one record read, one word placed
    // or one node shared; ordering the words is done at once, a sort only for a
    // file out of order) and returns true once the trie is complete.
    bool step(qsizetype units);
    bool isDone() const { return phase_ == Phase::Done; }

    // The finished trie, moved out (a second call gets an empty trie); an empty
    // trie when the build is not done.
    WordTrie takeTrie();

private:
    enum class Phase { Scan, Confirm, Order, Layout, Share, Done };
    using Word = std::array<char, WordTrie::maxLetters>; // upper case, NUL-padded

    qsizetype scan(qsizetype units);
    qsizetype confirm(qsizetype units);
    qsizetype order();
    qsizetype layout(qsizetype units);
    qsizetype share(qsizetype units);
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

    // Sharing equal subtrees: the children blocks of the full trie (start, size) in
    // the order they were placed, the shared layout, and a table of its blocks by
    // content (open addressing; size 0 is a free slot).
    struct Block
    {
        quint32 start, size;
    };
    void addShared(const Block &block);
    std::vector<Block> blocks_;
    std::vector<WordTrie::Node> shared_;
    std::vector<Block> table_;
    qsizetype tableCount_ = 0;
    qsizetype nextBlock_ = 0;
    WordTrie trie_;
};
