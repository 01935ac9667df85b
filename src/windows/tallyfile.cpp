#include "tallyfile.h"

#include "tallytable.h"
#include "tlzrw1.h"

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
    : folder(folder)
{ }

QString TallyFile::filePath() const
{
    return QDir(folder).filePath(fileName);
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
        saveBlocked = true;
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

    Tlzrw1 codec;
    codec.setSizeLimit(TallyTable::maxTextSize);
    QString damage;
    if (codec.decompressDevice(packed, text) < 0) {
        switch (codec.error()) {
        case Tlzrw1::Error::NoMemory:
        case Tlzrw1::Error::OpenOutput:
        case Tlzrw1::Error::Write:
            return unreadable(codec.errorString());
        default:
            damage = codec.errorString();
        }
    } else if (!text.seek(0)) {
        return unreadable(text.errorString());
    } else if (!table.loadgrid(text, &damage)) {
        damage = path % QStringLiteral(": ") % damage;
    } else {
        result.status = LoadStatus::Loaded;
        return result;
    }

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

bool TallyFile::save(const TallyTable &table)
{
    auto fail = [this](const QString &why) {
        lastError = QStringLiteral("The tally could not be saved (%1).").arg(why);
        return false;
    };
    if (saveBlocked)
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
    lastError.clear();
    return true;
}
