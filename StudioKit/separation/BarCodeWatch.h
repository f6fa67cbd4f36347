#ifndef BARCODEWATCH_H
#define BARCODEWATCH_H

#include "separation/SeparateMessage.h"

#include <QList>
#include <QObject>
#include <QSet>

class BarCodeDownload;

// Follows the bar-code downloads of one separation run, which nobody waits
// for, so that its summary can say which orders have no bar code: the
// download failed, or it had not ended when the summary was made.
//
// Use: restart() when a run starts, expect(download, i) when an order's
// download starts (i: where the order's record is or will be in the run's
// records), markMissing(records) before the summary is built.
class BarCodeWatch : public QObject
{
    Q_OBJECT
public:
    explicit BarCodeWatch(QObject* parent = nullptr);

    // Forgets the downloads of the runs before; their late ends are ignored.
    void restart();
    void expect(BarCodeDownload* download, int recordIndex);
    void markMissing(QList<SeparateMessage>& records) const;

private:
    int m_run = 0;
    QSet<int> m_pending;
    QSet<int> m_failed;
};

#endif
