#pragma once

#include "sidewindow.h"

#include <QDate>

class QLabel;
class QStackedWidget;

// The help window: a side panel of page buttons and the page chosen. It is only
// hidden when closed, so it opens again on the page last chosen.
class Thelp : public SideWindow
{
    Q_OBJECT

public:
    // `today` is the day the program started; its year goes into the credit block.
    explicit Thelp(QWidget *parent = nullptr, QDate today = QDate::currentDate());

    // Brings the page with that tag to the front and shows its caption in the
    // heading. Tags without a page change nothing.
    void showPage(int tag);
    int currentTag() const;

Q_SIGNALS:
    // "About" was pressed: the about window should be shown.
    void aboutRequested();

public Q_SLOTS:
    void SelButton1Click();
    void button_aboutClick();
    void button_doneClick();

private:
    QLabel *label_caption;
    QLabel *label_year;
    QStackedWidget *pages_;
};
