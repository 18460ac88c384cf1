// Report list: the roster's columns, rows kept as exact GBK bytes, find row
// (whole text, ASCII case folded, two-byte characters exact), out-of-range
// cells, and the mouse rules: a press on a row's first cell selects it, any
// other press clears the selection, and a completed click raises its handler
// after that. The keyboard moves the selection without raising handlers.

// Mouse input goes through the platform layer as a user's would: implicit
// grab, focus, and a double click made of two presses.
#define QTEST_QPA_MOUSE_HANDLING

#include "report_list.h"

#include "../../tests/test_strings.h"
#include "form_name.h"
#include "gbk.h"

#include <QHeaderView>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

Q_DECLARE_METATYPE(std::string)

namespace {

std::string str(const QByteArray& b) { return b.toStdString(); }

// The console's roster columns.
void addRosterColumns(ui::ReportList& list)
{
    list.addColumn("选手IP", 150);
    list.addColumn("选手名称", 100);
    list.addColumn("获胜场次", 100);
    list.addColumn("备注信息", 200);
}

// Every cell, rows separated by '/', cells by '|'.
std::string dump(const ui::ReportList& list)
{
    std::string out;
    for (int r = 0; r < list.rowCount(); ++r) {
        if (r)
            out += '/';
        for (int c = 0; c < 4; ++c) {
            if (c)
                out += '|';
            out += list.cellText(r, c);
        }
    }
    return out;
}

// A shown window holding the roster list, with click recording.
struct Roster
{
    QWidget window;
    ui::ReportList* list;
    std::vector<int> leftSaw;   // currentRow() inside each left-click handler
    std::vector<int> rightSaw;

    explicit Roster(int rows = 3)
    {
        window.resize(600, 500);
        list = new ui::ReportList("超级列表框1", &window);
        list->setGeometry(10, 10, 456, 312);
        addRosterColumns(*list);
        for (int r = 0; r < rows; ++r)
            list->addRow(std::string("10.0.0.") + std::to_string(r + 1) + ":5000");
        list->onLeftClick([this] { leftSaw.push_back(list->currentRow()); });
        list->onRightClick([this] { rightSaw.push_back(list->currentRow()); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    QWidget* viewport() const { return list->viewport(); }
    QPoint cell(int row, int column) const
    {
        return list->visualRect(list->model()->index(row, column)).center();
    }
    QPoint belowRows() const
    {
        const QRect last = list->visualRect(list->model()->index(list->rowCount() - 1, 0));
        return QPoint(20, last.bottom() + 40);
    }
    void select(int row)
    {
        list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect);
    }
    // What is highlighted: (row, column) pairs.
    QList<QPoint> selectedCells() const
    {
        QList<QPoint> out;
        for (const QModelIndex& i : list->selectionModel()->selectedIndexes())
            out << QPoint(i.row(), i.column());
        return out;
    }
};

}  // namespace

class tst_ReportList : public QObject
{
    Q_OBJECT

private slots:
    void columnsAndSettings();
    void addRow_data();
    void addRow();
    void findRow_data();
    void findRow();
    void setCellText_data();
    void setCellText();
    void cellTextOutOfRange_data();
    void cellTextOutOfRange();
    void cellsShowTheirText();
    void manyRows();

    void click_data();
    void click();
    void releaseOutsideIsNoClick();
    void dragDoesNotMoveSelection();
    void doubleClickIsTwoClicks();
    void keyboardSelectsWithoutHandlers();
    void middleButtonDoesNothing();
};

void tst_ReportList::columnsAndSettings()
{
    ui::ReportList list("超级列表框1", nullptr);
    addRosterColumns(list);
    QCOMPARE(list.objectName(), ui::formName("超级列表框1"));
    QCOMPARE(list.columnCount(), 4);
    const QStringList titles{u"选手IP"_qs, u"选手名称"_qs, u"获胜场次"_qs, u"备注信息"_qs};
    const QList<int> widths{150, 100, 100, 200};
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(list.headerItem()->text(c), titles[c]);
        QCOMPARE(list.columnWidth(c), widths[c]);
        QCOMPARE(Qt::Alignment(list.headerItem()->textAlignment(c)) & Qt::AlignHorizontal_Mask,
                 Qt::AlignLeft);
    }
    QVERIFY(!list.isHeaderHidden());
    QVERIFY(!list.rootIsDecorated());
    QVERIFY(!list.isSortingEnabled());
    QCOMPARE(list.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list.selectionBehavior(), QAbstractItemView::SelectItems);
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(list.currentRow(), -1);

