#include "separation/OrderSheetFields.h"

#include <QJsonDocument>
#include <QtTest>

namespace {

using Field = QString OrderSheetFields::*;

struct NamedField {
    const char* name;
    Field field;
};

// Every text field; the reset list is the first block, the kept ones follow.
const QList<NamedField>& resetFields()
{
    static const QList<NamedField> fields{
        {"shopName", &OrderSheetFields::shopName},
        {"babyName", &OrderSheetFields::babyName},
        {"babySex", &OrderSheetFields::babySex},
        {"babyBirthday", &OrderSheetFields::babyBirthday},
        {"orderPayForKey", &OrderSheetFields::orderPayForKey},
        {"manName", &OrderSheetFields::manName},
        {"manPhone", &OrderSheetFields::manPhone},
        {"womanName", &OrderSheetFields::womanName},
        {"womanPhone", &OrderSheetFields::womanPhone},
        {"bookingShop", &OrderSheetFields::bookingShop},
        {"serviceShop", &OrderSheetFields::serviceShop},
        {"bookingTime", &OrderSheetFields::bookingTime},
        {"onlineBooker", &OrderSheetFields::onlineBooker},
        {"promoter", &OrderSheetFields::promoter},
        {"photoSelector", &OrderSheetFields::photoSelector},
        {"comparePhotoCount", &OrderSheetFields::comparePhotoCount},
        {"albumPageCount", &OrderSheetFields::albumPageCount},
        {"selectedCount", &OrderSheetFields::selectedCount},
        {"videographer", &OrderSheetFields::videographer},
        {"manMail", &OrderSheetFields::manMail},
        {"photoAssistant", &OrderSheetFields::photoAssistant},
        {"videoEditor", &OrderSheetFields::videoEditor},
        {"makeupAssistant", &OrderSheetFields::makeupAssistant},
        {"retoucher", &OrderSheetFields::retoucher},
        {"transferStaff", &OrderSheetFields::transferStaff},
        {"womanMail", &OrderSheetFields::womanMail},
        {"secondSalesTotal", &OrderSheetFields::secondSalesTotal},
        {"secondSalesDebt", &OrderSheetFields::secondSalesDebt},
        {"payType", &OrderSheetFields::payType},
        {"serviceTimes", &OrderSheetFields::serviceTimes},
        {"serviceCount", &OrderSheetFields::serviceCount},
        {"boughtRawCount", &OrderSheetFields::boughtRawCount},
        {"recipientAddress", &OrderSheetFields::recipientAddress},
        {"packageName", &OrderSheetFields::packageName},
        {"storeSeller", &OrderSheetFields::storeSeller},
        {"orderPrice", &OrderSheetFields::orderPrice},
        {"selectPhotoName", &OrderSheetFields::selectPhotoName},
        {"shootDate", &OrderSheetFields::shootDate},
        {"selectDate", &OrderSheetFields::selectDate},
        {"shipDate", &OrderSheetFields::shipDate},
        {"consumptionStatement", &OrderSheetFields::consumptionStatement},
        {"shopDisclaimer", &OrderSheetFields::shopDisclaimer},
        {"packageRetouchCount", &OrderSheetFields::packageRetouchCount},
    };
    return fields;
}

const QList<NamedField>& keptFields()
{
    static const QList<NamedField> fields{
        {"preSampleRetoucher", &OrderSheetFields::preSampleRetoucher},
        {"designer", &OrderSheetFields::designer},
        {"postSampleRetoucher", &OrderSheetFields::postSampleRetoucher},
        {"photographer", &OrderSheetFields::photographer},
        {"makeupArtist", &OrderSheetFields::makeupArtist},
        {"selectTime", &OrderSheetFields::selectTime},
        {"shipTime", &OrderSheetFields::shipTime},
        {"urgentTime", &OrderSheetFields::urgentTime},
        {"retouchReviewDate", &OrderSheetFields::retouchReviewDate},
        {"retouchReviewTime", &OrderSheetFields::retouchReviewTime},
        {"layoutReviewDate", &OrderSheetFields::layoutReviewDate},
        {"layoutReviewTime", &OrderSheetFields::layoutReviewTime},
        {"recipientName", &OrderSheetFields::recipientName},
        {"recipientPhone", &OrderSheetFields::recipientPhone},
        {"qualityCheckDate", &OrderSheetFields::qualityCheckDate},
        {"orderDescr", &OrderSheetFields::orderDescr},
        {"boughtRetouchCount", &OrderSheetFields::boughtRetouchCount},
        {"giftRetouchCount", &OrderSheetFields::giftRetouchCount},
        {"sampleInfoServiceTimes", &OrderSheetFields::sampleInfoServiceTimes},
    };
    return fields;
}

QJsonObject object(const char* json)
{
    return QJsonDocument::fromJson(json).object();
}

// An "orderdetail" reply as the service sends it, every order key set.
const char* const kReply = R"({
  "code": "1",
  "count_order_sample_infoservicetimes": "3",
  "servicetime": [{"goods": [{"id": "7"}], "urgentgoods": [], "order_sample_infoservicetimes": "1",
                   "role12name": "何选片"}],
  "orderpicdescr": [
    {"picname": "A.jpg", "mark": ["1-2-3-4-瘦脸", "1-2-5-4-去痘"]},
    {"picname": "B.jpg", "mark": []},
    {"picname": "C 新.jpg", "mark": ["1-2-1-4-调色"]},
    {"picname": "D.jpg"}
  ],
  "order": {
    "shopname": "澜叶旗舰店", "bname": "王小宝", "bsex": "男", "birthdate": "2023-01-02",
    "mname": "刘洋", "mphone": "13800000002", "wname": "张敏", "wphone": "13900000002",
    "mssid": "澜叶二店", "servershopid": "澜叶旗舰店", "booktime": "2024-04-21", "wxname": "网约甲",
    "tuiguangname": "推广乙", "selectphoto": "何选片", "yqnumber": "12", "goodpnumber": "30",
    "yx_number": "45", "role17": "摄像丙", "mmail": "m@example.com", "role3": "摄助丁", "role16": "剪辑戊",
    "role4": "化助己", "role9name": "精修庚", "role6name": "转档辛", "wmail": "w@example.com",
    "twosales": "800", "dept": "200", "pay_type": "微信", "count": "3", "buynumber": "5",
    "provinceid": {"areaname": "浙江省"}, "cityid": {"areaname": "杭州市"}, "countyid": {"areaname": "西湖区"},
    "address": "文三路1号", "s2_name": "臻爱婚纱套系", "booksuccess": "门市壬", "tiaose": "赵调色",
    "sheji": "钱设计", "tiaoxiu": "孙修图", "order_price": "7999", "role1": "陈摄影", "role2": "林化妆",
    "photodate": "2024-05-18", "selectphotodate": "2024-05-25", "samplestarttime": "10",
    "samplestartmin": "30", "getphotodate_html": "2024-06-02", "getphotoarea": {"timeTxt": ":00"},
    "isurgenttime": "2024-06-15", "checktruing": "2024-05-28", "kanjinxiuarea": {"timeTxt": ":00"},
    "comparedate": "2024-05-30", "kanbanarea": {"timeTxt": "14:00"}, "recipients": "张敏",
    "sj_tel": "13900000002", "qualitytime": "2024-06-01", "orderdescr": "脸要瘦\r\n背景换白\n<不要>",
    "consumption_statement": "加选10张", "shopdisclaimer": "成品七日内领取", "vipphotonumber": "30",
    "morephotonumber": "5", "activenumber": "2",
    "phototype": "婚纱照", "mqq": "1", "wwx": "x"
  }
})";

} // namespace

