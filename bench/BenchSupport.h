#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

// Pieces every benchmark needs: the same camera-like photos, warm sources,
// a plain copy to compare with, and tree comparisons.
namespace BenchSupport {

// Passes warnings on to stderr and drops debug lines, which would swamp the
// figures.
void quietDebug(QtMsgType type, const QMessageLogContext& context, const QString& message);

// Writes `count` camera-like 4000x3000 JPEGs IMG_0000.JPG, IMG_0001.JPG, …
// into `folder`; with `halfTurned` every second one carries Exif
// orientation 6. Appends their paths to `files` when given; false when one
// cannot be written.
bool generatePhotos(const QString& folder, int count, bool halfTurned, QStringList* files = nullptr);

// Reads every file under `folder` once, so the copies that follow start
// from the page cache; returns the bytes read.
qint64 warm(const QString& folder);

// Copies `source` into `target` with std::filesystem::copy (recursive), the
// plain copy the programs' own copies are measured against; returns the
// seconds taken, or a negative number when the copy failed.
double plainCopySeconds(const QString& source, const QString& target);

// Writes out the dirty pages of the runs before, so that the next run does
// not pay for their writeback.
void settle();

// Runs `first(turn)` and `second(turn)` in turns, twice each, so that neither
// profits from going second, and keeps the faster time of each. Before each
// turn the dirty pages of the one before are written out.
void bestOfTurns(const std::function<double(int)>& first, const std::function<double(int)>& second,
                 double* firstSeconds, double* secondSeconds);

// Both trees hold the same files, hidden ones too, with the same bytes.
bool sameTree(const QString& first, const QString& second);

// Every file under `source` whose name matches `nameFilters` is in `copy`
// under the same relative path with the same bytes.
bool sameFiles(const QString& source, const QString& copy, const QStringList& nameFilters);

} // namespace BenchSupport

#endif
