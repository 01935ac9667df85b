#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Marks a running game for the lobby program: the lock file "<name>.lock" (holding
// this process's id) exists while the program runs. Nothing in this program reads
// it; a marker left by a crashed copy is recognised as stale and taken over.
class ProcessMarker
{
public:
    static inline const QString defaultName = QStringLiteral("wendlewick");

    // `folder` empty means the instance guard's folder.
    explicit ProcessMarker(const QString &name = defaultName, const QString &folder = QString());
    ~ProcessMarker();

    ProcessMarker(const ProcessMarker &) = delete;
    ProcessMarker &operator=(const ProcessMarker &) = delete;

    bool isHeld() const { return held_; }
    QString filePath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};
