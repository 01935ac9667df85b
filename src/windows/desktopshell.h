#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The desktop's shell: opening web pages and starting other programs. The program
// uses SystemShell; tests use a recording fake, so no test opens a browser or runs
// a downloaded file.
class DesktopShell
{
public:
    virtual ~DesktopShell() = default;

    // Opens `url` in the user's web browser. False when no handler could be started.
    virtual bool openUrl(const QUrl &url) = 0;

    // Starts `program` with `arguments` as a separate process that outlives this one.
    // False when the program could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
};
