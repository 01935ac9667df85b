#include "tdownload.h"

#include "artwork.h"
#include "programfolders.h"
#include "roundedpanel.h"
#include "systemshell.h"
#include "weblinks.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QVBoxLayout>

#include <limits>

namespace {

constexpr qint64 readBufferSize = 256 * 1024;

QLabel *textLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

Tdownload::Tdownload(QWidget *parent, DesktopShell *shell, QNetworkAccessManager *network)
    : SideWindow(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , shell_(shell ? shell : &SystemShell::instance())
    , network_(network)
{
    setWindowTitle(QStringLiteral("Download The Orinco Lobby"));

    // Left panel: the download.
    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("image_lobby"));
    picture->setPixmap(Artwork::downloadPicture());
    picture->setAccessibleName(QStringLiteral("The Orinco Lobby"));
    picture->setAlignment(Qt::AlignCenter);
    auto *closed = new QLabel(QStringLiteral("IS CLOSED"));
    closed->setObjectName(QStringLiteral("label_closed"));
    closed->setStyleSheet(QStringLiteral("QLabel { color: #ffe9a0; background-color: rgba(150, 28, 20, 215); "
                                         "border: 2px solid #ffe9a0; border-radius: 5px; padding: 1px 10px; "
                                         "font-weight: bold; font-size: 16px; }"));
    auto *pictureBox = new QGridLayout;
    pictureBox->addWidget(picture, 0, 0);
    pictureBox->addWidget(closed, 0, 0, Qt::AlignHCenter | Qt::AlignBottom);

    auto *invitation = textLabel(QStringLiteral(
        "Download The Orinco Lobby Now to play this  and other exciting games online with other players! "));
    invitation->setObjectName(QStringLiteral("label_invitation"));

    getbutton = new QPushButton(QStringLiteral("Download And Install The Orinco Lobby Now"));
    getbutton->setObjectName(QStringLiteral("getbutton"));
    connect(getbutton, &QPushButton::clicked, this, &Tdownload::getbuttonClick);
    abortbutton = new QPushButton(QStringLiteral("Stop Download"));
    abortbutton->setObjectName(QStringLiteral("abortbutton"));
    abortbutton->setEnabled(false);
    connect(abortbutton, &QPushButton::clicked, this, &Tdownload::abortbuttonClick);

    progressbar_download = new QProgressBar;
    progressbar_download->setObjectName(QStringLiteral("progressbar_download"));
    progressbar_download->setAccessibleName(QStringLiteral("Download progress"));
    progressbar_download->setRange(0, 100);
    progressbar_download->setValue(0);
    progressbar_download->setTextVisible(false);
    progressbar_download->setFixedHeight(12);
    infolabel = textLabel(QString());
    infolabel->setObjectName(QStringLiteral("infolabel"));
    infolabel3 = textLabel(QString());
    infolabel3->setObjectName(QStringLiteral("infolabel3"));
    infolabel2 = textLabel(QString());
    infolabel2->setObjectName(QStringLiteral("infolabel2"));
    infolabel2->hide();

    auto *left = new RoundedPanel(QStringLiteral("panel_left"));
    auto *leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(14, 14, 14, 14);
    leftColumn->setSpacing(8);
    leftColumn->addLayout(pictureBox);
    leftColumn->addWidget(invitation);
    leftColumn->addWidget(getbutton);
    leftColumn->addWidget(abortbutton);
    leftColumn->addWidget(progressbar_download);
    leftColumn->addWidget(infolabel);
    leftColumn->addWidget(infolabel3);
    leftColumn->addWidget(infolabel2);
    leftColumn->addStretch();

    // Right panels: solo play, and the installed lobby.
    auto *solo = new QPushButton(QStringLiteral("Play Solo Game"));
    solo->setObjectName(QStringLiteral("Button1"));
    solo->setDefault(true);
    solo->setAutoDefault(true);
    connect(solo, &QPushButton::clicked, this, &Tdownload::Button1Click);
    auto *firewall
        = textLabel(QStringLiteral("Note: Even if you are playing offline, you will need to configure "
                                   "your FIREWALL to allow the game to access the internet components."));
    firewall->setObjectName(QStringLiteral("label_firewall"));
    QFont small = firewall->font();
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.9);
    firewall->setFont(small);