    // Rows stay in the order they came, whatever their text.
    list.addRow("b");
    list.addRow("a");
    QCOMPARE(list.cellText(0), std::string("b"));
    QCOMPARE(list.cellText(1), std::string("a"));
    QCOMPARE(list.currentRow(), -1);
}

void tst_ReportList::addRow_data()
{
    QTest::addColumn<int>("before");
    QTest::newRow("empty list") << 0;
    QTest::newRow("one row") << 1;
    QTest::newRow("many rows") << 37;
}

void tst_ReportList::addRow()
{
    QFETCH(int, before);
    ui::ReportList list("超级列表框1", nullptr);
    addRosterColumns(list);
    for (int i = 0; i < before; ++i)
        list.addRow("x");
    QCOMPARE(list.addRow("192.168.1.5:1024"), before);
    QCOMPARE(list.rowCount(), before + 1);
    QCOMPARE(list.cellText(before, 0), std::string("192.168.1.5:1024"));
    for (int c = 1; c < 4; ++c)
        QCOMPARE(list.cellText(before, c), std::string());
}

void tst_ReportList::findRow_data()
{
    QTest::addColumn<QByteArrayList>("rows");
    QTest::addColumn<QByteArray>("wanted");
    QTest::addColumn<int>("row");

    QTest::newRow("empty list") << QByteArrayList{} << QByteArray("a") << -1;
    QTest::newRow("whole text") << QByteArrayList{"10.0.0.1:80", "10.0.0.2:80"}
                                << QByteArray("10.0.0.2:80") << 1;
    QTest::newRow("row is longer: no prefix match")
        << QByteArrayList{"192.168.1.5:10245"} << QByteArray("192.168.1.5:1024") << -1;
    QTest::newRow("row is shorter")
        << QByteArrayList{"192.168.1.5:1024"} << QByteArray("192.168.1.5:10245") << -1;
    QTest::newRow("prefix row before the exact one")
        << QByteArrayList{"192.168.1.5:10245", "192.168.1.5:1024"}
        << QByteArray("192.168.1.5:1024") << 1;
    QTest::newRow("ASCII case ignored") << QByteArrayList{"Host-A"} << QByteArray("hOST-a") << 0;
    QTest::newRow("first from the top") << QByteArrayList{"x", "a", "A", "a"} << QByteArray("a")
                                        << 1;
    QTest::newRow("GBK exact") << QByteArrayList{"选手01", "选手02"} << QByteArray("选手02") << 1;
    // B0 41 and B0 61 are two different characters; their trail bytes happen
    // to be 'A' and 'a'.
    QTest::newRow("trail byte not folded") << QByteArrayList{"\xB0\x41"} << QByteArray("\xB0\x61")
                                           << -1;
    QTest::newRow("letters after a character folded")
        << QByteArrayList{"\xB0\x41Z"} << QByteArray("\xB0\x41z") << 0;
    QTest::newRow("high single bytes exact") << QByteArrayList{"\xC1"} << QByteArray("\xE1") << -1;
    QTest::newRow("empty text matches an empty cell") << QByteArrayList{"a", ""} << QByteArray()
                                                      << 1;
    QTest::newRow("empty text, no empty cell") << QByteArrayList{"a"} << QByteArray() << -1;
    QTest::newRow("spaces count") << QByteArrayList{"a "} << QByteArray("a") << -1;
}

void tst_ReportList::findRow()
{
    QFETCH(QByteArrayList, rows);
    QFETCH(QByteArray, wanted);
    QFETCH(int, row);
    ui::ReportList list("超级列表框1", nullptr);
    addRosterColumns(list);
    for (const QByteArray& r : rows)
        list.addRow(str(r));
    QCOMPARE(list.findRow(str(wanted)), row);
}

void tst_ReportList::setCellText_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<QByteArray>("after");  // dump of both rows

    QTest::newRow("name") << 1 << 1 << QByteArray("选手01") << QByteArray("a|||/b|选手01||");
    QTest::newRow("last column") << 0 << 3 << QByteArray("违规!") << QByteArray("a|||违规!/b|||");
    QTest::newRow("first column") << 0 << 0 << QByteArray("z") << QByteArray("z|||/b|||");
    QTest::newRow("emptied") << 0 << 0 << QByteArray() << QByteArray("|||/b|||");
    QTest::newRow("row -1") << -1 << 0 << QByteArray("x") << QByteArray("a|||/b|||");
    QTest::newRow("row = count") << 2 << 0 << QByteArray("x") << QByteArray("a|||/b|||");
    QTest::newRow("column -1") << 0 << -1 << QByteArray("x") << QByteArray("a|||/b|||");
    QTest::newRow("column 4 of 4") << 0 << 4 << QByteArray("x") << QByteArray("a|||/b|||");
}

