#include "tallyfile.h"

#include "tallytable.h"
#include "tlzrw1.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

QString workingCopyTemplate()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("wendlewick-tally-XXXXXX.txt"));
}

} // namespace

TallyFile::TallyFile(const QString &folder)
    : folder_(folder)
{ }

QString TallyFile::filePath() const
{
    return QDir(folder_).filePath(fileName);
}

QString TallyFile::setAsideName() const
{
    const QString base = filePath() + QStringLiteral(".damaged");
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) && n < 10000; ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

TallyFile::LoadResult TallyFile::load(TallyTable &table)
{
    LoadResult result;
    const QString path = filePath();
    if (!QFileInfo::exists(path))
        return result;

    auto unreadable = [&](const QString &why) {
        saveBlocked_ = true;
        result.status = LoadStatus::Unreadable;
        result.message
            = QStringLiteral("The tally file could not be read (%1). It is left as it is, and the tally "
                             "of this session will not be saved.")
                  .arg(why);
        return result;
    };

    QFile packed(path);
    if (!packed.open(QIODevice::ReadOnly))
        return unreadable(path % QStringLiteral(": ") % packed.errorString());
    QTemporaryFile text(workingCopyTemplate());
    if (!text.open())
        return unreadable(QStringLiteral("no working copy: ") % text.errorString());

    const Unpacked unpacked = unpack(packed, text, table);
    if (unpacked.outcome == Unpacked::Loaded) {
        result.status = LoadStatus::Loaded;
        return result;
    }
    if (unpacked.outcome == Unpacked::NoWorkingCopy)
        return unreadable(unpacked.why);
    const QString damage = unpacked.outcome == Unpacked::TextDamaged
        ? path % QStringLiteral(": ") % unpacked.why
        : unpacked.why;

    packed.close();
    const QString aside = setAsideName();
    if (!QFile::rename(path, aside))
        return unreadable(damage);
    result.status = LoadStatus::SetAside;
    result.setAsidePath = aside;
    result.message
        = QStringLiteral("The tally file was damaged (%1). It was kept as %2, and a fresh tally was "
                         "started.")
              .arg(damage, QDir::toNativeSeparators(aside));
    return result;
}

TallyFile::Unpacked TallyFile::unpack(QIODevice &packed, QIODevice &text, TallyTable &table)
{
    Tlzrw1 codec;
    codec.setSizeLimit(TallyTable::maxTextSize);
    if (codec.decompressDevice(packed, text) < 0) {
        switch (codec.error()) {
        case Tlzrw1::Error::NoMemory:
        case Tlzrw1::Error::OpenOutput:
        case Tlzrw1::Error::Write:
            return {Unpacked::NoWorkingCopy, codec.errorString()};
        default:
            return {Unpacked::Damaged, codec.errorString()};
        }
    }
    if (!text.seek(0))
        return {Unpacked::NoWorkingCopy, text.errorString()};
    QString damage;
    if (!table.loadgrid(text, &damage))
        return {Unpacked::TextDamaged, damage};
    return {};
}

bool TallyFile::peek(TallyTable &table) const
{
    QFile packed(filePath());
    if (!packed.open(QIODevice::ReadOnly))
        return false;
    QBuffer text;
    text.open(QIODevice::ReadWrite);
    return unpack(packed, text, table).outcome == Unpacked::Loaded;
}

bool TallyFile::save(const TallyTable &table)
{
    auto fail = [this](const QString &why) {
        lastError_ = QStringLiteral("The tally could not be saved (%1).").arg(why);
        return false;
    };
    if (saveBlocked_)
        return fail(QStringLiteral("the tally file that could not be read is kept as it is"));

    QTemporaryFile text(workingCopyTemplate());
    if (!text.open())
        return fail(QStringLiteral("no working copy: ") % text.errorString());
    if (!table.savegrid(text) || !text.flush() || !text.seek(0))
        return fail(QStringLiteral("working copy: ") % text.errorString());

    QSaveFile packed(filePath());
    if (!packed.open(QIODevice::WriteOnly))
        return fail(filePath() % QStringLiteral(": ") % packed.errorString());
    Tlzrw1 codec;
    if (codec.compressDevice(text, packed) < 0) {
        packed.cancelWriting();
        return fail(codec.errorString());
    }
    if (!packed.commit())
        return fail(filePath() % QStringLiteral(": ") % packed.errorString());
    lastError_.clear();
    return true;
}
