#ifndef EXPORTLYRARESULT_H
#define EXPORTLYRARESULT_H

#include "separation/OrderSearchType.h"
#include "separation/SeparationSearchDialog.h"

#include <QJsonObject>
#include <QList>

class Lyrathread;

// The Lyra separation tool "Lyra分件": searches orders as the after-sample
// tool does and exports the finished Lyra selections of the ticked orders
// into a dated tree under the chosen root, through its Lyrathread, ending
// with a coloured report. Opened by the launcher, which shows it maximised
// and then calls setToolName.
class ExportLyraResult : public SeparationSearchDialog
{
    Q_OBJECT
public:
    explicit ExportLyraResult(QWidget* parent = nullptr);
    ~ExportLyraResult() override;

    // The ten search types of the combo, in combo order: the after-sample
    // rows without the design-assignment date.
    static const QList<OrderSearchType>& lyraSearchTypes();

public slots:
    // Called by the export by name, queued.
    void slt_exportLyraResult(QJsonObject msgObjc);

private slots:
    void on_pushButton_separate_clicked();

private:
    Lyrathread* lyraThread;
};

#endif
