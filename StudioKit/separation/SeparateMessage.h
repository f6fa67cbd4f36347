#ifndef SEPARATEMESSAGE_H
#define SEPARATEMESSAGE_H

#include <QString>
#include <QStringList>

// What one separated order leaves for the run summary.
struct SeparateMessage
{
    QString orderId;
    QStringList notExisPhotos;  // "label:name", each once
    QStringList emptyProducts;  // labels of products without photos
    QStringList failedCopies;   // copies that did not reach their target
    QStringList unwrittenFiles; // sheets and images that could not be written
    bool barCodeMissing = false; // 条形码.jpg failed or had not arrived by the summary
};

#endif
