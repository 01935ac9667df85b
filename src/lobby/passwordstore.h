#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// Where the lobby keeps the password of a community account: the desktop's keyring,
// never a file of its own. Tests use a fake.
class PasswordStore : public QObject
{
    Q_OBJECT

public:
    // `password` is empty when none is stored; `works` is false when there is no
    // keyring to ask (the player is then asked, and nothing is stored).
    using Read = std::function<void(const std::optional<QString> &password, bool works)>;
    using Written = std::function<void(bool stored)>;

    using QObject::QObject;

    // The answers come later, through the event loop.
    virtual void read(const QString &account, Read done) = 0;
    virtual void write(const QString &account, const QString &password, Written done) = 0;
    virtual void remove(const QString &account) = 0;
};
