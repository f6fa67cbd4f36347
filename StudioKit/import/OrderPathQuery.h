#ifndef ORDERPATHQUERY_H
#define ORDERPATHQUERY_H

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// Where the single-order window's files live, asked of the service: the
// current order's folder and backup folder ("get_order_path"), and the
// shop's roots for an order without folders ("get_order_pic_path"). Failure
// boxes are shown here; the window only hears the outcome.
//
//     connect(paths, &OrderPathQuery::orderPathReceived, window, ...);
//     paths->queryOrderPath();
class OrderPathQuery : public QObject
{
    Q_OBJECT
public:
    explicit OrderPathQuery(QObject* parent);

    void queryOrderPath();
    void queryServerPath();

signals:
    // Both empty for an order without folders.
    void orderPathReceived(QString orderPath, QString backupPath);
    // A network error, a reply that is no JSON object, or "code" not "1".
    void orderPathFailed();
    // The roots as the service sent them; the home-effect root has replaced
    // the program's.
    void serverRootsReceived(QString serverRoot, QString backupRoot);
    void serverRootsFailed();

private:
    void backOrderPath(QNetworkReply* reply);
    void backServerPath(QNetworkReply* reply);
    void post(const QString& url, const QByteArray& body, void (OrderPathQuery::*handler)(QNetworkReply*));

    QNetworkAccessManager* m_manager;
};

#endif
