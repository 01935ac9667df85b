#pragma once

#include "sidewindow.h"

#include <QDate>

class DesktopShell;
class QLabel;

// The about window: the version, the maker's credit and web address, a picture.
class Tabout : public SideWindow
{
    Q_OBJECT

public:
    // `shell` opens the web address (the system's when null); `today` is the day the
    // program started, whose year goes into the credit block.
    explicit Tabout(
        QWidget *parent = nullptr, DesktopShell *shell = nullptr, QDate today = QDate::currentDate());

    // The text of the `version` label, the version string the login sends.
    QString versionText() const;

public Q_SLOTS:
    // Opens the maker's home page; the main window's logo does the same.
    void Label7Click();
    void Image1Click();
    void Button1Click();

private:
    DesktopShell *shell_;
    QLabel *version;
    QLabel *label_year;
};
