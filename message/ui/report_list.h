// Report list: columns with titles and widths, rows of GBK cells, single
// selection, never sorted.
//
// Rows are numbered from 0 in the order they were added. A row is selected
// only through its first-column cell; a mouse press anywhere else in the list
// (another column, beside the rows) clears the selection. The left- and
// right-click handlers run when a click is completed inside the list, after
// the press has moved or cleared the selection, so currentRow() in a handler
// is the row this click chose, or -1. Selecting with the keyboard raises
// neither handler and stays in the first column (Left and Right scroll).
#pragma once

#include "text.h"

#include <QTreeWidget>

#include <functional>
#include <string_view>
#include <vector>

namespace ui {

class ReportList : public QTreeWidget
{
    Q_OBJECT

public:
    ReportList(std::string_view formName, QWidget* parent);

    void addColumn(std::string_view title, int width);

    int rowCount() const;
    // A new last row with `firstCell` in column 0; returns its number.
    int addRow(std::string_view firstCell);
    // First row from the top whose column 0 equals `firstCell` as a whole,
    // ASCII letters compared without regard to case; -1 when none.
    int findRow(std::string_view firstCell) const;
    // The cell's exact text; empty when the row or column does not exist.
    text::Text cellText(int row, int column = 0) const;
    // Nothing happens when the row or column does not exist.
    void setCellText(int row, int column, std::string_view cell);
    // The selected row, or -1.
    int currentRow() const;

    void onLeftClick(std::function<void()> handler);
    void onRightClick(std::function<void()> handler);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void pressAt(QMouseEvent* event);
    bool hasCell(int row, int column) const;

    std::vector<std::vector<text::Text>> cells_;  // exact bytes, by row and column
    int columns_ = 0;
    Qt::MouseButton pressed_ = Qt::NoButton;
    std::function<void()> leftClick_;
    std::function<void()> rightClick_;
};

}  // namespace ui