class TestOrderSheetFields : public QObject
{
    Q_OBJECT
private slots:
    void resetEmptiesExactlyItsList();
    void readsEveryField_data();
    void readsEveryField();
    void otherTypesAndMissingKeysReadEmpty();
    void selectTimeNeedsBothParts_data();
    void selectTimeNeedsBothParts();
    void marksOfPicturesWithMarksOnly();
};

void TestOrderSheetFields::resetEmptiesExactlyItsList()
{
    OrderSheetFields sheet;
    for (const NamedField& f : resetFields() + keptFields())
        sheet.*f.field = QString::fromLatin1(f.name);
    sheet.picsMarkArr = {{"A.jpg", "mark"}};
    sheet.serviceTimeArray = QJsonArray{QJsonObject{}};
    sheet.resetForNextOrder();
    for (const NamedField& f : resetFields())
        QVERIFY2((sheet.*f.field).isEmpty(), f.name);
    for (const NamedField& f : keptFields())
        QCOMPARE(sheet.*f.field, QString::fromLatin1(f.name));
    QCOMPARE(sheet.picsMarkArr.size(), 1);
    QCOMPARE(sheet.serviceTimeArray.size(), 1);
}

void TestOrderSheetFields::readsEveryField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    const QList<QPair<const char*, QString>> rows{
        {"shopName", "澜叶旗舰店"}, {"babyName", "王小宝"}, {"babySex", "男"}, {"babyBirthday", "2023-01-02"},
        {"orderPayForKey", "LY20240518"}, {"manName", "刘洋"}, {"manPhone", "13800000002"},
        {"womanName", "张敏"}, {"womanPhone", "13900000002"}, {"bookingShop", "澜叶二店"},
        {"serviceShop", "澜叶旗舰店"}, {"bookingTime", "2024-04-21"}, {"onlineBooker", "网约甲"},
        {"promoter", "推广乙"}, {"photoSelector", "何选片"}, {"comparePhotoCount", "12"},
        {"albumPageCount", "30"}, {"selectedCount", "45"}, {"videographer", "摄像丙"},
        {"manMail", "m@example.com"}, {"photoAssistant", "摄助丁"}, {"videoEditor", "剪辑戊"},
        {"makeupAssistant", "化助己"}, {"retoucher", "精修庚"}, {"transferStaff", "转档辛"},
        {"womanMail", "w@example.com"}, {"secondSalesTotal", "800"}, {"secondSalesDebt", "200"},
        {"payType", "微信"}, {"serviceTimes", "2"}, {"serviceCount", "3"}, {"boughtRawCount", "5"},
        // Area names joined with the address, no separator.
        {"recipientAddress", "浙江省杭州市西湖区文三路1号"}, {"packageName", "臻爱婚纱套系"},
        {"storeSeller", "门市壬"}, {"preSampleRetoucher", "赵调色"}, {"designer", "钱设计"},
        {"postSampleRetoucher", "孙修图"}, {"orderPrice", "7999"},
        // Not in the reply: the caller sets it from the order's row.
        {"selectPhotoName", "previous"}, {"photographer", "陈摄影"}, {"makeupArtist", "林化妆"},
        {"shootDate", "2024-05-18"}, {"selectDate", "2024-05-25"}, {"selectTime", "10:30"},
        {"shipDate", "2024-06-02"},
        // Only the two review times lose ":00".
        {"shipTime", ":00"}, {"urgentTime", "2024-06-15"}, {"retouchReviewDate", "2024-05-28"},
        {"retouchReviewTime", ""}, {"layoutReviewDate", "2024-05-30"}, {"layoutReviewTime", "14:00"},
        {"recipientName", "张敏"}, {"recipientPhone", "13900000002"}, {"qualityCheckDate", "2024-06-01"},
        // The carriage return stays before "<BR>"; markup is the sheet's business.
        {"orderDescr", "脸要瘦\r<BR>背景换白<BR><不要>"}, {"consumptionStatement", "加选10张"},
        {"shopDisclaimer", "成品七日内领取"}, {"packageRetouchCount", "30"}, {"boughtRetouchCount", "5"},
        {"giftRetouchCount", "2"}, {"sampleInfoServiceTimes", "3"},
    };
    for (const auto& row : rows)
        QTest::newRow(row.first) << QString::fromLatin1(row.first) << row.second;
}

