#ifndef IMPORTWORKERFIXTURE_H
#define IMPORTWORKERFIXTURE_H

#include "core/Globals.h"
#include "import/importordermodel.h"
#include "import/importorderthread.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Entries below `root`, folders ending in "/", hidden ones included.
inline QStringList entries(const QString& root, QDir::Filters kinds = QDir::AllEntries)
{
    QStringList found;
    QDirIterator it(root, kinds | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        found << QDir(root).relativeFilePath(it.filePath()) + (it.fileInfo().isDir() ? QStringLiteral("/") : QString());
    }
    found.sort();
    return found;
}

// One import worker run the way the import dialog runs it, over a fresh
// folder with "server/" and "backup/" roots. Test classes inherit it next to
// QObject and call setUpFolders() in init() and tearDownFolders() in cleanup().
class ImportWorkerFixture
{
protected:
    using Type = importOrdersPhotoDlg::ImportTypeEnum;

    static inline const QString kOrderFolder = QStringLiteral("2024-03/07/LY100-1-王芳-李雷-摄影A/");

    bool setUpFolders()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_startFolder = QDir::currentPath();
        g_picPath = path(QStringLiteral("server/"));
        g_bakPicPath = path(QStringLiteral("backup/"));
        g_importRunFlag = QStringLiteral("go");
        m_env.platform->freeBytesAnswer = -1;
        return m_dir->isValid();
    }

    void tearDownFolders()
    {
        QDir::setCurrent(m_startFolder);
        g_picPath.clear();
        g_bakPicPath.clear();
    }

    QString path(const QString& relative) const { return m_dir->path() + QLatin1Char('/') + relative; }
    QString orderPath() const { return path(QStringLiteral("server/") + kOrderFolder); }

    // The order of "LY100", changed by the given keys.
    static std::unique_ptr<ImportOrderModel> makeModel(const QJsonObject& changes = {})
    {
        QJsonObject order{{"order_photo_id", "9001"}, {"orderpayforkey", "LY100"}, {"servicetimes", "1"},
                          {"shotdate", "2024-03-07"}, {"wname", "王芳"}, {"mname", "李雷"}, {"role1", "摄影A"}};
        for (auto it = changes.begin(); it != changes.end(); ++it)
            order.insert(it.key(), it.value());
        return std::make_unique<ImportOrderModel>(order, nullptr);
    }

    // Folders first, then the thread.
    static std::unique_ptr<ImportOrderThread> prepare(ImportOrderModel* model, Type type, const QStringList& files)
    {
        model->setSelectedFiles(type, files);
        auto worker = std::make_unique<ImportOrderThread>(model, type, nullptr);
        worker->createOrderDir(g_picPath, g_bakPicPath);
        return worker;
    }

    static void runToEnd(ImportOrderThread* worker)
    {
        worker->start();
        QVERIFY(worker->wait(60000));
        QCoreApplication::processEvents();
    }

    RecordedEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_startFolder;
};

#endif
