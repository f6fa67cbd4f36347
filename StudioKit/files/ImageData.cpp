#include "files/ImageData.h"

#include "core/Dialogs.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "Platform.h"

#include <QDebug>

QList<Image> g_markImages;
ImageData* g_imageDataInstance = nullptr;

namespace {

// "*.jpg" entries as the Windows listing gives them: without hidden ones,
// matching without regard to case, sorted by name.
QStringList jpgNamesIn(const QString& folder)
{
    QStringList names;
    // An order without a folder of its own (empty or relative path) has no
    // pictures: never list the program's current folder in its place.
    if (!QDir::isAbsolutePath(Platform::diskPath(folder)))
        return names;
    const QFileInfoList entries = Platform::instance().entryInfoList(
        folder, {QStringLiteral("*.jpg")}, QDir::AllEntries, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries)
        names << FileOperation::getFileName(entry.filePath());
    return names;
}

Image markedImage(const QString& name, PHOTOTYPE type)
{
    Image image;
    image.setFileName(name);
    image.type = type;
    for (const Image& mark : qAsConst(g_markImages)) {
        if (mark.fileName == name) {
            image.descr = mark.descr;
            image.setMark(mark.left, mark.top, mark.right, mark.bottom, mark.ellipse);
        }
    }
    return image;
}

int indexOfName(const QList<Image>& list, const QString& name)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).fileName == name)
            return i;
    }
    return -1;
}

void warnFailure(const QString& text)
{
    Dialogs::warning(nullptr, QStringLiteral("警告"), text);
}

} // namespace

// --- Image ---

void Image::setFileName(QString name)
{
    fileName = name;
}

QString Image::getFileName() const
{
    return fileName;
}

void Image::setMark(int markLeft, int markTop, int markRight, int markBottom, bool markEllipse)
{
    left = markLeft;
    top = markTop;
    right = markRight;
    bottom = markBottom;
    ellipse = markEllipse;
}

bool Image::isEllipse() const
{
    return ellipse;
}

QString Image::getImagePath() const
{
    switch (type) {
    case PHOTOTYPE_FINE: return getFineDir() + fileName;
    case PHOTOTYPE_DELETED: return getDeletedDir() + fileName;
    default: return getOrderPhotoDir() + fileName;
    }
}

QString Image::getThumbPath() const
{
    const bool fine = type == PHOTOTYPE_FINE || type == PHOTOTYPE_DELETED;
    return (fine ? getFineThumbnailDir() : getThumbnailDir()) + fileName;
}

QString Image::getThumb2250Path() const
{
    const bool fine = type == PHOTOTYPE_FINE || type == PHOTOTYPE_DELETED;
    return (fine ? getFineThumbnail2250Dir() : getThumbnail2250Dir()) + fileName;
}

QString Image::getCounterpartPath() const
{
    switch (type) {
    case PHOTOTYPE_PHOTO: return getFineDir() + fileName;
    case PHOTOTYPE_FINE: return getOrderPhotoDir() + fileName;
    default: return QStringLiteral("");
    }
}

void Image::setExtra(QString text)
{
    extra = text;
}

QString Image::getExtra() const
{
    return extra;
}

int Image::getExtraUseCount() const
{
    return extra.count(QStringLiteral("用"));
}

// --- ImageData ---

ImageData* ImageData::getInstance()
{
    if (!g_imageDataInstance)
        g_imageDataInstance = new ImageData;
    return g_imageDataInstance;
}

void ImageData::importImage(PHOTOTYPE type)
{
    photoImages.clear();
    fineImages.clear();
    deletedImages.clear();
    for (QString name : jpgNamesIn(getFineDir())) {
        // The service knows "x.JPG" as "x.jpg"; the file keeps its name.
        if (name.endsWith(QLatin1String(".JPG")))
            name.replace(QLatin1String(".JPG"), QLatin1String(".jpg"));
        fineImages.append(markedImage(name, PHOTOTYPE_FINE));
    }
    currentType = type;
    setCurrentIndex(0);
    qDebug() << "成品" << fineImages.size();
}

QList<Image> ImageData::getFineAndDeletedImage()
{
    QList<Image> images;
    for (const QString& name : jpgNamesIn(getFineDir()))
        images.append(markedImage(name, PHOTOTYPE_FINE));
    for (const QString& name : jpgNamesIn(getDeletedDir())) {
        Image image;
        image.setFileName(name);
        image.type = PHOTOTYPE_DELETED;
        images.append(image);
    }
    qDebug() << "导入成品和汰片" << images.size();
    return images;
}

QList<Image>* ImageData::getPhotoImages()
{
    return &photoImages;
}

QList<Image>* ImageData::getFineImages()
{
    return &fineImages;
}

QList<Image>* ImageData::getDeletedImages()
{
    return &deletedImages;
}

QList<Image>* ImageData::getCurrentImages()
{
    return const_cast<QList<Image>*>(currentList());
}

int ImageData::getPhotoCount() const
{
    return photoImages.size();
}

