#include "entrystripaccessible.h"

#include "boardmodel.h"
#include "entrystrip.h"
#include "wordentry.h"

#include <QLabel>

EntryStripAccessible::EntryStripAccessible(EntryStrip *strip)
    : QAccessibleWidget(strip, QAccessible::StaticText)
{ }

EntryStrip *EntryStripAccessible::strip() const
{
    return static_cast<EntryStrip *>(widget());
}

QString EntryStripAccessible::spoken(const QString &word, const QString &refused)
{
    QString text = QStringLiteral("Word: ") + (word.isEmpty() ? QStringLiteral("empty") : word.toUpper());
    if (!refused.isEmpty())
        text += QStringLiteral(", then not on the board: ") + refused.toUpper();
    return text;
}

QString EntryStripAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    const WordEntry *entry = strip()->entry();
    QString refused;
    for (int k = 1; k <= EntryStrip::slotCount; ++k)
        refused += BoardModel::convertoletter(entry->refusedLetter(k));
    return spoken(entry->word(), refused);
}

int EntryStripAccessible::childCount() const
{
    return strip()->typingLabel()->isVisible() ? 1 : 0;
}

QAccessibleInterface *EntryStripAccessible::child(int index) const
{
    return index == 0 && childCount() == 1 ? QAccessible::queryAccessibleInterface(strip()->typingLabel())
                                           : nullptr;
}

int EntryStripAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && child->object() == strip()->typingLabel() && childCount() == 1 ? 0 : -1;
}
