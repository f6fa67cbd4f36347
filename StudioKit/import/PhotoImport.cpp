#include "import/PhotoImport.h"

#include "files/FileOperation.h"
#include "files/ImageOperation.h"
#include "files/SafeFileWriter.h"
#include "files/SmoothScale.h"
#include "Platform.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace {

thread_local PhotoImport::Buffers* t_lentBuffers = nullptr;

// Encodes into `bytes`, whose memory serves the next picture again; false
// when the picture cannot be encoded.
bool encodeInto(const QImage& image, const QByteArray& format, int quality, QByteArray* bytes)
{
    // A reserved capacity outlives the emptying.
    bytes->reserve(bytes->capacity());
    bytes->resize(0);
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    const bool written = writer.write(image) && !bytes->isEmpty();
    buffer.close();
    return written;
}

QByteArray formatOfName(const QString& path)
{
    return QFileInfo(path).suffix().toLower().toLatin1();
}

// Collects the files that failed and tells whether the photo goes on.
class Failures
{
public:
    Failures(PhotoImport::Outcome& outcome, bool stopAtFirst) : outcome(outcome), stopAtFirst(stopAtFirst) {}

    // False when the photo must stop here.
    bool check(bool written, const QString& path)
    {
        if (written)
            return true;
        qDebug() << "导片读写失败" << path;
        outcome.failed << path;
        return !stopAtFirst;
    }

private:
    PhotoImport::Outcome& outcome;
    const bool stopAtFirst;
};

} // namespace

PhotoImport::BuffersLent::BuffersLent(Buffers* buffers) : m_previous(t_lentBuffers)
{
    t_lentBuffers = buffers;
}

PhotoImport::BuffersLent::~BuffersLent()
{
    t_lentBuffers = m_previous;
}

PhotoImport::Buffers* PhotoImport::lentBuffers()
{
    return t_lentBuffers;
}

PhotoImport::Outcome PhotoImport::run(const QString& sourcePath, const Targets& targets, const Settings& settings)
{
    Outcome outcome;
    Failures failures(outcome, settings.stopAtFirstFailure);

    // One read serves the backup, the orientation, the plain copies and the
    // decoding.
    QFile source(Platform::diskPath(sourcePath));
    if (!source.open(QIODevice::ReadOnly)) {
        failures.check(false, sourcePath);
        return outcome;
    }
    const QByteArray data = source.readAll();
    if (data.size() != source.size()) {
        failures.check(false, sourcePath);
        return outcome;
    }
    source.close();

    if (!targets.backup.isEmpty() && !failures.check(writeKeeping(targets.backup, data), targets.backup))
        return outcome;

    Buffers ownBuffers;
    Buffers& buffers = t_lentBuffers ? *t_lentBuffers : ownBuffers;
    // Drawn in the buffers: never handed on, only pictures derived from it.
    QImage picture;
    outcome.decoded = ImageOperation::decodeInto(data, &buffers.decoded, &picture);
    if (!outcome.decoded)
        qDebug() << "picPath=" << sourcePath;
    const int orientation = ImageOperation::getDirection(data);

    // A photo that cannot be decoded is copied as it is, whatever its
    // orientation, so nothing is lost.
    const bool turn = ImageOperation::needsTurn(orientation) && outcome.decoded && !targets.photos.isEmpty();
    if (turn && settings.losslessTurn) {
        const QString& first = targets.photos.first();
        if (!failures.check(ImageOperation::saveRotatedOriginal(sourcePath, first, orientation, picture, &picture,
                                                                      &buffers.turned),
                            first))
            return outcome;
        for (int i = 1; i < targets.photos.size(); ++i) {
            if (!failures.check(FileOperation::copyFile(first, targets.photos.at(i), true), targets.photos.at(i)))
                return outcome;
        }
    } else {
        QByteArray photo = data;
        if (turn)
            picture = ImageOperation::rotateImage(picture, orientation, &buffers.turned);
        // A turned copy that does not fit in memory leaves the photo as it
        // is, like one that cannot be decoded.
        if (turn && !picture.isNull()) {
            if (!failures.check(encodeInto(picture, formatOfName(targets.photos.first()), 100, &buffers.encoded),
                                targets.photos.first()))
                return outcome;
            photo = buffers.encoded;
        }
        for (const QString& target : targets.photos) {
            if (!failures.check(writeReplacing(target, photo), target))
                return outcome;
        }
    }

    if (picture.isNull()) {
        for (const QString& target : {targets.thumbnail1000, targets.thumbnail2250}) {
            if (!failures.check(writeReplacing(target, data), target))
                return outcome;
        }
        return outcome;
    }
    // Each size is scaled from the one before, so the full picture is
    // scaled only once; each is drawn in the other thumbnail memory than the
    // one it is scaled from.
    struct Size {
        int side;
        const QString& target;
        PictureMemory* memory;
    };
    const Size sizes[] = {{2250, targets.thumbnail2250, &buffers.thumbnails[0]},
                          {1000, targets.thumbnail1000, &buffers.thumbnails[1]},
                          {200, targets.thumbnail200, &buffers.thumbnails[0]}};
    for (const Size& size : sizes) {
        picture = SmoothScale::toFit(picture, size.side, size.memory);
        const QByteArray format =
            settings.thumbnailFormat.isEmpty() ? formatOfName(size.target) : settings.thumbnailFormat;
        const bool encoded = encodeInto(picture, format, settings.thumbnailQuality, &buffers.encoded);
        if (!failures.check(encoded && writeReplacing(size.target, buffers.encoded), size.target))
            return outcome;
    }
    return outcome;
}

bool PhotoImport::scanShotTime(const QString& path, const QList<ScanWindow>& windows, QString& shotTime)
{
    QFile file(Platform::diskPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const ScanWindow& window : windows) {
        if (!file.seek(window.start))
            break;
        bool hit = false;
        char byte = 0;
        for (int i = 0; i < 500 && file.getChar(&byte); ++i) {
            if (byte != '2')
                continue;
            char next = 0;
            // A byte after "2" that is not "0" is used up.
            if (!file.getChar(&next) || next != '0')
                continue;
            QByteArray text = file.read(17);
            const int end = text.indexOf('\0');
            if (end >= 0)
                text.truncate(end);
            shotTime = QString::fromLatin1(text).trimmed();
            hit = true;
            if (!window.lastHitWins)
                break;
        }
        if (hit)
            break;
    }
    return true;
}

bool PhotoImport::writeReplacing(const QString& path, const QByteArray& bytes)
{
    return SafeFileWriter::writeFile(path, bytes);
}

bool PhotoImport::writeKeeping(const QString& path, const QByteArray& bytes)
{
    const QString local = Platform::diskPath(path);
    SafeFileWriter writer(local);
    if (!writer.open() || !writer.write(bytes))
        return false;
    for (int n = 0;; ++n) {
        const QString candidate = n == 0 ? local : FileOperation::numberedName(local, n);
        if (QFileInfo::exists(candidate))
            continue;
        if (writer.commitWithoutReplacing(candidate))
            return true;
        if (!QFileInfo::exists(candidate))
            return false;
    }
}
