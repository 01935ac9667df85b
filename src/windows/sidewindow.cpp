#include "sidewindow.h"

#include "artwork.h"
#include "boxiconname.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>

SideWindow::SideWindow(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setSizeGripEnabled(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Artwork::boardGreen);
    palette.setColor(QPalette::WindowText, Artwork::paleYellow);
    palette.setColor(QPalette::Button, QColor(62, 90, 62));
    palette.setColor(QPalette::ButtonText, Artwork::paleYellow);
    palette.setColor(QPalette::Light, QColor(110, 140, 110));
    palette.setColor(QPalette::Midlight, QColor(86, 116, 86));
    palette.setColor(QPalette::Mid, QColor(46, 68, 46));
    palette.setColor(QPalette::Dark, QColor(30, 46, 30));
    palette.setColor(QPalette::Shadow, QColor(16, 26, 16));
    palette.setColor(QPalette::Base, QColor(252, 249, 236));
    palette.setColor(QPalette::AlternateBase, QColor(240, 236, 214));
    palette.setColor(QPalette::Text, QColor(40, 36, 24));
    palette.setColor(QPalette::Highlight, QColor(243, 199, 86));
    palette.setColor(QPalette::HighlightedText, QColor(40, 36, 24));
    palette.setColor(QPalette::Link, QColor(255, 220, 110));
    palette.setColor(QPalette::ToolTipBase, QColor(252, 249, 236));
    palette.setColor(QPalette::ToolTipText, QColor(40, 36, 24));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(160, 170, 140));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(160, 170, 140));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(150, 150, 140));
    setPalette(palette);
}

void SideWindow::setBackgroundPicture(const QPixmap &tile)
{
    background_ = tile;
    update();
}

void SideWindow::paintEvent(QPaintEvent *event)
{
    // Drawn on first paint, so windows that are never shown, or that are handed the
    // main window's picture, never draw one of their own.
    if (background_.isNull())
        background_ = Artwork::backgroundTile();
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), background_);
    QDialog::paintEvent(event);
}

void SideWindow::showMessage(const QString &text)
{
    auto *box = new QMessageBox(
        QMessageBox::Information, QStringLiteral("Wendlewick"), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("message"));
    nameBoxIcon(box);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void SideWindow::makeHeading(QLabel *label, int pixelSize)
{
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(true);
    label->setFont(font);
}
