#include "separation/SeparateThread.h"

#include "core/CallbackGuard.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "files/ImageData.h"
#include "files/OrderFolders.h"
#include "files/ThumbnailThread.h"
#include "separation/GoodsInfo.h"
#include "Platform.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

namespace {

int number(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString().toInt();
}

} // namespace

SeparateThread::SeparateThread(int taskType, QObject* receiver)
    : receiver(CallbackGuard::of(receiver))
    , taskType(taskType)
    , withRawFiles(g_sjfjxz == QLatin1String("1"))
    , productPhotoFolder(g_separateOrderDir + g_productDirName + QLatin1Char('/'))
    , orderPath(g_curOrderPath)
{
}

SeparateThread::SeparateThread(const QString& path, int taskType, QObject* receiver)
    : SeparateThread(taskType, receiver)
{
    fromPath = path;
}

SeparateThread::SeparateThread(const QString& fromPath, const QString& toPath, bool isOverwrite, int taskType,
                               QObject* receiver)
    : SeparateThread(taskType, receiver)
{
    this->fromPath = fromPath;
    this->toPath = toPath;
    this->isOverwrite = isOverwrite;
}

SeparateThread::SeparateThread(const QString& fromPath, const QString& toPath, int productIndex, bool isOverwrite,
                               int taskType, QObject* receiver)
    : SeparateThread(fromPath, toPath, isOverwrite, taskType, receiver)
{
    this->productIndex = productIndex;
    productName = g_orderGoodsList.value(productIndex).goodName;
}

SeparateThread::SeparateThread(const QJsonArray& picInfo, int taskType, QObject* receiver)
    : SeparateThread(taskType, receiver)
{
    this->picInfo = picInfo;
}

SeparateThread::~SeparateThread() = default;

bool SeparateThread::isUnsafeName(const QString& name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QStringLiteral(".."));
}

void SeparateThread::run()
{
    const bool open = receiver->isOpen();
    qDebug() << "isWindowShow :" << open << "-" << taskType;
    if (!open)
        return;
    switch (taskType) {
    case SeparateTaskFinalPhotoCopy: finalPhotoCopy(); break;
    case SeparateTaskPhotoIsFile: photoisFile(); break;
    case SeparateTaskDelPhotoCopy: plainCopy("fenjian_delPhotoSlot_3"); break;
    case SeparateTaskMarkPhotoCopy:
        qDebug() << "拷贝标注相册：" << "from: " << fromPath << "to: " << toPath;
        plainCopy("fenjian_markPhoto_3_1");
        break;
    case SeparateTaskProductPhotoCopy: productPhotoCopy(); break;
    case SeparateTaskAnalysisPhotoInfo: analysisPhotoInfo(); break;
    case SeparateTaskShejiImgCopy: plainCopy("fenjian_shejiPhotoSlot_3_2"); break;
    default: break;
    }
}

void SeparateThread::copy(const QString& from, const QString& to)
{
    // "." and ".." and sub-folders are listed with the photos; they are no photos.
    if (QFileInfo(Platform::diskPath(from)).isDir())
        return;
    if (!FileOperation::copyFile(from, to, isOverwrite))
        receiver->invoke("fenjian_copyFailedSlot", from);
}

void SeparateThread::finalPhotoCopy()
{
    copy(fromPath, toPath);
    if (withRawFiles) {
        QString companion = fromPath;
        companion.replace(QStringLiteral("成品/"), QStringLiteral("照片/新建文件夹/"))
            .replace(QStringLiteral(".jpg"), QStringLiteral(".CR2"))
            .replace(QStringLiteral(".JPG"), QStringLiteral(".CR2"));
        QString previous = QStringLiteral(".CR2");
        for (const QString& extension : {QStringLiteral(".CR2"), QStringLiteral(".CR3"), QStringLiteral(".ARW"),
                                         QStringLiteral(".NEF"), QStringLiteral(".RAF")}) {
            companion.replace(previous, extension);
            previous = extension;
            QString target = toPath;
            target.replace(QStringLiteral(".JPG"), extension).replace(QStringLiteral(".jpg"), extension);
            // A name without ".jpg" is its own "companion": never copy it over
            // the finished photo.
            if (target != toPath && QFile::exists(Platform::diskPath(companion)))
                copy(companion, target);
        }
    }
    receiver->invoke("fenjian_finalPhotoSlot_2");
}

void SeparateThread::photoisFile()
{
    qDebug() << "---20--2" << fromPath;
    const bool exists = FileOperation::isFileExist(FileOperation::resolveNameCase(fromPath));
    receiver->invoke("fenjian_photoIsFileSlot_1", exists ? 1 : 0);
}

void SeparateThread::plainCopy(const char* slot)
{
    copy(fromPath, toPath);
    qDebug() << "isWindowShow4 :" << receiver->isOpen();
    receiver->invoke(slot);
}

void SeparateThread::productPhotoCopy()
{
    QString upper = fromPath;
    upper.replace(QStringLiteral(".jpg"), QStringLiteral(".JPG"));
    if (!isUnsafeName(fromPath)) {
        // The work folder holds the finished photos that stage 1 copied.
        for (const QString& name : {fromPath, upper}) {
            const QString source = FileOperation::resolveNameCase(productPhotoFolder + name);
            if (FileOperation::isFileExist(source)) {
                copy(source, toPath);
                receiver->invoke("fenjian_productPhotoSlot_4", QString());
                return;
            }
        }
    }
    receiver->invoke("fenjian_productPhotoSlot_4", productName + QLatin1Char(':') + upper);
}

void SeparateThread::analysisPhotoInfo()
{
    QList<Image> marks;
    for (const QJsonValue& value : qAsConst(picInfo)) {
        if (!receiver->isOpen())
            return;
        const QJsonObject picture = value.toObject();
        Image image;
        image.setFileName(picture.value(QStringLiteral("picname")).toString());
        image.descr = picture.value(QStringLiteral("descr")).toString();
        const int left = number(picture, "picx");
        const int top = number(picture, "picy");
        image.setMark(left, top, left + number(picture, "picwidth") - 1, top + number(picture, "picheight") - 1,
                      picture.value(QStringLiteral("pictype")).toString() != QLatin1String("0"));
        marks.append(image);
    }
    if (!receiver->isOpen())
        return;
    g_markImages = marks;
    setOrderPath(orderPath);
    ImageData::getInstance()->importImage(PHOTOTYPE_FINE);
    receiver->invoke("fenjian_analysisPhotoInfo");
}
