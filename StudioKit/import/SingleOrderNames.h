#ifndef SINGLEORDERNAMES_H
#define SINGLEORDERNAMES_H

#include <QFileInfo>
#include <QString>
#include <QStringList>

// Names the single-order window gives an order folder and its imported
// photos. Every part built from order data passes sanitizeFileName.
class SingleOrderNames
{
public:
    // prefix + booking number + ("-" + append) + "-" + service count, as
    // "504A123-X-2".
    static QString folderName(const QString& prefix, const QString& payForKey, const QString& append,
                              const QString& serviceTimes);

    // The last three characters of the base name as a number, 0 when they
    // are none.
    static int sortKey(const QFileInfo& file);
    // The highest sort key of the "*.jpg" files in a folder, 0 without any.
    static int highestKey(const QString& folder);

    // `count` names prefix + booking number + "-" (+ append + "-") + number
    // + ".jpg", numbered from `first` with at least three digits. A name
    // already in `folder` is passed over for the next free number, so no
    // choice replaces an imported photo (keys read 1000 as 0).
    static QStringList photoNames(const QString& prefix, const QString& payForKey, const QString& append, int first,
                                  int count, const QString& folder);
};

#endif