    auto *top = new RoundedPanel(QStringLiteral("panel_solo"));
    auto *topColumn = new QVBoxLayout(top);
    topColumn->setContentsMargins(14, 14, 14, 14);
    topColumn->addWidget(textLabel(QStringLiteral(
        "To proceed to the game without the ability to play against others click the button below.")));
    topColumn->addWidget(solo);
    topColumn->addWidget(firewall);

    auto *others = new QPushButton(QStringLiteral("Play with Others"));
    others->setObjectName(QStringLiteral("Button2"));
    others->setAutoDefault(false);
    connect(others, &QPushButton::clicked, this, &Tdownload::Button2Click);
    auto *bottom = new RoundedPanel(QStringLiteral("panel_lobby"));
    auto *bottomColumn = new QVBoxLayout(bottom);
    bottomColumn->setContentsMargins(14, 14, 14, 14);
    bottomColumn->addWidget(textLabel(QStringLiteral("If you already have The Orinco Lobby and you wish to "
                                                     "play with others then click the button below to "
                                                     "close this game and open The Orinco Lobby.")));
    bottomColumn->addWidget(others);

    auto *right = new QVBoxLayout;
    right->setSpacing(12);
    right->addWidget(top);
    right->addWidget(bottom);
    right->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addWidget(left, 1);
    layout->addLayout(right, 1);
    setFixedSize(620, 390);
    solo->setFocus();
}

Tdownload::~Tdownload()
{
    if (reply_) {
        disconnect(reply_, nullptr, this, nullptr);
        reply_->abort();
        reply_->deleteLater();
    }
}

QStringList Tdownload::installerArguments()
{
    return {QStringLiteral("/SP-"), QStringLiteral("/silent"), QStringLiteral("/noicons")};
}

