#include "wordtriebuilder.h"

#include "tdictn.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr qsizetype chunkRecords = 4096;
// Far beyond any real list (the built-in one has 143,083); keeps the 32-bit node
// indices and the memory of a build from a huge foreign file in bounds.
constexpr size_t maxWords = size_t(1) << 24;

int wordLength(const std::array<char, WordTrie::maxLetters> &w)
{
    const void *nul = std::memchr(w.data(), '\0', w.size());
    return nul ? int(static_cast<const char *>(nul) - w.data()) : int(w.size());
}

} // namespace

WordTrieBuilder::WordTrieBuilder(const TDictn &dict)
    : dict_(&dict)
{
    lastKey_.fill('\0');
}

bool WordTrieBuilder::step(qsizetype units)
{
    units = std::max<qsizetype>(units, 1);
    while (units > 0 && phase_ != Phase::Done) {
        switch (phase_) {
        case Phase::Scan:
            units -= scan(units);
            break;
        case Phase::Confirm:
            units -= confirm(units);
            break;
        case Phase::Order:
            units -= order();
            break;
        case Phase::Layout:
            units -= layout(units);
            break;
        case Phase::Share:
            units -= share(units);
            break;
        case Phase::Done:
            break;
        }
    }
    return isDone();
}

WordTrie WordTrieBuilder::takeTrie()
{
    return isDone() ? std::exchange(trie_, WordTrie()) : WordTrie();
}

qsizetype WordTrieBuilder::scan(qsizetype units)
{
    constexpr int size = TDictn::recordSize;
    const qint64 left = dict_->isOpen() ? dict_->recordCount() - nextRecord_ : 0;
    const qint64 count = std::min<qint64>({left, units, chunkRecords});
    chunk_.resize(size_t(count * size));
    // A read that falls short (the file shrank under us) ends the list there.
    if (count <= 0 || !dict_->readRecords(nextRecord_, count, chunk_.data())) {
        std::vector<char>().swap(chunk_);
        phase_ = keysInOrder_ ? Phase::Order : Phase::Confirm;
        return 1;
    }
    if (nextRecord_ == 0)
        words_.reserve(std::min(size_t(left), maxWords));
    const bool clean = dict_->isIndexed();
    for (qint64 i = 0; i < count; ++i) {
        const char *word = chunk_.data() + i * size + 1;
        if (clean) {
            // Letters then blanks, in order: the record is its own key.
            addKey(word);
            continue;
        }
        const QByteArray key = TDictn::wordkey(QByteArrayView(word, size - 1));
        if (std::memcmp(key.constData(), lastKey_.data(), lastKey_.size()) < 0)
            keysInOrder_ = false;
        std::memcpy(lastKey_.data(), key.constData(), lastKey_.size());
        addKey(key.constData());
    }
    nextRecord_ += count;
    return count;
}

void WordTrieBuilder::addKey(const char *key)
{
    // The key is 14 significant bytes: a word that a chain of tiles can spell is
    // 3 to 12 letters A-Z followed only by blanks.
    int n = 0;
    while (n < TDictn::recordSize - 1 && key[n] >= 'A' && key[n] <= 'Z')
        ++n;
    if (n < WordTrie::minLetters || n > WordTrie::maxLetters || words_.size() >= maxWords)
        return;
    for (int i = n; i < TDictn::recordSize - 1; ++i) {
        if (key[i] != ' ')
            return;
    }
    Word w {};
    std::memcpy(w.data(), key, size_t(n));
    words_.push_back(w);
}

qsizetype WordTrieBuilder::confirm(qsizetype units)
{
    // Keys out of order: the dictionary's binary search may miss some records, and a
    // word it misses is one the host rejects, so only what it finds is kept.
    const qsizetype end = std::min<qsizetype>(qsizetype(words_.size()), confirmed_ + units);
    qsizetype kept = confirmed_;
    for (qsizetype i = confirmed_; i < end; ++i) {
        const Word &w = words_[size_t(i)];
        if (dict_->isword(QByteArrayView(w.data(), wordLength(w))))
            words_[size_t(kept++)] = w;
    }
    words_.erase(words_.begin() + kept, words_.begin() + end);
    const qsizetype done = end - confirmed_;
    confirmed_ = kept;
    if (confirmed_ == qsizetype(words_.size()))
        phase_ = Phase::Order;
    return std::max<qsizetype>(done, 1);
}

qsizetype WordTrieBuilder::order()
{
    if (!keysInOrder_)
        std::sort(words_.begin(), words_.end());
    words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
    // An English list needs about 2.2 nodes per word.
    nodes_.reserve(words_.size() * 9 / 4 + 1);
    nodes_.push_back({0, 1});
    frames_.push_back({0, 0, quint32(words_.size()), 0});
    phase_ = Phase::Layout;
    return qsizetype(words_.size()) + 1;
}

