#include "sortedlines.h"

#include <algorithm>
#include <cstring>

namespace {

QByteArrayView firstField(QByteArrayView line)
{
    const qsizetype blank = line.indexOf(' ');
    return blank < 0 ? line : line.first(blank);
}

// Unsigned byte order, a shorter field before the longer one it begins.
int compare(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int c = common > 0 ? std::memcmp(a.data(), b.data(), size_t(common)) : 0;
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

SortedLines::SortedLines(QByteArray text)
{
    if (text.size() > maxSize)
        return;
    text_ = std::move(text);
    const char *begin = text_.constData();
    const char *end = begin + text_.size();
    for (const char *p = begin; p < end;) {
        starts_.push_back(quint32(p - begin));
        const void *nl = std::memchr(p, '\n', size_t(end - p));
        p = nl ? static_cast<const char *>(nl) + 1 : end;
    }
}

QByteArrayView SortedLines::line(qsizetype n) const
{
    const qsizetype start = starts_[size_t(n)];
    const qsizetype stop = n + 1 < lineCount() ? qsizetype(starts_[size_t(n + 1)]) : text_.size();
    QByteArrayView view(text_.constData() + start, stop - start);
    if (view.endsWith('\n'))
        view.chop(1);
    if (view.endsWith('\r'))
        view.chop(1);
    return view;
}

QByteArrayView SortedLines::find(QByteArrayView key) const
{
    if (key.isEmpty())
        return {};
    qsizetype lo = 0;
    qsizetype hi = lineCount();
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo) / 2;
        if (compare(firstField(line(mid)), key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < lineCount()) {
        const QByteArrayView found = line(lo);
        if (compare(firstField(found), key) == 0)
            return found;
    }
    return {};
}
