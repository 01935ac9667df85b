#pragma once

#include <QString>

namespace AppVersion {

// The version the about window shows and the login sends; the host compares it.
inline QString text()
{
    return QStringLiteral("1.0.7");
}

// The build number the about window shows after the version ("1.0.7" ".6").
inline QString buildSuffix()
{
    return QStringLiteral(".6");
}

} // namespace AppVersion
