#include "files/PictureMemory.h"

#include <cstdlib>
#include <limits>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {

// Larger pictures are refused by the decoder anyway; this keeps the
// arithmetic far from overflowing.
constexpr qint64 kMaxBytes = qint64(1) << 34;

#ifdef Q_OS_LINUX
constexpr qint64 kHugePage = qint64(2) << 20;
#endif

// At least `bytes`, in as few pages as the system gives: on Linux the
// memory asks for 2 MB pages, so a 48 MB picture takes two dozen page faults
// the first time instead of twelve thousand. The size got is in `*got`.
void* allocate(qint64 bytes, qint64* got)
{
#ifdef Q_OS_LINUX
    const qint64 rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* data = nullptr;
    if (posix_memalign(&data, size_t(kHugePage), size_t(rounded)) != 0)
        return nullptr;
    madvise(data, size_t(rounded), MADV_HUGEPAGE); // only a hint
    *got = rounded;
    return data;
#else
    *got = bytes;
    return std::malloc(size_t(bytes));
#endif
}

} // namespace

void PictureMemory::Free::operator()(uchar* data) const
{
    std::free(data);
}

QImage PictureMemory::picture(const QSize& size, QImage::Format format)
{
    if (size.isEmpty() || format == QImage::Format_Invalid)
        return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Lines padded to 32 bits, as a new QImage has them.
    const qint64 bytesPerLine = ((qint64(size.width()) * depth + 31) >> 5) << 2;
    const qint64 needed = bytesPerLine * size.height();
    if (bytesPerLine > std::numeric_limits<int>::max() || needed > kMaxBytes)
        return {};
    if (needed > m_bytes) {
        release();
        qint64 got = 0;
        m_data.reset(static_cast<uchar*>(allocate(needed, &got)));
        if (!m_data)
            return {};
        m_bytes = got;
    }
    return QImage(m_data.get(), size.width(), size.height(), int(bytesPerLine), format);
}

void PictureMemory::release()
{
    m_data.reset();
    m_bytes = 0;
}
