#pragma once

#include "sidewindow.h"

class DesktopShell;

// The solo promotion window: invites the player to the solo version's web page.
class Tsolo : public SideWindow
{
    Q_OBJECT

public:
    // `shell` opens the web page (the system's when null).
    explicit Tsolo(QWidget *parent = nullptr, DesktopShell *shell = nullptr);

public Q_SLOTS:
    // Opens the solo version's page; the picture and both text lines call it.
    void Label6Click();
    void button_doneClick();

private:
    DesktopShell *shell_;
};
