// SPDX-License-Identifier: MIT
#include "views/FilterSheet.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "model/FilterSet.h"

using namespace corvida;

namespace {

QStringList selectedNames(const QListWidget* list) {
    QStringList names;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) {
            names << list->item(row)->text();
        }
    }
    return names;
}

QListWidgetItem* itemNamed(const QListWidget* list, const QString& name) {
    const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
    return items.size() == 1 ? items.front() : nullptr;
}

// Slots 1 to 4 of filters are as a fresh set makes them, but for slot except.
bool othersAreBuiltIn(const FilterSet& filters, std::size_t except) {
    const FilterSet fresh;
    for (std::size_t slot = 1; slot < FilterSet::kSlotCount; ++slot) {
        if (slot != except && (filters.at(slot).name() != fresh.at(slot).name() ||
                               *filters.at(slot).criteria() != *fresh.at(slot).criteria())) {
            return false;
        }
    }
    return true;
}

} // namespace

class FilterSheetTest : public QObject {
    Q_OBJECT

private slots:
    void pagesShowTheFiltersAndHideTheLinkOption() {
        FilterSet filters;
        FilterSheet sheet(filters, 1);
        QCOMPARE(sheet.tabs()->count(), 4);
        QCOMPARE(sheet.tabs()->currentIndex(), 0);
        QCOMPARE(sheet.nameEdit(1)->text(), QStringLiteral("Resolved text and audio > 2K"));
        QCOMPARE(selectedNames(sheet.typeList(1)), (QStringList{"audio", "text"}));
        QVERIFY(sheet.useSizeBox(1)->isChecked());
        QCOMPARE(sheet.sizeBox(1)->value(), 2000);
        QCOMPARE(sheet.sizeBox(1)->maximum(), 9999999);
        QVERIFY(sheet.linkLabel(1)->isHidden());
        QVERIFY(sheet.linkList(1)->isHidden());
        QCOMPARE(sheet.linkList(1)->currentRow(), FilterCriteria::kLinkGood);
        QCOMPARE(selectedNames(sheet.typeList(2)), (QStringList{"image", "video"}));
        QVERIFY(!sheet.useSizeBox(2)->isChecked());

        // The name takes at most 80 characters.
        sheet.nameEdit(1)->clear();
        QTest::keyClicks(sheet.nameEdit(1), QString(100, QLatin1Char('n')));
        QCOMPARE(sheet.nameEdit(1)->text().size(), 80);

        FilterSheet onThird(filters, 3);
        QCOMPARE(onThird.tabs()->currentIndex(), 2);
        FilterSheet outOfRange(filters, 0);
        QCOMPARE(outOfRange.tabs()->currentIndex(), 0);
    }

    void okWritesOnlyTheOpenedPagesAndRenames() {
        FilterSet filters;
        FilterSheet sheet(filters, 1);
        QSignalSpy changed(&sheet, &FilterSheet::filtersChanged);
        sheet.tabs()->setCurrentIndex(1);
        sheet.nameEdit(2)->setText(QStringLiteral("Pictures & documents"));
        itemNamed(sheet.typeList(2), QStringLiteral("application"))->setSelected(true);
        itemNamed(sheet.typeList(2), QStringLiteral("video"))->setSelected(false);
        sheet.useSizeBox(2)->setChecked(true);
        sheet.sizeBox(2)->setValue(5000);
        // Page 3 was never opened: what its widgets hold is not taken.
        sheet.nameEdit(3)->setText(QStringLiteral("never seen"));
        sheet.accept();

        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(sheet.changedSlots(), (std::vector<int>{2}));
        QVERIFY(sheet.namesChanged());
        QCOMPARE(changed.size(), 1);
        const Filter& edited = filters.at(2);
        QCOMPARE(edited.name(), std::string("Pictures & documents"));
        QCOMPARE(*edited.criteria(), (FilterCriteria{1, 5000, FilterCriteria::kLinkAll, {4, 2}}));
        QVERIFY(othersAreBuiltIn(filters, 2));
    }

    void okWithoutChangesAndCancelLeaveTheFilters() {
        FilterSet filters;
        {
            FilterSheet sheet(filters, 1);
            QSignalSpy changed(&sheet, &FilterSheet::filtersChanged);
            sheet.tabs()->setCurrentIndex(3);
            sheet.accept();
            QVERIFY(sheet.changedSlots().empty());
            QCOMPARE(changed.size(), 0);
        }
        QVERIFY(othersAreBuiltIn(filters, 0));
        FilterSheet sheet(filters, 4);
        sheet.nameEdit(4)->setText(QStringLiteral("renamed"));
        sheet.typeList(4)->clearSelection();
        sheet.sizeBox(4)->setValue(1);
        sheet.reject();
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        QVERIFY(othersAreBuiltIn(filters, 0));
    }
};

QTEST_MAIN(FilterSheetTest)
#include "FilterSheetTest.moc"
