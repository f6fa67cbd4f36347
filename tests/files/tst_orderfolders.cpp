#include "files/OrderFolders.h"

#include <QtTest>

namespace {

using Builder = QString (*)();

const QList<QPair<QString, Builder>>& orderBuilders()
{
    static const QList<QPair<QString, Builder>> builders = {
        {QStringLiteral("照片/"), &getOrderPhotoDir},
        {QStringLiteral("thumbnail/"), &getThumbnailDir},
        {QStringLiteral("thumbnail2250/"), &getThumbnail2250Dir},
        {QStringLiteral("成品/"), &getFineDir},
        {QStringLiteral("成品缩略图/"), &getFineThumbnailDir},
        {QStringLiteral("成品缩略图2250/"), &getFineThumbnail2250Dir},
        {QStringLiteral("汰片/"), &getDeletedDir},
        {QStringLiteral("marks/"), &getMarksDir},
    };
    return builders;
}

} // namespace

class TstOrderFolders : public QObject
{
    Q_OBJECT

private slots:
    // Runs first: nothing has been set yet.
    void initialState()
    {
        QVERIFY(getOrderPath().isNull());
        QVERIFY(getTemplatePath().isNull());
        QVERIFY(getSpareDirA().isNull());
        QVERIFY(getSpareDirB().isNull());
        QVERIFY(getSheetThumbDir().isNull());
        QVERIFY(getSheetBaseDir().isEmpty());
        QVERIFY(!getSheetBaseDir().isNull());
        for (const auto& builder : orderBuilders())
            QCOMPARE(builder.second(), builder.first);
    }

    void orderSubFolders_data()
    {
        QTest::addColumn<QString>("orderPath");
        QTest::addColumn<QStringList>("expected"); // in the order of orderBuilders()
        const QStringList bare = {"照片/", "thumbnail/", "thumbnail2250/", "成品/", "成品缩略图/",
                                  "成品缩略图2250/", "汰片/", "marks/"};
        QTest::newRow("null") << QString() << bare;
        QTest::newRow("empty") << QStringLiteral("") << bare;
        QTest::newRow("slash at the end")
            << "D:/orders/A001/"
            << QStringList{"D:/orders/A001/照片/", "D:/orders/A001/thumbnail/", "D:/orders/A001/thumbnail2250/",
                           "D:/orders/A001/成品/", "D:/orders/A001/成品缩略图/", "D:/orders/A001/成品缩略图2250/",
                           "D:/orders/A001/汰片/", "D:/orders/A001/marks/"};
        QTest::newRow("no separator at the end: names glued on")
            << "D:/orders/A001"
            << QStringList{"D:/orders/A001照片/", "D:/orders/A001thumbnail/", "D:/orders/A001thumbnail2250/",
                           "D:/orders/A001成品/", "D:/orders/A001成品缩略图/", "D:/orders/A001成品缩略图2250/",
                           "D:/orders/A001汰片/", "D:/orders/A001marks/"};
        QTest::newRow("backslashes stay")
            << "\\\\srv\\orders\\A001\\"
            << QStringList{"\\\\srv\\orders\\A001\\照片/", "\\\\srv\\orders\\A001\\thumbnail/",
                           "\\\\srv\\orders\\A001\\thumbnail2250/", "\\\\srv\\orders\\A001\\成品/",
                           "\\\\srv\\orders\\A001\\成品缩略图/", "\\\\srv\\orders\\A001\\成品缩略图2250/",
                           "\\\\srv\\orders\\A001\\汰片/", "\\\\srv\\orders\\A001\\marks/"};
    }

    void orderSubFolders()
    {
        QFETCH(QString, orderPath);
        QFETCH(QStringList, expected);
        setOrderPath(orderPath);
        QCOMPARE(getOrderPath(), orderPath);
        QCOMPARE(getOrderPath().isNull(), orderPath.isNull());
        QStringList built;
        for (const auto& builder : orderBuilders())
            built << builder.second();
        QCOMPARE(built, expected);
    }

    void templateFolders()
    {
        setTemplatePath(QStringLiteral("T:\\base\\"));
        QCOMPARE(getTemplatePath(), QStringLiteral("T:\\base\\"));
        QCOMPARE(getBedroomTemplateDir(), QStringLiteral("T:\\base\\模板/卧室/"));
        QCOMPARE(getLivingRoomTemplateDir(), QStringLiteral("T:\\base\\模板/客厅/"));
        QCOMPARE(getOtherTemplateDir(), QStringLiteral("T:\\base\\模板/其他/"));
    }

    void sheetAndSpareFolders()
    {
        g_sheetBaseDir = QStringLiteral("E:/分件/2024-05-01/A001/");
        QCOMPARE(getSheetBaseDir(), QStringLiteral("E:/分件/2024-05-01/A001/"));
        setSheetThumbDir(getSheetBaseDir() + QStringLiteral("制作单缩略图/"));
        QCOMPARE(getSheetThumbDir(), QStringLiteral("E:/分件/2024-05-01/A001/制作单缩略图/"));

        setSpareDirA(QStringLiteral("a"));
        setSpareDirB(QStringLiteral("b"));
        QCOMPARE(getSpareDirA(), QStringLiteral("a"));
        QCOMPARE(getSpareDirB(), QStringLiteral("b"));
        QCOMPARE(g_spareDirA, QStringLiteral("a"));
        QCOMPARE(g_spareDirB, QStringLiteral("b"));
    }
};

QTEST_MAIN(TstOrderFolders)
#include "tst_orderfolders.moc"
