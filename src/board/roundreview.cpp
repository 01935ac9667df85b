#include "roundreview.h"

#include "wordresults.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

QList<Cell> cellsOf(const QList<BoardCell> &path)
{
    QList<Cell> cells;
    cells.reserve(path.size());
    for (const BoardCell &c : path)
        cells.append(Cell {c.row, c.col});
    return cells;
}

int firstFinderPoints(const QString &word)
{
    return BoardSolver::basePoints(int(word.size())) + 1;
}

} // namespace

RoundReview RoundReview::build(const QList<SolvedWord> &boardWords, const QList<AcceptedWord> &mine,
    const QStringList &roundWords, int minLetters, bool solved)
{
    RoundReview review;
    review.solved_ = solved;

    QHash<QString, const AcceptedWord *> yours;
    for (const AcceptedWord &a : mine) {
        const QString key = a.word.toUpper();
        if (WordResults::isGameWord(key) && !yours.contains(key))
            yours.insert(key, &a);
    }
    QSet<QString> others;
    for (const QString &w : roundWords) {
        const QString key = w.toUpper();
        if (WordResults::isGameWord(key))
            others.insert(key);
    }

    QSet<QString> placed;
    auto place = [&](const QString &word, const QList<Cell> &path) {
        if (placed.contains(word))
            return;
        placed.insert(word);
        Entry e {word, firstFinderPoints(word), path, VerdictMark::Kind::FoundByNobody};
        Group g = FoundByNobody;
        if (const AcceptedWord *a = yours.value(word)) {
            g = FoundByYou;
            e.points = a->points;
            e.mark = a->first ? VerdictMark::Kind::FirstFinder : VerdictMark::Kind::Accepted;
        } else if (others.contains(word)) {
            g = FoundByOthers;
            e.mark = VerdictMark::Kind::FoundByOthers;
        }
        review.groups_[size_t(g)].append(e);
    };

    for (const SolvedWord &s : boardWords) {
        if (s.word.size() >= minLetters || yours.contains(s.word) || others.contains(s.word))
            place(s.word, cellsOf(s.path));
    }
    for (auto it = yours.cbegin(); it != yours.cend(); ++it)
        place(it.key(), {});
    for (const QString &w : std::as_const(others))
        place(w, {});

    for (QList<Entry> &entries : review.groups_) {
        std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
            return a.word.size() != b.word.size() ? a.word.size() > b.word.size() : a.word < b.word;
        });
    }
    return review;
}

int RoundReview::total() const
{
    int n = 0;
    for (const QList<Entry> &entries : groups_)
        n += int(entries.size());
    return n;
}

QString RoundReview::summary() const
{
    const int all = total();
    if (!solved_)
        return QStringLiteral("You found %1 of the %2 %3 found this round")
            .arg(count(FoundByYou))
            .arg(all)
            .arg(all == 1 ? QStringLiteral("word") : QStringLiteral("words"));
    return QStringLiteral("You found %1 of %2 %3")
        .arg(count(FoundByYou))
        .arg(all)
        .arg(all == 1 ? QStringLiteral("word") : QStringLiteral("words"));
}

QString RoundReview::groupTitle(Group g)
{
    switch (g) {
    case FoundByYou:
        return QStringLiteral("Found by you");
    case FoundByOthers:
        return QStringLiteral("Found by others");
    case FoundByNobody:
        break;
    }
    return QStringLiteral("Found by nobody");
}

QString RoundReview::groupHeading(Group g) const
{
    return groupTitle(g) + QStringLiteral(" (") + QString::number(count(g)) + QLatin1Char(')');
}
