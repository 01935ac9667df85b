#include "profilefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <optional>

namespace {

struct LineSpan
{
    qsizetype begin = 0; // first byte of the line
    qsizetype end = 0; // one past the last byte before the line break
    qsizetype next = 0; // first byte of the following line
};

QList<LineSpan> splitLines(const QByteArray &text)
{
    QList<LineSpan> lines;
    qsizetype pos = 0;
    if (text.startsWith("\xEF\xBB\xBF"))
        pos = 3;
    while (pos < text.size()) {
        qsizetype nl = text.indexOf('\n', pos);
        LineSpan line;
        line.begin = pos;
        if (nl < 0) {
            line.end = text.size();
            line.next = text.size();
        } else {
            line.end = (nl > pos && text.at(nl - 1) == '\r') ? nl - 1 : nl;
            line.next = nl + 1;
        }
        lines.append(line);
        pos = line.next;
    }
    return lines;
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

QByteArrayView lineText(const QByteArray &text, const LineSpan &line)
{
    return QByteArrayView(text).sliced(line.begin, line.end - line.begin);
}

// The section name when the line is a section header.
std::optional<QString> sectionName(QByteArrayView line)
{
    const QByteArrayView trimmed = line.trimmed();
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return decode(trimmed.sliced(1, close - 1).trimmed());
}

// The key of a "key=value" line, and where its value starts.
std::optional<std::pair<QString, qsizetype>> keyOf(QByteArrayView line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return std::make_pair(decode(line.first(eq).trimmed()), eq + 1);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString unquote(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

struct SectionScan
{
    qsizetype header = -1; // line index of the header, -1 when the section is missing
    qsizetype lastEntry = -1; // last non-blank line of the section (the header when empty)
};

SectionScan findSection(const QByteArray &text, const QList<LineSpan> &lines, const QString &section)
{
    SectionScan scan;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lineText(text, lines[i]));
        if (scan.header >= 0) {
            if (name)
                break;
            if (!lineText(text, lines[i]).trimmed().isEmpty())
                scan.lastEntry = i;
        } else if (name && sameName(*name, section)) {
            scan.header = i;
            scan.lastEntry = i;
        }
    }
    return scan;
}

qsizetype findKey(
    const QByteArray &text, const QList<LineSpan> &lines, const SectionScan &scan, const QString &key)
{
    if (scan.header < 0)
        return -1;
    for (qsizetype i = scan.header + 1; i <= scan.lastEntry; ++i) {
        const auto entry = keyOf(lineText(text, lines[i]));
        if (entry && sameName(entry->first, key))
            return i;
    }
    return -1;
}

QByteArray lineBreakOf(const QByteArray &text)
{
    const qsizetype nl = text.indexOf('\n');
    return (nl > 0 && text.at(nl - 1) == '\r') ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

QByteArray entryLine(const QString &key, const QString &value)
{
    QString clean = value;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    return key.toUtf8() + '=' + clean.toUtf8();
}

void applyWrite(QByteArray &text, const QString &section, const QString &key, const QString &value)
{
    const QByteArray nl = lineBreakOf(text);
    const QList<LineSpan> lines = splitLines(text);
    const SectionScan scan = findSection(text, lines, section);
    const QByteArray entry = entryLine(key, value);
    if (scan.header < 0) {
        if (!text.isEmpty() && !text.endsWith('\n'))
            text += nl;
        text += '[' + section.toUtf8() + ']' + nl + entry + nl;
        return;
    }
    const qsizetype existing = findKey(text, lines, scan, key);
    if (existing >= 0) {
        // The key keeps the spelling it has in the file.
        const LineSpan &line = lines[existing];
        const QByteArrayView old = lineText(text, line);
        const QByteArray oldKey = old.first(old.indexOf('=')).trimmed().toByteArray();
        text.replace(line.begin, line.end - line.begin, entryLine(QString::fromUtf8(oldKey), value));
        return;
    }
    const LineSpan &after = lines[scan.lastEntry];
    if (after.next == after.end) // the last line of the file has no line break
        text.insert(after.end, nl + entry);
    else
        text.insert(after.next, entry + nl);
}

} // namespace

ProfileFile::ProfileFile(QString path)
    : path_(std::move(path))
{ }

ProfileFile::Load ProfileFile::load(QByteArray &contents) const
{
    contents.clear();
    QFile file(path_);
    if (!file.exists())
        return Load::Missing;
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxFileSize)
        return Load::Failed;
    // readAll() sizes its buffer from the file; the size was checked above, and a
    // file that grows meanwhile is refused below.
    contents = file.readAll();
    if (file.error() != QFileDevice::NoError || contents.size() > maxFileSize) {
        contents.clear();
        return Load::Failed;
    }
    return Load::Loaded;
}

bool ProfileFile::isReadable() const
{
    QByteArray contents;
    return load(contents) != Load::Failed;
}

QString ProfileFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    QByteArray text;
    if (load(text) != Load::Loaded)
        return fallback;
    const QList<LineSpan> lines = splitLines(text);
    const SectionScan scan = findSection(text, lines, section);
    const qsizetype index = findKey(text, lines, scan, key);
    if (index < 0)
        return fallback;
    const QByteArrayView line = lineText(text, lines[index]);
    const auto entry = keyOf(line);
    return unquote(decode(line.sliced(entry->second)));
}

bool ProfileFile::writeString(const QString &section, const QString &key, const QString &value)
{
    return writeStrings(section, {{key, value}});
}

bool ProfileFile::writeStrings(const QString &section, const QList<std::pair<QString, QString>> &entries)
{
    QByteArray text;
    if (load(text) == Load::Failed)
        return false;
    for (const auto &[key, value] : entries)
        applyWrite(text, section, key, value);

    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
