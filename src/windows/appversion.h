#pragma once

#include "wire.h"

#include <QString>

namespace AppVersion {

// The version the about window shows and the login sends; the host compares it.
// Its one definition is the protocol's own, so the three can never disagree.
inline QString text()
{
    return QString::fromLatin1(wendlewickVersion);
}

// The build number the about window shows after the version ("1.0.7" ".6").
inline QString buildSuffix()
{
    return QStringLiteral(".6");
}

} // namespace AppVersion
