#pragma once

#include "gamelauncher.h"

#include <QList>
#include <QStringList>

// Records the games the lobby starts and starts none; a test ends the game with
// end().
class FakeLauncher : public GameLauncher
{
    Q_OBJECT

public:
    using GameLauncher::GameLauncher;

    bool start(const QStringList &arguments, const QStringList &environment, QString *error) override
    {
        started << arguments;
        environments << environment;
        if (!startSucceeds && error)
            *error = QStringLiteral("no game here");
        return startSucceeds;
    }
    void end() { Q_EMIT ended(); }

    QList<QStringList> started;
    QList<QStringList> environments;
    bool startSucceeds = true;
};
