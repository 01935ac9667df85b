#pragma once

#include "glooxpayload.h"

#include <gloox/parser.h>
#include <gloox/tag.h>
#include <gloox/taghandler.h>

#include <functional>
#include <string>

// Bytes as what follows a client stream's start in XMPP: every element the parser
// completes, and each of its children, comes to `take` as a payload when it keeps
// within XmlPayload's bounds (an element taken past them stops the fuzzer).
inline void forEachStreamPayload(std::string bytes, const std::function<void(const XmlPayload &)> &take)
{
    class Elements : public gloox::TagHandler
    {
    public:
        explicit Elements(const std::function<void(const XmlPayload &)> &take)
            : take_(take)
        { }
        void handleTag(gloox::Tag *tag) override
        {
            if (!tag)
                return;
            check(tag);
            for (const gloox::Tag *child : tag->children())
                check(child);
        }

    private:
        void check(const gloox::Tag *tag)
        {
            const auto payload = GlooxPayload::fromTag(tag);
            if (!payload)
                return;
            if (!payload->isWithinBounds())
                __builtin_trap();
            take_(*payload);
        }
        const std::function<void(const XmlPayload &)> &take_;
    };

    Elements elements(take);
    gloox::Parser parser(&elements);
    std::string stream
        = "<stream:stream xmlns='jabber:client' xmlns:stream='http://etherx.jabber.org/streams'>";
    parser.feed(stream);
    parser.feed(bytes);
}
