#pragma once

#include <QMessageBox>

// A message box that is modal for the player but never blocks the event loop:
// sockets and timers keep running while it shows. It deletes itself when dismissed;
// `name` is its object name.
QMessageBox *openNoticeBox(QWidget *parent, QMessageBox::Icon icon, const QString &name, const QString &text);
