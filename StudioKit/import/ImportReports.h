#ifndef IMPORTREPORTS_H
#define IMPORTREPORTS_H

#include <QByteArray>
#include <QString>

class ImportOrderModel;

// The form bodies of the batch import's three reports to the service, built
// without a window so that their bytes can be checked on their own. Each is
// exactly what is posted; the shop and login values come from the globals.
class ImportReports
{
public:
    // "updatepicpath": where an order's files lie and how many arrived, for
    // the import type `type` (start and re-import "0", finish "1").
    static QByteArray finishInfo(const ImportOrderModel* model, int type, const QString& importype, int picnumber,
                                 int picbacknumber, const QString& timestamp);
    // "updatevideo": the videos of an order for the photo-selection side.
    static QByteArray videoList(const ImportOrderModel* model, int type, const QString& videofiles,
                                const QString& videopaths, const QString& timestamp);
    // "savelyrapath": the Lyra folder of an order, percent-encoded in full.
    static QByteArray lyraInfo(const ImportOrderModel* model, const QString& lyrapath);

    // Milliseconds since 1970 as the service expects them.
    static QString timestamp();
};

#endif
