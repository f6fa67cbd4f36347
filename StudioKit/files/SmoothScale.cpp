#include "files/SmoothScale.h"

#include "files/PictureMemory.h"

#include <QColorSpace>

#include <algorithm>
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
// target, shifted as Qt shifts them before it sums the lines.
void sumLine(const quint32* line, const AxisWeights& across, int from, int to, quint32* sums)
{
    for (int t = from; t < to; ++t) {
        const quint32* pixel = line + across.first[t];
        const int* weight = across.of(t);
        quint32 channel[4] = {};
        for (int k = 0; k < across.count[t]; ++k) {
            for (int c = 0; c < 4; ++c)
                channel[c] += ((pixel[k] >> (8 * c)) & 0xff) * quint32(weight[k]);
        }
        for (int c = 0; c < 4; ++c)
            sums[4 * t + c] = channel[c] >> 4;
    }
}

// The target pixels [from, to) of one target line from the summed source
// lines it reads.
void sumColumns(const quint32* const* lines, const int* weights, int count, int from, int to, quint32 alpha,
                quint32* out)
{
    for (int t = from; t < to; ++t) {
        quint32 pixel = 0;
        for (int c = 0; c < 4; ++c) {
            quint32 channel = 0;
            for (int k = 0; k < count; ++k)
                channel += lines[k][4 * t + c] * quint32(weights[k]);
            pixel |= (channel >> 24) << (8 * c);
        }
        out[t] = pixel | alpha;
    }
}

// sumLine two targets at a time: each source pixel's channels widened to 16
// bits, paired with the next pixel's and multiplied and added at once.
__attribute__((target("avx2"))) void sumLineAvx2(const quint32* line, int width, const AxisWeights& across,
                                                 const qint16* paired, int groups, quint32* sums)
{
    const int targets = int(across.first.size());
    const __m256i lowPairs = _mm256_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1, 0, -1, 4, -1, 1,
                                              -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1);
    const __m256i highPairs = _mm256_setr_epi8(8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1, 8, -1,
                                               12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1);
    int t = 0;
    // Each group reads four whole pixels, so the last targets of a line,
    // whose groups would reach past it, are summed one by one.
    for (; t + 1 < targets && across.first[t + 1] + 4 * groups <= width; t += 2) {
        const quint32* left = line + across.first[t];
        const quint32* right = line + across.first[t + 1];
        const qint16* weight = paired + size_t(t / 2) * size_t(groups) * 32;
        __m256i sum = _mm256_setzero_si256();
        for (int g = 0; g < groups; ++g, weight += 32) {
            const __m256i pixels = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(left + 4 * g))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(right + 4 * g)), 1);
            const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight));
            const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weight + 16));
            sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, lowPairs), low));
            sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, highPairs), high));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + 4 * t), _mm256_srli_epi32(sum, 4));
    }
    sumLine(line, across, t, targets, sums);
}

// sumColumns eight targets at a time, in the wrapping 32-bit arithmetic Qt
// uses.
__attribute__((target("avx2"))) void sumColumnsAvx2(const quint32* const* lines, const int* weights, int count,
                                                    int targets, quint32 alpha, quint32* out)
{
    // After packing, the targets stand in the order 0 2 4 6 1 3 5 7.
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m256i alphaBits = _mm256_set1_epi32(int(alpha));
    int t = 0;
    for (; t + 8 <= targets; t += 8) {
        __m256i sum[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(),
                          _mm256_setzero_si256()};
        for (int k = 0; k < count; ++k) {
            const __m256i weight = _mm256_set1_epi32(weights[k]);
            const __m256i* line = reinterpret_cast<const __m256i*>(lines[k] + 4 * t);
            for (int i = 0; i < 4; ++i)
                sum[i] = _mm256_add_epi32(sum[i], _mm256_mullo_epi32(_mm256_loadu_si256(line + i), weight));
        }
        for (__m256i& part : sum)
            part = _mm256_srli_epi32(part, 24);
        const __m256i packed = _mm256_packus_epi16(_mm256_packus_epi32(sum[0], sum[1]),
                                                   _mm256_packus_epi32(sum[2], sum[3]));
        const __m256i pixels = _mm256_permutevar8x32_epi32(packed, order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + t), _mm256_or_si256(pixels, alphaBits));
    }
    sumColumns(lines, weights, count, t, targets, alpha, out);
}

void shrinkInto(const QImage& image, const AxisWeights& across, const AxisWeights& down, QImage* scaled)
{
    const int groups = (across.stride + 3) / 4;
    const std::vector<qint16> paired = pairedWeights(across, groups);
    const int targets = scaled->width();
    // The summed source lines a target line reads, in a ring, so that a
    // line two target lines read is summed once.
    const int ring = down.stride;
    std::vector<quint32> sums(size_t(ring) * size_t(targets) * 4);
    std::vector<int> lineInSlot(static_cast<size_t>(ring), -1);
    std::vector<const quint32*> lines(static_cast<size_t>(ring));
    const quint32 alpha = image.hasAlphaChannel() ? 0 : 0xff000000u;
    uchar* out = scaled->bits();
    for (int y = 0; y < scaled->height(); ++y) {
        for (int k = 0; k < down.count[y]; ++k) {
            const int source = down.first[y] + k;
            const int slot = source % ring;
            quint32* sum = sums.data() + size_t(slot) * size_t(targets) * 4;
            if (lineInSlot[slot] != source) {
                sumLineAvx2(reinterpret_cast<const quint32*>(image.constScanLine(source)), image.width(), across,
                            paired.data(), groups, sum);
                lineInSlot[slot] = source;
            }
            lines[k] = sum;
        }
        sumColumnsAvx2(lines.data(), down.of(y), down.count[y], targets, alpha,
                       reinterpret_cast<quint32*>(out + qsizetype(y) * scaled->bytesPerLine()));
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
    // Qt scales these two formats as they are, shrinking both sides the way
    // followed here.
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        || width >= image.width() || height >= image.height() || width >= (1 << 16) || height >= (1 << 16)
        || !__builtin_cpu_supports("avx2") || !shrink(image.width(), width, &across)
        || !shrink(image.height(), height, &down))
        return byQt();
    QImage scaled = memory && !memory->holds(image) ? memory->picture(QSize(width, height), format)
                                                    : QImage(width, height, format);
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
