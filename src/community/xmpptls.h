#pragma once

#include <gloox/tlsbase.h>

class XmppTransport;

// The XMPP library's encryption layer, done by the transport's QSslSocket: when the
// library starts TLS (after the server's STARTTLS proceed), the socket starts its
// handshake, checking the certificate against the domain signed in at and the
// trusted authorities. Bytes then pass through here unchanged: the socket encrypts
// what is written and decrypts what is read.
class XmppTls : public gloox::TLSBase
{
public:
    XmppTls(gloox::TLSHandler *handler, XmppTransport *transport, const std::string &domain);

    bool init(const std::string &clientKey, const std::string &clientCerts,
        const gloox::StringList &cacerts) override;
    bool encrypt(const std::string &data) override;
    int decrypt(const std::string &data) override;
    void cleanup() override;
    bool handshake() override;
    void setCACerts(const gloox::StringList &) override { }
    void setClientCert(const std::string &, const std::string &) override { }

    // From the transport: the handshake's outcome.
    void handshakeDone(bool ok);

private:
    XmppTransport *transport_;
};
