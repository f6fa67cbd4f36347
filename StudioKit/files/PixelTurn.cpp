#include "files/PixelTurn.h"

#include <QPoint>

#include <algorithm>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// Where the pixel (x, y) of a w x h picture of this orientation lies once
// the picture stands upright.
QPoint uprightPosition(int orientation, int x, int y, int w, int h)
{
    switch (orientation) {
    case 2: return {w - 1 - x, y};
    case 3: return {w - 1 - x, h - 1 - y};
    case 4: return {x, h - 1 - y};
    case 5: return {y, x};
    case 6: return {h - 1 - y, x};
    case 7: return {h - 1 - y, w - 1 - x};
    default: return {y, w - 1 - x};
    }
}

struct Pixel24 {
    uchar bytes[3];
};

// The pixels of `from` turned into `to` (already of the upright size): the
// same moves as Qt's own turns and mirrors. A picture on its side is turned
// in tiles, so that the lines it reads and writes stay in the cache.
template <typename Pixel>
void turnPixels(const QImage& from, QImage* to, int orientation)
{
    const int w = from.width();
    const int h = from.height();
    const uchar* source = from.constBits();
    const qsizetype sourceLine = from.bytesPerLine();
    uchar* target = to->bits();
    const qsizetype targetLine = to->bytesPerLine();
    const auto in = [&](int y) { return reinterpret_cast<const Pixel*>(source + y * sourceLine); };
    const auto out = [&](int y) { return reinterpret_cast<Pixel*>(target + y * targetLine); };
    if (!PixelTurn::swapsSides(orientation)) {
        // 3 is both mirrors.
        const bool mirrorsLeftRight = orientation != 4;
        const bool mirrorsTopBottom = orientation != 2;
        for (int y = 0; y < h; ++y) {
            const Pixel* line = in(y);
            Pixel* turned = out(mirrorsTopBottom ? h - 1 - y : y);
            if (mirrorsLeftRight)
                std::reverse_copy(line, line + w, turned);
            else
                std::copy(line, line + w, turned);
        }
        return;
    }
    // Column x becomes line x (5, 6) or line w - 1 - x (7, 8), read from
    // the bottom (6, 7) or from the top (5, 8).
    const bool sameLine = orientation == 5 || orientation == 6;
    const bool readUp = orientation == 6 || orientation == 7;
    constexpr int kTile = 64;
    for (int y0 = 0; y0 < h; y0 += kTile) {
        const int y1 = qMin(y0 + kTile, h);
        for (int x0 = 0; x0 < w; x0 += kTile) {
            const int x1 = qMin(x0 + kTile, w);
            for (int x = x0; x < x1; ++x) {
                Pixel* turned = out(sameLine ? x : w - 1 - x);
                if (readUp) {
                    for (int y = y0; y < y1; ++y)
                        turned[h - 1 - y] = in(y)[x];
                } else {
                    for (int y = y0; y < y1; ++y)
                        turned[y] = in(y)[x];
                }
            }
        }
    }
}

// The pixels of the source rectangle [x0, x1) x [y0, y1) of the 32-bit
// `from` turned by `orientation` into the 24-bit `to`.
void turnRegionToRgb24(const QImage& from, QImage* to, int orientation, int x0, int x1, int y0, int y1)
{
    const int w = from.width();
    const int h = from.height();
    uchar* target = to->bits();
    const qsizetype targetLine = to->bytesPerLine();
    for (int y = y0; y < y1; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(from.constScanLine(y));
        for (int x = x0; x < x1; ++x) {
            const QPoint at = uprightPosition(orientation, x, y, w, h);
            uchar* rgb = target + at.y() * targetLine + 3 * qsizetype(at.x());
            rgb[0] = uchar(qRed(line[x]));
            rgb[1] = uchar(qGreen(line[x]));
            rgb[2] = uchar(qBlue(line[x]));
        }
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
// Eight pixels of blue, green, red and an unused byte as 24 bytes of red,
// green, blue: each half's four pixels as twelve bytes, then the halves
// side by side.
__attribute__((target("avx2"))) inline void storeRgb24(__m256i pixels, uchar* at)
{
    const __m256i rgb = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, 2, 1, 0, 6, 5, 4, 10,
                                         9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, rgb),
                                                      _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at + 16), _mm256_extracti128_si256(bytes, 1));
}

