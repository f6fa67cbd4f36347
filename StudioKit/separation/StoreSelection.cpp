#include "separation/StoreSelection.h"

#include "core/Globals.h"
#include "widgets/MultiSelectComboBox.h"

StoreSelection::StoreSelection()
    : m_names(g_storeNames)
    , m_ids(g_storeIds)
{
}

void StoreSelection::fill(MultiSelectComboBox* box) const
{
    box->addCheckItems(m_names);
    box->setTipText(QStringLiteral("点击选择店铺"));
    // checkAllItems toggles: right after adding, it ticks every store.
    box->checkAllItems();
}

QString StoreSelection::joinedIds(const QList<int>& checkedRows) const
{
    QStringList ids;
    for (const int row : checkedRows) {
        const QString id = m_ids.value(row);
        if (!id.isEmpty())
            ids << id;
    }
    return ids.join(QLatin1Char(','));
}
