#pragma once

#include "sortedlines.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

// Meanings of English words from a WordNet 3.0 database in its documented text format:
// for each part of speech an index (`index.noun` ...: sorted lines "lemma pos
// synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt synset_offset..."), a data
// file whose synset lines start at those byte offsets and end in "| gloss", and an
// exception list of irregular inflections (`noun.exc` ...: "inflected base...").
// Debian's wordnet-base installs it in /usr/share/wordnet.
//
// An inflected word is found through its base forms: the exception list when it holds
// the word, else the detachment rules of its part of speech ("ies" -> "y" ...), each
// form kept only when the index holds it.
//
// Nothing is read before the first lookup. Then the index and exception files are read
// whole (about 6 MiB in all), and each gloss by a positioned read of its data line.
// Every file is taken as hostile: sizes, fields, counts and offsets are checked, and a
// part of speech whose files are missing is left out.
class WordNet
{
public:
    enum class PartOfSpeech { Noun, Verb, Adjective, Adverb };
    static constexpr int partsOfSpeech = 4;
    // Senses given for one word, over all its parts of speech and base forms.
    static constexpr int maxSenses = 3;
    // A data line longer than this (the longest real one is 13,000 bytes) is not read.
    static constexpr qsizetype maxDataLine = 64 * 1024;
    // A gloss longer than this is cut, with "…".
    static constexpr qsizetype maxGlossChars = 400;
    // Words longer than this are not looked up.
    static constexpr qsizetype maxWordLength = 64;
    // Where the folder is looked for when none is given: this variable, then "wordnet"
    // in the system's data folders (XDG_DATA_DIRS: /usr/local/share, /usr/share).
    static inline const char *const folderVariable = "WENDLEWICK_WORDNET_DIR";
    // What a player without the database is told.
    static inline const QString installHint = QStringLiteral("sudo apt install wordnet-base");

    // The senses of one base form in one part of speech, most frequent first.
    struct Meaning
    {
        PartOfSpeech pos = PartOfSpeech::Noun;
        QString lemma; // as the index spells it: lower case, "_" between words
        QStringList glosses; // definitions, without their example sentences
        friend bool operator==(const Meaning &, const Meaning &) = default;
    };

    // The files of one part of speech, for a database held in memory.
    struct Files
    {
        QByteArray index;
        QByteArray data;
        QByteArray exceptions;
    };

    // `folder` empty: found through defaultFolder() at the first lookup.
    explicit WordNet(const QString &folder = QString());
    // A database in memory (tests, fuzzing), in noun, verb, adjective, adverb order.
    explicit WordNet(const std::array<Files, partsOfSpeech> &files);
    ~WordNet();

    WordNet(const WordNet &) = delete;
    WordNet &operator=(const WordNet &) = delete;

    // The folder named by WENDLEWICK_WORDNET_DIR, else the first "wordnet" data folder
    // that holds index.noun; empty when there is none.
    static QString defaultFolder();

    // True when the files of at least one part of speech could be read (reads them on
    // the first call).
    bool isAvailable();
    // The folder read from (empty before the first lookup and for a database in memory).
    QString folder() const { return folder_; }

    // Up to maxSenses senses of `word` (any case; letters a to z only), grouped by part
    // of speech and base form: the forms with the most senses tagged in use first, and
    // the first sense of each before the second of any. Empty when WordNet does not
    // know the word.
    QList<Meaning> define(const QString &word);

    // The base forms of a lower-case word in one part of speech that the index holds:
    // the word itself, then those of the exception list, else those of the rules.
    QList<QByteArray> baseForms(QByteArrayView word, PartOfSpeech pos);
    // The forms the detachment rules make of a word, in the rules' order, whether or
    // not the index holds them.
    static QList<QByteArray> detach(QByteArrayView word, PartOfSpeech pos);

    // "noun", "verb", "adjective", "adverb".
    static QString name(PartOfSpeech pos);

private:
    struct Part
    {
        SortedLines index;
        SortedLines exceptions;
        std::unique_ptr<QIODevice> data;
        bool usable() const { return data && !index.isEmpty(); }
    };

    void open();
    Part &part(PartOfSpeech pos) { return parts_[size_t(pos)]; }
    QList<QByteArray> morphy(QByteArrayView word, PartOfSpeech pos);
    // The definition in the data line at `offset`; nullopt for a line that is not there.
    std::optional<QString> gloss(PartOfSpeech pos, qint64 offset);

    QString folder_;
    bool opened_ = false;
    std::array<Part, partsOfSpeech> parts_;
};
