#include "files/SmoothScale.h"

#include "files/PictureMemory.h"

#include <QColorSpace>

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__GNUC__) && defined(__x86_64__)
#define SMOOTHSCALE_AVX2
#include <immintrin.h>
#endif

namespace {

#ifdef SMOOTHSCALE_AVX2

// The weights of one target pixel add up to this.
constexpr int kWhole = 1 << 14;

// What each target pixel of one axis reads when the axis shrinks: the source
// pixels and weights of Qt's smooth scaling.
struct AxisWeights {
    std::vector<int> first;   // first source pixel
    std::vector<int> count;   // source pixels read
    std::vector<int> weights; // `stride` per target pixel, zero padded
    int stride = 0;

    const int* of(int target) const { return weights.data() + size_t(target) * size_t(stride); }
};

// False when Qt would read past the end of a line (into the next one): only
// Qt itself then gives its result.
bool shrink(int source, int target, AxisWeights* axis)
{
    const qint64 step = (qint64(source) << 16) / target;
    const int share = ((target << 14) + source - 1) / source;
    std::vector<int> flat;
    qint64 position = 0;
    for (int i = 0; i < target; ++i, position += step) {
        const int first = int(position >> 16);
        const size_t begin = flat.size();
        const int head = int(((0x10000 - (position & 0xffff)) * share) >> 16);
        flat.push_back(head);
        int rest = kWhole - head;
        for (; rest > share; rest -= share)
            flat.push_back(share);
        flat.push_back(rest);
        const int count = int(flat.size() - begin);
        if (first + count > source)
            return false;
        axis->first.push_back(first);
        axis->count.push_back(count);
        axis->stride = std::max(axis->stride, count);
    }
    axis->weights.assign(size_t(target) * size_t(axis->stride), 0);
    auto from = flat.cbegin();
    for (int i = 0; i < target; ++i) {
        std::copy_n(from, axis->count[i], axis->weights.begin() + qsizetype(i) * axis->stride);
        from += axis->count[i];
    }
    return true;
}

// The horizontal weights as sumLineAvx2 reads them: per pair of targets and
// group of four source pixels, the weights of pixels 0 and 1 of both
// targets, then those of pixels 2 and 3, each pair once per channel.
std::vector<qint16> pairedWeights(const AxisWeights& across, int groups)
{
    const int targets = int(across.first.size());
    const int pairs = targets / 2;
    std::vector<qint16> paired(size_t(pairs) * size_t(groups) * 32);
    for (int t = 0; t < 2 * pairs; ++t) {
        const int* weight = across.of(t);
        const auto at = [&](int k) { return k < across.stride ? qint16(weight[k]) : qint16(0); };
        for (int g = 0; g < groups; ++g) {
            qint16* low = paired.data() + (size_t(t / 2) * groups + g) * 32 + (t % 2) * 8;
            for (int channel = 0; channel < 4; ++channel) {
                low[2 * channel] = at(4 * g);
                low[2 * channel + 1] = at(4 * g + 1);
                low[16 + 2 * channel] = at(4 * g + 2);
                low[16 + 2 * channel + 1] = at(4 * g + 3);
            }
        }
    }
    return paired;
}

// One source line summed for the targets [from, to): four channel sums per
// target (in the order of the pixel's bytes; none for the missing alpha of
// a 24-bit pixel), shifted as Qt shifts them before it sums the lines.
void sumLine(const uchar* line, int pixelBytes, const AxisWeights& across, int from, int to, quint32* sums)
{
    for (int t = from; t < to; ++t) {
        const uchar* pixel = line + qsizetype(across.first[t]) * pixelBytes;
        const int* weight = across.of(t);
        quint32 channel[4] = {};
        for (int k = 0; k < across.count[t]; ++k, pixel += pixelBytes) {
            for (int c = 0; c < pixelBytes; ++c)
                channel[c] += pixel[c] * quint32(weight[k]);
        }
        for (int c = 0; c < 4; ++c)
            sums[4 * t + c] = channel[c] >> 4;
    }
}

// How target pixels are stored: 32-bit with the alpha bits set for an
// opaque picture, or 24-bit red, green, blue from channels in this order.
struct TargetPixels {
    int bytes;
    quint32 alpha;
    int red, green, blue;
};

// The target pixels [from, to) of one target line from the summed source
// lines it reads.
void sumColumns(const quint32* const* lines, const int* weights, int count, int from, int to,
                const TargetPixels& target, uchar* out)
{
    for (int t = from; t < to; ++t) {
        uchar channel[4];
        for (int c = 0; c < 4; ++c) {
            quint32 sum = 0;
            for (int k = 0; k < count; ++k)
                sum += lines[k][4 * t + c] * quint32(weights[k]);
            channel[c] = uchar(sum >> 24);
        }
        if (target.bytes == 4) {
            quint32 pixel;
            std::memcpy(&pixel, channel, 4);
            pixel |= target.alpha;
            std::memcpy(out + 4 * qsizetype(t), &pixel, 4);
        } else {
            uchar* rgb = out + 3 * qsizetype(t);
            rgb[0] = channel[target.red];
            rgb[1] = channel[target.green];
            rgb[2] = channel[target.blue];
        }
    }
}

// The targets, from the first and in whole pairs, whose 16-byte loads of
// `groups` groups of four pixels stay inside the line.
int loadableTargets(const AxisWeights& across, int pixelBytes, int groups, int width)
{
    const qsizetype lineBytes = qsizetype(width) * pixelBytes;
    const qsizetype lastLoad = qsizetype(groups - 1) * 4 * pixelBytes + 16;
    int t = int(across.first.size()) / 2 * 2;
    while (t > 0 && qsizetype(across.first[t - 1]) * pixelBytes + lastLoad > lineBytes)
        t -= 2;
    return t;
}

// The group of four pixels at `left` beside the one at `right`.
__attribute__((target("avx2"))) inline __m256i twoGroups(const uchar* left, const uchar* right)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(left))),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(right)), 1);
}

