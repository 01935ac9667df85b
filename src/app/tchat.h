#pragma once

#include <QMainWindow>

class TDictn;
class QMessageBox;

// The main window: owns the client state, the dictionary `spell`, the chat and the board.
class Tchat : public QMainWindow
{
    Q_OBJECT

public:
    // `dictionaryFolder` and `dictionaryResource` locate the word list (the current
    // folder and the built-in block when empty); tests point them elsewhere.
    explicit Tchat(const QString &dictionaryFolder = QString(), const QString &dictionaryResource = QString(),
        QWidget *parent = nullptr);
    ~Tchat() override;

    TDictn *spell = nullptr;

private:
    void reportDictionaryMissing();
};
