// Arbitrary bytes as a WordNet database and as the words looked up in it: every read
// stays inside the files, every sense given is bounded.
//
// Input: pieces separated by the byte 0x01: the index, data and exception files of the
// nouns, verbs, adjectives and adverbs in that order (12 pieces), then the words, one a
// line. Missing pieces are empty. Seeds in fuzz/corpus/wordnet are the test sample.
#include "wordnet.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> pieces
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)).split('\x01');
    auto piece = [&](qsizetype i) { return i < pieces.size() ? QByteArray(pieces.at(i)) : QByteArray(); };
    std::array<WordNet::Files, WordNet::partsOfSpeech> files;
    for (qsizetype p = 0; p < WordNet::partsOfSpeech; ++p)
        files[size_t(p)] = {piece(3 * p), piece(3 * p + 1), piece(3 * p + 2)};
    WordNet wordnet(files);
    const QList<QByteArray> words = piece(12).split('\n');
    for (qsizetype i = 0; i < std::min<qsizetype>(words.size(), 16); ++i) {
        int senses = 0;
        for (const WordNet::Meaning &m : wordnet.define(QString::fromLatin1(words.at(i)))) {
            senses += int(m.glosses.size());
            for (const QString &gloss : m.glosses) {
                if (gloss.isEmpty() || gloss.size() > WordNet::maxGlossChars)
                    __builtin_trap();
            }
        }
        if (senses > WordNet::maxSenses)
            __builtin_trap();
    }
    return 0;
}
