#include "tchat.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wendlewick"));
    QApplication::setOrganizationName(QStringLiteral("Wendlewick"));

    Tchat chat;
    chat.show();
    return app.exec();
}
