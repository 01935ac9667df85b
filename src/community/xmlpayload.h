#pragma once

#include <QList>
#include <QString>

#include <utility>

// An XML element that rides inside a stanza on the program's behalf: the game a host
// announces in its room presence, or a payload sent to one occupant. It keeps the
// XMPP library's types away from callers. An element taken from the network is
// within every bound below, or it is not taken at all.
struct XmlPayload
{
    static constexpr int maxDepth = 4; // the element itself is depth 1
    static constexpr int maxElements = 64; // the element and all its descendants
    static constexpr int maxAttributes = 16; // on any one element
    static constexpr int maxNameChars = 64; // element and attribute names
    static constexpr int maxNamespaceChars = 128;
    static constexpr int maxTextChars = 8192; // all text and attribute values together

    QString name;
    // Empty on a child: its parent's.
    QString ns;
    QList<std::pair<QString, QString>> attributes;
    QString text;
    QList<XmlPayload> children;

    // The value of attribute `key`; empty when there is none.
    QString attribute(const QString &key) const;
    // The first child named `childName`, or null.
    const XmlPayload *child(const QString &childName) const;

    // Whether the element keeps within every bound above.
    bool isWithinBounds() const;

    friend bool operator==(const XmlPayload &a, const XmlPayload &b);
};
