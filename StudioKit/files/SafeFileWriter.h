#ifndef SAFEFILEWRITER_H
#define SAFEFILEWRITER_H

#include <QByteArray>
#include <QFile>
#include <QString>

// Every write that puts a file under its name goes through this class, so a
// full disk or a failing share fails the write instead of leaving an empty
// or short file that was reported as written.
//
//   SafeFileWriter writer(path);
//   if (writer.open() && writer.write(bytes) && writer.commit()) ...
//
// The bytes go to a temporary file in the target's folder. Only when the
// flush reported no error and the file on disk holds exactly the bytes
// written does it take the target's name; on any failure the temporary file
// is removed and an existing target stays as it was. A new file gets the
// mode a plain QFile gives (0666 minus the umask), a replaced file keeps
// its permissions. Large contents go to the disk past the system's file
// cache where the file system allows it. Safe on any thread, one writer per
// thread.
class SafeFileWriter
{
public:
    enum class Existing {
        Replace, // an existing target is replaced
        Keep,    // the write fails when the name is taken; nothing is replaced
    };

    // `target` as the program builds it: "\" separators are accepted.
    explicit SafeFileWriter(const QString& target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file; false when the folder cannot take one.
    bool open();
    bool write(const QByteArray& bytes);
    // Replaces the target once every byte is on disk.
    bool commit();
    // Gives the content the name `path` (by default the target) only while
    // no entry has that name. When the name is taken the written content is
    // kept, so the caller may try another name.
    bool commitWithoutReplacing(const QString& path = QString());

    QString errorString() const { return m_error; }

    // One call for the common case: the whole content at once.
    static bool writeFile(const QString& path, const QByteArray& bytes, Existing existing = Existing::Replace);
    // Streams `source` into `target` in blocks; the source is never changed.
    static bool copyFile(const QString& source, const QString& target, Existing existing);

    // For content that another writer puts on disk by name (a printer):
    // creates an empty temporary file beside `target`, with a new file's
    // mode, and returns its path; empty when the folder cannot take one.
    static QString reserveTemporary(const QString& target);
    // Gives such a finished temporary file the target's name as commit()
    // does; on failure it is removed and the target stays as it was.
    static bool replaceWith(const QString& temporary, const QString& target);

    // Test hook: flushes of targets whose path contains `pathPart` fail as
    // on a full disk; an empty text ends the fault.
    static void failFlushesForTests(const QString& pathPart);

private:
    // Writes the leading whole blocks of a large `bytes` past the system's
    // file cache; how many it wrote (0 where it cannot), -1 on a failure.
    qint64 writeBlocksPastCache(const QByteArray& bytes);
    // Writes the rest of `in`; false (with the error) when a byte is missing.
    bool writeCopyOf(QFile& in);
    // Renames `temporary` over `target`; the error text, empty on success.
    static QString moveOver(const QString& temporary, const QString& target);
    // Flushes, closes and checks the temporary file, once.
    bool finish();
    void discard();
    bool fail(const QString& error);

    QString m_target;
    QFile m_temp;
    qint64 m_written = 0;
    bool m_finished = false;
    bool m_ok = true;
    QString m_error;
};

#endif
