#ifndef SMALLDISK_H
#define SMALLDISK_H

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

// A small tmpfs mounted on a folder, so that writes meet a really full
// disk. Mounting needs root (or a mount namespace): where the machine does
// not allow it, isMounted() is false and skipReason() says why.
class SmallDisk
{
public:
    explicit SmallDisk(const QString& folder, qint64 bytes = 512 * 1024) : m_folder(folder)
    {
#ifdef Q_OS_LINUX
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0)
            m_mounted = true;
        else
            m_reason = QStringLiteral("a small tmpfs cannot be mounted here (needs root): ")
                       + QString::fromLocal8Bit(std::strerror(errno));
#else
        Q_UNUSED(bytes)
        m_reason = QStringLiteral("a small full disk is only made on Linux");
#endif
    }

    ~SmallDisk()
    {
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
#endif
    }

    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isMounted() const { return m_mounted; }
    QString skipReason() const { return m_reason; }

    // Takes every free byte with a hidden filler file; true when the disk
    // then refuses more.
    bool fill()
    {
#ifdef Q_OS_LINUX
        const QByteArray path = QFile::encodeName(m_folder + QStringLiteral("/.filler"));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), block.size()) > 0) {
        }
        while (::write(fd, "f", 1) > 0) {
        }
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
#else
        return false;
#endif
    }

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_reason;
};

#endif
