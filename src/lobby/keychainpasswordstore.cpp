#include "keychainpasswordstore.h"

#include <qt6keychain/keychain.h>

void KeychainPasswordStore::read(const QString &account, Read done)
{
    auto *job = new QKeychain::ReadPasswordJob(service, this);
    job->setInsecureFallback(false);
    job->setKey(account);
    connect(job, &QKeychain::Job::finished, this, [job, done = std::move(done)] {
        switch (job->error()) {
        case QKeychain::NoError:
            done(job->textData(), true);
            break;
        case QKeychain::EntryNotFound:
            done(std::nullopt, true);
            break;
        default:
            done(std::nullopt, false);
            break;
        }
    });
    job->start();
}

void KeychainPasswordStore::write(const QString &account, const QString &password, Written done)
{
    auto *job = new QKeychain::WritePasswordJob(service, this);
    job->setInsecureFallback(false);
    job->setKey(account);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this,
        [job, done = std::move(done)] { done(job->error() == QKeychain::NoError); });
    job->start();
}

void KeychainPasswordStore::remove(const QString &account)
{
    auto *job = new QKeychain::DeletePasswordJob(service, this);
    job->setInsecureFallback(false);
    job->setKey(account);
    job->start();
}
