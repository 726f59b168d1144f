#include "bench/latencysharemount.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <QDir>
#include <QFile>

extern char **environ;

namespace
{

bool isMountedOver(const QString &folder)
{
    struct stat inner {
    }, outer{};
    return stat(QFile::encodeName(folder).constData(), &inner) == 0 &&
           stat(QFile::encodeName(folder + QStringLiteral("/..")).constData(), &outer) == 0 &&
           inner.st_dev != outer.st_dev;
}

int spawn(const std::vector<QByteArray> &words)
{
    std::vector<char *> argv;
    for (const QByteArray &word : words)
        argv.push_back(const_cast<char *>(word.constData()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

} // namespace

LatencyShareMount::~LatencyShareMount()
{
    unmount();
}

bool LatencyShareMount::mount(const QString &source, const QString &scratch, int delayMicroseconds)
{
    if (QByteArray(TABILO_LATENCY_SHARE).isEmpty()) {
        m_failure = QStringLiteral("built without libfuse3 (Debian package libfuse3-dev)");
        return false;
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_failure = QStringLiteral("/dev/fuse: ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    m_mountPoint = scratch + QStringLiteral("/share-") + QString::number(getpid());
    QDir().mkpath(m_mountPoint);
    m_server = spawn({QByteArray(TABILO_LATENCY_SHARE), QFile::encodeName(source),
                      QFile::encodeName(m_mountPoint), QByteArray::number(delayMicroseconds)});
    if (m_server < 0) {
        m_failure = QStringLiteral("cannot start " TABILO_LATENCY_SHARE);
        return false;
    }
    for (int waited = 0; waited < 100; ++waited) {
        if (isMountedOver(m_mountPoint))
            return true;
        int status = 0;
        if (waitpid(m_server, &status, WNOHANG) == m_server) {
            m_server = -1;
            m_failure = QStringLiteral("the FUSE server ended without mounting (see above)");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_failure = QStringLiteral("the share did not appear within 5 s");
    unmount();
    return false;
}

void LatencyShareMount::unmount()
{
    if (m_server < 0)
        return;
    const int helper = spawn({"fusermount3", "-u", QFile::encodeName(m_mountPoint)});
    if (helper > 0)
        waitpid(helper, nullptr, 0);
    if (isMountedOver(m_mountPoint))
        kill(m_server, SIGTERM);
    waitpid(m_server, nullptr, 0);
    m_server = -1;
    QDir().rmdir(m_mountPoint);
}
