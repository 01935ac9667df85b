#include "chatlinks.h"

namespace {

constexpr QLatin1StringView webPrefixes[]
    = {QLatin1StringView("http://"), QLatin1StringView("https://"), QLatin1StringView("www.")};

// Characters that may stand before an address in running text.
bool isOpening(QChar c)
{
    return QStringView(u"([{<\"'`*_").contains(c);
}

// Characters that end a sentence or close a bracket after an address.
bool isTrailing(QChar c)
{
    return QStringView(u".,;:!?)]}>\"'`*_").contains(c);
}

// Removes trailing punctuation, but keeps a closing bracket that pairs with an
// opening one inside the address ("http://en.example.org/wiki/Word_(game)").
QString trimTrailing(QString s)
{
    while (!s.isEmpty() && isTrailing(s.back())) {
        const QChar last = s.back();
        const QChar open = last == QLatin1Char(')') ? QLatin1Char('(')
            : last == QLatin1Char(']')              ? QLatin1Char('[')
            : last == QLatin1Char('}')              ? QLatin1Char('{')
                                                    : QChar();
        if (!open.isNull() && s.count(open) >= s.count(last))
            break;
        s.chop(1);
    }
    return s;
}

} // namespace

bool ChatLinks::islinkword(const QString &word)
{
    for (const QLatin1StringView prefix : webPrefixes) {
        if (word.contains(prefix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QUrl ChatLinks::webAddress(const QString &word)
{
    QString s = word;
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    if (s.size() > 4096)
        return {};

    // The address starts at the first web prefix, after nothing but opening marks.
    qsizetype start = -1;
    for (const QLatin1StringView prefix : webPrefixes) {
        const qsizetype at = s.indexOf(prefix, 0, Qt::CaseInsensitive);
        if (at >= 0 && (start < 0 || at < start))
            start = at;
    }
    if (start < 0)
        return {};
    for (qsizetype i = 0; i < start; ++i) {
        if (!isOpening(s.at(i)))
            return {};
    }
    s = trimTrailing(s.mid(start));
    if (s.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        s.prepend(QLatin1String("http://"));

    const QUrl url(s, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    const QString host = url.host();
    if (host.isEmpty() || host.startsWith(QLatin1Char('.')) || host.endsWith(QLatin1Char('.'))
        || host.contains(QLatin1String("..")))
        return {};
    return url;
}

int ChatLinks::store(const QString &word)
{
    ++linkcounter_;
    if (linkcounter_ >= size)
        linkcounter_ = 1;
    entries_[std::size_t(linkcounter_)] = word;
    return linkcounter_;
}

QString ChatLinks::entry(int index) const
{
    if (index < 0 || index >= size)
        return {};
    return entries_[std::size_t(index)];
}
