#ifndef PHOTOIMPORT_H
#define PHOTOIMPORT_H

#include "files/PictureMemory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The per-photo step of every import into an order folder (the batch worker,
// the single-order window's jobs, the copy job): one read of the source, the
// backup copy that never replaces, the photo itself upright, and the 2250,
// 1000 and 200 pixel thumbnails scaled one from the other. What the callers
// differ in is given as Settings. Safe to run for several photos at once.
class PhotoImport
{
public:
    // Where one photo goes; an empty backup makes no backup copy.
    struct Targets {
        QString backup;
        QStringList photos;
        QString thumbnail2250;
        QString thumbnail1000;
        QString thumbnail200;
    };

    struct Settings {
        // A turned photo: turned in memory and saved in its name's format
        // (the batch), or written by jpegtran losslessly with "JPG" quality
        // 100 as the fallback (the single-order window).
        bool losslessTurn = false;
        // Thumbnails in the name's format at the writer's default quality
        // (empty format), or in this format and quality.
        QByteArray thumbnailFormat;
        int thumbnailQuality = -1;
        // The batch stops a photo at its first failed write; the window
        // still tries the photo's other files.
        bool stopAtFirstFailure = true;
    };

    struct Outcome {
        // The files that could not be written, in the order they were tried;
        // the source itself when it could not be read.
        QStringList failed;
        bool decoded = false;
        bool ok() const { return failed.isEmpty(); }
    };

    static Outcome run(const QString& sourcePath, const Targets& targets, const Settings& settings);

    // The memory of a photo's pictures (decoded, turned and two for the
    // thumbnails) and of its encoded files, kept from one photo to the next:
    // see PictureMemory.
    struct Buffers {
        PictureMemory decoded;
        PictureMemory turned;
        PictureMemory thumbnails[2];
        QByteArray encoded;
        qint64 bytes() const
        {
            return decoded.bytes() + turned.bytes() + thumbnails[0].bytes() + thumbnails[1].bytes()
                   + encoded.capacity();
        }
    };
    // While one lives, run() on its thread draws its full-size pictures in
    // `buffers` instead of fresh memory. The photo pool lends each job the
    // buffers of a job that has ended.
    class BuffersLent
    {
    public:
        explicit BuffersLent(Buffers* buffers);
        ~BuffersLent();
        BuffersLent(const BuffersLent&) = delete;
        BuffersLent& operator=(const BuffersLent&) = delete;

    private:
        Buffers* const m_previous;
    };
    // The buffers lent to this thread, null when none are.
    static Buffers* lentBuffers();

    // Where the shot-time scan looks: from `start`, 500 bytes that may open
    // a "20"; the first window with a hit ends the scan, and inside it the
    // first hit wins unless `lastHitWins`.
    struct ScanWindow {
        qint64 start;
        bool lastHitWins;
    };
    // The 17 characters after the first "20" found (Exif dates are text
    // such as "2017:05:04 12:34:56"), cut at a zero byte and trimmed. False
    // when the file cannot be opened; `shotTime` changes only on a hit.
    static bool scanShotTime(const QString& path, const QList<ScanWindow>& windows, QString& shotTime);

    // Replaces the file through a temporary file in its folder.
    static bool writeReplacing(const QString& path, const QByteArray& bytes);
    // Writes a new file under the first free name of `path` and its numbered
    // variants; an existing file is never replaced. The content is complete
    // before it takes the name.
    static bool writeKeeping(const QString& path, const QByteArray& bytes);
};

#endif
