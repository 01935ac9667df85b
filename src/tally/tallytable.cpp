#include "tallytable.h"

#include <QFile>
#include <QStringDecoder>

#include <limits>
#include <optional>

namespace {

const QString zero = QStringLiteral("0");

std::array<QString, TallyTable::columns> zeroRow()
{
    std::array<QString, TallyTable::columns> row;
    row.fill(zero);
    return row;
}

// Cells are Latin-1, byte for byte as the wire carries names; files that earlier
// builds wrote in UTF-8 are read as such.
QString decodeText(const QByteArray &raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(raw);
    if (utf8.hasError())
        text = QString::fromLatin1(raw);
    return text;
}

// The next line of `rest` (ended by CR LF, LF or CR, or by the end of the text), or
// nothing when the text is used up.
std::optional<QStringView> nextLine(QStringView &rest)
{
    if (rest.isEmpty())
        return std::nullopt;
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != u'\r' && rest[end] != u'\n')
        ++end;
    const QStringView line = rest.first(end);
    qsizetype skip = end;
    if (skip < rest.size())
        skip += (rest[skip] == u'\r' && skip + 1 < rest.size() && rest[skip + 1] == u'\n') ? 2 : 1;
    rest = rest.sliced(skip);
    return line;
}

} // namespace

TallyTable::TallyTable(QObject *parent)
    : QAbstractTableModel(parent)
{
    grid_.append(zeroRow());
}

int TallyTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows();
}

int TallyTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns;
}

QVariant TallyTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return cell(index.column(), index.row());
}

QVariant TallyTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    Q_UNUSED(orientation)
    if (role != Qt::DisplayRole)
        return QVariant();
    return QString::number(section);
}

QString TallyTable::cell(int column, int row) const
{
    if (column < 0 || column >= columns || row < 0 || row >= rows())
        return QString();
    return grid_.at(row)[column];
}

void TallyTable::setCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= columns || row < 0 || row >= rows())
        return;
    grid_[row][column] = text;
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed);
}

int TallyTable::rowOf(const QString &name) const
{
    for (int row = 1; row < rows(); ++row) {
        if (grid_.at(row)[0] == name)
            return row;
    }
    return -1;
}

QStringList TallyTable::opponents() const
{
    QStringList names;
    for (int row = 1; row < rows(); ++row)
        names.append(grid_.at(row)[0]);
    return names;
}

int TallyTable::appendOpponent(const QString &name)
{
    const int row = rows();
    beginInsertRows(QModelIndex(), row, row);
    Row added = zeroRow();
    added[0] = name;
    grid_.append(added);
    endInsertRows();
    return row;
}

qint64 TallyTable::addit(int column, int row)
{
    if (column < 0 || column >= columns || row < 0 || row >= rows())
        return -1;
    bool ok = false;
    qint64 count = grid_.at(row)[column].trimmed().toLongLong(&ok);
    if (!ok || count < 0)
        count = 0;
    if (count < std::numeric_limits<qint64>::max())
        ++count;
    setCell(column, row, QString::number(count));
    return count;
}

void TallyTable::moverow(int row)
{
    if (row < 1 || row >= rows())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    grid_.removeAt(row);
    endRemoveRows();
}

void TallyTable::removeOpponents()
{
    if (rows() <= 1)
        return;
    beginRemoveRows(QModelIndex(), 1, rows() - 1);
    grid_.resize(1);
    endRemoveRows();
}

bool TallyTable::savegrid(QIODevice &device) const
{
    QByteArray text;
    const QByteArray lineEnd = QByteArrayLiteral("\r\n");
    text += QByteArray::number(columns) + lineEnd + QByteArray::number(rows()) + lineEnd;
    for (int column = 0; column < columns; ++column) {
        for (const Row &row : grid_)
            text += row[column].toLatin1() + lineEnd;
    }
    return device.write(text) == text.size();
}

bool TallyTable::savegrid(const QString &fileName) const
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && savegrid(file) && file.flush();
}

bool TallyTable::loadgrid(QIODevice &device, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QByteArray raw = device.read(maxTextSize + 1);
    if (raw.size() > maxTextSize)
        return fail(QStringLiteral("the table is too large"));
    const QString text = decodeText(raw);
    QStringView rest(text);

    const auto columnLine = nextLine(rest);
    const auto rowLine = nextLine(rest);
    if (!columnLine || !rowLine)
        return fail(QStringLiteral("the table has no size"));
    bool ok = false;
    if (columnLine->trimmed().toInt(&ok) != columns || !ok)
        return fail(QStringLiteral("the table does not have %1 columns").arg(columns));
    const int rowTotal = rowLine->trimmed().toInt(&ok);
    if (!ok || rowTotal < 1 || rowTotal > maxRows)
        return fail(QStringLiteral("the table's row count is not valid"));

    // Every cell must be there before the table is allocated for the announced rows.
    const qsizetype cells = qsizetype(rowTotal) * columns;
    QList<QStringView> lines;
    while (lines.size() < cells) {
        const auto line = nextLine(rest);
        if (!line)
            return fail(QStringLiteral("the table ends early"));
        lines.append(*line);
    }
    QList<Row> loaded(rowTotal);
    for (qsizetype i = 0; i < cells; ++i)
        loaded[i % rowTotal][i / rowTotal] = lines.at(i).toString();

    beginResetModel();
    grid_ = std::move(loaded);
    endResetModel();
    return true;
}

bool TallyTable::loadgrid(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return loadgrid(file, error);
}
