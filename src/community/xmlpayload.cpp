#include "xmlpayload.h"

#include <algorithm>

namespace {

// Adds `payload` to the running counts; false once a bound is passed.
bool count(const XmlPayload &payload, int depth, int &elements, int &chars)
{
    if (depth > XmlPayload::maxDepth || ++elements > XmlPayload::maxElements || payload.name.isEmpty()
        || payload.name.size() > XmlPayload::maxNameChars || payload.ns.size() > XmlPayload::maxNamespaceChars
        || payload.attributes.size() > XmlPayload::maxAttributes)
        return false;
    chars += int(payload.text.size());
    for (const auto &[key, value] : payload.attributes) {
        if (key.isEmpty() || key.size() > XmlPayload::maxNameChars)
            return false;
        chars += int(value.size());
    }
    if (chars > XmlPayload::maxTextChars)
        return false;
    for (const XmlPayload &child : payload.children)
        if (!count(child, depth + 1, elements, chars))
            return false;
    return true;
}

} // namespace

QString XmlPayload::attribute(const QString &key) const
{
    for (const auto &[k, value] : attributes)
        if (k == key)
            return value;
    return {};
}

const XmlPayload *XmlPayload::child(const QString &childName) const
{
    for (const XmlPayload &c : children)
        if (c.name == childName)
            return &c;
    return nullptr;
}

bool XmlPayload::isWithinBounds() const
{
    int elements = 0;
    int chars = 0;
    return count(*this, 1, elements, chars);
}

bool operator==(const XmlPayload &a, const XmlPayload &b)
{
    return a.name == b.name && a.ns == b.ns && a.attributes == b.attributes && a.text == b.text
        && std::equal(a.children.begin(), a.children.end(), b.children.begin(), b.children.end());
}