qsizetype WordTrieBuilder::layout(qsizetype units)
{
    // Depth first, each node's children placed side by side when the node is laid out.
    // The words of a frame share its first `depth` letters, shortest first.
    qsizetype done = 0;
    while (done < units && !frames_.empty()) {
        const Frame f = frames_.back();
        frames_.pop_back();
        done += f.hi - f.lo + 1;
        quint32 lo = f.lo;
        quint32 links = 0;
        if (lo < f.hi && wordLength(words_[lo]) == f.depth) {
            links |= WordTrie::wordEnd;
            ++wordCount_;
            ++lo;
        }
        const quint32 first = quint32(nodes_.size());
        std::array<quint32, 27> starts;
        int children = 0;
        for (quint32 i = lo; i < f.hi;) {
            const char c = words_[i][size_t(f.depth)];
            starts[size_t(children++)] = i;
            links |= 1u << (c - 'A');
            while (i < f.hi && words_[i][size_t(f.depth)] == c)
                ++i;
        }
        starts[size_t(children)] = f.hi;
        nodes_[f.node] = {links, children ? first : 0};
        if (children) {
            blocks_.push_back({first, quint32(children)});
            nodes_.resize(nodes_.size() + size_t(children), {0, 0});
        }
        for (int k = children - 1; k >= 0; --k)
            frames_.push_back({first + quint32(k), starts[size_t(k)], starts[size_t(k) + 1], f.depth + 1});
    }
    if (frames_.empty()) {
        std::vector<Word>().swap(words_);
        std::vector<Frame>().swap(frames_);
        shared_.reserve(nodes_.size() * 3 / 8 + 1); // English shares about two thirds
        shared_.push_back({0, 0}); // the root's place
        table_.assign(1024, {0, 0});
        nextBlock_ = qsizetype(blocks_.size());
        phase_ = Phase::Share;
    }
    return std::max<qsizetype>(done, 1);
}

namespace {

quint64 blockHash(const WordTrie::Node *entries, quint32 size)
{
    quint64 h = size;
    for (quint32 i = 0; i < size; ++i) {
        h = (h ^ entries[i].links) * 0x9e3779b97f4a7c15u;
        h = (h ^ entries[i].firstChild) * 0x9e3779b97f4a7c15u;
    }
    return h ^ (h >> 29);
}

} // namespace

void WordTrieBuilder::addShared(const Block &block)
{
    size_t slot = size_t(blockHash(&shared_[block.start], block.size)) & (table_.size() - 1);
    while (table_[slot].size != 0)
        slot = (slot + 1) & (table_.size() - 1);
    table_[slot] = block;
    ++tableCount_;
}

qsizetype WordTrieBuilder::share(qsizetype units)
{
    // Last placed first: a block's children blocks were placed after it, so each has
    // its shared place by the time its parent's block is looked at. That place is
    // kept in the firstChild of the block's first entry in the full trie, which
    // nothing reads again but the parent.
    qsizetype done = 0;
    std::array<WordTrie::Node, 26> entries;
    while (done < units && nextBlock_ > 0) {
        const Block b = blocks_[size_t(--nextBlock_)];
        for (quint32 i = 0; i < b.size; ++i) {
            WordTrie::Node e = nodes_[b.start + i];
            if (e.links & WordTrie::letterMask)
                e.firstChild = nodes_[e.firstChild].firstChild;
            entries[i] = e;
        }
        const size_t bytes = b.size * sizeof(WordTrie::Node);
        const size_t mask = table_.size() - 1;
        size_t slot = size_t(blockHash(entries.data(), b.size)) & mask;
        while (table_[slot].size != 0
            && (table_[slot].size != b.size
                || std::memcmp(&shared_[table_[slot].start], entries.data(), bytes) != 0))
            slot = (slot + 1) & mask;
        quint32 start = table_[slot].start;
        if (table_[slot].size == 0) {
            start = quint32(shared_.size());
            shared_.insert(shared_.end(), entries.begin(), entries.begin() + b.size);
            if ((tableCount_ + 1) * 2 > qsizetype(table_.size())) {
                std::vector<Block> old(table_.size() * 2, {0, 0});
                old.swap(table_);
                tableCount_ = 0;
                for (const Block &kept : old) {
                    if (kept.size)
                        addShared(kept);
                }
            }
            addShared({start, b.size});
        }
        nodes_[b.start].firstChild = start;
        done += b.size;
    }
    if (nextBlock_ == 0) {
        WordTrie::Node root = nodes_[0];
        if (root.links & WordTrie::letterMask)
            root.firstChild = nodes_[root.firstChild].firstChild;
        shared_[0] = root;
        if (shared_.capacity() > shared_.size() + shared_.size() / 4)
            shared_.shrink_to_fit();
        trie_ = WordTrie(std::move(shared_), wordCount_);
        std::vector<WordTrie::Node>().swap(nodes_);
        std::vector<Block>().swap(blocks_);
        std::vector<Block>().swap(table_);
        phase_ = Phase::Done;
    }
    return std::max<qsizetype>(done, 1);
}
