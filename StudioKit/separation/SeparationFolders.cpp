#include "separation/SeparationFolders.h"

#include "core/Dialogs.h"
#include "files/FileOperation.h"
#include "Platform.h"

#include <QCoreApplication>

#include <QDir>
#include <QFileInfo>

namespace SeparationFolders {

QStringList entries(const QString& folder)
{
    if (!QFileInfo(Platform::diskPath(folder)).isDir())
        return {};
    QStringList names = {QStringLiteral("."), QStringLiteral("..")};
    for (const QFileInfo& entry : Platform::instance().entryInfoList(
             folder, {}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        names << entry.fileName();
    return names;
}

QStringList designImages(const QString& folder)
{
    QStringList names;
    if (!QFileInfo(Platform::diskPath(folder)).isDir())
        return names;
    for (const QFileInfo& entry : Platform::instance().entryInfoList(
             folder, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.png")},
             QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        names << entry.fileName();
    }
    return names;
}

bool makePath(const QString& folder)
{
    const QString local = Platform::diskPath(folder);
    return QDir(local).exists() || QDir().mkpath(local);
}

bool createRunFolder(const QString& folder)
{
    if (FileOperation::createDir(folder))
        return true;
    Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("无法创建文件夹：") + folder, QMessageBox::Yes,
                         QMessageBox::Yes);
    return false;
}

QString chooseRoot(QWidget* window, const QString& field)
{
    QString root = field;
    if (root.isEmpty())
        root = Dialogs::getExistingDirectory(window, QCoreApplication::translate("SeparationFolders", "选择分件保存路径"),
                                             QString(), QFileDialog::ShowDirsOnly);
    if (root.isEmpty())
        return root;
    FileOperation::writeStringList(QStringLiteral("path_separatePhotos.dat"), {root}, true);
    if (!root.endsWith(QLatin1Char('/')) && !root.endsWith(QLatin1Char('\\')))
        root += QLatin1Char('/');
    return root;
}

} // namespace SeparationFolders
