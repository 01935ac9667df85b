#pragma once

#include "passwordstore.h"

// The desktop's keyring (the Secret Service, or KWallet) through QtKeychain, which
// talks to it over D-Bus without blocking. With no keyring service running, reads and
// writes say so; the password never falls back to a file.
class KeychainPasswordStore : public PasswordStore
{
    Q_OBJECT

public:
    static inline const QString service = QStringLiteral("Wendlewick lobby");

    using PasswordStore::PasswordStore;

    void read(const QString &account, Read done) override;
    void write(const QString &account, const QString &password, Written done) override;
    void remove(const QString &account) override;
};
