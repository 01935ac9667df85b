#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

class TDictn;

// The words a board can hold, as an immutable word graph: every word of the word
// list that is 3 to 12 letters A-Z long (the lengths a claim can have). Built by
// WordTrieBuilder; an empty trie holds no word.
//
// Layout: a trie whose equal subtrees are stored once (a DAWG), so a node stands
// for a set of endings rather than for one prefix. Each node is 8 bytes, node 0 the
// root; the children of a node sit side by side in alphabetical order from
// `firstChild`, so the child for letter L is firstChild + the number of children
// with a smaller letter. Several nodes may share one block of children.
class WordTrie
{
public:
    struct Node
    {
        quint32 links; // bit L (0..25): a child for letter 'A' + L; bit 31: a word ends here
        quint32 firstChild;
    };
    static constexpr quint32 wordEnd = 1u << 31;
    static constexpr quint32 letterMask = (1u << 26) - 1;
    static constexpr int minLetters = 3;
    static constexpr int maxLetters = 12;

    WordTrie();

    // Builds the trie from the dictionary in one go (see WordTrieBuilder for slices).
    static WordTrie fromDictionary(const TDictn &dict);

    const Node *nodes() const { return nodes_.data(); }
    qsizetype nodeCount() const { return qsizetype(nodes_.size()); }
    qsizetype wordCount() const { return words_; }
    qsizetype memoryBytes() const { return qsizetype(nodes_.capacity() * sizeof(Node)); }

    // Index of the child of `node` for `letter` (0..25), or 0 when there is none
    // (the root is nobody's child).
    quint32 child(quint32 node, int letter) const
    {
        const quint32 links = nodes_[node].links;
        const quint32 bit = 1u << letter;
        if (!(links & bit))
            return 0;
        return childFor(nodes_[node], bit);
    }
    // The child of `node` for the letter of `bit`, which `node` must have.
    static quint32 childFor(const Node &node, quint32 bit)
    {
        return node.firstChild + bitCount(node.links & (bit - 1));
    }

    // True when the trie holds `word` (upper-case letters only).
    bool contains(QByteArrayView word) const;

private:
    friend class WordTrieBuilder;
    // Inline, where the baseline x86-64 target would make a popcount a library call.
    static quint32 bitCount(quint32 x)
    {
        x = x - ((x >> 1) & 0x55555555u);
        x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
        x = (x + (x >> 4)) & 0x0f0f0f0fu;
        return (x * 0x01010101u) >> 24;
    }

    WordTrie(std::vector<Node> nodes, qsizetype words);

    std::vector<Node> nodes_;
    qsizetype words_ = 0;
};
