#pragma once

#include <QAccessibleWidget>

class EntryStrip;

// The entry strip as assistive technology reads it: one line named by the word so far
// ("Word: RAV", "Word: empty"), with the letters the board refused after it, and the
// typing switch as its only child; the twelve slot pictures say nothing of their own.
class EntryStripAccessible : public QAccessibleWidget
{
public:
    explicit EntryStripAccessible(EntryStrip *strip);

    // What the strip reads as.
    static QString spoken(const QString &word, const QString &refused);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    EntryStrip *strip() const;
};
