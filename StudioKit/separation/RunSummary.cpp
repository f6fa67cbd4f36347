#include "separation/RunSummary.h"

#include "core/Globals.h"

#include <QDebug>
#include <QStringList>

namespace {

const QString kSeparator = QStringLiteral("、");

void appendList(QString& text, const QString& heading, const QStringList& items)
{
    if (!items.isEmpty())
        text += heading + items.join(kSeparator) + QLatin1Char('\n');
}

} // namespace

QString RunSummary::text(const QList<SeparateMessage>& messages)
{
    qDebug() << "m_messageList.count()" << messages.count();
    QString text;
    for (const SeparateMessage& message : messages) {
        const QString photos = message.notExisPhotos.join(kSeparator);
        const QString products = message.emptyProducts.join(kSeparator);
        qDebug() << "for_m_messageList" << message.orderId << products << photos;
        QString lines;
        appendList(lines, QStringLiteral("不存在的照片:"), message.notExisPhotos);
        appendList(lines, QStringLiteral("空产品:"), message.emptyProducts);
        appendList(lines, QStringLiteral("复制失败的照片:"), message.failedCopies);
        appendList(lines, QStringLiteral("未能写入的文件:"), message.unwrittenFiles);
        if (message.barCodeMissing)
            lines += QStringLiteral("条形码未能下载\n");
        if (!lines.isEmpty())
            text += QStringLiteral("订单") + message.orderId + QStringLiteral(":\n") + lines + QLatin1Char('\n');
    }
    qDebug() << "message" << text;
    return text;
}

bool RunSummary::hasFailures(const QList<SeparateMessage>& messages)
{
    for (const SeparateMessage& message : messages) {
        if (!message.failedCopies.isEmpty() || !message.unwrittenFiles.isEmpty() || message.barCodeMissing)
            return true;
    }
    return false;
}

QString RunSummary::title(const QList<SeparateMessage>& messages)
{
    return hasFailures(messages) ? QStringLiteral("提示:   分件未全部完成") : QStringLiteral("提示:   分件成功!");
}

QString RunSummary::saveName(const QList<SeparateMessage>& messages, const QString& root, const QDate& date)
{
    QString name = root;
    if (!name.endsWith(QLatin1Char('/')) && !name.endsWith(QLatin1Char('\\')))
        name += QLatin1Char('/');
    name += date.toString(QStringLiteral("yyyy-MM-dd"));
    QStringList orderIds;
    for (const SeparateMessage& message : messages)
        orderIds << sanitizeFileName(message.orderId);
    return name + QLatin1Char('/') + orderIds.join(kSeparator) + QStringLiteral("分件结果.txt");
}
