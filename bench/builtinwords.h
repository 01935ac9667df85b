#pragma once

// The built-in word list and its word graph, made once per benchmark program.

#include "tdictn.h"
#include "wordtrie.h"

#include <QTemporaryDir>

#include <memory>

struct BuiltinWords
{
    QTemporaryDir dir;
    std::unique_ptr<TDictn> dict;
    WordTrie trie;

    BuiltinWords()
    {
        dict = std::make_unique<TDictn>(dir.path(), TDictn::builtinResource);
        trie = WordTrie::fromDictionary(*dict);
    }
};

inline BuiltinWords &fixture()
{
    static BuiltinWords words;
    return words;
}
