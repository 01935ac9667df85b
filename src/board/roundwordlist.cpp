#include "roundwordlist.h"

#include "wire.h"
#include "wordresults.h"

RoundWordList RoundWordList::fromWire(QByteArrayView list)
{
    RoundWordList result;
    qsizetype from = 0;
    while (from <= list.size() && result.words_.size() < maxWords) {
        qsizetype plus = list.indexOf('+', from);
        if (plus < 0)
            plus = list.size();
        const QByteArrayView item = list.sliced(from, plus - from);
        from = plus + 1;
        if (item.isEmpty())
            continue;
        const QString text = Wire::fromWire(item);
        if (text == noWordsItem) {
            result.noWords_ = result.words_.isEmpty();
            break;
        }
        result.words_.append(WordResults::shownWord(text));
    }
    return result;
}

QString RoundWordList::cell(int row, int column) const
{
    if (row < 0 || column < 0 || column >= columns)
        return QString();
    const qsizetype index = qsizetype(row) * columns + column;
    return index < words_.size() ? words_.at(index) : QString();
}
