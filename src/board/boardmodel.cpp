#include "boardmodel.h"

namespace {

void fill(BoardModel::Grid &grid, int value)
{
    for (auto &column : grid)
        column.fill(value);
}

} // namespace

BoardModel::BoardModel(QObject *parent)
    : QObject(parent)
{
    fill(realboard_, blankTile);
    fill(shownboard_, blankTile);
    fill(marks_, noMark);
}

void BoardModel::loadboard(std::span<const Triple> triples)
{
    for (const Triple &t : triples) {
        if (!Cell {t.x, t.y}.inGrid())
            continue;
        realboard_[t.x][t.y] = isLetter(t.code) ? t.code : blankTile;
    }
    rotation_ = 0;
    shownboard_ = realboard_;
    fill(marks_, noMark);
    overlay_.clear();
    Q_EMIT changed();
}

void BoardModel::loadboard(std::span<const Wire::FromHost::BoardCell> cells)
{
    QList<Triple> triples;
    triples.reserve(qsizetype(cells.size()));
    for (const Wire::FromHost::BoardCell &cell : cells)
        triples.append({cell.row, cell.col, cell.code});
    loadboard(triples);
}

void BoardModel::loadboard(const Grid &codes)
{
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y)
            realboard_[x][y] = isLetter(codes[x][y]) ? codes[x][y] : blankTile;
    rotation_ = 0;
    shownboard_ = realboard_;
    fill(marks_, noMark);
    overlay_.clear();
    Q_EMIT changed();
}

void BoardModel::clearall()
{
    fill(realboard_, blankTile);
    fill(shownboard_, blankTile);
    fill(marks_, noMark);
    overlay_.clear();
    Q_EMIT changed();
}

QRect BoardModel::shownSquare() const
{
    QRect square;
    for (int x = 0; x < size; ++x)
        for (int y = 0; y < size; ++y)
            if (shownboard_[x][y] != blankTile)
                square |= QRect(x, y, 1, 1);
    return square;
}

void BoardModel::rotate()
{
    rotation_ = (rotation_ + 1) % 4;
    showRotated();
    Q_EMIT changed();
}

void BoardModel::setOddboard(bool odd)
{
    if (odd == oddboard_)
        return;
    oddboard_ = odd;
    showRotated();
    Q_EMIT changed();
}

// Displayed cells that no host cell maps onto (a row or column of index 9 with M = 8)
// show the blank tile rather than whatever they showed before.
void BoardModel::showRotated()
{
    fill(shownboard_, blankTile);
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            if (const auto c = displayed({i, j}))
                shownboard_[c->x][c->y] = realboard_[i][j];
        }
    }
}

std::optional<Cell> BoardModel::toDisplayed(Cell real, int rotation, int m)
{
    Cell c;
    switch (rotation & 3) {
    case 0:
        c = real;
        break;
    case 1:
        c = {m - real.y, real.x};
        break;
    case 2:
        c = {m - real.x, m - real.y};
        break;
    default:
        c = {real.y, m - real.x};
        break;
    }
    if (!real.inGrid() || !c.inGrid())
        return std::nullopt;
    return c;
}

std::optional<Cell> BoardModel::toReal(Cell shown, int rotation, int m)
{
    Cell c;
    switch (rotation & 3) {
    case 0:
        c = shown;
        break;
    case 1:
        c = {shown.y, m - shown.x};
        break;
    case 2:
        c = {m - shown.x, m - shown.y};
        break;
    default:
        c = {m - shown.y, shown.x};
        break;
    }
    if (!shown.inGrid() || !c.inGrid())
        return std::nullopt;
    return c;
}

void BoardModel::setMark(Cell c, int mark)
{
    if (!c.inGrid())
        return;
    if (mark != lastTileMark && mark != earlierTileMark)
        mark = noMark;
    if (marks_[c.x][c.y] == mark)
        return;
    marks_[c.x][c.y] = mark;
    Q_EMIT changed();
}

void BoardModel::clearMarks()
{
    fill(marks_, noMark);
    Q_EMIT changed();
}

void BoardModel::setPathOverlay(const QList<Cell> &realPath)
{
    QList<Cell> path;
    for (const Cell &c : realPath) {
        if (c.inGrid() && path.size() < size * size)
            path.append(c);
    }
    if (path == overlay_)
        return;
    overlay_ = path;
    Q_EMIT changed();
}

void BoardModel::clearPathOverlay()
{
    if (overlay_.isEmpty())
        return;
    overlay_.clear();
    Q_EMIT changed();
}

QString BoardModel::convertoletter(int code)
{
    if (!isLetter(code))
        return QString();
    return QString(QChar(u'a' + (code - firstLetter)));
}
