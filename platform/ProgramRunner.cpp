#include "ProgramRunner.h"

#ifdef Q_OS_WIN

#include <QProcess>

ProgramRunner::Result ProgramRunner::run(const QString& program, const QStringList& arguments, int startMsecs,
                                         int runMsecs)
{
    Result result;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(startMsecs))
        return result;
    process.closeWriteChannel();
    result.started = true;
    result.exited = process.waitForFinished(runMsecs) && process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.standardError = process.readAllStandardError();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    return result;
}

#else

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Closes what it holds when it goes.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

// Reads what the pipe holds now; false once it is closed.
bool drain(int fd, QByteArray* into)
{
    char block[4096];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got > 0) {
            into->append(block, int(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

} // namespace

ProgramRunner::Result ProgramRunner::run(const QString& program, const QStringList& arguments, int startMsecs,
                                         int runMsecs)
{
    Q_UNUSED(startMsecs) // posix_spawn returns once the program runs or has failed to start
    Result result;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return result;
    Descriptor errorRead(ends[0]);
    Descriptor errorWrite(ends[1]);
    // Only this end: the program's writes must block when the pipe is full.
    if (::fcntl(errorRead.get(), F_SETFL, ::fcntl(errorRead.get(), F_GETFL) | O_NONBLOCK) != 0)
        return result;

    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, errorWrite.get(), 2);
    // The program starts with no signal blocked and SIGPIPE at its default,
    // whatever this thread has set.
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const QByteArray path = QFile::encodeName(program);
    std::vector<QByteArray> encoded;
    encoded.reserve(size_t(arguments.size()));
    for (const QString& argument : arguments)
        encoded.push_back(QFile::encodeName(argument)); // paths, mostly
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.constData()));
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, path.constData(), &setup.actions, &setup.attributes, argv.data(), environ) != 0)
        return result;
    result.started = true;
    errorWrite.reset();

    QElapsedTimer timer;
    timer.start();
    bool open = true;
    int status = 0;
    for (;;) {
        const pid_t ended = ::waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            break;
        if (ended < 0 && errno != EINTR)
            return result; // reaped elsewhere: its outcome is unknown

        const qint64 left = runMsecs - timer.elapsed();
        if (left <= 0) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            if (open)
                drain(errorRead.get(), &result.standardError);
            return result;
        }
        // The pipe closes when the program ends, which wakes the poll; a
        // program that hands its standard error on is looked at every 50 ms.
        pollfd watch{errorRead.get(), POLLIN, 0};
        if (::poll(open ? &watch : nullptr, open ? 1 : 0, int(qMin<qint64>(left, open ? 50 : 1))) > 0)
            open = drain(errorRead.get(), &result.standardError);
    }
    if (open)
        drain(errorRead.get(), &result.standardError);
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

#endif
