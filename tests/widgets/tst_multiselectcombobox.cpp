#include "widgets/MultiSelectComboBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QWheelEvent>
#include <QtTest>

#include <memory>

namespace {

const QStringList kShops = {QStringLiteral("南山店"), QStringLiteral("福田店"), QStringLiteral("罗湖店")};

} // namespace

class TestMultiSelectComboBox : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> window;
    MultiSelectComboBox* combo = nullptr;

    QPushButton* tipButton() const { return combo->findChild<QPushButton*>(); }

    // The tag list is the combo box's only direct list child; the pop-up list
    // lives in the pop-up frame.
    QListView* tagView() const
    {
        return combo->findChild<QListView*>(QString(), Qt::FindDirectChildrenOnly);
    }

    QStringList tagTexts() const
    {
        QStringList texts;
        QAbstractItemModel* model = tagView()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, 0).data().toString());
        return texts;
    }

    bool popupOpen() const { return combo->view()->isVisible(); }

    void openPopupByPrompt()
    {
        QTest::mouseClick(tipButton(), Qt::LeftButton);
        QTRY_VERIFY(popupOpen());
    }

    void clickPopupRow(int row)
    {
        QAbstractItemView* view = combo->view();
        const QRect rect = view->visualRect(combo->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QPoint tagPoint(int tagRow, const QPoint& offset) const
    {
        return tagView()->visualRect(tagView()->model()->index(tagRow, 0)).topLeft() + offset;
    }

    // A press in another window while the pop-up is open, routed by Qt the
    // way a real press is.
    void pressElsewhere(QWidget* other)
    {
        QTest::mouseClick(other->windowHandle(), Qt::LeftButton, {}, QPoint(10, 10));
    }

private slots:
    void init()
    {
        window.reset(new QWidget);
        window->resize(420, 120);
        combo = new MultiSelectComboBox(window.get());
        combo->setGeometry(10, 10, 400, 40);
        combo->setTipText(QStringLiteral("点击选择店铺"));
        combo->addCheckItems(kShops);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        window.reset();
        combo = nullptr;
    }

    void startsWithPromptAndUncheckedRows()
    {
        QCOMPARE(combo->count(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(combo->itemText(row), kShops.at(row));
            QCOMPARE(combo->itemData(row, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        }
        QVERIFY(combo->checkedRows().isEmpty());
        QVERIFY(tipButton()->isVisible());
        QCOMPARE(tipButton()->text(), QStringLiteral("点击选择店铺"));
        QVERIFY(!tagView()->isVisible());
    }

    void promptAndTagsCoverTheFace()
    {
        const QPoint centre = combo->geometry().center();
        QCOMPARE(window->childAt(centre), static_cast<QWidget*>(tipButton()));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, centre);
        QTRY_VERIFY(popupOpen());

        combo->checkAllItems();
        QCOMPARE(window->childAt(centre), tagView()->viewport());
    }

    void addCheckItemsAppendsAndKeepsTicks()
    {
        combo->slt_activited(1);
        combo->addCheckItems({QStringLiteral("宝安店")});
        combo->addCheckItem(QStringLiteral("龙岗店"), 7);

        QCOMPARE(combo->count(), 5);
        QCOMPARE(combo->itemText(3), QStringLiteral("宝安店"));
        QCOMPARE(combo->itemData(4), QVariant(7));
        QCOMPARE(combo->itemData(3, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(combo->itemData(4, Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(combo->checkedRows(), QList<int>({1}));
        QCOMPARE(tagTexts(), QStringList({QStringLiteral("福田店")}));
    }

    void checkAllTogglesEveryRow()
    {
        combo->checkAllItems();
        QCOMPARE(combo->checkedRows(), QList<int>({0, 1, 2}));
        QCOMPARE(combo->checkedTexts(), kShops);
        QCOMPARE(tagTexts(), kShops);
        QVERIFY(tagView()->isVisible());
        QVERIFY(!tipButton()->isVisible());

        combo->checkAllItems();
        QVERIFY(combo->checkedRows().isEmpty());
        QVERIFY(combo->checkedTexts().isEmpty());
        QVERIFY(tagTexts().isEmpty());
        QVERIFY(!tagView()->isVisible());
        QVERIFY(tipButton()->isVisible());
    }

    void tagsCarryTheOwnRemoveIcon()
    {
        const QImage image(QStringLiteral("://del.png"));
        QCOMPARE(image.size(), QSize(12, 12));

        combo->checkAllItems();
        const QIcon icon = tagView()->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.pixmap(12, 12).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    void popupStaysOpenWhileTicking()
    {
        QWidget other;
        other.resize(100, 100);
        other.move(600, 600);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));

        QSignalSpy activated(combo, QOverload<int>::of(&QComboBox::activated));
        openPopupByPrompt();

        clickPopupRow(1);
        QCOMPARE(activated.count(), 1);
        QVERIFY(popupOpen());
        clickPopupRow(2);
        QVERIFY(popupOpen());
        QCOMPARE(combo->checkedRows(), QList<int>({1, 2}));
        QCOMPARE(tagTexts(), QStringList({QStringLiteral("福田店"), QStringLiteral("罗湖店")}));
        QVERIFY(!tipButton()->isVisible());

        clickPopupRow(1);
        QVERIFY(popupOpen());
        QCOMPARE(combo->checkedRows(), QList<int>({2}));
        QCOMPARE(tagTexts(), QStringList({QStringLiteral("罗湖店")}));

        // A press on the tag list (away from any remove mark) keeps it open.
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          tagView()->viewport()->mapTo(window.get(), tagPoint(0, QPoint(30, 6))));
        QVERIFY(popupOpen());
        QCOMPARE(combo->checkedRows(), QList<int>({2}));

        pressElsewhere(&other);
        QTRY_VERIFY(!popupOpen());
        QCOMPARE(combo->checkedRows(), QList<int>({2}));
    }

    void spaceKeyInPopupKeepsTagsInStep()
    {
        openPopupByPrompt();
        QAbstractItemView* view = combo->view();
        view->setCurrentIndex(combo->model()->index(0, 0));

        QTest::keyClick(view->viewport(), Qt::Key_Space);
        QCOMPARE(combo->checkedRows(), QList<int>({0}));
        QCOMPARE(tagTexts(), QStringList({QStringLiteral("南山店")}));

        QTest::keyClick(view->viewport(), Qt::Key_Space);
        QVERIFY(combo->checkedRows().isEmpty());
        QVERIFY(tagTexts().isEmpty());
        QVERIFY(tipButton()->isVisible());
    }

    void tagPress_data()
    {
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<bool>("removes");
        QTest::newRow("mark top-left corner") << QPoint(0, 0) << true;
        QTest::newRow("mark bottom-right corner") << QPoint(11, 11) << true;
        QTest::newRow("right of the mark") << QPoint(12, 5) << false;
        QTest::newRow("below the mark") << QPoint(5, 12) << false;
        QTest::newRow("on the text") << QPoint(30, 6) << false;
    }

    void tagPress()
    {
        QFETCH(QPoint, offset);
        QFETCH(bool, removes);
        combo->checkAllItems();
        QVERIFY(!popupOpen());

        QTest::mouseClick(tagView()->viewport(), Qt::LeftButton, {}, tagPoint(1, offset));

        QTRY_VERIFY(popupOpen());
        if (removes) {
            QCOMPARE(combo->checkedRows(), QList<int>({0, 2}));
            QCOMPARE(tagTexts(), QStringList({QStringLiteral("南山店"), QStringLiteral("罗湖店")}));
        } else {
            QCOMPARE(combo->checkedRows(), QList<int>({0, 1, 2}));
            QCOMPARE(tagTexts(), kShops);
        }
    }

    void removingLastTagShowsPromptAgain()
    {
        combo->slt_activited(2);
        QTest::mouseClick(tagView()->viewport(), Qt::LeftButton, {}, tagPoint(0, QPoint(3, 3)));

        QVERIFY(combo->checkedRows().isEmpty());
        QVERIFY(tagTexts().isEmpty());
        QVERIFY(!tagView()->isVisible());
        QVERIFY(tipButton()->isVisible());
    }

    void wheelChangesNothing()
    {
        combo->slt_activited(0);
        combo->setCurrentIndex(0);
        QSignalSpy activated(combo, QOverload<int>::of(&QComboBox::activated));

        for (QWidget* target : {static_cast<QWidget*>(combo), static_cast<QWidget*>(tagView()->viewport())}) {
            for (int delta : {-120, 120, -120}) {
                const QPointF pos(target->rect().center());
                QWheelEvent wheel(pos, QPointF(target->mapToGlobal(pos.toPoint())), QPoint(), QPoint(0, delta), Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(target, &wheel);
            }
        }

        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(activated.count(), 0);
        QCOMPARE(combo->checkedRows(), QList<int>({0}));
        QCOMPARE(tagTexts(), QStringList({QStringLiteral("南山店")}));
    }

    void rowsWithTheSameTextKeepTheirOwnTags()
    {
        combo->addCheckItems({QStringLiteral("南山店")});
        openPopupByPrompt();

        clickPopupRow(0);
        clickPopupRow(3);
        QCOMPARE(combo->checkedRows(), QList<int>({0, 3}));
        QCOMPARE(tagTexts(), QStringList({QStringLiteral("南山店"), QStringLiteral("南山店")}));

        clickPopupRow(3);
        QCOMPARE(combo->checkedRows(), QList<int>({0}));
        QCOMPARE(tagTexts(), QStringList({QStringLiteral("南山店")}));

        clickPopupRow(3);
        QTest::mouseClick(tagView()->viewport(), Qt::LeftButton, {}, tagPoint(1, QPoint(2, 2)));
        QCOMPARE(combo->checkedRows(), QList<int>({0}));
    }

    void typedTextNeverBecomesARow()
    {
        combo->lineEdit()->setFocus();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("Baoan"));
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);

        QCOMPARE(combo->count(), 3);
        QVERIFY(combo->checkedRows().isEmpty());
        QVERIFY(tagTexts().isEmpty());
    }
};

QTEST_MAIN(TestMultiSelectComboBox)
#include "tst_multiselectcombobox.moc"
