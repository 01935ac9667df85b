#pragma once

#include <QDialog>
#include <QPixmap>

// The common ground of the side windows: they are created once, hidden when closed
// (never destroyed), and show the main window's background picture in the board's
// palette.
class SideWindow : public QDialog
{
    Q_OBJECT

public:
    explicit SideWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    // The picture tiled over the window; the main window hands over its own. Until
    // then the window draws Artwork::backgroundTile() when first painted.
    void setBackgroundPicture(const QPixmap &tile);

protected:
    void paintEvent(QPaintEvent *event) override;

    // Shows `text` in a message box over this window without blocking; the box
    // deletes itself when dismissed.
    void showMessage(const QString &text);

    // A label in the windows' heading style.
    static void makeHeading(class QLabel *label, int pixelSize = 20);

private:
    QPixmap background_;
};
