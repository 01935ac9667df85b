#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// A text of lines sorted by their first field (the bytes before the first blank, as
// unsigned bytes), as WordNet's index and exception files are; a lookup is a binary
// search over the line starts, found once when the text is taken. Lines that begin with
// a blank (a licence header) have an empty first field and sort first. Line ends are
// "\n" or "\r\n".
//
// A text that is not sorted gives wrong answers, never out-of-bounds reads.
class SortedLines
{
public:
    // Texts past this size (real WordNet files are under 5 MiB) are not taken.
    static constexpr qsizetype maxSize = 64 * 1024 * 1024;

    SortedLines() = default;
    // An empty object when `text` is larger than maxSize.
    explicit SortedLines(QByteArray text);

    bool isEmpty() const { return starts_.empty(); }
    qsizetype lineCount() const { return qsizetype(starts_.size()); }

    // The first line (without its line end) whose first field is `key`; a null view
    // when there is none or the key is empty.
    QByteArrayView find(QByteArrayView key) const;

private:
    QByteArrayView line(qsizetype n) const;

    QByteArray text_;
    std::vector<quint32> starts_;
};
