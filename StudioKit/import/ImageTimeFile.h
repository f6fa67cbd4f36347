#ifndef IMAGETIMEFILE_H
#define IMAGETIMEFILE_H

#include <QString>

// "ImageTime.txt" of an order folder: the shot-time entries of its imported
// photos ("504A123-001>17:05:04 10:21:33|..."), in the locale's 8-bit
// encoding (on Windows the ANSI code page), which writer and reader share.
class ImageTimeFile
{
public:
    // Appends the entries, creating the file; the file reaches the disk
    // whole or stays as it was.
    static bool append(const QString& path, const QString& entries);
    // The whole text, trimmed; empty for a missing or empty file.
    static QString read(const QString& path);
};

#endif
