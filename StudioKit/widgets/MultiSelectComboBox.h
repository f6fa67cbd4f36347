#ifndef MULTISELECTCOMBOBOX_H
#define MULTISELECTCOMBOBOX_H

#include <QComboBox>
#include <QIcon>
#include <QList>
#include <QStringList>
#include <QVariant>

class QListView;
class QPushButton;
class QStandardItem;
class QStandardItemModel;

// Several-choice combo box: its pop-up rows carry check boxes and stay open
// while the user ticks them; its face shows the ticked rows as tags with a
// remove mark, or a prompt button while nothing is ticked.
class MultiSelectComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit MultiSelectComboBox(QWidget* parent = nullptr);
    ~MultiSelectComboBox() override;

    void setTipText(const QString& text);
    void addCheckItems(const QStringList& texts);
    void addCheckItem(const QString& text, const QVariant& data = QVariant());
    void addCheckItem(const QIcon& icon, const QString& text, const QVariant& data = QVariant());
    void checkAllItems();
    QList<int> checkedRows() const;
    QStringList checkedTexts() const;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showPopup() override;
    void hidePopup() override;

public slots:
    void slt_activited(int row);
    void slt_downpopshos();

private:
    void onTagClicked(const QPoint& pos);
    void syncTag(QStandardItem* item);
    int tagRowOf(int row) const;

    bool allowHide = false;
    QPushButton* m_tipButton;
    QListView* m_tagView;
    QStandardItemModel* m_tagModel;
    QListView* m_popupView;
    QStandardItemModel* m_popupModel;
};

#endif
