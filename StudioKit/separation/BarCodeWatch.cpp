#include "separation/BarCodeWatch.h"

#include "separation/BarCodeDownload.h"

BarCodeWatch::BarCodeWatch(QObject* parent) : QObject(parent) {}

void BarCodeWatch::restart()
{
    ++m_run;
    m_pending.clear();
    m_failed.clear();
}

void BarCodeWatch::expect(BarCodeDownload* download, int recordIndex)
{
    m_pending.insert(recordIndex);
    connect(download, &BarCodeDownload::finished, this, [this, recordIndex, run = m_run](bool saved) {
        if (run != m_run)
            return;
        m_pending.remove(recordIndex);
        if (!saved)
            m_failed.insert(recordIndex);
    });
}

void BarCodeWatch::markMissing(QList<SeparateMessage>& records) const
{
    for (const QSet<int>& missing : {m_pending, m_failed}) {
        for (int index : missing) {
            if (index >= 0 && index < records.size())
                records[index].barCodeMissing = true;
        }
    }
}
