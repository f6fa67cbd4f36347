#include "files/ExifOrientation.h"

#include <QByteArray>
#include <QtEndian>

namespace {

const quint16 kOrientationTag = 0x0112;
const quint16 kTypeShort = 3;

class TiffReader
{
public:
    explicit TiffReader(const QByteArray& data) : m_data(data) {}

    bool readByteOrder()
    {
        if (m_data.startsWith("II"))
            m_littleEndian = true;
        else if (m_data.startsWith("MM"))
            m_littleEndian = false;
        else
            return false;
        quint32 magic = 0;
        return u16(2, &magic) && magic == 42;
    }

    bool u16(qint64 offset, quint32* value) const
    {
        if (offset < 0 || offset + 2 > m_data.size())
            return false;
        const uchar* p = reinterpret_cast<const uchar*>(m_data.constData()) + offset;
        *value = m_littleEndian ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
        return true;
    }

    bool u32(qint64 offset, quint32* value) const
    {
        if (offset < 0 || offset + 4 > m_data.size())
            return false;
        const uchar* p = reinterpret_cast<const uchar*>(m_data.constData()) + offset;
        *value = m_littleEndian ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
        return true;
    }

private:
    const QByteArray& m_data;
    bool m_littleEndian = false;
};

// Orientation from the TIFF block of an Exif segment, 0 when it holds none.
int orientationFromTiff(const QByteArray& tiff)
{
    TiffReader reader(tiff);
    quint32 ifd0 = 0;
    quint32 count = 0;
    if (!reader.readByteOrder() || !reader.u32(4, &ifd0) || !reader.u16(ifd0, &count))
        return 0;
    for (quint32 i = 0; i < count; ++i) {
        const qint64 entry = qint64(ifd0) + 2 + 12 * qint64(i);
        quint32 tag = 0;
        quint32 type = 0;
        quint32 values = 0;
        quint32 value = 0;
        if (!reader.u16(entry, &tag) || !reader.u16(entry + 2, &type)
            || !reader.u32(entry + 4, &values) || !reader.u16(entry + 8, &value))
            return 0;
        if (tag == kOrientationTag)
            return type == kTypeShort && values >= 1 && value >= 1 && value <= 8 ? int(value) : 0;
    }
    return 0;
}

bool readByte(QIODevice& device, uchar* byte)
{
    char c = 0;
    if (!device.getChar(&c))
        return false;
    *byte = uchar(c);
    return true;
}

} // namespace

int ExifOrientation::read(QIODevice& device)
{
    if (device.read(2) != QByteArray("\xFF\xD8", 2))
        return 0;
    for (;;) {
        uchar byte = 0;
        if (!readByte(device, &byte) || byte != 0xFF)
            return 0;
        uchar marker = 0xFF;
        while (marker == 0xFF) {
            if (!readByte(device, &marker))
                return 0;
        }
        if (marker == 0xDA || marker == 0xD9) // image data or end: no Exif
            return 0;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) // no length
            continue;
        const QByteArray lengthBytes = device.read(2);
        if (lengthBytes.size() != 2)
            return 0;
        const int length = qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(lengthBytes.constData())) - 2;
        if (length < 0)
            return 0;
        if (marker == 0xE1) {
            const QByteArray content = device.read(length);
            if (content.size() != length)
                return 0;
            const QByteArray exifHeader("Exif\0\0", 6);
            if (content.startsWith(exifHeader))
                return orientationFromTiff(content.mid(exifHeader.size()));
        } else if (device.skip(length) != length) {
            return 0;
        }
    }
}
