#ifndef IMPORTORDERMODEL_H
#define IMPORTORDERMODEL_H

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

// One order of the batch import: the order as the order list delivers it, the
// names of its folders on the file server, and what the import dialog and the
// worker keep per import type (0 originals ... 5 Lyra folder).
//
// Ownership: the order picker creates the models without a parent. The import
// dialog adopts every model it lists (it becomes the model's parent); the
// picker deletes the models nobody adopted.
class ImportOrderModel : public QObject
{
public:
    // Per-type fields exist for these many import types.
    static const int kTextTypes = 3;  // originals, finished, design
    static const int kFileTypes = 5;  // ... and the two video types
    static const int kFlagTypes = 6;  // ... and the Lyra folder

    ImportOrderModel(QJsonObject order, QObject* parent);
    explicit ImportOrderModel(QObject* parent);
    ~ImportOrderModel() override;

    // Booking number and service count: "LY1-2".
    QString orderNumber() const;
    // Target file names of the given source paths for an import type.
    QStringList renamedFileNames(QStringList paths, int type) const;

    QString order_photo_id() const { return m_order_photo_id; }
    QString orderpayforkey() const { return m_orderpayforkey; }
    QString storesname() const { return m_storesname; }
    QString phototype() const { return m_phototype; }
    QString servicetimes() const { return m_servicetimes; }
    QString customerNames() const { return m_customerNames; }
    QString bname() const { return m_bname; }
    QString wname() const { return m_wname; }
    QString mname() const { return m_mname; }
    QString comboname() const { return m_comboname; }
    QString comboprice() const { return m_comboprice; }
    QString order_price() const { return m_order_price; }
    QString orderbaseprice() const { return m_orderbaseprice; }
    QString booktime() const { return m_booktime; }
    QString orderpayforkey2() const { return m_orderpayforkey2; }
    QString gotodigitaltime() const { return m_gotodigitaltime; }
    QString shotdate() const { return m_shotdate; }
    QString sampledate() const { return m_sampledate; }
    QString role1() const { return m_role1; }
    QString role2() const { return m_role2; }
    QString yindouer() const { return m_yindouer; }
    QString phototype2() const { return m_phototype2; }
    QString tiaosename() const { return m_tiaosename; }
    QString tiaoxiname() const { return m_tiaoxiname; }
    QString gotodigitaltime2() const { return m_gotodigitaltime2; }

    QString importOrderPath() const { return m_importOrderPath; }
    void setImportOrderPath(const QString& path) { m_importOrderPath = path; }
    QString importOrderBakPath() const { return m_importOrderBakPath; }
    void setImportOrderBakPath(const QString& path) { m_importOrderBakPath = path; }

    QString bakRootPath() const { return m_bakRootPath; }
    QString homeRootPath() const { return m_homeRootPath; }
    QString picRootPath() const { return m_picRootPath; }

    // Per-type fields; a type outside a field's range reads as empty and is
    // not stored.
    QString orderPrefix(int type) const;
    void setOrderPrefix(int type, const QString& prefix);
    QString folderSuffix(int type) const;
    // The order folder has one name: every type's suffix is set at once.
    void setFolderSuffix(int type, const QString& suffix);
    QString imageSuffix(int type) const;
    void setImageSuffix(int type, const QString& suffix);
    QStringList selectedFiles(int type) const;
    void setSelectedFiles(int type, const QStringList& files);
    quint16 importedCount(int type) const;
    void setImportedCount(int type, const quint16& count);
    quint16 finishedCount(int type) const;
    void setFinishedCount(int type, const quint16& count);
    bool isImported(int type) const;
    void setIsImported(int type, bool imported);

    QString lyraPicPath() const { return m_lyraPicPath; }
    QString lyraSourceDir() const { return m_lyraSourceDir; }
    void setLyraSourceDir(const QString& dir) { m_lyraSourceDir = dir; }
    QString lyrapath() const { return m_lyrapath; }
    void setLyrapath(const QString& path) { m_lyrapath = path; }
    QString lyraSourceParent() const { return m_lyraSourceParent; }
    void setLyraSourceParent(const QString& dir) { m_lyraSourceParent = dir; }

    // Delivered by the service and read directly when paths are reported.
    QString momtel;
    QString dadtel;
    QString getphotodate;
    QString orderpath;
    QString orderbakpicpath;
    QString bakpicpath;
    QString homepicpath;
    QString picpath;
    QString lyraServerPath;

private:
    QString m_order_photo_id;
    QString m_orderpayforkey;
    QString m_storesname;
    QString m_phototype;
    QString m_servicetimes;
    QString m_customerNames;
    QString m_bname;
    QString m_wname;
    QString m_mname;
    QString m_comboname;
    QString m_comboprice;
    QString m_order_price;
    QString m_orderbaseprice;
    QString m_booktime;
    QString m_orderpayforkey2;
    QString m_gotodigitaltime;
    QString m_shotdate;
    QString m_sampledate;
    QString m_role1;
    QString m_role2;
    QString m_yindouer;
    QString m_phototype2;
    QString m_tiaosename;
    QString m_tiaoxiname;
    QString m_gotodigitaltime2;
    QString m_importOrderPath;
    QString m_importOrderBakPath;
    QString m_bakRootPath;
    QString m_homeRootPath;
    QString m_picRootPath;
    QString m_orderPrefix[kTextTypes];
    QString m_folderSuffix[kTextTypes];
    QString m_imageSuffix[kTextTypes];
    QStringList m_selectedFiles[kFileTypes];
    quint16 m_importedCount[kFileTypes] = {};
    quint16 m_finishedCount[kFileTypes] = {};
    bool m_isImported[kFlagTypes] = {};
    QString m_lyraPicPath;
    QString m_lyraSourceDir;
    QString m_lyrapath;
    QString m_lyraSourceParent;
};

#endif
