#ifndef PICTUREMEMORY_H
#define PICTUREMEMORY_H

#include <QImage>
#include <QSize>

#include <memory>

// Memory for one picture, kept from picture to picture. A 12-megapixel photo
// decoded into fresh memory costs 48 MB that the kernel must clear and map
// (and take back when the picture goes); drawn again into the same memory,
// the next photo of the same camera costs none of that.
class PictureMemory
{
public:
    PictureMemory() = default;
    PictureMemory(const PictureMemory&) = delete;
    PictureMemory& operator=(const PictureMemory&) = delete;

    // A picture of this size and format drawn in this memory, with the
    // metadata of a new QImage and whatever pixels the memory holds; null
    // when the memory cannot be had. It lives only until the next call,
    // release() or the end of this object, so it must never be handed on:
    // what leaves the caller is a copy or a picture derived from it.
    QImage picture(const QSize& size, QImage::Format format);

    qint64 bytes() const { return m_bytes; }
    // Whether `picture` is drawn in this memory.
    bool holds(const QImage& picture) const { return m_data && picture.constBits() == m_data.get(); }
    void release();

private:
    struct Free {
        void operator()(uchar* data) const;
    };
    std::unique_ptr<uchar, Free> m_data;
    qint64 m_bytes = 0;
};

#endif
