#include "lazywordtrie.h"

#include "wordtriebuilder.h"

#include <algorithm>
#include <limits>

LazyWordTrie::LazyWordTrie(const TDictn &dict, QObject *parent)
    : QObject(parent)
    , builder_(std::make_unique<WordTrieBuilder>(dict))
{
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &LazyWordTrie::slice);
}

LazyWordTrie::~LazyWordTrie() = default;

void LazyWordTrie::start(qsizetype sliceUnits)
{
    if (!builder_ || timer_.isActive())
        return;
    sliceUnits_ = std::max<qsizetype>(sliceUnits, 1);
    timer_.start();
}

const WordTrie &LazyWordTrie::trie()
{
    if (builder_) {
        while (!builder_->step(std::numeric_limits<qsizetype>::max())) { }
        finish();
    }
    return trie_;
}

void LazyWordTrie::slice()
{
    if (builder_ && builder_->step(sliceUnits_))
        finish();
}

void LazyWordTrie::finish()
{
    timer_.stop();
    trie_ = builder_->takeTrie();
    builder_.reset();
    Q_EMIT built();
}
