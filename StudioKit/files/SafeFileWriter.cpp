#include "files/SafeFileWriter.h"

#include "Platform.h"

#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>

#include <filesystem>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const int kNameAttempts = 32;
const qint64 kCopyBlock = qint64(1) << 20;

#ifdef Q_OS_LINUX
// Direct writes take whole blocks from memory aligned to them; no disk has
// larger blocks.
const qint64 kDirectBlock = 4096;
// Below this the wait for the disk costs more than the cache.
const qint64 kDirectFrom = qint64(256) << 10;
const qint64 kStagingSize = qint64(1) << 20;

// Aligned memory the bytes pass through on their way to the disk, one per
// thread and kept, so it is mapped once.
char* stagingBuffer()
{
    struct Staging {
        char* const data = static_cast<char*>(std::aligned_alloc(kDirectBlock, kStagingSize));
        ~Staging() { std::free(data); }
    };
    thread_local Staging staging;
    return staging.data;
}
#endif

struct FlushFault {
    QMutex mutex;
    QString pathPart;
};

FlushFault& flushFault()
{
    static FlushFault fault;
    return fault;
}

bool flushFaultApplies(const QString& target)
{
    FlushFault& fault = flushFault();
    QMutexLocker lock(&fault.mutex);
    return !fault.pathPart.isEmpty() && target.contains(fault.pathPart);
}

std::filesystem::path fsPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

SafeFileWriter::SafeFileWriter(const QString& target)
    : m_target(Platform::diskPath(target))
{
}

SafeFileWriter::~SafeFileWriter()
{
    discard();
}

bool SafeFileWriter::open()
{
    // A hidden name beside the target: the rename stays on one volume, and
    // listings skip a temporary file left by a crash.
    const QString folder = QFileInfo(m_target).absolutePath();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString name = QStringLiteral("%1/.%2.part")
                                 .arg(folder)
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        m_temp.setFileName(name);
        // Created like any new file: mode 0666 minus the umask.
        if (m_temp.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(name))
            break;
    }
    const QString error = m_temp.errorString();
    m_temp.setFileName(QString()); // never another writer's file
    return fail(QStringLiteral("cannot create a temporary file in ") + folder + QStringLiteral(": ") + error);
}

bool SafeFileWriter::write(const QByteArray& bytes)
{
    if (!m_ok || m_finished || !m_temp.isOpen())
        return fail(QStringLiteral("not open for writing: ") + m_target);
    const qint64 direct = writeBlocksPastCache(bytes);
    if (direct < 0)
        return false;
    const qint64 rest = bytes.size() - direct;
    if (rest > 0 && m_temp.write(bytes.constData() + direct, rest) != rest)
        return fail(m_temp.errorString());
    m_written += rest;
    return true;
}

qint64 SafeFileWriter::writeBlocksPastCache(const QByteArray& bytes)
{
#ifdef Q_OS_LINUX
    // Large files go straight to the disk: nothing here reads them back
    // soon, and copying them into fresh cache pages costs more CPU than the
    // disk's own transfer, most of all on a virtual machine, whose host
    // must first map every fresh page.
    if (bytes.size() < kDirectFrom || m_written % kDirectBlock != 0)
        return 0;
    if (!m_temp.flush()) {
        fail(m_temp.errorString());
        return -1;
    }
    const int fd = m_temp.handle();
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_DIRECT) != 0)
        return 0;
    char* const staging = stagingBuffer();
    const qint64 blocks = bytes.size() / kDirectBlock * kDirectBlock;
    qint64 done = 0;
    int error = 0;
    while (staging && done < blocks) {
        const qint64 size = qMin(kStagingSize, blocks - done);
        std::memcpy(staging, bytes.constData() + done, size_t(size));
        const ssize_t written = ::write(fd, staging, size_t(size));
        if (written > 0 && written % kDirectBlock == 0) {
            done += written;
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            // The file system may refuse direct writes (EINVAL): the rest
            // goes through the cache.
            if (written < 0 && errno != EINVAL)
                error = errno;
            if (written > 0)
                done += written;
            break;
        }
    }
    ::fcntl(fd, F_SETFL, flags);
    m_written += done;
    if (error != 0) {
        fail(QString::fromLocal8Bit(std::strerror(error)));
        return -1;
    }
    // Where QFile goes on writing.
    if (done > 0 && !m_temp.seek(m_written)) {
        fail(m_temp.errorString());
        return -1;
    }
    return done;
#else
    Q_UNUSED(bytes)
    return 0;
#endif
}

