#include "ChildProcess.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;

} // namespace

ChildOutcome runInChild(const std::function<QString()>& prepare, const std::function<QString()>& body)
{
    int channel[2];
    if (::pipe(channel) != 0)
        qFatal("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const QString notPrepared = prepare();
        const QByteArray answer = notPrepared.isEmpty() ? "R" + body().toUtf8() : "S" + notPrepared.toUtf8();
        const ssize_t sent = ::write(channel[1], answer.constData(), static_cast<std::size_t>(answer.size()));
        ::_exit(sent == answer.size() ? 0 : 1);
    }
    ::close(channel[1]);
    QByteArray answer;
    char buffer[512];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        answer.append(buffer, static_cast<int>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (answer.isEmpty())
        qFatal("the child process gave no answer");
    const QString text = QString::fromUtf8(answer.mid(1));
    return answer.startsWith('R') ? ChildOutcome{text, {}} : ChildOutcome{{}, text};
}

QString becomeUnprivileged()
{
    if (::geteuid() != 0)
        return {};
    if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
        return QStringLiteral("cannot switch to user nobody (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return {};
}

QString limitFileSize()
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{10, 10};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return QStringLiteral("cannot limit the file size");
    return {};
}

void openToEveryone(const QString& folder)
{
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                      | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                      | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

void giveToNobody(const QString& path)
{
    if (::geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), Nobody, Nobody) != 0)
        qFatal("cannot hand %s to nobody", qPrintable(path));
}

