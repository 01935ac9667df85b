#pragma once

#include <QFrame>

// A translucent rounded panel that groups controls on a side window's background.
// Painted by hand rather than by a style sheet, so its children keep the window's
// palette.
class RoundedPanel : public QFrame
{
    Q_OBJECT

public:
    explicit RoundedPanel(const QString &name, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
