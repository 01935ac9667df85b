#pragma once

#include "desktopshell.h"

// The real desktop shell: the user's web browser and detached processes.
class SystemShell : public DesktopShell
{
public:
    // The one shell of the program, used by windows that are given no other.
    static SystemShell &instance();

    bool openUrl(const QUrl &url) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
};
