#include "wordtrie.h"

#include "tdictn.h"
#include "wordtriebuilder.h"

#include <limits>

WordTrie::WordTrie()
    : nodes_ {Node {0, 0}}
{ }

WordTrie::WordTrie(std::vector<Node> nodes, qsizetype words)
    : nodes_(std::move(nodes))
    , words_(words)
{ }

WordTrie WordTrie::fromDictionary(const TDictn &dict)
{
    WordTrieBuilder builder(dict);
    while (!builder.step(std::numeric_limits<qsizetype>::max())) { }
    return builder.takeTrie();
}

bool WordTrie::contains(QByteArrayView word) const
{
    quint32 node = 0;
    for (const char c : word) {
        if (c < 'A' || c > 'Z')
            return false;
        node = child(node, c - 'A');
        if (node == 0)
            return false;
    }
    return (nodes_[node].links & wordEnd) != 0;
}
