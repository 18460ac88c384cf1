#include "report_list.h"

#include "form_name.h"
#include "gbk.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace ui {
namespace {

bool isAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
unsigned char foldAscii(unsigned char c) { return isAsciiLetter(c) ? (c | 0x20) : c; }

// Whole-text equality, ASCII letters without regard to case. A byte of 0x80 or
// above starts a two-byte character, compared exactly with the byte after it:
// a trail byte may lie in the ASCII letter range, and folding it would make two
// different Chinese characters equal.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x80) {
            if (x != y)
                return false;
            if (++i < a.size() && a[i] != b[i])
                return false;
            continue;
        }
        if (foldAscii(x) != foldAscii(y))
            return false;
    }
    return true;
}

}  // namespace

ReportList::ReportList(std::string_view formName, QWidget* parent) : QTreeWidget(parent)
{
    setFormName(this, formName);
    setColumnCount(0);
    setHeaderHidden(false);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setSortingEnabled(false);
    setUniformRowHeights(true);  // keeps thousands of rows cheap to lay out
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Not whole rows: a row shows as selected through its first cell.
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setAllColumnsShowFocus(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSortIndicatorShown(false);
}

void ReportList::addColumn(std::string_view title, int width)
{
    const int column = columns_++;
    setColumnCount(columns_);
    QTreeWidgetItem* head = headerItem();
    head->setText(column, gbk::toQString(title));
    head->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);
    setColumnWidth(column, std::max(width, 0));
}

int ReportList::rowCount() const { return static_cast<int>(cells_.size()); }

int ReportList::addRow(std::string_view firstCell)
{
    const int row = rowCount();
    cells_.emplace_back(1, text::Text(firstCell));
    auto* item = new QTreeWidgetItem(QStringList{gbk::toQString(firstCell)});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    addTopLevelItem(item);
    return row;
}

int ReportList::findRow(std::string_view firstCell) const
{
    for (size_t row = 0; row < cells_.size(); ++row)
        if (equalsIgnoringAsciiCase(cells_[row][0], firstCell))
            return static_cast<int>(row);
    return -1;
}

bool ReportList::hasCell(int row, int column) const
{
    // Column 0 holds each row's text even in a list given no columns.
    return row >= 0 && row < rowCount() && column >= 0 && column < std::max(columns_, 1);
}

text::Text ReportList::cellText(int row, int column) const
{
    if (!hasCell(row, column))
        return {};
    const auto& cells = cells_[static_cast<size_t>(row)];
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)]
                                                      : text::Text();
}

void ReportList::setCellText(int row, int column, std::string_view cell)
{
    if (!hasCell(row, column))
        return;
    auto& cells = cells_[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cells.size())
        cells.resize(static_cast<size_t>(column) + 1);
    cells[static_cast<size_t>(column)] = cell;
    topLevelItem(row)->setText(column, gbk::toQString(cell));
}

int ReportList::currentRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ReportList::onLeftClick(std::function<void()> handler) { leftClick_ = std::move(handler); }
void ReportList::onRightClick(std::function<void()> handler) { rightClick_ = std::move(handler); }

// Qt's own press handling is bypassed: it would select any column, start
// drags and rubber bands. A press on a row's first cell selects the row; a
// press anywhere else clears the selection.
void ReportList::pressAt(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        event->accept();
        return;
    }
    pressed_ = button;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() == 0) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->clearCurrentIndex();
    }
    event->accept();
}

void ReportList::mousePressEvent(QMouseEvent* event) { pressAt(event); }

// The second press of a double click is a press like the first.
void ReportList::mouseDoubleClickEvent(QMouseEvent* event) { pressAt(event); }

void ReportList::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const Qt::MouseButton button = event->button();
    if (button != pressed_)
        return;
    pressed_ = Qt::NoButton;
    if (!viewport()->rect().contains(event->position().toPoint()))
        return;  // released outside: no click
    // A copy: the handler may rebind it.
    if (auto handler = button == Qt::LeftButton ? leftClick_ : rightClick_)
        handler();
}

void ReportList::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

// Left and Right only scroll: the selection never moves off the first column.
QModelIndex ReportList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action == MoveLeft || action == MoveRight) {
        horizontalScrollBar()->triggerAction(action == MoveLeft
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        return currentIndex();
    }
    const QModelIndex index = QTreeWidget::moveCursor(action, modifiers);
    return index.isValid() ? index.siblingAtColumn(0) : index;
}

}  // namespace ui
