#include "rejoinrecord.h"

#include "fieldreader.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QString RejoinRecord::path(const QString &folder)
{
    return QDir(folder).filePath(fileName);
}

bool RejoinRecord::save(const QString &folder) const
{
    QSaveFile file(path(folder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Before a byte of the token is written.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    QByteArray text;
    text += "host=" + host.toUtf8() + '\n';
    text += "port=" + QByteArray::number(port) + '\n';
    text += "slot=" + QByteArray::number(slot) + '\n';
    text += "token=" + Wire::tokenText(token) + '\n';
    text += "expires=" + QByteArray::number(expires.toMSecsSinceEpoch()) + '\n';
    file.write(text);
    return file.commit();
}

std::optional<RejoinRecord> RejoinRecord::take(const QString &folder, const QDateTime &now)
{
    QFile file(path(folder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.read(maxFileBytes + 1);
    file.close();
    // Used once, whatever it holds.
    file.remove();
    if (text.size() > maxFileBytes)
        return std::nullopt;

    RejoinRecord record;
    std::optional<qint64> expires;
    for (const QByteArray &line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.first(equals);
        const QByteArray value = line.sliced(equals + 1);
        if (key == "host") {
            record.host = QString::fromUtf8(value);
        } else if (key == "port") {
            const auto port = FieldReader::toInt(value);
            record.port = port && *port > 0 && *port <= 65535 ? quint16(*port) : 0;
        } else if (key == "slot") {
            record.slot = FieldReader::toInt(value).value_or(0);
        } else if (key == "token") {
            if (const auto token = Wire::tokenFromText(value))
                record.token = *token;
            else
                return std::nullopt;
        } else if (key == "expires") {
            bool ok = false;
            expires = value.toLongLong(&ok);
            if (!ok)
                expires.reset();
        }
    }
    if (record.host.isEmpty() || !record.port || record.slot < 1 || !expires)
        return std::nullopt;
    record.expires = QDateTime::fromMSecsSinceEpoch(*expires);
    if (record.expires <= now || !text.contains("token="))
        return std::nullopt;
    return record;
}
