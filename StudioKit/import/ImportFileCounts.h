#ifndef IMPORTFILECOUNTS_H
#define IMPORTFILECOUNTS_H

#include <QString>
#include <QStringList>

// Counting the files of an order folder the way the batch import counts
// them: entries as Windows lists them (the platform layer leaves hidden ones
// out), and a folder that does not exist holds none.

int countEntries(const QString& folder, const QStringList& patterns);
// "*.jpg" and "*.JPG".
int countPhotoFiles(const QString& dir);
// "*.mp4", "*.avi", "*.m4v" and "*.wmv".
int countVideoFiles(const QString& dir);

// Files of an import type in its sub-folder of an order folder. An order
// without a folder has none; its bare sub-folder names are never looked up
// in the current folder.
int countTypeFiles(const QString& orderPath, int type);

// The imported photos of a photo type ("*.jpg", "*.png", "*.jpeg" in the
// type's folder, counted only once the type's thumbnail folder exists), or
// -1 when there is nothing to count: no order folder, no thumbnail folder,
// or not a photo type.
int importedImageCount(const QString& orderPath, int type);
// The imported videos of a video type, or -1 without order folder, without
// the type's video folder, or for any other type.
int importedVideoCount(const QString& orderPath, int type);

// An order-folder path with its trailing "/".
QString withTrailingSlash(const QString& path);

#endif
