#include "import/VideoListUpdate.h"

#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "import/ImportTypes.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"
#include "Platform.h"

#include <QDir>

VideoListUpdate::VideoListUpdate(const ImportOrderModel* order, bool trial)
{
    if (!order) {
        m_refusal = QStringLiteral("请选择更新视频的订单");
        return;
    }
    if (order->importOrderPath().isEmpty()) {
        m_refusal = QStringLiteral("此订单未导视频");
        return;
    }
    const QString folder =
        order->importOrderPath()
        + importTypeFolder(trial ? importOrdersPhotoDlg::TypeTrialVideo : importOrdersPhotoDlg::TypeRetouchedVideo);
    // A path that climbs out of the roots is neither listed nor reported.
    if (!isSafeOrderPath(order->importOrderPath()) || !FileOperation::isDirExist(folder)) {
        m_refusal = QStringLiteral("此订单导片路径打不开，请检查服务器是否连接成功！");
        return;
    }
    offer(folder, trial);
}

void VideoListUpdate::offer(const QString& folder, bool trial)
{
    for (const QFileInfo& entry : Platform::instance().entryInfoList(folder, {}, QDir::Files, QDir::NoSort))
        m_names << entry.fileName();
    if (m_names.isEmpty()) {
        m_question = folder
                     + QStringLiteral("  没有%1， 是否要将<font color=\"red\">选片系统 %1列表</font>列表清空？ ")
                           .arg(trial ? QStringLiteral("试拍视频") : QStringLiteral("精修视频"));
        return;
    }
    m_question = trial ? QStringLiteral("是否要将<font color=\"red\">选片系统 试拍视频列表</font>更新为:  <br/> ")
                       : QStringLiteral("是否要将<font color=\"red\">选片系统 精修视频列表</font>更新为: <br/>");
    m_question += QStringLiteral("<font size='18' color='blue'>");
    const QString absoluteFolder = QDir(Platform::diskPath(folder)).absolutePath();
    for (const QString& name : qAsConst(m_names)) {
        m_question += QStringLiteral("<br/>") + name;
        m_paths << absoluteFolder + QLatin1Char('/') + name;
    }
    m_question += QStringLiteral("</font>");
}
