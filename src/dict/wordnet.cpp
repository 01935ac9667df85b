#include "wordnet.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <span>

namespace {

// File names of the parts of speech, in PartOfSpeech order.
constexpr std::array<const char *, WordNet::partsOfSpeech> fileSuffix {"noun", "verb", "adj", "adv"};

// Offsets kept of one index line, and base forms taken from one exception line: far
// more than a lookup ever uses, so that a few damaged data lines still leave senses.
constexpr qsizetype maxOffsets = 16;
constexpr qsizetype maxExceptionForms = 8;
// A count or offset field has at most this many digits.
constexpr int maxDigits = 10;

struct Rule
{
    const char *suffix;
    const char *ending;
};

constexpr Rule nounRules[] {{"s", ""}, {"ses", "s"}, {"xes", "x"}, {"zes", "z"}, {"ches", "ch"},
    {"shes", "sh"}, {"men", "man"}, {"ies", "y"}};
constexpr Rule verbRules[] {
    {"s", ""}, {"ies", "y"}, {"es", "e"}, {"es", ""}, {"ed", "e"}, {"ed", ""}, {"ing", "e"}, {"ing", ""}};
constexpr Rule adjectiveRules[] {{"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};

// The blank-separated fields of a line (runs of blanks count as one).
class Fields
{
public:
    explicit Fields(QByteArrayView line)
        : line_(line)
    { }

    // The next field; a null view after the last.
    QByteArrayView next()
    {
        while (pos_ < line_.size() && line_.at(pos_) == ' ')
            ++pos_;
        const qsizetype start = pos_;
        while (pos_ < line_.size() && line_.at(pos_) != ' ')
            ++pos_;
        return pos_ > start ? line_.sliced(start, pos_ - start) : QByteArrayView();
    }

private:
    QByteArrayView line_;
    qsizetype pos_ = 0;
};

std::optional<qint64> decimal(QByteArrayView field)
{
    if (field.isEmpty() || field.size() > maxDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// What an index line says of its lemma: how many senses are tagged in use, and the
// data offsets of its first senses in sense order.
struct IndexEntry
{
    qint64 tagged = 0;
    QList<qint64> offsets;
};

std::optional<IndexEntry> readIndexLine(QByteArrayView line)
{
    Fields fields(line);
    fields.next(); // lemma
    fields.next(); // pos
    const auto synsets = decimal(fields.next());
    const auto pointers = decimal(fields.next());
    if (!synsets || !pointers)
        return std::nullopt;
    for (qint64 i = 0; i < *pointers; ++i) {
        if (fields.next().isNull())
            return std::nullopt;
    }
    const auto senses = decimal(fields.next());
    const auto tagged = decimal(fields.next());
    if (!senses || !tagged)
        return std::nullopt;
    IndexEntry entry;
    entry.tagged = *tagged;
    for (qint64 i = 0; i < *synsets && entry.offsets.size() < maxOffsets; ++i) {
        const auto offset = decimal(fields.next());
        if (!offset)
            break;
        entry.offsets.append(*offset);
    }
    if (entry.offsets.isEmpty())
        return std::nullopt;
    return entry;
}

// A file read whole, or nothing when it is missing or larger than SortedLines takes.
QByteArray readWhole(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.read(SortedLines::maxSize + 1);
    return bytes.size() > SortedLines::maxSize ? QByteArray() : bytes;
}

bool isPlainWord(QByteArrayView word)
{
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// The definition part of a gloss: the text before its first example sentence, made fit
// to show (control characters as blanks, cut at maxGlossChars).
QString definitionOf(QByteArrayView gloss)
{
    gloss = gloss.trimmed();
    const qsizetype example = gloss.indexOf("; \"");
    if (example > 0)
        gloss = gloss.first(example);
    QString text = QString::fromLatin1(gloss.first(std::min(gloss.size(), WordNet::maxGlossChars + 1)));
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    if (text.size() > WordNet::maxGlossChars)
        text = text.first(WordNet::maxGlossChars - 1) + QChar(0x2026);
    return text;
}

} // namespace

WordNet::WordNet(const QString &folder)
    : folder_(folder)
{ }

WordNet::WordNet(const std::array<Files, partsOfSpeech> &files)
    : opened_(true)
{
    for (size_t i = 0; i < files.size(); ++i) {
        Part &p = parts_[i];
        p.index = SortedLines(files[i].index);
        p.exceptions = SortedLines(files[i].exceptions);
        auto data = std::make_unique<QBuffer>();
        data->setData(files[i].data);
        if (data->open(QIODevice::ReadOnly))
            p.data = std::move(data);
    }
}

WordNet::~WordNet() = default;

QString WordNet::defaultFolder()
{
    const QString named = qEnvironmentVariable(folderVariable);
    if (!named.isEmpty())
        return named;
    const QStringList found = QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, QStringLiteral("wordnet"), QStandardPaths::LocateDirectory);
    for (const QString &folder : found) {
        if (QFile::exists(QDir(folder).filePath(QStringLiteral("index.noun"))))
            return folder;
    }
    return QString();
}

QString WordNet::name(PartOfSpeech pos)
{
    switch (pos) {
    case PartOfSpeech::Noun:
        return QStringLiteral("noun");
    case PartOfSpeech::Verb:
        return QStringLiteral("verb");
    case PartOfSpeech::Adjective:
        return QStringLiteral("adjective");
    case PartOfSpeech::Adverb:
        break;
    }
    return QStringLiteral("adverb");
}

void WordNet::open()
{
    if (opened_)
        return;
    opened_ = true;
    if (folder_.isEmpty())
        folder_ = defaultFolder();
    if (folder_.isEmpty())
        return;
    const QDir dir(folder_);
    for (size_t i = 0; i < parts_.size(); ++i) {
        const QString suffix = QLatin1StringView(fileSuffix[i]);
        Part &p = parts_[i];
        p.index = SortedLines(readWhole(dir.filePath(QStringLiteral("index.") + suffix)));
        p.exceptions = SortedLines(readWhole(dir.filePath(suffix + QStringLiteral(".exc"))));
        auto data = std::make_unique<QFile>(dir.filePath(QStringLiteral("data.") + suffix));
        if (!p.index.isEmpty() && data->open(QIODevice::ReadOnly))
            p.data = std::move(data);
    }
}

bool WordNet::isAvailable()
{
    open();
    return std::any_of(parts_.begin(), parts_.end(), [](const Part &p) { return p.usable(); });
}

QList<QByteArray> WordNet::detach(QByteArrayView word, PartOfSpeech pos)
{
    std::span<const Rule> rules;
    switch (pos) {
    case PartOfSpeech::Noun:
        // A noun in "ss" ("glass", "boss") is no plural.
        if (word.endsWith("ss"))
            return {};
        rules = nounRules;
        break;
    case PartOfSpeech::Verb:
        rules = verbRules;
        break;
    case PartOfSpeech::Adjective:
        rules = adjectiveRules;
        break;
    case PartOfSpeech::Adverb:
        return {};
    }
    QList<QByteArray> forms;
    for (const Rule &rule : rules) {
        const QByteArrayView suffix(rule.suffix);
        if (word.size() > suffix.size() && word.endsWith(suffix))
            forms.append(word.chopped(suffix.size()).toByteArray() + rule.ending);
    }
    return forms;
}

QList<QByteArray> WordNet::morphy(QByteArrayView word, PartOfSpeech pos)
{
    const SortedLines &exceptions = part(pos).exceptions;
    auto irregularOrRules = [&](QByteArrayView w) {
        QList<QByteArray> forms;
        const QByteArrayView line = exceptions.find(w);
        if (line.isNull())
            return detach(w, pos);
        Fields fields(line);
        fields.next();
        for (QByteArrayView base = fields.next(); !base.isNull() && forms.size() < maxExceptionForms;
             base = fields.next())
            forms.append(base.toByteArray());
        return forms;
    };

    QList<QByteArray> forms {word.toByteArray()};
    // "boxesful" is the "ful" of a base form of "boxes": "boxful".
    const QByteArrayView ful("ful");
    if (pos == PartOfSpeech::Noun && word.size() > ful.size() && word.endsWith(ful)
        && exceptions.find(word).isNull()) {
        for (const QByteArray &base : irregularOrRules(word.chopped(ful.size())))
            forms.append(base + ful);
        return forms;
    }
    forms.append(irregularOrRules(word));
    return forms;
}

QList<QByteArray> WordNet::baseForms(QByteArrayView word, PartOfSpeech pos)
{
    open();
    QList<QByteArray> found;
    if (!part(pos).usable())
        return found;
    for (const QByteArray &form : morphy(word, pos)) {
        if (!found.contains(form) && !part(pos).index.find(form).isNull())
            found.append(form);
    }
    return found;
}

std::optional<QString> WordNet::gloss(PartOfSpeech pos, qint64 offset)
{
    QIODevice *data = part(pos).data.get();
    if (!data || offset < 0 || offset >= data->size() || !data->seek(offset))
        return std::nullopt;
    QByteArray line = data->read(maxDataLine);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    else if (line.size() >= maxDataLine)
        return std::nullopt;
    // The line must be the synset at that offset: it starts with its own offset.
    Fields fields(line);
    if (decimal(fields.next()) != offset)
        return std::nullopt;
    const qsizetype bar = line.indexOf('|');
    if (bar < 0)
        return std::nullopt;
    const QString text = definitionOf(QByteArrayView(line).sliced(bar + 1));
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QList<WordNet::Meaning> WordNet::define(const QString &word)
{
    open();
    const QByteArray key = word.toLower().toLatin1();
    if (key.isEmpty() || key.size() > maxWordLength || !isPlainWord(key))
        return {};

    struct Group
    {
        PartOfSpeech pos;
        QByteArray lemma;
        IndexEntry entry;
        qsizetype next = 0;
        QStringList glosses;
    };
    QList<Group> groups;
    for (int p = 0; p < partsOfSpeech; ++p) {
        const auto pos = PartOfSpeech(p);
        for (const QByteArray &form : baseForms(key, pos)) {
            if (const auto entry = readIndexLine(part(pos).index.find(form)))
                groups.append(Group {pos, form, *entry, 0, {}});
        }
    }
    std::stable_sort(groups.begin(), groups.end(),
        [](const Group &a, const Group &b) { return a.entry.tagged > b.entry.tagged; });

    // The first sense of each group, then the second of each, ...; a sense whose data
    // line is damaged gives way to the group's next one.
    int senses = 0;
    for (bool progress = true; progress && senses < maxSenses;) {
        progress = false;
        for (Group &g : groups) {
            if (senses >= maxSenses)
                break;
            while (g.next < g.entry.offsets.size()) {
                if (const auto text = gloss(g.pos, g.entry.offsets.at(g.next++))) {
                    g.glosses.append(*text);
                    ++senses;
                    progress = true;
                    break;
                }
            }
        }
    }

    QList<Meaning> meanings;
    for (const Group &g : std::as_const(groups)) {
        if (!g.glosses.isEmpty())
            meanings.append(Meaning {g.pos, QString::fromLatin1(g.lemma), g.glosses});
    }
    return meanings;
}
