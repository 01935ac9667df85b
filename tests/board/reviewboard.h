#pragma once

// The round review's test board and word list. The board, in the top left corner:
//
//     C A T
//     S E N
//
// holds CAT, NET, SEA, TEN, ANTE, CANE, NEAT, SEAT, TEAS and SCENT; ACT, CATS and ZOO
// are words it does not hold.

#include "boardtext.h"
#include "tdictn.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

inline BoardModel::Grid reviewGrid()
{
    return gridFromText({"CAT", "SEN"});
}

inline std::unique_ptr<TDictn> reviewDictionary(const QTemporaryDir &dir)
{
    QByteArray block;
    for (const char *word :
        {"ACT", "ANTE", "CANE", "CAT", "CATS", "NEAT", "NET", "SCENT", "SEA", "SEAT", "TEAS", "TEN", "ZOO"}) {
        block += '\x1e';
        block += QByteArray(word).leftJustified(14, ' ');
    }
    const QString source = dir.filePath(QStringLiteral("review.rec"));
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly) || f.write(block) != block.size())
        return nullptr;
    f.close();
    return std::make_unique<TDictn>(dir.path(), source);
}
