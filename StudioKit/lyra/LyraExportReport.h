#ifndef LYRAEXPORTREPORT_H
#define LYRAEXPORTREPORT_H

#include <QString>

// The HTML report of one Lyra export: the heading, then one line per
// finding, red for failures and warnings, green for an order's final line.
// Every line names the order by booking number and service count, escaped
// so that service data never turns into markup. No line feeds.
class LyraExportReport
{
public:
    LyraExportReport();

    // `closing` follows the order's name after "</font>".
    void addProblem(const QString& key, const QString& serviceTimes, const QString& closing);
    void addFinal(const QString& key, const QString& serviceTimes, const QString& closing);

    QString text() const { return m_text; }

private:
    void add(const QString& opening, const QString& key, const QString& serviceTimes, const QString& closing);

    QString m_text;
};

#endif
