#include "xmpptls.h"

#include "xmpptransport.h"

#include <gloox/tlshandler.h>

XmppTls::XmppTls(gloox::TLSHandler *handler, XmppTransport *transport, const std::string &domain)
    : gloox::TLSBase(handler, domain)
    , transport_(transport)
{
    m_valid = true;
}

bool XmppTls::init(const std::string &, const std::string &, const gloox::StringList &)
{
    return true;
}

bool XmppTls::encrypt(const std::string &data)
{
    if (m_handler)
        m_handler->handleEncryptedData(this, data);
    return true;
}

int XmppTls::decrypt(const std::string &data)
{
    if (m_handler)
        m_handler->handleDecryptedData(this, data);
    return int(data.size());
}

void XmppTls::cleanup()
{
    m_secure = false;
}

bool XmppTls::handshake()
{
    transport_->startEncryption(this);
    return true;
}

void XmppTls::handshakeDone(bool ok)
{
    m_secure = ok;
    // The socket checked the certificate; a failed check never gets here as a success.
    m_certInfo = gloox::CertInfo();
    m_certInfo.status = ok ? gloox::CertOk : gloox::CertInvalid;
    m_certInfo.chain = ok;
    if (m_handler)
        m_handler->handleHandshakeResult(this, ok, m_certInfo);
}
