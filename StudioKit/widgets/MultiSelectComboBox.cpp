#include "widgets/MultiSelectComboBox.h"

#include <QHBoxLayout>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardItemModel>

namespace {

// Each tag remembers the pop-up row it stands for, so rows sharing a text
// never take each other's tag.
constexpr int TagRowRole = Qt::UserRole;
constexpr int RemoveMarkSize = 12;

} // namespace

// The library is static: without this the linker may drop the icon.
// (Q_INIT_RESOURCE must not be used inside a namespace.)
static void initWidgetResources()
{
    Q_INIT_RESOURCE(widgets);
}

MultiSelectComboBox::MultiSelectComboBox(QWidget* parent)
    : QComboBox(parent)
    , m_tipButton(new QPushButton(this))
    , m_tagView(new QListView(this))
    , m_tagModel(new QStandardItemModel(this))
    , m_popupView(new QListView(this))
    , m_popupModel(new QStandardItemModel(this))
{
    initWidgetResources();

    setEditable(true);
    // Typed text must never become a row: callers index their own lists by row.
    setInsertPolicy(QComboBox::NoInsert);
    setStyleSheet(QStringLiteral("QComboBox::drop-down{border-style:none;}"));

    m_tagView->setModel(m_tagModel);
    m_tagView->setMinimumHeight(30);
    m_tagView->setStyleSheet(QStringLiteral("QListView{outline: none;} QListView::item {background:#BDD7FD;} "
                                            "QListView::item:hover {background: #BDD7FD;}"));
    m_tagView->setIconSize(QSize(RemoveMarkSize, RemoveMarkSize));
    m_tagView->setSpacing(3);
    m_tagView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tagView->setResizeMode(QListView::Adjust);
    m_tagView->setWrapping(true);
    m_tagView->setFlow(QListView::LeftToRight);
    m_tagView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tagView->setSelectionMode(QAbstractItemView::NoSelection);
    m_tagView->hide();

    setModel(m_popupModel);
    setView(m_popupView);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tagView);
    layout->addWidget(m_tipButton);
    // The editor made by setEditable would otherwise lie on top of them.
    m_tagView->raise();
    m_tipButton->raise();

    connect(m_tipButton, &QPushButton::clicked, this, &MultiSelectComboBox::slt_downpopshos);
    connect(this, QOverload<int>::of(&QComboBox::activated), this, &MultiSelectComboBox::slt_activited);
    // The check state is the selection; tags follow it whichever way it changes
    // (a click, the space key in the pop-up, a tag's remove mark).
    connect(m_popupModel, &QStandardItemModel::itemChanged, this, &MultiSelectComboBox::syncTag);

    installEventFilter(this);
    m_tagView->viewport()->installEventFilter(this);
    m_popupView->window()->installEventFilter(this);
}

MultiSelectComboBox::~MultiSelectComboBox() = default;

void MultiSelectComboBox::setTipText(const QString& text)
{
    m_tipButton->setText(text);
}

void MultiSelectComboBox::addCheckItems(const QStringList& texts)
{
    addItems(texts);
    for (int row = 0; row < m_popupModel->rowCount(); ++row)
        m_popupModel->item(row)->setCheckable(true);
}

void MultiSelectComboBox::addCheckItem(const QString& text, const QVariant& data)
{
    addCheckItem(QIcon(), text, data);
}

void MultiSelectComboBox::addCheckItem(const QIcon& icon, const QString& text, const QVariant& data)
{
    addItem(icon, text, data);
    m_popupModel->item(count() - 1)->setCheckable(true);
}

void MultiSelectComboBox::checkAllItems()
{
    for (int row = 0; row < count(); ++row)
        slt_activited(row);
}

QList<int> MultiSelectComboBox::checkedRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_popupModel->rowCount(); ++row) {
        if (m_popupModel->item(row)->checkState() == Qt::Checked)
            rows.append(row);
    }
    return rows;
}

QStringList MultiSelectComboBox::checkedTexts() const
{
    QStringList texts;
    for (int row : checkedRows())
        texts.append(itemText(row));
    return texts;
}

void MultiSelectComboBox::slt_activited(int row)
{
    QStandardItem* item = m_popupModel->item(row);
    if (!item)
        return;
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void MultiSelectComboBox::slt_downpopshos()
{
    showPopup();
}

void MultiSelectComboBox::showPopup()
{
    QComboBox::showPopup();
    allowHide = false;
}

void MultiSelectComboBox::hidePopup()
{
    // The pop-up asks to hide after every selection; it only closes after a
    // press outside it and outside the tags.
    if (allowHide)
        QComboBox::hidePopup();
}

bool MultiSelectComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && watched == this)
        return true;

    if (event->type() == QEvent::MouseButtonPress) {
        QWidget* tagViewport = m_tagView->viewport();
        QWidget* popupFrame = m_popupView->window();
        if (watched == popupFrame) {
            // While the pop-up is open every press outside it arrives here.
            const QPoint global = static_cast<QMouseEvent*>(event)->globalPos();
            const QRect frameRect(popupFrame->mapToGlobal(QPoint(0, 0)), popupFrame->size());
            const QRect tagRect(tagViewport->mapToGlobal(QPoint(0, 0)), tagViewport->size());
            if (frameRect.contains(global) || (m_tagView->isVisible() && tagRect.contains(global)))
                onTagClicked(tagViewport->mapFromGlobal(global));
            else
                allowHide = true;
        } else if (watched == tagViewport) {
            onTagClicked(static_cast<QMouseEvent*>(event)->pos());
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void MultiSelectComboBox::onTagClicked(const QPoint& pos)
{
    const QModelIndex tag = m_tagView->indexAt(pos);
    if (tag.isValid()) {
        const QRect removeMark(m_tagView->visualRect(tag).topLeft(), QSize(RemoveMarkSize, RemoveMarkSize));
        if (removeMark.contains(pos)) {
            if (QStandardItem* item = m_popupModel->item(tag.data(TagRowRole).toInt()))
                item->setCheckState(Qt::Unchecked);
        }
    }
    showPopup();
}

void MultiSelectComboBox::syncTag(QStandardItem* item)
{
    const int row = item->row();
    const int tagRow = tagRowOf(row);
    const bool checked = item->checkState() == Qt::Checked;
    if (checked && tagRow < 0) {
        auto* tag = new QStandardItem(QIcon(QStringLiteral("://del.png")), item->text());
        tag->setData(row, TagRowRole);
        m_tagModel->appendRow(tag);
    } else if (!checked && tagRow >= 0) {
        m_tagModel->removeRow(tagRow);
    }

    const bool hasTags = m_tagModel->rowCount() > 0;
    m_tipButton->setVisible(!hasTags);
    m_tagView->setVisible(hasTags);
}

int MultiSelectComboBox::tagRowOf(int row) const
{
    for (int tagRow = 0; tagRow < m_tagModel->rowCount(); ++tagRow) {
        if (m_tagModel->item(tagRow)->data(TagRowRole).toInt() == row)
            return tagRow;
    }
    return -1;
}
