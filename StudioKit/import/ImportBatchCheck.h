#ifndef IMPORTBATCHCHECK_H
#define IMPORTBATCHCHECK_H

#include <QList>
#include <QString>

class ImportOrderModel;

// The checks a batch passes before anything starts, in the order the user
// meets them: an empty list, each order's photo root taking new folders and
// its selection for the type, orders left to import, and (all but the Lyra
// type) the "成品/" folder of every order that already has one. The first
// failing check is the refusal; nothing is created or changed but the
// probe folder, which is removed again.
//
//     ImportBatchCheck check(orderList, importType);
//     if (!check.passed())
//         showImportError(check.refusedOrder(), check.refusal());
class ImportBatchCheck
{
public:
    ImportBatchCheck(const QList<ImportOrderModel*>& orders, int type);

    bool passed() const { return m_refusal.isEmpty(); }
    // The order number the refusal names, or "-".
    QString refusedOrder() const { return m_refusedOrder; }
    QString refusal() const { return m_refusal; }
    // Orders not yet imported in the type, in list order (as far as the
    // checks went).
    QList<ImportOrderModel*> ordersToImport() const { return m_ordersToImport; }

    // Whether a photo root takes new folders. The probe is a fresh folder of
    // its own, so nothing there before is touched; a root that does not exist
    // is not probed.
    static bool rootIsWritable(const QString& root);

private:
    void refuse(const QString& order, const QString& message);

    QString m_refusedOrder;
    QString m_refusal;
    QList<ImportOrderModel*> m_ordersToImport;
};

#endif
