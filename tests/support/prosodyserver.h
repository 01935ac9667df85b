#pragma once

#include <QList>
#include <QProcess>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A real Prosody XMPP server for tests, on 127.0.0.1: configuration, a throwaway
// certificate (made with openssl) and the data in a temporary folder of its own, the
// client port picked free (Prosody cannot bind port 0), started with
// `prosody --config FILE -F` and ended with the object. Guests sign in anonymously at
// domain() and the rooms are on roomsDomain(); accounts, when asked for, live at
// usersDomain(). The certificate is valid for all three names and is trusted by
// giving authorities() to the client.
class ProsodyServer
{
public:
    struct Options
    {
        // Modules on top of the ones every test needs ("ipcheck", "external_services").
        QStringList modules;
        // Lua lines for the global section, for the guests' host and for the rooms.
        QString global;
        QString guestHost;
        QString rooms;
        bool accounts = false;
        // The guests' domain (rooms on rooms.<domain>, accounts on users.<domain>).
        QString domain = QStringLiteral("localhost");
        // The address it listens on; elsewhere than loopback, the command it runs under
        // (for instance "ip netns exec NAME") puts it where that address is.
        QString address = QStringLiteral("127.0.0.1");
        QStringList wrapper;
    };

    ProsodyServer();
    ~ProsodyServer();

    // Writes the configuration and starts the server; true once it takes connections
    // (within 20 s). errorString() and log() tell why not.
    bool start(const Options &options);
    bool start() { return start(Options()); }
    // Starts it with a whole configuration of someone else's (for the domains above),
    // with this server's port, folder, certificate and log put in before its first host;
    // of `options`, only the domain, the address and the wrapper count.
    bool startWith(const QString &configuration, const Options &options);
    bool startWith(const QString &configuration) { return startWith(configuration, Options()); }
    // Runs a command in the running server's admin shell (prosodyctl shell).
    bool shell(const QString &command);
    // Ends it (SIGKILL when `abruptly`, as a crash would).
    void stop(bool abruptly = false);
    // Starts it again with the same port and configuration.
    bool restart();
    bool isRunning() const;

    quint16 port() const { return port_; }
    QString domain() const { return options_.domain; }
    QString roomsDomain() const { return QStringLiteral("rooms.") + options_.domain; }
    QString usersDomain() const { return QStringLiteral("users.") + options_.domain; }
    QString room() const { return QStringLiteral("lobby@") + roomsDomain(); }
    // The certificate the clients trust, as a PEM file.
    QString certificateFile() const { return dir_.filePath(QStringLiteral("cert.pem")); }
    QList<QSslCertificate> authorities() const { return authorities_; }
    QString folder() const { return dir_.path(); }
    // Makes an account user@usersDomain() (with Options::accounts).
    bool addUser(const QString &user, const QString &password);
    // Runs prosodyctl on this server's configuration.
    bool runCtl(const QStringList &arguments);
    QString errorString() const { return error_; }
    QString log() const { return QString::fromUtf8(log_); }

    // A free TCP port on 127.0.0.1, for servers that cannot take port 0.
    static quint16 freePort();

private:
    bool writeConfig(const Options &options);
    bool writeFile(const QString &config);
    QString essentials() const;
    bool makeCertificate();
    bool launch();
    void readLog();

    QTemporaryDir dir_;
    Options options_;
    std::unique_ptr<QProcess> process_;
    QList<QSslCertificate> authorities_;
    QByteArray log_;
    QString error_;
    quint16 port_ = 0;
};