// sumLine two targets at a time: each source pixel's channels widened to 16
// bits, paired with the next pixel's and multiplied and added at once. The
// targets from `loadable` on are summed one by one.
__attribute__((target("avx2"))) void sumLineAvx2(const uchar* line, int pixelBytes, const AxisWeights& across,
                                                 const qint16* paired, int groups, int loadable, quint32* sums)
{
    // Pixels 0 and 1, then 2 and 3, of a group: each channel of the one
    // beside the same channel of the other.
    const __m256i lowPairs = pixelBytes == 4
        ? _mm256_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1,
                           0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1)
        : _mm256_setr_epi8(0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1,
                           0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1);
    const __m256i highPairs = pixelBytes == 4
        ? _mm256_setr_epi8(8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1,
                           8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1)
        : _mm256_setr_epi8(6, -1, 9, -1, 7, -1, 10, -1, 8, -1, 11, -1, -1, -1, -1, -1,
                           6, -1, 9, -1, 7, -1, 10, -1, 8, -1, 11, -1, -1, -1, -1, -1);
    const int* first = across.first.data();
    const qsizetype groupBytes = 4 * pixelBytes;
    const qint16* weight = paired;
    for (int t = 0; t < loadable; t += 2) {
        const uchar* left = line + qsizetype(first[t]) * pixelBytes;
        const uchar* right = line + qsizetype(first[t + 1]) * pixelBytes;
        __m256i sum = _mm256_setzero_si256();
        for (int g = 0; g < groups; ++g, weight += 32) {
            const __m256i pixels = twoGroups(left + g * groupBytes, right + g * groupBytes);
            const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight));
            const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight + 16));
            sum = _mm256_add_epi32(sum, _mm256_add_epi32(_mm256_madd_epi16(_mm256_shuffle_epi8(pixels, lowPairs), low),
                                                         _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, highPairs), high)));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + 4 * t), _mm256_srli_epi32(sum, 4));
    }
    sumLine(line, pixelBytes, across, loadable, int(across.first.size()), sums);
}

// sumColumns eight targets at a time, in the wrapping 32-bit arithmetic Qt
// uses.
__attribute__((target("avx2"))) void sumColumnsAvx2(const quint32* const* lines, const int* weights, int count,
                                                    int targets, const TargetPixels& target, uchar* out)
{
    // After packing, the targets stand in the order 0 2 4 6 1 3 5 7.
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m256i alphaBits = _mm256_set1_epi32(int(target.alpha));
    // 24-bit targets: each half's four pixels as twelve bytes, then the
    // halves side by side.
    const char r = char(target.red), g = char(target.green), b = char(target.blue);
    const __m256i rgb = _mm256_setr_epi8(r, g, b, r + 4, g + 4, b + 4, r + 8, g + 8, b + 8, r + 12, g + 12, b + 12,
                                         -1, -1, -1, -1, r, g, b, r + 4, g + 4, b + 4, r + 8, g + 8, b + 8, r + 12,
                                         g + 12, b + 12, -1, -1, -1, -1);
    const __m256i halves = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    int t = 0;
    for (; t + 8 <= targets; t += 8) {
        // Four registers of two targets each, kept apart so that they stay
        // registers.
        __m256i sum0 = _mm256_setzero_si256();
        __m256i sum1 = _mm256_setzero_si256();
        __m256i sum2 = _mm256_setzero_si256();
        __m256i sum3 = _mm256_setzero_si256();
        for (int k = 0; k < count; ++k) {
            const __m256i weight = _mm256_set1_epi32(weights[k]);
            const __m256i* line = reinterpret_cast<const __m256i*>(lines[k] + 4 * t);
            sum0 = _mm256_add_epi32(sum0, _mm256_mullo_epi32(_mm256_loadu_si256(line), weight));
            sum1 = _mm256_add_epi32(sum1, _mm256_mullo_epi32(_mm256_loadu_si256(line + 1), weight));
            sum2 = _mm256_add_epi32(sum2, _mm256_mullo_epi32(_mm256_loadu_si256(line + 2), weight));
            sum3 = _mm256_add_epi32(sum3, _mm256_mullo_epi32(_mm256_loadu_si256(line + 3), weight));
        }
        const __m256i packed = _mm256_packus_epi16(
            _mm256_packus_epi32(_mm256_srli_epi32(sum0, 24), _mm256_srli_epi32(sum1, 24)),
            _mm256_packus_epi32(_mm256_srli_epi32(sum2, 24), _mm256_srli_epi32(sum3, 24)));
        const __m256i pixels = _mm256_permutevar8x32_epi32(packed, order);
        if (target.bytes == 4) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * qsizetype(t)),
                                _mm256_or_si256(pixels, alphaBits));
        } else {
            const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, rgb), halves);
            uchar* at = out + 3 * qsizetype(t);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(bytes));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(at + 16), _mm256_extracti128_si256(bytes, 1));
        }
    }
    sumColumns(lines, weights, count, t, targets, target, out);
}