void TestOrderSheetFields::readsEveryField()
{
    QFETCH(QString, field);
    QFETCH(QString, expected);
    OrderSheetFields sheet;
    sheet.selectPhotoName = "previous";
    readOrderDetail(object(kReply), "LY20240518", "2", &sheet);
    bool found = false;
    for (const NamedField& f : resetFields() + keptFields()) {
        if (field == QLatin1String(f.name)) {
            QCOMPARE(sheet.*f.field, expected);
            found = true;
        }
    }
    QVERIFY(found);
}

void TestOrderSheetFields::otherTypesAndMissingKeysReadEmpty()
{
    OrderSheetFields sheet;
    for (const NamedField& f : resetFields() + keptFields())
        sheet.*f.field = "previous order";
    sheet.picsMarkArr = {{"Z.jpg", "old"}};
    sheet.serviceTimeArray = QJsonArray{1};
    readOrderDetail(object(R"({"code": "1", "count_order_sample_infoservicetimes": 3, "servicetime": {},
        "orderpicdescr": "none", "order": {"shopname": 12, "bname": true, "bsex": null, "count": 3,
        "provinceid": "浙江省", "cityid": {"areaname": 5}, "address": "文三路1号", "kanbanarea": ":00",
        "getphotoarea": {}, "samplestarttime": 10, "samplestartmin": "30", "orderdescr": ["x"]}})"),
                    "K", "1", &sheet);
    for (const NamedField& f : resetFields() + keptFields()) {
        const QString name = QString::fromLatin1(f.name);
        if (name == "orderPayForKey")
            QCOMPARE(sheet.*f.field, QString("K"));
        else if (name == "serviceTimes")
            QCOMPARE(sheet.*f.field, QString("1"));
        else if (name == "recipientAddress")
            QCOMPARE(sheet.*f.field, QString("文三路1号"));
        else if (name == "selectPhotoName")
            QCOMPARE(sheet.*f.field, QString("previous order"));
        else
            QVERIFY2((sheet.*f.field).isEmpty(), f.name);
    }
    QVERIFY(sheet.picsMarkArr.isEmpty());
    QVERIFY(sheet.serviceTimeArray.isEmpty());
}

