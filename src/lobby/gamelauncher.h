#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Starts the game program for the lobby. The program uses ProcessLauncher; tests use a
// fake, so that no test starts a game of its own.
class GameLauncher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts the game with `arguments` (none for solo play; name, address and "true" or
    // "false"), with `environment` ("NAME=value" entries) added to the lobby's own.
    // False, with `error` saying why for the player, when it could not start.
    virtual bool start(const QStringList &arguments, const QStringList &environment, QString *error) = 0;

Q_SIGNALS:
    // The game last started has ended.
    void ended();
};
