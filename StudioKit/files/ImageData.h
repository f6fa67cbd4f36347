#ifndef IMAGEDATA_H
#define IMAGEDATA_H

#include <QList>
#include <QString>
#include <QStringList>

// Fixed to int: callers may hold other kinds, which use the photo folders.
enum PHOTOTYPE : int {
    PHOTOTYPE_PHOTO = 0,   // "照片/"
    PHOTOTYPE_FINE = 1,    // "成品/"
    PHOTOTYPE_DELETED = 2, // "汰片/"
};

// One picture of the current order folder with the mark the service reports
// for it. Paths are built from the current order folder when asked, so they
// follow `g_orderPath`.
class Image
{
public:
    void setFileName(QString name);
    QString getFileName() const;
    // Right and bottom are inclusive.
    void setMark(int left, int top, int right, int bottom, bool ellipse);
    bool isEllipse() const;

    QString getImagePath() const;
    QString getThumbPath() const;
    QString getThumb2250Path() const;
    // The same name in the other picture folder ("照片/" <-> "成品/").
    QString getCounterpartPath() const;

    void setExtra(QString extra);
    QString getExtra() const;
    // How many times "用" occurs in the extra text.
    int getExtraUseCount() const;

    PHOTOTYPE type = PHOTOTYPE_PHOTO;
    QString descr = QStringLiteral("");
    QString fileName;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool ellipse = false;
    QString extra = QStringLiteral("");
};

// The marks the service reported for the order being separated.
extern QList<Image> g_markImages;

// The pictures of the current order, one list per kind, with a cursor into
// the list of the current kind. One instance for the whole process; no lock,
// so only one thread at a time may use it (see the separation run).
class ImageData
{
public:
    static ImageData* getInstance();

    // Reloads the finished list from "成品/" with the marks of `g_markImages`;
    // the other lists end up empty.
    void importImage(PHOTOTYPE type);
    // A new list of the finished and then the rejected pictures on disk.
    static QList<Image> getFineAndDeletedImage();

    QList<Image>* getPhotoImages();
    QList<Image>* getFineImages();
    QList<Image>* getDeletedImages();
    QList<Image>* getCurrentImages();
    int getPhotoCount() const;
    int getFineCount() const;
    int getDeletedCount() const;

    PHOTOTYPE getCurrentType() const;
    QList<Image>::iterator setCurrentType(PHOTOTYPE type);
    QList<Image>::iterator setCurrentIndex(int index);
    QList<Image>::iterator getCurrentIterator();
    // -1 when the cursor is on no picture of the current list.
    int getCurrentIndex() const;
    QList<Image>::iterator moveToFirst();
    QList<Image>::iterator moveToLast();
    QList<Image>::iterator moveForward();
    QList<Image>::iterator moveBackward();

    QList<Image>::iterator fineImageAt(int index);
    Image findFineImage(QString name) const;
    void setIterator(QString name);

    void clear();
    void clearDeletedImages();
    void deletePhotos(QStringList names);
    // The names that were moved.
    QStringList moveFineToDeleted(QStringList names);
    QStringList moveDeletedToFine(QStringList names);

private:
    ImageData() = default;

    const QList<Image>* currentList() const;
    QList<Image>::iterator iteratorAt(int position);
    QStringList moveImages(QList<Image>* list, const QStringList& names, const QString& fromDir,
                           const QString& toDir, const QString& kindName, const QString& failureText);

    QList<Image> photoImages;
    QList<Image> fineImages;
    QList<Image> deletedImages;
    PHOTOTYPE currentType = PHOTOTYPE_PHOTO;
    // Position in the current list: -1 none, the list's size its end.
    int cursor = -1;
};

extern ImageData* g_imageDataInstance;

#endif
