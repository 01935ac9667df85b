#pragma once

#include <QString>
#include <QUrl>

#include <array>

// The texts of the links shown in the chat view: a table of 101 entries. Each link
// shown is stored once, at the next index (0, 1, ... 100, then 1 again), and carries
// that index as its number, so a click reads back the entry it was stored in.
class ChatLinks
{
public:
    static constexpr int size = 101;

    // Whether the chat shows `word` as a link: it contains "http://", "https://" or
    // "www.", in any letter case and anywhere in the word.
    static bool islinkword(const QString &word);

    // The web address a link word opens: an http or https address, or a word that
    // begins with "www." (opened with "http://" in front). Punctuation around the
    // address ("(www.example.com)," ) is not part of it. Returns an empty QUrl for
    // any other word.
    static QUrl webAddress(const QString &word);

    // Stores a link's text and returns its index.
    int store(const QString &word);

    // Entry `index`; empty outside 0..100 and for entries never written.
    QString entry(int index) const;

    // The index of the entry written last; -1 before the first.
    int linkcounter() const { return linkcounter_; }

private:
    std::array<QString, size> entries_;
    int linkcounter_ = -1;
};
