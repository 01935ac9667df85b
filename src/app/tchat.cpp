#include "tchat.h"

#include "tdictn.h"

#include <QMessageBox>

Tchat::Tchat(const QString &dictionaryFolder, const QString &dictionaryResource, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("chat"));
    setWindowTitle(QStringLiteral("Wendlewick"));
    resize(800, 600);

    spell = new TDictn(
        dictionaryFolder, dictionaryResource.isEmpty() ? TDictn::builtinResource : dictionaryResource, this);
    if (!spell->isOpen())
        reportDictionaryMissing();
}

Tchat::~Tchat() = default;

void Tchat::reportDictionaryMissing()
{
    // Modal for the user, but never blocking the event loop: sockets and timers keep running.
    auto *box = new QMessageBox(QMessageBox::Critical, windowTitle(),
        QStringLiteral("English.dic dictionary not found!"), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("dictionaryMissingBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
