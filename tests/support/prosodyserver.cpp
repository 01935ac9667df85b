#include "prosodyserver.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

constexpr qsizetype maxLogBytes = 4 * 1024 * 1024;

} // namespace

ProsodyServer::ProsodyServer() = default;

ProsodyServer::~ProsodyServer()
{
    stop();
}

quint16 ProsodyServer::freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool ProsodyServer::makeCertificate()
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
            QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
            QStringLiteral("-nodes"), QStringLiteral("-keyout"), dir_.filePath(QStringLiteral("key.pem")),
            QStringLiteral("-out"), dir_.filePath(QStringLiteral("cert.pem")), QStringLiteral("-days"),
            QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=") + domain(),
            QStringLiteral("-addext"),
            QStringLiteral("subjectAltName=DNS:%1,DNS:%2,DNS:%3")
                .arg(domain(), roomsDomain(), usersDomain())});
    if (!openssl.waitForFinished(20000) || openssl.exitCode() != 0) {
        error_
            = QStringLiteral("openssl could not make a certificate: ") + QString::fromUtf8(openssl.readAll());
        return false;
    }
    authorities_ = QSslCertificate::fromPath(dir_.filePath(QStringLiteral("cert.pem")));
    return !authorities_.isEmpty();
}

QString ProsodyServer::essentials() const
{
    return QStringLiteral(R"(-- Written by the test; removed with its folder.
run_as_root = true
pidfile = "%1/prosody.pid"
data_path = "%1/data"
certificates = "%1/certs"
admin_socket = "%1/prosody.sock"
interfaces = { "%3" }
local_interfaces = { "%3" }
c2s_ports = { %2 }
c2s_direct_tls_ports = { }
legacy_ssl_ports = { }
s2s_ports = { }
s2s_direct_tls_ports = { }
http_ports = { }
https_ports = { }
log = { { levels = { min = "info" }, to = "console" } }
ssl = { key = "%1/key.pem", certificate = "%1/cert.pem" }
)")
        .arg(dir_.path())
        .arg(port_)
        .arg(options_.address);
}

bool ProsodyServer::writeFile(const QString &config)
{
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    QDir(dir_.path()).mkpath(QStringLiteral("certs"));
    QFile file(dir_.filePath(QStringLiteral("prosody.cfg.lua")));
    if (!file.open(QIODevice::WriteOnly)) {
        error_ = file.errorString();
        return false;
    }
    file.write(config.toUtf8());
    return true;
}

bool ProsodyServer::writeConfig(const Options &options)
{
    QStringList modules {
        QStringLiteral("saslauth"), QStringLiteral("tls"), QStringLiteral("disco"), QStringLiteral("ping")};
    modules += options.modules;
    for (QString &m : modules)
        m = QLatin1Char('"') + m + QLatin1Char('"');
    QString config = essentials()
        + QStringLiteral("modules_enabled = { %1 }\nc2s_require_encryption = true\n%2\nVirtualHost \"%4\"\n"
                         "  authentication = \"anonymous\"\n%3\n")
              .arg(modules.join(QStringLiteral(", ")), options.global, options.guestHost, domain());
    if (options.accounts)
        config += QStringLiteral("VirtualHost \"%1\"\n  authentication = \"internal_plain\"\n")
                      .arg(usersDomain());
    config += QStringLiteral("Component \"%1\" \"muc\"\n  muc_room_locking = false\n").arg(roomsDomain())
        + options.rooms + QLatin1Char('\n');
    return writeFile(config);
}

bool ProsodyServer::startWith(const QString &configuration, const Options &options)
{
    if (!dir_.isValid())
        return false;
    options_ = options;
    port_ = freePort();
    const qsizetype firstHost = configuration.indexOf(QStringLiteral("\nVirtualHost"));
    if (firstHost < 0) {
        error_ = QStringLiteral("the configuration has no VirtualHost");
        return false;
    }
    // Later settings win, so the test's own come after the configuration's globals.
    const QString config
        = configuration.left(firstHost + 1) + essentials() + configuration.mid(firstHost + 1);
    return makeCertificate() && writeFile(config) && launch();
}

bool ProsodyServer::shell(const QString &command)
{
    return runCtl({QStringLiteral("shell"), command});
}

bool ProsodyServer::start(const Options &options)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    options_ = options;
    port_ = freePort();
    return makeCertificate() && writeConfig(options) && launch();
}

bool ProsodyServer::launch()
{
    log_.clear();
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(process_.get(), &QProcess::readyRead, [this] { readLog(); });
    QStringList command = options_.wrapper;
    command << QStringLiteral("prosody") << QStringLiteral("--config")
            << dir_.filePath(QStringLiteral("prosody.cfg.lua")) << QStringLiteral("-F");
    process_->start(command.takeFirst(), command);
    if (!process_->waitForStarted(10000)) {
        error_ = QStringLiteral("prosody could not be started: ") + process_->errorString();
        return false;
    }
    const bool loopback = QHostAddress(options_.address).isLoopback();
    const bool up = QTest::qWaitFor(
        [this, loopback] {
            if (process_->state() != QProcess::Running)
                return true;
            // Out of this process's reach: its own word that it listens.
            if (!loopback) {
                readLog();
                return log_.contains("Activated service 'c2s'");
            }
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port_);
            return probe.waitForConnected(100);
        },
        20000);
    if (!up || process_->state() != QProcess::Running) {
        readLog();
        error_ = QStringLiteral("prosody did not start listening on port %1").arg(port_);
        return false;
    }
    return true;
}

void ProsodyServer::readLog()
{
    if (!process_)
        return;
    log_ += process_->readAll();
    if (log_.size() > maxLogBytes)
        log_ = log_.right(maxLogBytes / 2);
}

bool ProsodyServer::isRunning() const
{
    return process_ && process_->state() == QProcess::Running;
}

void ProsodyServer::stop(bool abruptly)
{
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning) {
        if (abruptly)
            process_->kill();
        else
            process_->terminate();
        if (!process_->waitForFinished(10000)) {
            process_->kill();
            process_->waitForFinished(5000);
        }
    }
    readLog();
    process_.reset();
}

bool ProsodyServer::restart()
{
    stop();
    return launch();
}

bool ProsodyServer::addUser(const QString &user, const QString &password)
{
    return runCtl({QStringLiteral("register"), user, usersDomain(), password});
}

bool ProsodyServer::runCtl(const QStringList &arguments)
{
    QProcess ctl;
    ctl.setProcessChannelMode(QProcess::MergedChannels);
    ctl.start(QStringLiteral("prosodyctl"),
        QStringList {QStringLiteral("--config"), dir_.filePath(QStringLiteral("prosody.cfg.lua"))}
            + arguments);
    if (!ctl.waitForFinished(20000) || ctl.exitCode() != 0) {
        error_ = QStringLiteral("prosodyctl %1 failed: %2")
                     .arg(arguments.value(0), QString::fromUtf8(ctl.readAll()));
        return false;
    }
    return true;
}
