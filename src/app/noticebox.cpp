#include "noticebox.h"

#include "boxiconname.h"

QMessageBox *openNoticeBox(QWidget *parent, QMessageBox::Icon icon, const QString &name, const QString &text)
{
    auto *box = new QMessageBox(icon, parent->windowTitle(), text, QMessageBox::Ok, parent);
    box->setObjectName(name);
    nameBoxIcon(box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}