// turnRegionToRgb24 eight by eight pixels: eight lines of eight pixels
// turned in registers, each column stored as 24 bytes of a target line.
__attribute__((target("avx2"))) void turnToRgb24Avx2(const QImage& from, QImage* to, int orientation)
{
    const int w = from.width();
    const int h = from.height();
    const int w8 = w / 8 * 8;
    const int h8 = h / 8 * 8;
    const uchar* source = from.constBits();
    const qsizetype sourceLine = from.bytesPerLine();
    uchar* target = to->bits();
    const qsizetype targetLine = to->bytesPerLine();
    const __m256i reversed = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    const auto at = [&](int x, int y) {
        return reinterpret_cast<const __m256i*>(source + y * sourceLine + 4 * qsizetype(x));
    };
    if (!PixelTurn::swapsSides(orientation)) {
        const bool mirrorsLeftRight = orientation != 4;
        const bool mirrorsTopBottom = orientation != 2;
        for (int y = 0; y < h; ++y) {
            uchar* line = target + (mirrorsTopBottom ? h - 1 - y : y) * targetLine;
            for (int x = 0; x < w8; x += 8) {
                const __m256i pixels = _mm256_loadu_si256(at(x, y));
                if (mirrorsLeftRight)
                    storeRgb24(_mm256_permutevar8x32_epi32(pixels, reversed), line + 3 * qsizetype(w - 8 - x));
                else
                    storeRgb24(pixels, line + 3 * qsizetype(x));
            }
        }
        turnRegionToRgb24(from, to, orientation, w8, w, 0, h);
        return;
    }
    const bool sameLine = orientation == 5 || orientation == 6;
    const bool readUp = orientation == 6 || orientation == 7;
    for (int x0 = 0; x0 < w8; x0 += 8) {
        for (int y0 = 0; y0 < h8; y0 += 8) {
            __m256i pairs[8];
            for (int i = 0; i < 8; i += 2) {
                const __m256i upper = _mm256_loadu_si256(at(x0, y0 + i));
                const __m256i lower = _mm256_loadu_si256(at(x0, y0 + i + 1));
                pairs[i] = _mm256_unpacklo_epi32(upper, lower);
                pairs[i + 1] = _mm256_unpackhi_epi32(upper, lower);
            }
            __m256i quads[8];
            for (int i = 0; i < 8; i += 4) {
                quads[i] = _mm256_unpacklo_epi64(pairs[i], pairs[i + 2]);
                quads[i + 1] = _mm256_unpackhi_epi64(pairs[i], pairs[i + 2]);
                quads[i + 2] = _mm256_unpacklo_epi64(pairs[i + 1], pairs[i + 3]);
                quads[i + 3] = _mm256_unpackhi_epi64(pairs[i + 1], pairs[i + 3]);
            }
            // column[j]: the pixels of column x0 + j, lines y0 to y0 + 7.
            __m256i column[8];
            for (int j = 0; j < 4; ++j) {
                column[j] = _mm256_permute2x128_si256(quads[j], quads[j + 4], 0x20);
                column[j + 4] = _mm256_permute2x128_si256(quads[j], quads[j + 4], 0x31);
            }
            for (int j = 0; j < 8; ++j) {
                uchar* line = target + (sameLine ? x0 + j : w - 1 - x0 - j) * targetLine;
                if (readUp)
                    storeRgb24(_mm256_permutevar8x32_epi32(column[j], reversed), line + 3 * qsizetype(h - 8 - y0));
                else
                    storeRgb24(column[j], line + 3 * qsizetype(y0));
            }
        }
    }
    turnRegionToRgb24(from, to, orientation, w8, w, 0, h);
    turnRegionToRgb24(from, to, orientation, 0, w8, h8, h);
}
#endif

// An opaque 32-bit picture turned into 24-bit colour: the pixels Qt's turn
// gives, in lines a JPEG writer takes as they are.
void turnToRgb24(const QImage& from, QImage* to, int orientation)
{
#if defined(__GNUC__) && defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) {
        turnToRgb24Avx2(from, to, orientation);
        return;
    }
#endif
    turnRegionToRgb24(from, to, orientation, 0, from.width(), 0, from.height());
}

} // namespace

bool PixelTurn::swapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

bool PixelTurn::handles(const QImage& image)
{
    const int depth = image.depth();
    return depth == 8 || depth == 16 || depth == 24 || depth == 32 || depth == 64;
}

QImage::Format PixelTurn::uprightFormat(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? QImage::Format_RGB888 : image.format();
}

void PixelTurn::turn(const QImage& from, QImage* to, int orientation)
{
    if (to->format() == QImage::Format_RGB888 && from.format() == QImage::Format_RGB32) {
        turnToRgb24(from, to, orientation);
        return;
    }
    switch (from.depth()) {
    case 8: turnPixels<quint8>(from, to, orientation); break;
    case 16: turnPixels<quint16>(from, to, orientation); break;
    case 24: turnPixels<Pixel24>(from, to, orientation); break;
    case 32: turnPixels<quint32>(from, to, orientation); break;
    default: turnPixels<quint64>(from, to, orientation); break;
    }
}
