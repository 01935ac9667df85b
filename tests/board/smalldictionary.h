#pragma once

#include "tdictn.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

// The word list of the board tests, written into `dir`.
inline std::unique_ptr<TDictn> smallDictionary(const QTemporaryDir &dir)
{
    QByteArray block;
    for (const char *word : {"ACT", "CAT", "CATS", "TEEN"}) {
        block += '\x1e';
        block += QByteArray(word).leftJustified(14, ' ');
    }
    const QString source = dir.filePath(QStringLiteral("words.rec"));
    QFile f(source);
    if (!f.open(QIODevice::WriteOnly) || f.write(block) != block.size())
        return nullptr;
    f.close();
    return std::make_unique<TDictn>(dir.path(), source);
}
