#ifndef SHOTDATEUPDATE_H
#define SHOTDATEUPDATE_H

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// A new shot date for the current order, posted to the service
// ("updatephotodate"). Each accepted reply hands back the date its own
// request carried, so two quick changes never store each other's date.
class ShotDateUpdate : public QObject
{
    Q_OBJECT
public:
    explicit ShotDateUpdate(QObject* parent);

    void postPhotoDate(const QString& date);

signals:
    void accepted(QString date);

private:
    void queryPostPhotoDate(QNetworkReply* reply, const QString& date);

    QNetworkAccessManager* m_manager;
};

#endif