void shrinkInto(const QImage& image, const AxisWeights& across, const AxisWeights& down, QImage* scaled)
{
    const int groups = (across.stride + 3) / 4;
    const std::vector<qint16> paired = pairedWeights(across, groups);
    const int targets = scaled->width();
    const int pixelBytes = image.depth() / 8;
    const int loadable = loadableTargets(across, pixelBytes, groups, image.width());
    // 32-bit pixels hold blue, green, red in their first bytes, 24-bit
    // ones red, green, blue.
    const quint32 alpha = image.hasAlphaChannel() ? 0 : 0xff000000u;
    const TargetPixels target =
        pixelBytes == 4 ? TargetPixels{scaled->depth() / 8, alpha, 2, 1, 0} : TargetPixels{3, 0, 0, 1, 2};
    // The summed source lines a target line reads, in a ring, so that a
    // line two target lines read is summed once.
    const int ring = down.stride;
    std::vector<quint32> sums(size_t(ring) * size_t(targets) * 4);
    std::vector<int> lineInSlot(static_cast<size_t>(ring), -1);
    std::vector<const quint32*> lines(static_cast<size_t>(ring));
    uchar* out = scaled->bits();
    for (int y = 0; y < scaled->height(); ++y) {
        for (int k = 0; k < down.count[y]; ++k) {
            const int source = down.first[y] + k;
            const int slot = source % ring;
            quint32* sum = sums.data() + size_t(slot) * size_t(targets) * 4;
            if (lineInSlot[slot] != source) {
                sumLineAvx2(image.constScanLine(source), pixelBytes, across, paired.data(), groups, loadable, sum);
                lineInSlot[slot] = source;
            }
            lines[k] = sum;
        }
        sumColumnsAvx2(lines.data(), down.of(y), down.count[y], targets, target,
                       out + qsizetype(y) * scaled->bytesPerLine());
    }
}

#endif

} // namespace

QImage SmoothScale::toFit(const QImage& image, int side, PictureMemory* memory)
{
    const auto byQt = [&] { return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation); };
#ifdef SMOOTHSCALE_AVX2
    if (image.isNull() || side <= 0)
        return byQt();
    const QSize size = image.size().scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (size == image.size())
        return image;
    // QImage::transformed rounds the scale factors back to pixels this way.
    const int width = int(qAbs(qreal(size.width()) / image.width()) * image.width() + 0.9999);
    const int height = int(qAbs(qreal(size.height()) / image.height()) * image.height() + 0.9999);
    const QImage::Format format = image.format();
    AxisWeights across;
    AxisWeights down;
    // Qt scales these formats as 32-bit pictures, shrinking both sides the
    // way followed here.
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied
         && format != QImage::Format_RGB888)
        || width >= image.width() || height >= image.height() || width >= (1 << 16) || height >= (1 << 16)
        || !__builtin_cpu_supports("avx2") || !shrink(image.width(), width, &across)
        || !shrink(image.height(), height, &down))
        return byQt();
    const QImage::Format scaledFormat = image.hasAlphaChannel() ? format : QImage::Format_RGB888;
    QImage scaled = memory && !memory->holds(image) ? memory->picture(QSize(width, height), scaledFormat)
                                                    : QImage(width, height, scaledFormat);
    if (scaled.isNull())
        return {};
    shrinkInto(image, across, down, &scaled);
    scaled.setDotsPerMeterX(image.dotsPerMeterX());
    scaled.setDotsPerMeterY(image.dotsPerMeterY());
    scaled.setDevicePixelRatio(image.devicePixelRatio());
    for (const QString& key : image.textKeys())
        scaled.setText(key, image.text(key));
    scaled.setColorSpace(image.colorSpace());
    return scaled;
#else
    Q_UNUSED(memory)
    return byQt();
#endif
}
