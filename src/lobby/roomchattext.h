#pragma once

#include <QString>

// Chat lines of the community room as the lobby shows them: plain text, escaped,
// control characters as "?", and only web links (http, https) and game links
// (wendlewick://) made clickable, without the punctuation that ends a sentence. A
// click is the lobby's to handle; nothing opens by itself.
namespace RoomChatText {

QString toHtml(const QString &text);
// The first game link in `text`, or empty.
QString firstGameLink(const QString &text);

} // namespace RoomChatText
