#include "boxiconname.h"

#include <QLabel>
#include <QMessageBox>

void nameBoxIcon(QMessageBox *box)
{
    // The picture is the box's own label of this object name (Qt 6).
    auto *picture = box->findChild<QLabel *>(QStringLiteral("qt_msgboxex_icon_label"));
    if (!picture)
        return;
    switch (box->icon()) {
    case QMessageBox::Information:
        picture->setAccessibleName(QMessageBox::tr("Information"));
        break;
    case QMessageBox::Warning:
        picture->setAccessibleName(QMessageBox::tr("Warning"));
        break;
    case QMessageBox::Critical:
        picture->setAccessibleName(QMessageBox::tr("Error"));
        break;
    case QMessageBox::Question:
        picture->setAccessibleName(QMessageBox::tr("Question"));
        break;
    case QMessageBox::NoIcon:
        break;
    }
}
