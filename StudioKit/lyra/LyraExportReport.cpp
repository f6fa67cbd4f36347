#include "lyra/LyraExportReport.h"

LyraExportReport::LyraExportReport()
    : m_text(QStringLiteral("所选订单Lyra选版导出结果"))
{
}

void LyraExportReport::addProblem(const QString& key, const QString& serviceTimes, const QString& closing)
{
    add(QStringLiteral("<br><font color=\"#ff0000\">"), key, serviceTimes, closing);
}

void LyraExportReport::addFinal(const QString& key, const QString& serviceTimes, const QString& closing)
{
    add(QStringLiteral("<br><font color=\"#669900\">"), key, serviceTimes, closing);
}

void LyraExportReport::add(const QString& opening, const QString& key, const QString& serviceTimes,
                           const QString& closing)
{
    m_text += opening + key.toHtmlEscaped() + QStringLiteral(" 服务次") + serviceTimes.toHtmlEscaped()
        + QStringLiteral("</font>") + closing;
}
