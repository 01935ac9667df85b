#pragma once

#include "xmlpayload.h"

#include <optional>

namespace gloox {
class Tag;
}

// XmlPayload to and from the XMPP library's elements; only this library's own files
// use it.
namespace GlooxPayload {

// The element as a payload, or nothing when it passes any of XmlPayload's bounds
// (checked while it is walked, so a huge element costs no more than the bounds).
std::optional<XmlPayload> fromTag(const gloox::Tag *tag);

// A new element the caller owns (or hands to a stanza).
gloox::Tag *toTag(const XmlPayload &payload);

} // namespace GlooxPayload
