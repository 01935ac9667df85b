#include "communitysettings.h"

CommunitySettings::CommunitySettings(const QString &path)
    : file_(path)
{ }

QString CommunitySettings::value(const QString &key) const
{
    return file_.readString(section, key).trimmed().left(maxValueLength);
}

bool CommunitySettings::setValues(const Values &v)
{
    const auto clean = [](const QString &text) { return text.trimmed().left(maxValueLength); };
    return file_.writeStrings(section,
        {{QStringLiteral("Server"), clean(v.server)}, {QStringLiteral("Room"), clean(v.room)},
            {QStringLiteral("Account"), clean(v.account)}, {QStringLiteral("Name"), clean(v.name)},
            {QStringLiteral("Address"), clean(v.address)}});
}

bool CommunitySettings::setSignIn(bool signIn)
{
    return file_.writeString(
        section, QStringLiteral("SignIn"), signIn ? QStringLiteral("1") : QStringLiteral("0"));
}
