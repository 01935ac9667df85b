#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <QTimer>

#include <gloox/connectionbase.h>

class QDnsLookup;
class QSslSocket;
class XmppTls;

// The XMPP library's byte stream, over a QSslSocket on Qt's event loop: connecting,
// name lookups (the server's SRV record _xmpp-client._tcp, else its name on port
// 5222), the TLS handshake, reading and writing never block. Encryption is Qt's
// (XmppTls hands the library's STARTTLS to the socket): the server's certificate must
// be valid for the domain signed in at and signed by a trusted authority (the
// system's, or those given).
//
// Bounds on what the server sends: at most maxStanzaBytes between two complete
// stanzas (the session calls stanzaDone() for each), and at most maxUnsentBytes
// waiting to be sent; past either the connection is closed as an I/O error and
// tooLarge() tells which.
class XmppTransport : public QObject, public gloox::ConnectionBase
{
    Q_OBJECT

public:
    static constexpr qint64 maxStanzaBytes = 256 * 1024;
    static constexpr qint64 maxUnsentBytes = 1024 * 1024;
    static constexpr quint16 defaultPort = 5222;

    struct Setup
    {
        QString host;
        quint16 port = 0; // 0: look up the SRV record of `host` first
        QString domain; // the name the certificate must be valid for
        QList<QSslCertificate> authorities; // empty: the system's
        int connectTimeoutMs = 20000;
    };

    XmppTransport(gloox::ConnectionDataHandler *handler, const Setup &setup);
    ~XmppTransport() override;

    gloox::ConnectionError connect() override;
    // Nothing to wait for: bytes arrive through the event loop.
    gloox::ConnectionError recv(int timeout = -1) override;
    gloox::ConnectionError receive() override;
    bool send(const std::string &data) override;
    void disconnect() override;
    void cleanup() override;
    void getStatistics(long int &totalIn, long int &totalOut) override;
    gloox::ConnectionBase *newInstance() const override;

    void stanzaDone() { sinceStanza_ = 0; }
    // The stream is signed in: the deadline that ran since connect() is over.
    void signInDone() { timer_.stop(); }
    // Starts the TLS handshake; `tls` hears how it went.
    void startEncryption(XmppTls *tls);
    // Why the certificate was refused, for the player; empty when it was not.
    QString certificateProblem() const { return certificateProblem_; }
    bool tooLarge() const { return tooLarge_; }
    // Whether the connection was given up because the server did not answer in time.
    bool timedOut() const { return timedOut_; }
    // The server's address once connected.
    QHostAddress peerAddress() const { return peer_; }

private:
    struct Target
    {
        QString host;
        quint16 port;
    };
    void lookedUp();
    void tryNext();
    void connected();
    void readBytes();
    void failed(gloox::ConnectionError reason);
    void dropSocket();

    void sslErrors(const QList<QSslError> &errors);

    Setup setup_;
    QDnsLookup *lookup_ = nullptr;
    QSslSocket *socket_ = nullptr;
    XmppTls *tls_ = nullptr; // owned by the library's client
    QString certificateProblem_;
    QList<Target> targets_;
    gloox::ConnectionError lastError_ = gloox::ConnConnectionRefused;
    QTimer timer_;
    QHostAddress peer_;
    qint64 sinceStanza_ = 0;
    long int in_ = 0;
    long int out_ = 0;
    bool tooLarge_ = false;
    bool timedOut_ = false;
};