void tst_ReportList::setCellText()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QByteArray, cell);
    QFETCH(QByteArray, after);
    ui::ReportList list("超级列表框1", nullptr);
    addRosterColumns(list);
    list.addRow("a");
    list.addRow("b");
    list.setCellText(row, column, str(cell));
    QCOMPARE(dump(list), str(after));
    QCOMPARE(list.rowCount(), 2);
    QCOMPARE(list.columnCount(), 4);
}

void tst_ReportList::cellTextOutOfRange_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row -1") << -1 << 0;
    QTest::newRow("row = count") << 2 << 0;
    QTest::newRow("row far out") << 1000000 << 1;
    QTest::newRow("column -1") << 0 << -1;
    QTest::newRow("column 4 of 4") << 1 << 4;
}

void tst_ReportList::cellTextOutOfRange()
{
    QFETCH(int, row);
    QFETCH(int, column);
    ui::ReportList list("超级列表框1", nullptr);
    addRosterColumns(list);
    list.addRow("a");
    list.addRow("b");
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            list.setCellText(r, c, "full");
    QCOMPARE(list.cellText(row, column), std::string());
}

// The cells keep the exact bytes, also ones that are not valid GBK, and the
// list draws their GBK reading.
void tst_ReportList::cellsShowTheirText()
{
    ui::ReportList list("超级列表框1", nullptr);
    addRosterColumns(list);
    list.addRow("192.168.1.5:1024");
    list.setCellText(0, 1, "选手01");
    list.setCellText(0, 3, "\xFF\x30" "bad");
    const std::string longCell(70000, 'w');
    list.setCellText(0, 2, longCell);
    QCOMPARE(list.cellText(0, 1), std::string("选手01"));
    QCOMPARE(list.cellText(0, 3), std::string("\xFF\x30" "bad"));
    QCOMPARE(list.cellText(0, 2), longCell);
    QTreeWidgetItem* item = list.topLevelItem(0);
    QCOMPARE(item->text(0), u"192.168.1.5:1024"_qs);
    QCOMPARE(item->text(1), u"选手01"_qs);
    QCOMPARE(item->text(3), gbk::toQString("\xFF\x30" "bad"));
    QCOMPARE(item->flags() & (Qt::ItemIsEditable | Qt::ItemIsDragEnabled), Qt::ItemFlags());
}

// Thousands of rows on a shown list: every row is where it was added and the
// last is found.
void tst_ReportList::manyRows()
{
    Roster roster(0);
    const int rows = 20000;
    for (int r = 0; r < rows; ++r) {
        const std::string peer = "10." + std::to_string(r / 256) + "." + std::to_string(r % 256)
                                 + ".1:6000";
        QCOMPARE(roster.list->addRow(peer), r);
        roster.list->setCellText(r, 2, "0");
    }
    QCOMPARE(roster.list->rowCount(), rows);
    QCOMPARE(roster.list->findRow("10.78.31.1:6000"), 78 * 256 + 31);
    QCOMPARE(roster.list->findRow("10.78.31.1:600"), -1);
    QCOMPARE(roster.list->cellText(rows - 1, 2), std::string("0"));
}

void tst_ReportList::click_data()
{
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("row");        // -1: below the rows
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<int>("seen");       // current row inside the handler

    QTest::newRow("left on first cell") << false << 1 << 0 << -1 << 1;
    QTest::newRow("left on first cell moves selection") << false << 2 << 0 << 0 << 2;
    QTest::newRow("left on selected row") << false << 0 << 0 << 0 << 0;
    QTest::newRow("left on another column clears") << false << 1 << 2 << 1 << -1;
    QTest::newRow("left on last column clears") << false << 0 << 3 << 0 << -1;
    QTest::newRow("left below the rows clears") << false << -1 << 0 << 2 << -1;
    QTest::newRow("left below the rows, nothing selected") << false << -1 << 0 << -1 << -1;
    QTest::newRow("right moves selection") << true << 2 << 0 << 0 << 2;
    QTest::newRow("right on another column clears") << true << 0 << 1 << 0 << -1;
    QTest::newRow("right below the rows clears") << true << -1 << 0 << 1 << -1;
}

