#ifndef IMPORTPHOTOTOSERVER_H
#define IMPORTPHOTOTOSERVER_H

#include <QFileInfo>
#include <QMainWindow>
#include <QModelIndex>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class OrderPathQuery;
class PhotoPool;
class QAction;
class QButtonGroup;
class QCloseEvent;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPaintEvent;
class QStandardItemModel;
class ShotDateUpdate;
class SingleImportRun;
class ThumbListing;
class Ui_ImportPhotoToServer;

// Imports chosen files of the current order (the current-order globals when
// it is built) into its folder on the file server: photos as shot, finished
// or design images, with backups of photos, thumbnails, shot times and
// reports to the service. Nothing in the program opens it; its creator may
// connect showSearch() and refreshSearchTable() to its own search window.
class ImportPhotoToServer : public QMainWindow
{
    Q_OBJECT
public:
    explicit ImportPhotoToServer(QWidget* parent);
    ~ImportPhotoToServer() override;

    // Last three characters of the base name as a number, 0 when they are none.
    static int fileSortKey(QFileInfo file);
    static QString currentTimeString();
    // The order prefix of a shot date: 2017-05-04 gives 504; "" when the
    // date has not three parts.
    static QString orderPrefix(const QString& shotDate);

signals:
    void showSearch();
    void refreshSearchTable();

public slots:
    void updateThumbIcon(int index, QPixmap pic);
    void onIsPathExist(bool exist);

private slots:
    void importBtnAction();
    void clickImportPhoto();
    void clickSelectPhoto();
    void clickClearPhoto();
    void selectRow(QModelIndex index);
    void selectItem(QListWidgetItem* item);
    void onFinishImportImage(QString imageTime);
    void onImportImageFailed(QString source, QString target);
    void onOrderPath(QString orderPath, QString backupPath);
    void onOrderPathFailed();
    void onServerRoots(QString serverRoot, QString backupRoot);
    void openSelfPhotoDir();
    void openOrderPhotoDir();
    void delListPhotoAction();
    void delListFiles(const QStringList* files);
    void tableShowMouseRightButton(QPoint pos);
    void listShowMouseRightButton(QPoint pos);
    void on_reimportButton_clicked();
    void on_refreshPushButton_clicked();
    void on_pushButton_photodate_clicked();
    void on_newPhotoDateDate(QString date);
    void onShotDateAccepted(QString date);
    void on_lineEdit_folderAppendName_textChanged(QString arg1);
    void on_lineEdit_folderAppendName_editingFinished();
    void on_lineEdit_picAppendName_editingFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void initThumbList();
    void initPhotoTable();
    void initImportButtons();
    void setPhotoList();
    void fillThumbList(const QStringList& files);
    void startThumbJobs(QStringList files);
    void showImportedFiles(QString orderPath);
    void refreshBtn(bool wait);

    void writeOrderAppendPath();

    void import();
    bool createOrderDir(QString serverRoot, QString backupRoot);
    // Puts the buttons back after a run that did not start or has ended.
    void endRun();
    void setRunning(bool running);

    QButtonGroup* modeGroup = nullptr;
    bool picAppendNameEdited = false;
    int importedCount = 0;
    QAction* openSelfDirAction = nullptr;
    QAction* openOrderDirAction = nullptr;
    QAction* deleteSelectedAction = nullptr;
    QMenu* tableMenu = nullptr;
    QMenu* listMenu = nullptr;
    Ui_ImportPhotoToServer* ui = nullptr;
    QStandardItemModel* photoModel = nullptr;
    QStringList* photoNames = nullptr;
    QStringList photoPaths;
    QListWidget* thumbList = nullptr;
    QLabel* loadingLabel = nullptr;
    QString orderPath;
    QString orderBakPath;
    QString serverRoot;
    QString backupRoot;
    QString selectedPhotoDir;
    QString picAppendPart;

    OrderPathQuery* paths = nullptr;
    ShotDateUpdate* shotDate = nullptr;
    SingleImportRun* run = nullptr;
    // The window's own pool: closing clears only its queue.
    std::unique_ptr<PhotoPool> pool;
    // Receiver of the current listing's icon jobs.
    QPointer<ThumbListing> listing;
};

#endif
