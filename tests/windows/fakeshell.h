#pragma once

#include "desktopshell.h"

#include <QList>
#include <QPair>

// Records what the windows ask the desktop to open or start, and starts nothing.
class FakeShell : public DesktopShell
{
public:
    bool openUrl(const QUrl &url) override
    {
        urls << url;
        return true;
    }

    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        started << qMakePair(program, arguments);
        return startSucceeds;
    }

    QList<QUrl> urls;
    QList<QPair<QString, QStringList>> started;
    bool startSucceeds = true;
};
