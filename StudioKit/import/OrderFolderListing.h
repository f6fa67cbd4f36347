#ifndef ORDERFOLDERLISTING_H
#define ORDERFOLDERLISTING_H

#include <QString>
#include <QStringList>

// What an order folder already holds for one import mode, read the way the
// single-order window lists it: the mode's 1000-pixel thumbnails whose
// picture is still in the order folder, the number of its pictures, and the
// append names that the existing names carry.
class OrderFolderListing
{
public:
    OrderFolderListing(const QString& orderPath, int mode);

    // Without the mode's thumbnail folder nothing is listed or counted.
    bool hasThumbnailFolder() const { return m_hasThumbnailFolder; }
    // Full paths, by name ignoring case.
    QStringList thumbnails() const { return m_thumbnails; }
    // The "*.jpg" pictures of the mode's folder.
    int importedCount() const { return m_importedCount; }

    // The order folder's name after its "-" when it has exactly one
    // ("504A123-X" gives X); false when it has none or more.
    static bool folderAppendName(const QString& orderPath, QString* name);
    // The middle part of the first picture's name (by name, ignoring case)
    // in the mode's folder when that name has exactly three "-"-separated
    // parts ("504A123-Y-001.jpg" gives Y); false otherwise.
    static bool pictureAppendName(const QString& orderPath, int mode, QString* name);

private:
    bool m_hasThumbnailFolder = false;
    QStringList m_thumbnails;
    int m_importedCount = 0;
};

#endif
