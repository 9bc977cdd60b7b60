#include "platform/win/listctrl/ListCtrlAccessibleQt.h"

#include "platform/win/listctrl/ListCtrlCellAccessibleQt.h"
#include "platform/win/listctrl/ListCtrlWidgetQt.h"

#include <QHeaderView>

CListCtrlAccessible::CListCtrlAccessible(CListCtrlWidget* pWidget)
    : QAccessibleWidget(pWidget, QAccessible::Table) {}

CListCtrlAccessible::~CListCtrlAccessible() {
    Forget();
}

QAccessibleInterface* CListCtrlAccessible::Factory(const QString& /*className*/, QObject* pObject) {
    if (auto* pWidget = dynamic_cast<CListCtrlWidget*>(pObject))
        return new CListCtrlAccessible(pWidget);
    return nullptr;
}

CListCtrlWidget* CListCtrlAccessible::Widget() const {
    return static_cast<CListCtrlWidget*>(widget());
}

void* CListCtrlAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

int CListCtrlAccessible::columnCount() const {
    return Widget()->Model().GetColumnCount();
}

int CListCtrlAccessible::rowCount() const {
    return Widget()->Model().GetItemCount();
}

int CListCtrlAccessible::childCount() const {
    return (rowCount() + 1) * columnCount();
}

QAccessibleInterface* CListCtrlAccessible::Cached(int key, int row, int column) const {
    auto it = m_cells.find(key);
    if (it != m_cells.end())
        return QAccessible::accessibleInterface(it->second);
    auto* pCell = new CListCtrlCellAccessible(Widget(), row, column);
    m_cells[key] = QAccessible::registerAccessibleInterface(pCell);
    return pCell;
}

QAccessibleInterface* CListCtrlAccessible::child(int index) const {
    const int nColumns = columnCount();
    if (index < 0 || index >= childCount() || nColumns == 0)
        return nullptr;
    return Cached(index, index / nColumns - 1, index % nColumns);
}

QAccessibleInterface* CListCtrlAccessible::HeaderCell(int column) const {
    return column >= 0 && column < columnCount() ? child(column) : nullptr;
}

QAccessibleInterface* CListCtrlAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return child((row + 1) * columnCount() + column);
}

int CListCtrlAccessible::indexOfChild(const QAccessibleInterface* pChild) const {
    const auto* pCellIface =
        pChild ? const_cast<QAccessibleInterface*>(pChild)->tableCellInterface() : nullptr;
    if (!pCellIface || pChild->parent() != this)
        return -1;
    return (pCellIface->rowIndex() + 1) * columnCount() + pCellIface->columnIndex();
}

QAccessibleInterface* CListCtrlAccessible::childAt(int x, int y) const {
    CListCtrlWidget* pWidget = Widget();
    const QPoint ptHeader = pWidget->horizontalHeader()->viewport()->mapFromGlobal(QPoint(x, y));
    if (pWidget->horizontalHeader()->isVisible() &&
        pWidget->horizontalHeader()->viewport()->rect().contains(ptHeader))
        return HeaderCell(pWidget->horizontalHeader()->logicalIndexAt(ptHeader));
    const QModelIndex index = pWidget->indexAt(pWidget->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? cellAt(index.row(), index.column()) : nullptr;
}

QString CListCtrlAccessible::columnDescription(int column) const {
    QAccessibleInterface* pHeader = HeaderCell(column);
    return pHeader ? pHeader->text(QAccessible::Name) : QString();
}

QList<int> CListCtrlAccessible::selectedRows() const {
    QList<int> rows;
    const CListCtrlModel& model = Widget()->Model();
    for (int i = 0; i < model.GetItemCount(); ++i) {
        if (model.GetRow(i).state & LVIS_SELECTED)
            rows.push_back(i);
    }
    return rows;
}

bool CListCtrlAccessible::isRowSelected(int row) const {
    const CListCtrlModel& model = Widget()->Model();
    return row >= 0 && row < model.GetItemCount() && (model.GetRow(row).state & LVIS_SELECTED);
}

int CListCtrlAccessible::selectedCellCount() const {
    return int(selectedCells().size());
}

QList<QAccessibleInterface*> CListCtrlAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows()) {
        for (int column = 0; column < columnCount(); ++column) {
            QAccessibleInterface* pCell = cellAt(row, column);
            if (pCell && pCell->tableCellInterface()->isSelected())
                cells.push_back(pCell);
        }
    }
    return cells;
}

void CListCtrlAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) {
        // Rows came or went: the cells handed out stand for other rows now.
        Forget();
        return;
    }
    // A box ticked or cleared, by a tap, a key or a screen reader, is told to screen readers.
    for (const auto& [key, id] : m_cells) {
        auto* pCell = static_cast<CListCtrlCellAccessible*>(QAccessible::accessibleInterface(id));
        if (!pCell || !pCell->IsCheckBox() || pCell->IsChecked() == pCell->m_bCheckedTold)
            continue;
        pCell->m_bCheckedTold = pCell->IsChecked();
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent stateEvent(pCell, changed);
        QAccessible::updateAccessibility(&stateEvent);
    }
}

void CListCtrlAccessible::Forget() {
    for (const auto& [key, id] : m_cells)
        QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
}
