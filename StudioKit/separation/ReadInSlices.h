#ifndef READINSLICES_H
#define READINSLICES_H

#include <QVector>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <numeric>

// Goods read per slice: an order of a few goods is read in one slice on the
// calling thread, a large one on every core.
constexpr int kGoodsPerSlice = 1000;

// Runs `read(begin, end)` over [0, count) in consecutive slices of
// kGoodsPerSlice, side by side on the global thread pool with the calling
// thread taking part, and returns the slices' results in order. Most of the
// time of reading a large products reply goes on the memory of its records;
// threads fill it side by side. `read` must only read what they share.
template <typename Slice, typename Read>
QVector<Slice> readInSlices(int count, Read read)
{
    const int sliceCount = (count + kGoodsPerSlice - 1) / kGoodsPerSlice;
    QVector<Slice> slices(sliceCount);
    if (sliceCount == 1) {
        slices[0] = read(0, count);
        return slices;
    }
    QVector<int> indexes(sliceCount);
    std::iota(indexes.begin(), indexes.end(), 0);
    Slice* out = slices.data();
    QtConcurrent::blockingMap(indexes, [&](const int& index) {
        const int begin = index * kGoodsPerSlice;
        out[index] = read(begin, std::min(begin + kGoodsPerSlice, count));
    });
    return slices;
}

#endif
