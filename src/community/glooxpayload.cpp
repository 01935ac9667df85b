#include "glooxpayload.h"

#include <gloox/tag.h>

namespace GlooxPayload {

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

bool isNamespaceDeclaration(const std::string &name)
{
    return name == "xmlns" || name.rfind("xmlns:", 0) == 0;
}

bool take(const gloox::Tag *tag, int depth, int &elements, qsizetype &chars, XmlPayload &out)
{
    if (depth > XmlPayload::maxDepth || ++elements > XmlPayload::maxElements)
        return false;
    // Sizes are checked on the library's bytes first, so nothing oversized is copied.
    const std::string &name = tag->name();
    if (name.empty() || name.size() > size_t(XmlPayload::maxNameChars) * 4)
        return false;
    out.name = fromUtf8(name);
    if (depth == 1) {
        const std::string ns = tag->xmlns();
        if (ns.size() > size_t(XmlPayload::maxNamespaceChars) * 4)
            return false;
        out.ns = fromUtf8(ns);
    }
    int attributes = 0;
    for (const gloox::Tag::Attribute *attribute : tag->attributes()) {
        if (isNamespaceDeclaration(attribute->name()))
            continue;
        chars += qsizetype(attribute->value().size());
        if (++attributes > XmlPayload::maxAttributes || chars > XmlPayload::maxTextChars * 4
            || attribute->name().size() > size_t(XmlPayload::maxNameChars) * 4)
            return false;
        out.attributes.append({fromUtf8(attribute->name()), fromUtf8(attribute->value())});
    }
    const std::string text = tag->cdata();
    chars += qsizetype(text.size());
    if (chars > XmlPayload::maxTextChars * 4)
        return false;
    out.text = fromUtf8(text);
    for (const gloox::Tag *child : tag->children()) {
        XmlPayload c;
        if (!take(child, depth + 1, elements, chars, c))
            return false;
        out.children.append(std::move(c));
    }
    return true;
}

} // namespace

std::optional<XmlPayload> fromTag(const gloox::Tag *tag)
{
    if (!tag)
        return std::nullopt;
    XmlPayload payload;
    int elements = 0;
    qsizetype chars = 0;
    if (!take(tag, 1, elements, chars, payload) || !payload.isWithinBounds())
        return std::nullopt;
    return payload;
}

gloox::Tag *toTag(const XmlPayload &payload)
{
    auto *tag = new gloox::Tag(payload.name.toStdString());
    if (!payload.ns.isEmpty())
        tag->setXmlns(payload.ns.toStdString());
    for (const auto &[key, value] : payload.attributes)
        tag->addAttribute(key.toStdString(), value.toStdString());
    if (!payload.text.isEmpty())
        tag->setCData(payload.text.toStdString());
    for (const XmlPayload &child : payload.children)
        tag->addChild(toTag(child));
    return tag;
}

} // namespace GlooxPayload