void tst_ReportList::click()
{
    QFETCH(bool, right);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, selectedBefore);
    QFETCH(int, seen);

    Roster roster;
    if (selectedBefore >= 0)
        roster.select(selectedBefore);
    QCOMPARE(roster.list->currentRow(), selectedBefore);

    const QPoint at = row >= 0 ? roster.cell(row, column) : roster.belowRows();
    QTest::mouseClick(roster.viewport(), right ? Qt::RightButton : Qt::LeftButton, {}, at);

    const std::vector<int> expected{seen};
    QCOMPARE(right ? roster.rightSaw : roster.leftSaw, expected);
    QVERIFY((right ? roster.leftSaw : roster.rightSaw).empty());
    QCOMPARE(roster.list->currentRow(), seen);
    // Only the first cell is ever highlighted.
    QCOMPARE(roster.selectedCells(),
             seen >= 0 ? QList<QPoint>{QPoint(seen, 0)} : QList<QPoint>{});
}

// The press already chose the row; releasing outside the list completes no
// click.
void tst_ReportList::releaseOutsideIsNoClick()
{
    Roster roster;
    const QPoint outside = roster.viewport()->mapFrom(&roster.window, QPoint(550, 450));
    QTest::mousePress(roster.viewport(), Qt::LeftButton, {}, roster.cell(1, 0));
    QCOMPARE(roster.list->currentRow(), 1);
    QTest::mouseRelease(roster.viewport(), Qt::LeftButton, {}, outside);
    QVERIFY(roster.leftSaw.empty());

    QTest::mouseClick(roster.viewport(), Qt::LeftButton, {}, roster.cell(2, 0));
    QCOMPARE(roster.leftSaw, std::vector<int>{2});
}

// Pressing on one row and releasing on another neither drags a selection
// along nor starts a drag: the pressed row stays selected.
void tst_ReportList::dragDoesNotMoveSelection()
{
    Roster roster;
    QTest::mousePress(roster.viewport(), Qt::LeftButton, {}, roster.cell(0, 0));
    QTest::mouseMove(roster.viewport(), roster.cell(1, 0));
    QTest::mouseMove(roster.viewport(), roster.cell(2, 1));
    QTest::mouseRelease(roster.viewport(), Qt::LeftButton, {}, roster.cell(2, 0));
    QCOMPARE(roster.leftSaw, std::vector<int>{0});
    QCOMPARE(roster.selectedCells(), QList<QPoint>{QPoint(0, 0)});
}

// The second press of a double click selects like the first and its release
// is a second click.
void tst_ReportList::doubleClickIsTwoClicks()
{
    Roster roster;
    roster.list->onLeftClick([&] {
        roster.leftSaw.push_back(roster.list->currentRow());
        roster.list->clearSelection();
    });
    QTest::mouseDClick(roster.viewport(), Qt::LeftButton, {}, roster.cell(1, 0));
    QCOMPARE(roster.leftSaw, (std::vector<int>{1, 1}));

    roster.select(0);
    QTest::mouseDClick(roster.viewport(), Qt::RightButton, {}, roster.cell(2, 3));
    QCOMPARE(roster.rightSaw, (std::vector<int>{-1, -1}));
}

void tst_ReportList::keyboardSelectsWithoutHandlers()
{
    Roster roster;
    QTest::mouseClick(roster.viewport(), Qt::LeftButton, {}, roster.cell(0, 0));
    QCOMPARE(roster.leftSaw.size(), size_t(1));
    QTest::keyClick(roster.list, Qt::Key_Down);
    QCOMPARE(roster.list->currentRow(), 1);
    QTest::keyClick(roster.list, Qt::Key_Right);
    QCOMPARE(roster.selectedCells(), QList<QPoint>{QPoint(1, 0)});
    QTest::keyClick(roster.list, Qt::Key_Down);
    QCOMPARE(roster.list->currentRow(), 2);
    QCOMPARE(roster.selectedCells(), QList<QPoint>{QPoint(2, 0)});
    QTest::keyClick(roster.list, Qt::Key_Up);
    QCOMPARE(roster.list->currentRow(), 1);
    QCOMPARE(roster.leftSaw.size(), size_t(1));
    QVERIFY(roster.rightSaw.empty());
}

void tst_ReportList::middleButtonDoesNothing()
{
    Roster roster;
    roster.select(1);
    QTest::mouseClick(roster.viewport(), Qt::MiddleButton, {}, roster.cell(2, 0));
    QCOMPARE(roster.list->currentRow(), 1);
    QVERIFY(roster.leftSaw.empty());
    QVERIFY(roster.rightSaw.empty());
}

QTEST_MAIN(tst_ReportList)
#include "tst_report_list.moc"
