#pragma once

#include "sidewindow.h"

#include <QPointer>
#include <QString>

#include <memory>

class DesktopShell;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;
class QSaveFile;

// The download window, shown with a solo game: download and install the lobby
// program, go on playing solo, or start an installed lobby. Where the lobby is
// installed beside the game, the download offer starts it too; unless
// WENDLEWICK_DOWNLOAD_URL names an installer, nothing is fetched from the built-in
// address, which leads nowhere yet. The download runs in the
// background with visible progress and can be stopped. The installer is written
// under a temporary name and only takes its real name once it has arrived whole, so
// a failed or stopped download never leaves a truncated installer behind (nor
// destroys one downloaded before).
class Tdownload : public SideWindow
{
    Q_OBJECT

public:
    // The download state `infolabel` carries: 1 while downloading, 2 once aborted.
    enum State { Idle = 0, Downloading = 1, Aborted = 2 };

    static inline const QString noDownloadText = QStringLiteral(
        "The Orinco Lobby is not installed beside the game, and it cannot be downloaded from here yet. Play "
        "solo for now, or install the game again to get the lobby.");

    // `shell` starts the installer and the lobby (the system's when null); `network`
    // fetches the installer (a manager of the window's own when null).
    explicit Tdownload(
        QWidget *parent = nullptr, DesktopShell *shell = nullptr, QNetworkAccessManager *network = nullptr);
    ~Tdownload() override;

    State downloadState() const { return state_; }

    // Installers larger than this are refused (256 MiB unless changed).
    void setSizeLimit(qint64 bytes) { limit_ = bytes; }

    // The arguments the installer is started with.
    static QStringList installerArguments();

Q_SIGNALS:
    // The installer or the lobby has been started: the program should close as its
    // "Exit" command does.
    void exitRequested();

public Q_SLOTS:
    void getbuttonClick();
    void abortbuttonClick();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void HttpCli1HeaderData();
    void HttpCli1DocData();
    void showProgress();
    void downloadFinished();
    // Stops the transfer for a reason of our own (not an HTTP error).
    void failTransfer(const QString &reason);
    int httpStatus() const;
    void resetButtons();
    void startInstaller(const QString &path);

    DesktopShell *shell_;
    QNetworkAccessManager *network_;
    QPointer<QNetworkReply> reply_;
    std::unique_ptr<QSaveFile> file_;
    State state_ = Idle;
    qint64 received_ = 0;
    qint64 expected_ = 0;
    qint64 limit_ = qint64(256) * 1024 * 1024;
    QString failure_;
    bool centred_ = false;

    QPushButton *getbutton;
    QPushButton *abortbutton;
    QProgressBar *progressbar_download;
    QLabel *infolabel;
    QLabel *infolabel2;
    QLabel *infolabel3;
};
