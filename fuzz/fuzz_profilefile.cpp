// Arbitrary bytes as a settings file: reading must stay in bounds, every value read
// must lie in its range, and a key just written must read back as written.
#include "profilefile.h"
#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Memory-backed where possible: every write is synced to disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
            ? QStringLiteral("/dev/shm/fuzz_profilefile-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/fuzz_profilefile-XXXXXX"));
    if (size < 1)
        return 0;
    const QString path = dir.filePath(QStringLiteral("orinlobby.ini"));
    // First byte: the length of the value taken from the end; the rest is the file.
    const size_t valueLength = std::min<size_t>(data[0] % 24, size - 1);
    QString value;
    for (size_t i = size - valueLength; i < size; ++i)
        value += QChar(u'a' + data[i] % 26);
    if (value.isEmpty())
        value = QStringLiteral("x");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1 - valueLength));
    }

    SettingsFile settings(path);
    const SettingsValues v = settings.load(SettingsValues());
    if (v.textSize < 6 || v.textSize > 72 || v.boardSize < 4 || v.boardSize > 11 || v.minLetters < 3
        || v.minLetters > 7 || v.timePerTurn < 45 || v.timePerTurn > 180 || v.playToScore < 0
        || v.playToScore > 10000 || v.window.width() <= 0 || v.window.height() <= 0)
        __builtin_trap();
    for (const QString &phrase : v.phrases) {
        if (phrase.size() > SettingsValues::phraseMaxLength)
            __builtin_trap();
    }

    ProfileFile file(path);
    const std::array<QString, 3> keys {
        QStringLiteral("Top"), QStringLiteral("textsize"), QStringLiteral("Phrase1")};
    const QString key = keys[size % keys.size()];
    if (!file.writeString(SettingsFile::section, key, value))
        __builtin_trap();
    if (file.readString(SettingsFile::section.toUpper(), key.toLower()) != value)
        __builtin_trap();
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly))
        __builtin_trap();
    const QByteArray once = written.readAll();
    written.close();
    if (!file.writeString(SettingsFile::section, key, value))
        __builtin_trap();
    if (!written.open(QIODevice::ReadOnly) || written.readAll() != once)
        __builtin_trap();
    return 0;
}
