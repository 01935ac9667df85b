#pragma once

#include "passwordstore.h"

#include <QHash>
#include <QTimer>

// A keyring in memory: answers later through the event loop, as the real one does.
// With `works` false it behaves as a desktop without a keyring service.
class FakePasswordStore : public PasswordStore
{
    Q_OBJECT

public:
    using PasswordStore::PasswordStore;

    void read(const QString &account, Read done) override
    {
        QTimer::singleShot(0, this, [this, account, done] {
            done(works && passwords.contains(account) ? std::optional<QString>(passwords.value(account))
                                                      : std::nullopt,
                works);
        });
    }
    void write(const QString &account, const QString &password, Written done) override
    {
        if (works)
            passwords.insert(account, password);
        QTimer::singleShot(0, this, [this, done] { done(works); });
    }
    void remove(const QString &account) override { passwords.remove(account); }

    QHash<QString, QString> passwords;
    bool works = true;
};