bool SafeFileWriter::finish()
{
    if (m_finished)
        return m_ok;
    m_finished = true;
    if (!m_ok || !m_temp.isOpen())
        return fail(QStringLiteral("not open for writing: ") + m_target);
    // A full disk shows only here: the bytes sat in the buffer until now.
    const bool flushed = m_temp.flush() && !flushFaultApplies(m_target);
    const bool clean = flushed && m_temp.error() == QFileDevice::NoError;
    m_temp.close();
    if (!clean || m_temp.error() != QFileDevice::NoError)
        return fail(QStringLiteral("write failed: ") + m_target);
    const qint64 onDisk = QFileInfo(m_temp.fileName()).size();
    if (onDisk != m_written)
        return fail(QStringLiteral("%1 of %2 bytes reached %3").arg(onDisk).arg(m_written).arg(m_target));
    return true;
}

QString SafeFileWriter::moveOver(const QString& temporary, const QString& target)
{
    // A replaced file keeps its permissions; a missing one has none to keep.
    const QFile::Permissions kept = QFile::permissions(target);
    if (kept != QFile::Permissions() && !QFile::setPermissions(temporary, kept))
        return QStringLiteral("cannot keep the permissions of ") + target;
    std::error_code error;
    std::filesystem::rename(fsPath(temporary), fsPath(target), error);
    return error ? QString::fromLocal8Bit(error.message().c_str()) : QString();
}

bool SafeFileWriter::commit()
{
    if (!finish())
        return false;
    const QString error = moveOver(m_temp.fileName(), m_target);
    if (!error.isEmpty())
        return fail(error);
    m_temp.setFileName(QString());
    return true;
}

QString SafeFileWriter::reserveTemporary(const QString& target)
{
    SafeFileWriter writer(target);
    if (!writer.open())
        return QString();
    const QString path = writer.m_temp.fileName();
    writer.m_temp.close();
    writer.m_temp.setFileName(QString()); // the caller's now
    return path;
}

bool SafeFileWriter::replaceWith(const QString& temporary, const QString& target)
{
    if (moveOver(temporary, Platform::diskPath(target)).isEmpty())
        return true;
    QFile::remove(temporary);
    return false;
}

bool SafeFileWriter::commitWithoutReplacing(const QString& path)
{
    if (!finish())
        return false;
    const QString target = path.isEmpty() ? m_target : Platform::diskPath(path);
    if (!Platform::renameWithoutReplacing(m_temp.fileName(), target)) {
        m_error = QStringLiteral("name taken or not writable: ") + target;
        return false;
    }
    m_temp.setFileName(QString());
    return true;
}

bool SafeFileWriter::writeFile(const QString& path, const QByteArray& bytes, Existing existing)
{
    SafeFileWriter writer(path);
    if (!writer.open() || !writer.write(bytes))
        return false;
    return existing == Existing::Replace ? writer.commit() : writer.commitWithoutReplacing();
}

bool SafeFileWriter::copyFile(const QString& source, const QString& target, Existing existing)
{
    QFile in(Platform::diskPath(source));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    SafeFileWriter writer(target);
    if (!writer.open() || !writer.writeCopyOf(in))
        return false;
    return existing == Existing::Replace ? writer.commit() : writer.commitWithoutReplacing();
}

bool SafeFileWriter::writeCopyOf(QFile& in)
{
#ifdef Q_OS_LINUX
    // The kernel copies without passing the bytes through this process;
    // where it cannot (other file systems, old kernels) the blocks below do.
    if (m_ok && !m_finished && m_temp.isOpen() && m_written == 0 && in.pos() == 0) {
        for (;;) {
            const ssize_t copied = ::copy_file_range(in.handle(), nullptr, m_temp.handle(), nullptr, kCopyBlock * 64, 0);
            if (copied > 0) {
                m_written += copied;
                continue;
            }
            if (copied == 0)
                return true;
            if (m_written > 0 || (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP))
                return fail(QString::fromLocal8Bit(std::strerror(errno)));
            break;
        }
    }
#endif
    while (!in.atEnd()) {
        const QByteArray block = in.read(kCopyBlock);
        if (block.isEmpty() || !write(block))
            return false;
    }
    return in.error() == QFileDevice::NoError || fail(in.errorString());
}

void SafeFileWriter::failFlushesForTests(const QString& pathPart)
{
    FlushFault& fault = flushFault();
    QMutexLocker lock(&fault.mutex);
    fault.pathPart = pathPart;
}

void SafeFileWriter::discard()
{
    if (m_temp.fileName().isEmpty())
        return;
    m_temp.close();
    QFile::remove(m_temp.fileName());
    m_temp.setFileName(QString());
}

bool SafeFileWriter::fail(const QString& error)
{
    m_ok = false;
    if (m_error.isEmpty())
        m_error = error;
    discard();
    return false;
}