void Tdownload::showEvent(QShowEvent *event)
{
    SideWindow::showEvent(event);
    if (!centred_ && screen()) {
        centred_ = true;
        move(screen()->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
}

void Tdownload::getbuttonClick()
{
    if (reply_)
        return;
    if (!WebLinks::downloadAddressGiven()) {
        // The lobby installed beside the game needs no download: the offer starts it.
        if (QFileInfo(WebLinks::lobbyProgramPath()).isFile()) {
            Button2Click();
            return;
        }
        // The built-in address stands in for a server not chosen yet: nothing is there.
        if (!WebLinks::isReachable(WebLinks::downloadAddress())) {
            showMessage(noDownloadText);
            return;
        }
    }
    state_ = Downloading;
    failure_.clear();
    received_ = 0;
    expected_ = 0;

    const QUrl address = WebLinks::downloadAddress();
    const QString name = WebLinks::installerFileName(address);
    infolabel2->setText(name);
    infolabel3->clear();

    const QString path = QDir(ProgramFolders::writableFolder()).filePath(name);
    file_ = std::make_unique<QSaveFile>(path);
    if (!file_->open(QIODevice::WriteOnly)) {
        infolabel->setText(QStringLiteral("Download failed: ") + file_->errorString());
        file_.reset();
        state_ = Idle;
        return;
    }

    getbutton->setEnabled(false);
    abortbutton->setEnabled(true);
    infolabel->setText(QStringLiteral("Loading"));
    progressbar_download->setRange(0, 0);

    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/3.0 (compatible)"));
    request.setRawHeader("Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    if (!network_)
        network_ = new QNetworkAccessManager(this); // made on first use: most solo games never download
    network_->setProxy(QNetworkProxy::NoProxy);

    reply_ = network_->get(request);
    reply_->setReadBufferSize(readBufferSize);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &Tdownload::HttpCli1HeaderData);
    connect(reply_, &QNetworkReply::readyRead, this, &Tdownload::HttpCli1DocData);
    connect(reply_, &QNetworkReply::finished, this, &Tdownload::downloadFinished);
}

int Tdownload::httpStatus() const
{
    return reply_ ? reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
}

void Tdownload::HttpCli1HeaderData()
{
    if (!reply_)
        return;
    if (received_ == 0) // one dot for each header line, until the body starts
        infolabel->setText(infolabel->text() + QString(reply_->rawHeaderPairs().size(), QLatin1Char('.')));
    const int status = httpStatus();
    if (status >= 200 && status < 300) {
        infolabel3->setText(QStringLiteral("Downloading: ") + infolabel2->text());
        expected_ = reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (expected_ > limit_)
            failTransfer(QStringLiteral("the file is too large"));
        else
            showProgress();
    }
}

void Tdownload::HttpCli1DocData()
{
    if (!reply_ || !file_)
        return;
    const QByteArray block = reply_->readAll();
    if (httpStatus() >= 300)
        return; // an error page is not the installer
    received_ += block.size();
    if (received_ > limit_) {
        failTransfer(QStringLiteral("the file is too large"));
        return;
    }
    if (file_->write(block) != block.size()) {
        failTransfer(file_->errorString());
        return;
    }
    infolabel->setText(QString::number(received_) + QStringLiteral(" bytes"));
    showProgress();
}

void Tdownload::showProgress()
{
    if (expected_ > 0 && expected_ <= std::numeric_limits<int>::max()) {
        progressbar_download->setRange(0, int(expected_));
        progressbar_download->setValue(int(std::min(received_, expected_)));
    } else {
        progressbar_download->setRange(0, 0); // busy while the size is unknown
    }
}

void Tdownload::failTransfer(const QString &reason)
{
    if (!reply_ || !failure_.isEmpty())
        return;
    failure_ = reason;
    reply_->abort();
}

void Tdownload::resetButtons()
{
    getbutton->setEnabled(true);
    abortbutton->setEnabled(false);
}

void Tdownload::downloadFinished()
{
    QNetworkReply *reply = reply_;
    if (!reply)
        return;
    // Drain what is left before the reply is let go.
    if (failure_.isEmpty() && reply->bytesAvailable() > 0)
        HttpCli1DocData();
    const int status = httpStatus();
    reply_ = nullptr;
    reply->deleteLater();

    bool installed = false;
    if (!failure_.isEmpty()) {
        infolabel->setText(QStringLiteral("Download failed: ") + failure_);
        state_ = Idle;
    } else if (reply->error() == QNetworkReply::OperationCanceledError || status >= 300) {
        // A final answer other than 2xx (a redirect that was not followed included) is
        // an error page, never the installer.
        infolabel->setText(QStringLiteral("Download Aborted"));
        state_ = Aborted;
    } else if (reply->error() != QNetworkReply::NoError) {
        infolabel->setText(QStringLiteral("Download failed: ") + reply->errorString());
        state_ = Idle;
    } else if (received_ == 0) {
        infolabel->setText(QStringLiteral("Download failed: the server sent no file"));
        state_ = Idle;
    } else if (!file_->commit()) {
        infolabel->setText(QStringLiteral("Download failed: ") + file_->errorString());
        state_ = Idle;
    } else {
        installed = true;
        infolabel->setText(QStringLiteral("Received ") + QString::number(QFileInfo(file_->fileName()).size())
            + QStringLiteral(" bytes"));
    }

    resetButtons();
    const QString path = file_->fileName();
    file_.reset(); // an uncommitted file is discarded, leaving any earlier one in place
    progressbar_download->setRange(0, 100);
    progressbar_download->setValue(installed ? 100 : 0);

    if (installed && state_ != Aborted) {
        state_ = Idle;
        startInstaller(path);
    }
}

void Tdownload::startInstaller(const QString &path)
{
    infolabel3->setText(QStringLiteral("Installing"));
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    if (shell_->startProgram(path, installerArguments()))
        Q_EMIT exitRequested();
    else
        showMessage(QStringLiteral("An Error has Occurred."));
}

void Tdownload::abortbuttonClick()
{
    if (!reply_)
        return;
    infolabel->setText(QStringLiteral("Download has been aborted."));
    state_ = Aborted;
    infolabel3->setText(QStringLiteral("Download Aborted"));
    reply_->abort();
}

void Tdownload::Button1Click()
{
    close();
}

void Tdownload::Button2Click()
{
    const QString lobby = WebLinks::lobbyProgramPath();
    if (QFileInfo(lobby).isFile() && shell_->startProgram(lobby, {})) {
        Q_EMIT exitRequested();
        return;
    }
    if (QFileInfo(lobby).isFile())
        showMessage(QStringLiteral("An Error has Occurred."));
    else
        showMessage(
            QStringLiteral("Please close the game and open the Orinco Lobby using the icon on your desktop "
                           "or using the your Window's start-up menu."));
}
