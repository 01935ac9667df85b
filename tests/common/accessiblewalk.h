#pragma once

#include <QAccessible>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QWidget>

// Walks the accessibility tree of a window as a screen reader would, from the window
// down through every visible child, and lists the controls a player can reach or see
// that have no name: buttons, boxes, menu items, pictures, cells and the like. Each is
// given by its path of roles and object names. Plain texts are read by their text,
// so an empty one is nothing to read, not an unnamed control. Widgets a player works or
// reads (buttons, boxes, lists, tables, text) that are enabled but cannot take the
// keyboard's focus are listed as unreachable.
namespace AccessibleWalk {

inline bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::Dial:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::MenuItem:
    case QAccessible::PageTab:
    case QAccessible::Link:
    case QAccessible::Graphic:
    case QAccessible::Cell:
    case QAccessible::ListItem:
    case QAccessible::TreeItem:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

inline bool takesFocus(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
        return true;
    default:
        return false;
    }
}

struct Result
{
    int controls = 0;
    QStringList unnamed;
    QStringList unreachable;
};

inline QString describe(QAccessibleInterface *iface)
{
    const QObject *object = iface->object();
    const QString name = object ? object->objectName() : QString();
    return QStringLiteral("%1(%2)")
        .arg(int(iface->role()), 0, 16)
        .arg(name.isEmpty() ? QStringLiteral("-") : name);
}

inline void walk(QAccessibleInterface *iface, const QString &path, Result &result,
    QSet<QAccessibleInterface *> &seen, int depth = 0)
{
    if (!iface || !iface->isValid() || seen.contains(iface) || depth > 40)
        return;
    seen.insert(iface);
    const QAccessible::State state = iface->state();
    if (state.invisible)
        return;
    const QString here = path + QLatin1Char('/') + describe(iface);
    if (isControl(iface->role())) {
        ++result.controls;
        if (iface->text(QAccessible::Name).trimmed().isEmpty())
            result.unnamed.append(here);
        const QObject *object = iface->object();
        if (takesFocus(iface->role()) && object && object->isWidgetType() && !state.disabled
            && !state.focusable)
            result.unreachable.append(here);
    }
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), here, result, seen, depth + 1);
}

inline Result walk(QWidget *window)
{
    Result result;
    QSet<QAccessibleInterface *> seen;
    walk(QAccessible::queryAccessibleInterface(window), QString(), result, seen);
    return result;
}

} // namespace AccessibleWalk
