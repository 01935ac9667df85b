#pragma once

#include <QList>
#include <QString>

// One page of the help window: the page button's caption and tag, the page's object
// name ("memo" followed by the tag) and its rich text.
struct HelpPage
{
    int tag;
    QString caption;
    QString html;

    QString objectName() const { return QStringLiteral("memo") + QString::number(tag); }
};

namespace HelpPages {

// The seven pages in the order of their buttons: Overview (1), Connecting (2),
// Game Play (3), Scoring (4), Documentation (5), License (6), The Lobby (11).
QList<HelpPage> pages();

// The style sheet the pages' HTML is written against.
QString styleSheet();

} // namespace HelpPages
