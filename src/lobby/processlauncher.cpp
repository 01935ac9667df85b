#include "processlauncher.h"

#include "programfolders.h"

#include <QProcess>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/syscall.h>
#include <unistd.h>

ProcessLauncher::ProcessLauncher(QObject *parent)
    : GameLauncher(parent)
{
    poll_.setInterval(1000);
    connect(&poll_, &QTimer::timeout, this, [this] {
        if (::kill(pid_t(pid_), 0) != 0 && errno == ESRCH)
            reportEnded();
    });
}

ProcessLauncher::~ProcessLauncher()
{
    unwatch();
}

QString ProcessLauncher::findGame()
{
    return ProgramFolders::findProgram(programName);
}

bool ProcessLauncher::start(const QStringList &arguments, const QStringList &environment, QString *error)
{
    const QString program = findGame();
    if (program.isEmpty()) {
        if (error)
            *error
                = QStringLiteral("the game program \"%1\" was found neither beside the lobby nor on the PATH")
                      .arg(programName);
        return false;
    }
    qint64 pid = 0;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment) {
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        if (equals > 0)
            env.insert(entry.left(equals), entry.mid(equals + 1));
    }
    process.setProcessEnvironment(env);
    if (!process.startDetached(&pid)) {
        if (error)
            *error = QStringLiteral("%1 could not be started").arg(program);
        return false;
    }
    watch(pid);
    return true;
}

void ProcessLauncher::watch(qint64 pid)
{
    unwatch();
    pid_ = pid;
#ifdef SYS_pidfd_open
    pidfd_ = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
#endif
    if (pidfd_ < 0) {
        poll_.start();
        return;
    }
    // A pidfd turns readable when its process ends.
    notifier_ = new QSocketNotifier(pidfd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ProcessLauncher::reportEnded);
}

void ProcessLauncher::unwatch()
{
    poll_.stop();
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (pidfd_ >= 0)
        ::close(pidfd_);
    pidfd_ = -1;
    pid_ = 0;
}

void ProcessLauncher::reportEnded()
{
    unwatch();
    Q_EMIT ended();
}
