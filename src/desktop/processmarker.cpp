#include "processmarker.h"

#include "instanceguard.h"

#include <QDir>
#include <QLockFile>

ProcessMarker::ProcessMarker(const QString &name, const QString &folder)
{
    const QString dir = folder.isEmpty() ? InstanceGuard::defaultFolder() : folder;
    QDir().mkpath(dir);
    path_ = QDir(dir).filePath(name + QStringLiteral(".lock"));
    lock_ = std::make_unique<QLockFile>(path_);
    lock_->setStaleLockTime(0);
    held_ = lock_->tryLock(0);
}

ProcessMarker::~ProcessMarker() = default;