int ImageData::getFineCount() const
{
    return fineImages.size();
}

int ImageData::getDeletedCount() const
{
    return deletedImages.size();
}

PHOTOTYPE ImageData::getCurrentType() const
{
    return currentType;
}

QList<Image>::iterator ImageData::setCurrentType(PHOTOTYPE type)
{
    currentType = type;
    return setCurrentIndex(0);
}

QList<Image>::iterator ImageData::setCurrentIndex(int index)
{
    if (const QList<Image>* list = currentList())
        cursor = qMin(index, list->size());
    return getCurrentIterator();
}

QList<Image>::iterator ImageData::getCurrentIterator()
{
    return iteratorAt(cursor);
}

int ImageData::getCurrentIndex() const
{
    const QList<Image>* list = currentList();
    return list && cursor >= 0 && cursor < list->size() ? cursor : -1;
}

QList<Image>::iterator ImageData::moveToFirst()
{
    cursor = 0;
    return getCurrentIterator();
}

QList<Image>::iterator ImageData::moveToLast()
{
    if (const QList<Image>* list = currentList())
        cursor = list->size() - 1;
    return getCurrentIterator();
}

QList<Image>::iterator ImageData::moveForward()
{
    if (const QList<Image>* list = currentList())
        cursor = cursor + 1 >= list->size() ? 0 : cursor + 1;
    return getCurrentIterator();
}

QList<Image>::iterator ImageData::moveBackward()
{
    if (const QList<Image>* list = currentList())
        cursor = cursor <= 0 ? list->size() - 1 : cursor - 1;
    return getCurrentIterator();
}

QList<Image>::iterator ImageData::fineImageAt(int index)
{
    return fineImages.begin() + qBound(0, index, fineImages.size());
}

Image ImageData::findFineImage(QString name) const
{
    const int index = indexOfName(fineImages, name);
    return index >= 0 ? fineImages.at(index) : Image();
}

void ImageData::setIterator(QString name)
{
    for (int i = 0; i < fineImages.size(); ++i) {
        if (fineImages.at(i).fileName == name) {
            qDebug() << "设置迭代器" << i;
            currentType = PHOTOTYPE_FINE;
            setCurrentIndex(i);
        }
    }
}

void ImageData::clear()
{
    photoImages.clear();
    fineImages.clear();
    deletedImages.clear();
    currentType = PHOTOTYPE_PHOTO;
    cursor = -1;
}

void ImageData::clearDeletedImages()
{
    FileOperation::removeDirRecursive(getDeletedDir());
    FileOperation::createDir(getDeletedDir());
    deletedImages.clear();
}

void ImageData::deletePhotos(QStringList names)
{
    for (const QString& name : names) {
        const int index = indexOfName(photoImages, name);
        if (index < 0)
            continue;
        const QString path = FileOperation::resolveNameCase(photoImages.at(index).getImagePath());
        FileOperation::removeFile(path);
        if (FileOperation::isFileExist(path))
            warnFailure(QStringLiteral("照片") + name + QStringLiteral("删除失败，请重试"));
        else
            photoImages.removeAt(index);
    }
}

QStringList ImageData::moveFineToDeleted(QStringList names)
{
    return moveImages(&fineImages, names, getFineDir(), getDeletedDir(), QStringLiteral("成品"),
                      QStringLiteral("移至汰片失败"));
}

QStringList ImageData::moveDeletedToFine(QStringList names)
{
    return moveImages(&deletedImages, names, getDeletedDir(), getFineDir(), QStringLiteral("汰片"),
                      QStringLiteral("移至成品失败"));
}

const QList<Image>* ImageData::currentList() const
{
    switch (currentType) {
    case PHOTOTYPE_PHOTO: return &photoImages;
    case PHOTOTYPE_FINE: return &fineImages;
    case PHOTOTYPE_DELETED: return &deletedImages;
    }
    return nullptr;
}

QList<Image>::iterator ImageData::iteratorAt(int position)
{
    QList<Image>* list = getCurrentImages();
    if (!list || position < 0)
        return {};
    return list->begin() + qMin(position, list->size());
}

// The source goes only after its copy is in place: a failed copy keeps both
// folders as they were.
QStringList ImageData::moveImages(QList<Image>* list, const QStringList& names, const QString& fromDir,
                                  const QString& toDir, const QString& kindName, const QString& failureText)
{
    QStringList moved;
    for (const QString& name : names) {
        const int index = indexOfName(*list, name);
        if (index < 0)
            continue;
        const QString source = FileOperation::resolveNameCase(fromDir + name);
        const QString target = toDir + name;
        if (!FileOperation::copyFile(source, target, true)) {
            warnFailure(kindName + name + failureText);
            continue;
        }
        FileOperation::removeFile(source);
        if (FileOperation::isFileExist(source)) {
            FileOperation::removeFile(target);
            warnFailure(kindName + name + failureText);
            continue;
        }
        list->removeAt(index);
        moved << name;
    }
    return moved;
}