void TestOrderSheetFields::selectTimeNeedsBothParts_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both") << R"({"samplestarttime": "9", "samplestartmin": "05"})" << "9:05";
    QTest::newRow("no minute") << R"({"samplestarttime": "9", "samplestartmin": ""})" << "";
    QTest::newRow("no hour") << R"({"samplestartmin": "05"})" << "";
    QTest::newRow("neither") << "{}" << "";
}

void TestOrderSheetFields::selectTimeNeedsBothParts()
{
    QFETCH(QString, order);
    QFETCH(QString, expected);
    OrderSheetFields sheet;
    // The previous customer's time never stays.
    sheet.selectTime = "16:45";
    const QJsonObject reply{{"order", QJsonDocument::fromJson(order.toUtf8()).object()}};
    readOrderDetail(reply, "K", "1", &sheet);
    QCOMPARE(sheet.selectTime, expected);
}

void TestOrderSheetFields::marksOfPicturesWithMarksOnly()
{
    OrderSheetFields sheet;
    readOrderDetail(object(kReply), "K", "1", &sheet);
    const QList<QStringList> expected{{"A.jpg", "1-2-3-4-瘦脸", "1-2-5-4-去痘"}, {"C 新.jpg", "1-2-1-4-调色"}};
    QCOMPARE(sheet.picsMarkArr, expected);
    QCOMPARE(markedPictureNames(sheet.picsMarkArr), (QStringList{"A.jpg", "C 新.jpg"}));
    QCOMPARE(sheet.serviceTimeArray.size(), 1);
    QCOMPARE(sheet.serviceTimeArray.at(0).toObject().value("role12name").toString(), QString("何选片"));
    // A reply without pictures empties the list of the order before.
    readOrderDetail(object(R"({"order": {}})"), "K", "1", &sheet);
    QVERIFY(sheet.picsMarkArr.isEmpty());
}

QTEST_GUILESS_MAIN(TestOrderSheetFields)
#include "tst_ordersheetfields.moc"
